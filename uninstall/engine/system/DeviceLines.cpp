#include "DeviceLines.h"

#include <array>

#include "PathText.h"

namespace scrubber {
namespace {

constexpr std::string_view kSection = "[386Enh]";
constexpr std::string_view kDeviceKey = "device=";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kBlock = 1024;

std::string_view SkipBlanks(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  return line.substr(i);
}

}  // namespace

DeviceLineCopier::DeviceLineCopier(FileWriter& out, std::string_view device, std::string_view fullPath)
    : out_(out), device_(device), fullPath_(fullPath) {
  head_.reserve(kIniLineChars);
}

bool DeviceLineCopier::Feed(std::span<const char> bytes) {
  for (char c : bytes) {
    if (failed_) break;
    Take(c);
  }
  return !failed_;
}

bool DeviceLineCopier::Finish() {
  if (!head_.empty() || longLine_) EndLine();
  Flush();
  return !failed_;
}

void DeviceLineCopier::Take(char c) {
  const bool afterCr = afterCr_;
  afterCr_ = false;
  if (c == '\n' && afterCr) return;
  if (c == '\r' || c == '\n') {
    EndLine();
    afterCr_ = c == '\r';
    return;
  }
  if (longLine_) {
    Emit(std::string_view(&c, 1));
  } else if (head_.size() < kIniLineChars) {
    head_ += c;
  } else {
    StartLongLine();
    Emit(std::string_view(&c, 1));
  }
}

void DeviceLineCopier::StartLongLine() {
  NoteSection(SkipBlanks(head_));
  Emit(head_);
  head_.clear();
  longLine_ = true;
}

void DeviceLineCopier::EndLine() {
  if (!longLine_) {
    const std::string_view rest = SkipBlanks(head_);
    const bool wasInSection = inSection_;
    NoteSection(rest);
    if (wasInSection && inSection_ && IsDeviceLine(rest)) {
      Emit(";");
      ++commentedOut_;
    }
    Emit(head_);
  }
  Emit(kLineEnd);
  head_.clear();
  longLine_ = false;
}

// Outside the section a line beginning with "[386Enh]" enters it; inside,
// any line beginning with "[" leaves it.
void DeviceLineCopier::NoteSection(std::string_view rest) {
  if (!inSection_) inSection_ = StartsWithNoCase(rest, kSection);
  else if (!rest.empty() && rest.front() == '[') inSection_ = false;
}

bool DeviceLineCopier::IsDeviceLine(std::string_view rest) const {
  if (!StartsWithNoCase(rest, kDeviceKey)) return false;
  const std::string_view named = rest.substr(kDeviceKey.size());
  return EqualsNoCase(named, device_) || EqualsNoCase(named, fullPath_);
}

void DeviceLineCopier::Emit(std::string_view bytes) {
  pending_.append(bytes);
  if (pending_.size() >= kBlock) Flush();
}

void DeviceLineCopier::Flush() {
  if (failed_ || pending_.empty()) return;
  const auto written = out_.Write(pending_);
  failed_ = !written || *written != pending_.size();
  pending_.clear();
}

bool CopyThrough(FileReader& in, DeviceLineCopier& copier) {
  std::array<char, kBlock> block{};
  for (;;) {
    const auto n = in.Read(block);
    // A read error must not pass for the end of the file: the copy would
    // replace SYSTEM.INI with its first part.
    if (!n) return false;
    if (*n == 0) return copier.Finish();
    if (!copier.Feed(std::span<const char>(block.data(), *n))) return false;
  }
}

}  // namespace scrubber
