#pragma once
// System facts set by the test. By default the NT family, version 5, an
// administrator, and an OEM table that turns the accented letters of code
// page 437 into their code page 1252 forms and leaves every other byte; no
// top-level windows.
#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

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
  bool TopLevelWindowExists(std::string_view className) override;

  void SetPlatformKind(int kind) { platformKind_ = kind; }
  void SetMajorVersion(unsigned major) { majorVersion_ = major; }
  void SetAdministrator(bool admin) { admin_ = admin; }
  void SetOemMapping(unsigned char oem, unsigned char ansi) { oemTable_[oem] = ansi; }

  // Top-level windows by class name (letter case ignored, as FindWindow).
  // With `closesAfterLooks`, the window is found that many times and then
  // has gone (a server window that closes while the caller retries).
  void AddWindow(std::string_view className, std::optional<unsigned> closesAfterLooks = std::nullopt);
  void CloseWindow(std::string_view className);
  // How often TopLevelWindowExists was asked about the class so far.
  unsigned LooksFor(std::string_view className) const;

  FaultTable& faults() { return faults_; }

 private:
  int platformKind_ = 1;
  unsigned majorVersion_ = 5;
  bool admin_ = true;
  std::array<unsigned char, 256> oemTable_{};
  struct Window {
    std::string className;
    std::optional<unsigned> looksLeft;
  };
  std::vector<Window> windows_;
  std::map<std::string, unsigned> looks_;  // upper-case class name
  FaultTable faults_;
};

}  // namespace scrubber
