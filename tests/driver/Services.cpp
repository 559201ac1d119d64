#include <windows.h>

#include <tlhelp32.h>

#include "Driver.h"

namespace testdriver {
namespace {

constexpr int kWaitRounds = 600;
constexpr DWORD kWaitStepMs = 100;

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
  for (int i = 0; i < kWaitRounds && ServiceManagerProcesses() > 1; ++i) Sleep(kWaitStepMs);
}

bool StartServiceWhenReady(SC_HANDLE service) {
  // A service manager that is still starting answers "database locked" for a moment.
  for (int i = 0; i < kWaitRounds; ++i) {
    if (StartServiceA(service, 0, nullptr)) return true;
    if (GetLastError() != ERROR_SERVICE_DATABASE_LOCKED) return false;
    Sleep(kWaitStepMs);
  }
  return false;
}

}  // namespace testdriver
