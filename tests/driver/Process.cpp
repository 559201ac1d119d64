#include <cstdlib>

#include "Driver.h"

namespace testdriver {

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(20);
  }
}

std::string FromHostPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string dos = "Z:" + path;
  for (char& c : dos)
    if (c == '/') c = '\\';
  return dos;
}

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::optional<Process> Process::Start(const std::string& exe, const std::string& arguments,
                                      const std::string& directory) {
  std::string commandLine = "\"" + exe + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      directory.empty() ? nullptr : directory.c_str(), &startup, &info))
    return std::nullopt;
  CloseHandle(info.hThread);
  // Let it reach its message loop before anyone looks for its windows.
  WaitForInputIdle(info.hProcess, 5000);
  return Process(info.hProcess, info.dwProcessId);
}

Process::Process(Process&& other) noexcept : process_(other.process_), pid_(other.pid_) {
  other.process_ = nullptr;
  other.pid_ = 0;
}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Close();
    process_ = other.process_;
    pid_ = other.pid_;
    other.process_ = nullptr;
    other.pid_ = 0;
  }
  return *this;
}

Process::~Process() { Close(); }

void Process::Close() {
  if (!process_) return;
  if (Running()) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
  process_ = nullptr;
}

bool Process::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

bool Process::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
  if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return false;
  if (exitCode) GetExitCodeProcess(process_, exitCode);
  return true;
}

}  // namespace testdriver
