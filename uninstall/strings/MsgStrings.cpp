#include "MsgStrings.h"

#include <algorithm>
#include <cstring>

namespace scrubber {
namespace {

// Marks a missing key; no real text consists of this single character.
constexpr char kMissing[] = "\x7F";

// These two are shown before the settings could matter (a second instance
// ending itself) and stay as built.
bool NeverOverridden(int id) { return id == 79 || id == 80; }

std::size_t CopyBounded(std::string_view text, char* buffer, std::size_t capacity) {
  const std::size_t n = std::min(text.size(), capacity - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return n;
}

// Vertical bars become CR LF; whatever no longer fits is cut.
void ExpandBars(std::string_view value, char* buffer, std::size_t capacity, const LeadBytes& leadBytes) {
  std::string out;
  out.reserve(value.size() + 8);
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (leadBytes.CharLength(value.data(), value.size(), i) == 2) {
      out += c;
      out += value[++i];
    } else if (c == '|') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  CopyBounded(out, buffer, capacity);
}

}  // namespace

std::string SettingsFileFor(std::string_view programPath) {
  std::string file(programPath);
  if (file.size() >= 3) file.replace(file.size() - 3, 3, "INI");
  return file;
}

int MsgStrings::GetMsgString(int id, char* buffer, std::size_t capacity) const {
  if (buffer == nullptr || capacity == 0) return 0;
  if (NeverOverridden(id)) return static_cast<int>(CopyBounded(table_.Load(id), buffer, capacity));

  const std::string key = "Msg" + std::to_string(id);
  const std::string value = profile_.ReadString(settingsFile_, "Language", key, kMissing, capacity);
  const int returned = static_cast<int>(value.size());
  if (value == kMissing) CopyBounded(table_.Load(id), buffer, capacity);
  else ExpandBars(value, buffer, capacity, leadBytes_);
  return returned;
}

std::string MsgStrings::Get(int id, std::size_t capacity) const {
  std::string buffer(capacity, '\0');
  GetMsgString(id, buffer.data(), buffer.size());
  buffer.resize(std::strlen(buffer.c_str()));
  return buffer;
}

}  // namespace scrubber
