#include "FaultTable.h"

namespace scrubber {

void ChangeCounter::Count(std::string_view call) {
  ++count_;
  if (endAt_ != 0 && count_ == endAt_) {
    endedAt_ = call;
    throw ProcessEnded{};
  }
  lastMade_ = call;
}

bool ChangeCounter::IsChange(std::string_view call) {
  // Files, registry, INI files, services, programs, components and the
  // Program Manager: every call of the fakes that writes.
  static constexpr std::string_view kChanges[] = {
      "SetAttributes", "EraseFile", "MakeDir",  "RemoveDir",    "CopyOver", "MoveFileAtRestart", "WriteWholeFile",
      "CreateForWriting", "Write",  "TruncateFile", "RenameFile", "AppendToFile", "Set", "DeleteValue", "DeleteKey",
      "WriteString", "Stop",        "Delete",   "Start",        "Call",     "Execute"};
  for (std::string_view change : kChanges)
    if (change == call) return true;
  return false;
}

FaultTable::FaultTable(std::vector<std::string> calls) : names_(std::move(calls)), entries_(names_.size()) {}

int FaultTable::IndexOf(std::string_view name) const {
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] == name) return static_cast<int>(i);
  }
  return -1;
}

bool FaultTable::FailCall(std::string_view name, SysError error, unsigned skip, unsigned times) {
  int i = IndexOf(name);
  if (i < 0) return false;
  Entry& e = entries_[static_cast<std::size_t>(i)];
  e.skip = skip;
  e.times = times;
  e.error = error;
  return true;
}

void FaultTable::Clear() {
  for (auto& e : entries_) e.times = 0;
}

unsigned FaultTable::CountOf(std::string_view name) const {
  int i = IndexOf(name);
  return i < 0 ? 0 : entries_[static_cast<std::size_t>(i)].calls;
}

std::optional<SysError> FaultTable::Check(std::string_view name) {
  if (changes_ && ChangeCounter::IsChange(name)) changes_->Count(name);
  int i = IndexOf(name);
  if (i < 0) return std::nullopt;
  Entry& e = entries_[static_cast<std::size_t>(i)];
  ++e.calls;
  if (e.times == 0) return std::nullopt;
  if (e.skip > 0) {
    --e.skip;
    return std::nullopt;
  }
  if (e.times != kForever) --e.times;
  return e.error;
}

}  // namespace scrubber
