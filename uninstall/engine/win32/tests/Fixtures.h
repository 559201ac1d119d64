#pragma once
// Where the test programs find the fixture programs and libraries built
// beside them, and small registry helpers for what the fixtures leave.
#include <string>

#include "Driver.h"

namespace scrubber::testing {

// The full path of a fixture file in the test program's own directory.
std::string FixturePath(const std::string& fileName);

// A service process may ask a second service manager that never heard of a
// service created after it started, and time out; the driver's wait helps.
using testdriver::WaitForOneServiceManager;

// The Program Manager stand-in (ProgmanFixture.exe) serving the groups of a
// text file and writing down every command it receives. Ended when the
// owner goes, unless it ended before.
class ProgmanStandIn {
 public:
  ProgmanStandIn() = default;
  ~ProgmanStandIn();
  ProgmanStandIn(const ProgmanStandIn&) = delete;
  ProgmanStandIn& operator=(const ProgmanStandIn&) = delete;

  // True once it serves; false when it could not start or did not register.
  bool Start(const std::string& groupsFile, const std::string& commandsFile);
  bool Running() const { return process_ != nullptr; }
  // Waits for it to end by itself; false when it did not in time.
  bool WaitForExit(unsigned milliseconds);

 private:
  void* process_ = nullptr;
  void* thread_ = nullptr;
};

// Whether HKEY_CURRENT_USER holds the key.
bool UserKeyExists(const std::string& subKey);

}  // namespace scrubber::testing
