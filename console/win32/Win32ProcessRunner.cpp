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
  // Shared for writing too: a console host started with the program may
  // keep its inherited copy of the handle a moment after the program ended,
  // and the next run must still be able to truncate the file.
  return ScopedHandle(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

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

Status Win32ProcessRunner::RunHidden(std::string_view program, std::span<const std::string> arguments,
                                     std::string_view outputFile) {
  ScopedHandle output = CreateOutputFile(std::string(outputFile));
  if (!output) return LastErrorStatus();

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  startup.wShowWindow = SW_HIDE;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = output.get();
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);

  std::string application(program);
  std::string commandLine = BuildCommandLine(program, arguments);
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(application.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &info))
    return LastErrorStatus();
  ScopedHandle process(info.hProcess), thread(info.hThread);
  output.Reset();  // only the child writes from here on
  if (WaitForSingleObject(process.get(), INFINITE) == WAIT_FAILED) return LastErrorStatus();
  return Status::Ok();
}

}  // namespace rosterly
