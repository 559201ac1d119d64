#include "Fixtures.h"

#include <windows.h>

#include <tlhelp32.h>

namespace scrubber::testing {

std::string FixturePath(const std::string& fileName) {
  char own[MAX_PATH + 1] = {};
  DWORD length = GetModuleFileNameA(nullptr, own, MAX_PATH);
  std::string path(own, length);
  return path.substr(0, path.find_last_of('\\') + 1) + fileName;
}

namespace {

int ServiceManagerProcesses() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  int count = 0;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (_stricmp(entry.szExeFile, "services.exe") == 0) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

}  // namespace

void WaitForOneServiceManager() {
  for (int i = 0; i < 600 && ServiceManagerProcesses() > 1; ++i) Sleep(100);
}

bool UserKeyExists(const std::string& subKey) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

}  // namespace scrubber::testing
