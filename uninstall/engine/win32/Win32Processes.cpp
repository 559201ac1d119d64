#include "Win32Processes.h"

#include <windows.h>

#include <string>

#include "Handles.h"
#include "MapError.h"

namespace scrubber {
namespace {

#if defined(_WIN32) && !defined(_WIN64)
// The start-up information is all zero but its size, which is 68 bytes on
// the 32-bit platform.
static_assert(sizeof(STARTUPINFOA) == 68);
#endif

class Win32Process : public Process {
 public:
  Win32Process(HANDLE process, HANDLE thread) : process_(process), thread_(thread) {}

  Status Wait() override {
    switch (WaitForSingleObject(process_.get(), INFINITE)) {
      case WAIT_OBJECT_0: return Status::Ok();
      case WAIT_FAILED: return LastError();
      default: return Status::Fail(SysError::Other);
    }
  }

 private:
  win32::KernelHandle process_;
  win32::KernelHandle thread_;
};

}  // namespace

std::unique_ptr<Process> Win32Processes::Start(std::string_view commandLine) {
  // CreateProcessA may write into the command line: it gets its own copy.
  std::string command(commandLine);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return nullptr;
  }
  return std::make_unique<Win32Process>(info.hProcess, info.hThread);
}

}  // namespace scrubber
