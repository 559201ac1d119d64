#include <windows.h>
#include <shellapi.h>

#include <string>

#include "Handles.h"
#include "MapError.h"
#include "Win32System.h"

namespace rosterly {

Status Win32ProgramStarter::StartProgram(std::string_view path) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  std::string application(path);
  std::string commandLine = "\"" + application + "\"";
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info))
    return LastErrorStatus();
  ScopedHandle process(info.hProcess), thread(info.hThread);
  return Status::Ok();
}

Status Win32ProgramStarter::OpenWithShell(std::string_view verb, std::string_view target) {
  std::string verbText(verb), targetText(target);
  HINSTANCE result = ShellExecuteA(owner_, verbText.c_str(), targetText.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  // Values up to 32 are errors (SE_ERR_* or a Win32 code).
  const auto code = reinterpret_cast<INT_PTR>(result);
  if (code <= 32) return StatusFromWin32(code == 0 ? ERROR_OUTOFMEMORY : static_cast<DWORD>(code));
  return Status::Ok();
}

}  // namespace rosterly
