#pragma once
// Where the test programs find the fixture programs and libraries built
// beside them, and small registry helpers for what the fixtures leave.
#include <string>

namespace scrubber::testing {

// The full path of a fixture file in the test program's own directory.
std::string FixturePath(const std::string& fileName);

// A Wine prefix can briefly run two service managers, each loaded from the
// registry when it started; a service process may then ask the one that
// never heard of a service created after it started, and time out. Waits (up
// to a minute) until only one is left.
void WaitForOneServiceManager();

// Whether HKEY_CURRENT_USER holds the key.
bool UserKeyExists(const std::string& subKey);

}  // namespace scrubber::testing
