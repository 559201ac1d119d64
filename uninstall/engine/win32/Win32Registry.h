#pragma once
// The registry on the RegXxxA functions.
#include "platform/Registry.h"

namespace scrubber {

class Win32Registry : public Registry {
 public:
  std::optional<RegValue> QueryValue(RegRoot root, std::string_view subKey, std::string_view valueName) override;
  std::unique_ptr<RegKey> OpenKey(RegRoot root, std::string_view subKey) override;
  std::unique_ptr<RegKey> OpenKeyToRead(RegRoot root, std::string_view subKey) override;
  Status DeleteKey(RegRoot root, std::string_view subKey) override;
  bool MayBeLink(RegRoot root, std::string_view subKey) override;
};

}  // namespace scrubber
