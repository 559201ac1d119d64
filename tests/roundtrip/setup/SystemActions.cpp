// A service, self-registering components and the program that the uninstall
// runs first.
#include <windows.h>

#include <cctype>

#include "Actions.h"
#include "Driver.h"
#include "Win32Support.h"

namespace sample {
namespace {

constexpr int kWaitRounds = 600;
constexpr DWORD kWaitStepMs = 100;
constexpr DWORD kProgramTimeoutMs = 60000;
constexpr char kRegisterFunction[] = "DllRegisterServer";

Status StartAndWait(SC_HANDLE service, const std::string& name) {
  BOOL started = FALSE;
  // A service manager that is still starting answers "database locked" for a moment.
  for (int i = 0; i < kWaitRounds && !(started = StartServiceA(service, 0, nullptr)); ++i) {
    if (GetLastError() != ERROR_SERVICE_DATABASE_LOCKED) break;
    Sleep(kWaitStepMs);
  }
  if (!started) return Failure("cannot start service " + name);
  SERVICE_STATUS status{};
  for (int i = 0; i < kWaitRounds && QueryServiceStatus(service, &status); ++i) {
    if (status.dwCurrentState == SERVICE_RUNNING) return Status::Ok();
    Sleep(kWaitStepMs);
  }
  return Status::Fail("service " + name + " did not report running");
}

Status RunProgram(const std::string& commandLine) {
  std::string command = commandLine;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return Failure("cannot start " + commandLine);
  }
  DWORD exitCode = 1;
  const bool ended = WaitForSingleObject(process.hProcess, kProgramTimeoutMs) == WAIT_OBJECT_0;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  if (!ended) return Status::Fail(commandLine + " did not end");
  return exitCode == 0 ? Status::Ok() : Status::Fail(commandLine + " ended with " + std::to_string(exitCode));
}

Status RegisterLibrary(const std::string& path) {
  HMODULE library = LoadLibraryA(path.c_str());
  if (!library) return Failure("cannot load " + path);
  using Register = HRESULT(WINAPI*)();
  auto entry = reinterpret_cast<Register>(reinterpret_cast<void*>(GetProcAddress(library, kRegisterFunction)));
  const HRESULT result = entry ? entry() : E_NOTIMPL;
  FreeLibrary(library);
  return SUCCEEDED(result) ? Status::Ok() : Status::Fail(path + " did not register itself");
}

bool IsProgram(const std::string& path) {
  return path.size() > 4 && _stricmp(path.c_str() + path.size() - 4, ".EXE") == 0;
}

}  // namespace

Status CreateServiceRecorded(Context& context, const Fields& fields) {
  const std::string& name = fields[0];
  testdriver::WaitForOneServiceManager();
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (!manager) return Failure("cannot open the service manager");
  const std::string program = "\"" + fields[2] + "\"";
  SC_HANDLE service = CreateServiceA(manager, name.c_str(), fields[1].c_str(), SERVICE_ALL_ACCESS,
                                     SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                                     program.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
  Status done = service ? Status::Ok() : Failure("cannot create service " + name);
  // Recorded once it exists, so that the uninstall removes it even when it
  // would not start.
  if (done.ok()) context.log->Record("Create Service: ", name);
  if (done.ok()) done = StartAndWait(service, name);
  if (service) CloseServiceHandle(service);
  CloseServiceHandle(manager);
  return done;
}

Status RegisterComponent(Context& context, const Fields& fields) {
  const std::string& path = fields[0];
  Status registered = IsProgram(path) ? RunProgram("\"" + path + "\" /REGSERVER") : RegisterLibrary(path);
  if (!registered.ok()) return registered;
  context.log->Record("Self-Register: ", path);
  return Status::Ok();
}

Status RecordUninstallProgram(Context& context, const Fields& fields) {
  context.log->Record("Execute Path: ", fields[0]);
  context.log->Line("Execute Name: ", fields[1]);
  return Status::Ok();
}

}  // namespace sample
