#pragma once
// System facts set by the test. By default the NT family, version 5, an
// administrator, and an OEM table that turns the accented letters of code
// page 437 into their code page 1252 forms and leaves every other byte.
#include <array>

#include "FaultTable.h"
#include "platform/System.h"

namespace scrubber {

class FakeSystem : public System {
 public:
  FakeSystem();

  int PlatformKind() override { return platformKind_; }
  unsigned MajorVersion() override { return majorVersion_; }
  std::string OemTextToAnsi(std::string_view oem) override;
  bool CanOpenServiceManager() override;

  void SetPlatformKind(int kind) { platformKind_ = kind; }
  void SetMajorVersion(unsigned major) { majorVersion_ = major; }
  void SetAdministrator(bool admin) { admin_ = admin; }
  void SetOemMapping(unsigned char oem, unsigned char ansi) { oemTable_[oem] = ansi; }

  FaultTable& faults() { return faults_; }

 private:
  int platformKind_ = 1;
  unsigned majorVersion_ = 5;
  bool admin_ = true;
  std::array<unsigned char, 256> oemTable_{};
  FaultTable faults_;
};

}  // namespace scrubber
