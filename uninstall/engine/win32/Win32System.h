#pragma once
// System facts from the version query, OemToChar and the service manager.
#include "platform/System.h"

namespace scrubber {

class Win32System : public System {
 public:
  Win32System();
  int PlatformKind() override { return platformKind_; }
  unsigned MajorVersion() override { return majorVersion_; }
  std::string OemTextToAnsi(std::string_view oem) override;
  bool CanOpenServiceManager() override;
  bool TopLevelWindowExists(std::string_view className) override;

 private:
  int platformKind_ = 2;
  unsigned majorVersion_ = 0;
};

}  // namespace scrubber
