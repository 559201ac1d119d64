#pragma once
// Profile on GetPrivateProfileStringA / WritePrivateProfileStringA.
#include "platform/Profile.h"

namespace scrubber {

class Win32Profile : public Profile {
 public:
  std::string ReadString(std::string_view file, std::string_view section, std::string_view key,
                         std::string_view fallback, std::size_t capacity = 256) override;
  Status WriteString(std::string_view file, std::string_view section, std::string_view key,
                     std::optional<std::string_view> value) override;
};

}  // namespace scrubber
