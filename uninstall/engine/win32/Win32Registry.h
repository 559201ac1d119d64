#pragma once
// Registry reading on RegOpenKeyExA / RegQueryValueExA.
#include "platform/Registry.h"

namespace scrubber {

class Win32Registry : public Registry {
 public:
  std::optional<RegValue> QueryValue(RegRoot root, std::string_view subKey, std::string_view valueName) override;
};

}  // namespace scrubber
