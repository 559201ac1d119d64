#pragma once
// INI profile files (GetPrivateProfileString / WritePrivateProfileString).
// A file name without a directory means that file in the Windows directory;
// sections and keys compare with letter case ignored.
#include <optional>
#include <string>
#include <string_view>

#include "SysError.h"

namespace scrubber {

class Profile {
 public:
  virtual ~Profile() = default;
  // The entry's value, at most `capacity - 1` characters as the platform's
  // bounded buffer would hold; `fallback` when the entry is missing.
  virtual std::string ReadString(std::string_view file, std::string_view section, std::string_view key,
                                 std::string_view fallback, std::size_t capacity = 256) = 0;
  // nullopt value deletes the entry. Writing creates the file when missing.
  virtual Status WriteString(std::string_view file, std::string_view section, std::string_view key,
                             std::optional<std::string_view> value) = 0;
};

}  // namespace scrubber
