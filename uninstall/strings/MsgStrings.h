#pragma once
// GetMsgString: every text the uninstaller shows, by string number. A
// "Language" section of the settings file ("Msg46=...") replaces the default
// text; a vertical bar in such a value stands for a line break.
#include <cstddef>
#include <string>
#include <string_view>

#include "StringTable.h"
#include "platform/LeadBytes.h"
#include "platform/Profile.h"

namespace scrubber {

// The settings file belonging to a program: its path with the last three
// characters replaced by "INI" (C:\APP\UNINST.EXE -> C:\APP\UNINST.INI).
std::string SettingsFileFor(std::string_view programPath);

class MsgStrings {
 public:
  MsgStrings(Profile& profile, std::string settingsFile, const StringTable& table, LeadBytes leadBytes = {})
      : profile_(profile), settingsFile_(std::move(settingsFile)), table_(table), leadBytes_(leadBytes) {}

  // Fills `buffer` (NUL-terminated, never more than `capacity` bytes) and
  // returns the number of characters the settings lookup returned, as the
  // caller of the profile call would see it.
  int GetMsgString(int id, char* buffer, std::size_t capacity) const;

  // Convenience for callers that want a string; `capacity` as above.
  std::string Get(int id, std::size_t capacity = 1024) const;

 private:
  Profile& profile_;
  std::string settingsFile_;
  const StringTable& table_;
  LeadBytes leadBytes_;
};

}  // namespace scrubber
