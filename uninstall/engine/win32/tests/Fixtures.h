#pragma once
// Where the test programs find the fixture programs and libraries built
// beside them, and small registry helpers for what the fixtures leave.
#include <string>

namespace scrubber::testing {

// The full path of a fixture file in the test program's own directory.
std::string FixturePath(const std::string& fileName);

// Wine ends its service manager when the last program of a session ends and
// starts a new one with the next program. While the old one is still going
// away, a service process may reach it instead and never learn of a service
// created in the new one: wait (up to a minute) until only one is left.
void WaitForOneServiceManager();

// Whether HKEY_CURRENT_USER holds the key.
bool UserKeyExists(const std::string& subKey);

}  // namespace scrubber::testing
