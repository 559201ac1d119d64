#pragma once
// One change a dry run would make, in the order the engine makes it. Steps
// name their target as the engine spelled it; `key` is the comparable form
// (long names, upper case) the summary matches steps by.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scrubber {

enum class PlanOp : std::uint8_t {
  // As the platform calls come.
  SetAttributes,   // minor: the engine clears attributes before it deletes
  DeleteFile,
  CopyFile,
  ReplaceAtRestart,
  DeleteAtRestart,
  MakeDir,
  RemoveDir,
  WriteFile,
  AppendFile,
  TruncateFile,
  RenameFile,
  SetValue,
  DeleteValue,
  DeleteKey,
  IniWrite,
  IniDelete,
  StopService,
  DeleteService,
  StartProgram,
  CallEntry,
  ProgmanCommand,
  // What the summary makes of a sequence of the above.
  RestoreBackup,
  CommentOutLine,
  RewriteFile,
  CutLog,
  DeleteLog,
  Restart,
};

// "delete-file": the JSON spelling; "delete file": the readable one.
std::string_view OpId(PlanOp op);
std::string_view OpLabel(PlanOp op);

struct PlanField {
  std::string name;
  std::string text;
  std::optional<std::uint64_t> number;  // set: printed as a number instead of `text`
};

struct PlanStep {
  PlanOp op = PlanOp::DeleteFile;
  std::string target;
  std::vector<PlanField> fields;
  bool minor = false;

  // Not printed: the comparable form of the target and of a second path
  // (the source of a copy or a rename).
  std::string key;
  std::string otherKey;
  // A rename over a file deleted earlier in the run: whether the two texts
  // differ only by commented-out lines, and which lines those are.
  bool replacesDeleted = false;
  // A write that made a file where there was none.
  bool createsNew = false;
  bool onlyCommentedOut = false;
  std::vector<std::string> commentedOut;

  PlanStep& With(std::string name, std::string text) {
    fields.push_back({std::move(name), std::move(text), std::nullopt});
    return *this;
  }
  PlanStep& WithNumber(std::string name, std::uint64_t number) {
    fields.push_back({std::move(name), {}, number});
    return *this;
  }
  const PlanField* Field(std::string_view name) const {
    for (const PlanField& f : fields)
      if (f.name == name) return &f;
    return nullptr;
  }
  PlanField* Field(std::string_view name) {
    for (PlanField& f : fields)
      if (f.name == name) return &f;
    return nullptr;
  }
};

// The steps recorded so far. Bounded: past `limit` steps only a count is
// kept, so a huge log cannot exhaust memory.
class PlanLog {
 public:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  explicit PlanLog(std::size_t limit = 1000000) : limit_(limit) {}

  // The step's index, or kNone when the limit was reached.
  std::size_t Add(PlanStep step) {
    if (steps_.size() >= limit_) {
      ++dropped_;
      return kNone;
    }
    steps_.push_back(std::move(step));
    return steps_.size() - 1;
  }
  PlanStep* At(std::size_t index) { return index < steps_.size() ? &steps_[index] : nullptr; }
  const std::vector<PlanStep>& Steps() const { return steps_; }
  std::size_t Dropped() const { return dropped_; }

 private:
  std::size_t limit_;
  std::vector<PlanStep> steps_;
  std::size_t dropped_ = 0;
};

}  // namespace scrubber
