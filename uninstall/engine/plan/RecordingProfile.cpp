#include "RecordingProfile.h"

#include "IniText.h"

namespace scrubber {
namespace {

std::string Bounded(std::string text, std::size_t capacity) {
  if (capacity == 0) return {};
  if (text.size() > capacity - 1) text.resize(capacity - 1);
  return text;
}

}  // namespace

RecordingProfile::RecordingProfile(Profile& real, RecordingFileSystem& files, PlanLog& log)
    : real_(real), files_(files), log_(log) {}

std::string RecordingProfile::FullName(std::string_view file) {
  // A bare name means the file in the Windows directory.
  if (file.find('\\') != std::string_view::npos || file.find('/') != std::string_view::npos ||
      file.find(':') != std::string_view::npos)
    return std::string(file);
  return files_.WindowsDirectory() + "\\" + std::string(file);
}

std::string RecordingProfile::ReadString(std::string_view file, std::string_view section, std::string_view key,
                                         std::string_view fallback, std::size_t capacity) {
  const std::string path = FullName(file);
  if (!files_.Touched(path)) return real_.ReadString(file, section, key, fallback, capacity);
  auto text = files_.ReadWholeFile(path);
  auto value = text ? IniRead(*text, section, key) : std::nullopt;
  return Bounded(value ? *value : std::string(fallback), capacity);
}

Status RecordingProfile::WriteString(std::string_view file, std::string_view section, std::string_view key,
                                     std::optional<std::string_view> value) {
  const std::string path = FullName(file);
  const auto attributes = files_.GetAttributes(path);
  if (attributes && (*attributes & (kAttrDirectory | kAttrReadOnly))) return Status::Fail(SysError::AccessDenied);
  std::string before;
  if (attributes) {
    auto text = files_.ReadWholeFile(path);
    if (!text) return Status::Fail(SysError::AccessDenied);
    before = std::move(*text);
  } else if (!value) {
    return Status::Ok();  // deleting from a missing file changes nothing
  }
  const std::string after = IniWrite(before, section, key, value);
  if (attributes && after == before) return Status::Ok();

  // Nothing is recorded when the real call would fail (a missing directory).
  if (Status ok = files_.PutContent(path, after); !ok) return ok;
  PlanStep step;
  step.op = value ? PlanOp::IniWrite : PlanOp::IniDelete;
  step.target = path;
  step.key = files_.KeyOf(path);
  step.With("section", std::string(section)).With("entry", std::string(key));
  if (value) step.With("value", std::string(*value));
  step.createsNew = !attributes;
  log_.Add(std::move(step));
  return Status::Ok();
}

}  // namespace scrubber
