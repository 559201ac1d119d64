#pragma once
// What the ScrubLog tests share: files beside the test program, whole-file
// reading and writing, and ScrubLog.exe run with its output captured.
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

namespace scrubber::testing {

// The test program's own directory, with a trailing backslash.
inline std::string Here() {
  char own[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, own, MAX_PATH);
  std::string path(own, n);
  return path.substr(0, path.find_last_of('\\') + 1);
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string LongOf(const std::string& path) {
  char buffer[MAX_PATH];
  const DWORD n = GetLongPathNameA(path.c_str(), buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(buffer, n) : path;
}

struct RunResult {
  DWORD exitCode = 999;
  std::string out;
  std::string err;
};

// Runs ScrubLog.exe (beside the test program) with `args`; its output goes
// through two files named after `capturePrefix`, removed afterwards.
inline RunResult RunScrubLog(const std::string& args, const std::string& capturePrefix, DWORD timeoutMs) {
  RunResult result;
  const std::string outPath = capturePrefix + "out.txt";
  const std::string errPath = capturePrefix + "err.txt";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileA(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  HANDLE err = CreateFileA(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  std::string command = "\"" + Here() + "ScrubLog.exe\" " + args;
  if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    WaitForSingleObject(process.hProcess, timeoutMs);
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(out);
  CloseHandle(err);
  result.out = ReadFile(outPath);
  result.err = ReadFile(errPath);
  DeleteFileA(outPath.c_str());
  DeleteFileA(errPath.c_str());
  return result;
}

}  // namespace scrubber::testing
