#include "Fixtures.h"

#include <windows.h>

namespace scrubber::testing {

std::string FixturePath(const std::string& fileName) {
  char own[MAX_PATH + 1] = {};
  DWORD length = GetModuleFileNameA(nullptr, own, MAX_PATH);
  std::string path(own, length);
  return path.substr(0, path.find_last_of('\\') + 1) + fileName;
}

bool ProgmanStandIn::Start(const std::string& groupsFile, const std::string& commandsFile) {
  const std::string event = "ScrubberProgmanFixture" + std::to_string(GetCurrentProcessId());
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, event.c_str());
  if (!ready) return false;
  std::string command =
      "\"" + FixturePath("ProgmanFixture.exe") + "\" \"" + groupsFile + "\" \"" + commandsFile + "\" " + event;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const BOOL started =
      CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
  if (started) {
    process_ = process.hProcess;
    thread_ = process.hThread;
  }
  const bool serving = started && WaitForSingleObject(ready, 20000) == WAIT_OBJECT_0;
  CloseHandle(ready);
  return serving;
}

bool ProgmanStandIn::WaitForExit(unsigned milliseconds) {
  return !process_ || WaitForSingleObject(process_, milliseconds) == WAIT_OBJECT_0;
}

ProgmanStandIn::~ProgmanStandIn() {
  if (!process_) return;
  if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
  CloseHandle(thread_);
}

bool UserKeyExists(const std::string& subKey) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

}  // namespace scrubber::testing
