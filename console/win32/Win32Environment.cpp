#include <string>

#include "MapError.h"
#include "Win32System.h"

namespace rosterly {

Result<std::string> Win32Environment::TempDirectory() {
  char buffer[MAX_PATH + 1];
  DWORD length = GetEnvironmentVariableA("TEMP", buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) {
    // TEMP unset or too long: the system's own choice of temporary folder.
    length = GetTempPathA(sizeof buffer, buffer);
    if (length == 0 || length >= sizeof buffer) return LastErrorStatus();
  }
  return std::string(buffer, length);
}

Result<std::string> Win32Environment::SystemDirectory() {
  char buffer[MAX_PATH + 1];
  UINT length = GetSystemDirectoryA(buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return LastErrorStatus();
  return std::string(buffer, length);
}

std::uint32_t Win32Environment::ProcessId() { return GetCurrentProcessId(); }

}  // namespace rosterly
