/* _QZRSTRT: enables the shutdown privilege and restarts the computer. It
   links against no run-time library, so it starts here rather than in a CRT
   start-up routine and imports system DLL functions only. Every failure is
   silent and the exit code is always 0. */
#include <windows.h>

#include "LogonCheck.h"

/* The file removes itself at the restart it causes. */
static void DeleteSelfAtRestart(void) {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
  /* A full buffer means the path was cut: never schedule a wrong name. */
  if (length == 0 || length >= MAX_PATH) return;
  MoveFileExA(path, NULL, MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT);
}

static BOOL EnableShutdownPrivilege(void) {
  HANDLE token;
  TOKEN_PRIVILEGES privileges;
  BOOL enabled;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return FALSE;
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  enabled = LookupPrivilegeValueA(NULL, "SeShutdownPrivilege", &privileges.Privileges[0].Luid) &&
            AdjustTokenPrivileges(token, FALSE, &privileges, 0, NULL, NULL) &&
            /* AdjustTokenPrivileges succeeds even when the account lacks
               the privilege; only this tells that it was really enabled. */
            GetLastError() == ERROR_SUCCESS;
  CloseHandle(token);
  return enabled;
}

void WINAPI RestartEntry(void) {
  DisableImeUnlessInteractive();
  DeleteSelfAtRestart();
  if (EnableShutdownPrivilege()) ExitWindowsEx(EWX_REBOOT, 0);
  ExitProcess(0);
}
