#include "Win32System.h"

#include <windows.h>

#include "Handles.h"

namespace scrubber {

Win32System::Win32System() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (GetVersionExA(&info)) {
#pragma GCC diagnostic pop
    platformKind_ = info.dwPlatformId == VER_PLATFORM_WIN32_NT ? 1 : 2;
    majorVersion_ = info.dwMajorVersion;
  }
}

std::string Win32System::OemTextToAnsi(std::string_view oem) {
  std::string ansi(oem);
  // OemToCharBuffA converts in place, byte for byte, and stops at no NUL.
  for (std::size_t done = 0; done < ansi.size();) {
    DWORD chunk = ansi.size() - done > 0x10000 ? 0x10000 : static_cast<DWORD>(ansi.size() - done);
    OemToCharBuffA(ansi.data() + done, ansi.data() + done, chunk);
    done += chunk;
  }
  return ansi;
}

bool Win32System::CanOpenServiceManager() {
  // Generic read, write and execute: only an administrator gets all three.
  win32::ServiceManager manager(OpenSCManagerA(nullptr, nullptr, GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE));
  return manager.valid();
}

bool Win32System::TopLevelWindowExists(std::string_view className) {
  std::string name(className);
  return FindWindowA(name.c_str(), nullptr) != nullptr;
}

}  // namespace scrubber
