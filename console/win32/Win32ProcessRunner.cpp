#include "Win32ProcessRunner.h"

#include <windows.h>

#include "Handles.h"
#include "MapError.h"

namespace rosterly {

static_assert(SW_HIDE == 0);  // the hidden window style the probe's run asks for

namespace {

// Quotes one argument by the rules the C run-time uses to split a command
// line: backslashes are literal unless they precede a quote.
void AppendQuoted(std::string& line, std::string_view argument) {
  if (!argument.empty() && argument.find_first_of(" \t\"") == std::string_view::npos) {
    line.append(argument);
    return;
  }
  line.push_back('"');
  std::size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    line.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    line.push_back(c);
  }
  line.append(backslashes * 2, '\\');
  line.push_back('"');
}

ScopedHandle CreateOutputFile(const std::string& path) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  // Shared for writing and deleting too, so that the file stays readable,
  // movable and removable whoever still holds a copy of the handle.
  return ScopedHandle(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// The program's process: ended, if it still runs, when the owner goes.
class Win32RunningProgram : public RunningProgram {
 public:
  explicit Win32RunningProgram(ScopedHandle process) : process_(std::move(process)) {}
  ~Win32RunningProgram() override { End(); }

  Result<bool> WaitForExit(std::uint32_t milliseconds) override {
    switch (WaitForSingleObject(process_.get(), milliseconds)) {
      case WAIT_OBJECT_0:
        return true;
      case WAIT_TIMEOUT:
        return false;
      default:
        return LastErrorStatus();
    }
  }

  void End() override {
    if (!process_ || WaitForSingleObject(process_.get(), 0) != WAIT_TIMEOUT) return;
    TerminateProcess(process_.get(), kEndedExitCode);
    // Gone means its handle on the output file is closed too.
    WaitForSingleObject(process_.get(), kEndWaitMs);
  }

 private:
  static constexpr UINT kEndedExitCode = 1;
  static constexpr DWORD kEndWaitMs = 5000;
  ScopedHandle process_;
};

}  // namespace

std::string BuildCommandLine(std::string_view program, std::span<const std::string> arguments) {
  std::string line;
  AppendQuoted(line, program);
  for (const std::string& argument : arguments) {
    line.push_back(' ');
    AppendQuoted(line, argument);
  }
  return line;
}

Result<std::unique_ptr<RunningProgram>> Win32ProcessRunner::Start(std::string_view program,
                                                                  std::span<const std::string> arguments,
                                                                  std::string_view outputFile) {
  ScopedHandle output = CreateOutputFile(std::string(outputFile));
  if (!output) return LastErrorStatus();

  // Only the output file is passed on: handles this process holds for other
  // purposes (another ping's output among them) stay out of the program.
  AttributeList attributes(1);
  if (!attributes) return LastErrorStatus();
  HANDLE inherited[] = {output.get()};
  if (!UpdateProcThreadAttribute(attributes.get(), 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited,
                                 sizeof inherited, nullptr, nullptr))
    return LastErrorStatus();

  STARTUPINFOEXA startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  startup.StartupInfo.wShowWindow = SW_HIDE;
  startup.StartupInfo.hStdInput = nullptr;
  startup.StartupInfo.hStdOutput = output.get();
  startup.StartupInfo.hStdError = nullptr;
  startup.lpAttributeList = attributes.get();

  std::string application(program);
  std::string commandLine = BuildCommandLine(program, arguments);
  PROCESS_INFORMATION info{};
  // Detached: the output goes to the file, and a console of its own would
  // cost a console host process per ping, doubling what each start costs.
  if (!CreateProcessA(application.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                      DETACHED_PROCESS | EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr, &startup.StartupInfo, &info))
    return LastErrorStatus();
  ScopedHandle thread(info.hThread);
  return std::unique_ptr<RunningProgram>(std::make_unique<Win32RunningProgram>(ScopedHandle(info.hProcess)));
}

}  // namespace rosterly
