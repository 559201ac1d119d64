#include "TestDirSession.h"

#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace rosterly::testing {
namespace {

// The build passes the DLL's host path; Wine shows the host's root as Z:.
std::string WindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') {
    for (char& c : path)
      if (c == '/') c = '\\';
    path = "Z:" + path;
  }
  return path;
}

HMODULE ProviderModule() {
  static const HMODULE module = [] {
    const std::string dll = WindowsPath(ROSTERLY_TESTDIR_DLL);
    HMODULE loaded = LoadLibraryA(dll.c_str());
    if (!loaded) std::fprintf(stderr, "cannot load %s (error %lu)\n", dll.c_str(), GetLastError());
    return loaded;
  }();
  return module;
}

}  // namespace

bool RegisterTestDirectory() {
  if (!ProviderModule()) return false;
  auto reg = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
      reinterpret_cast<void*>(GetProcAddress(ProviderModule(), "DllRegisterServer")));
  return reg && SUCCEEDED(reg());
}

bool StartTestDirectory() {
  static const bool started = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) && RegisterTestDirectory();
  return started;
}

FixtureFile::FixtureFile(std::string_view text) {
  static int serial = 0;
  char directory[MAX_PATH];
  GetTempPathA(sizeof directory, directory);
  path_ = std::string(directory) + "rosterly-testdir-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++serial) + ".txt";
  Write(text);
  SetEnvironmentVariableA("ROSTERLY_TESTDIR_FIXTURE", path_.c_str());
}

FixtureFile::~FixtureFile() {
  DeleteFileA(path_.c_str());
  SetEnvironmentVariableA("ROSTERLY_TESTDIR_FIXTURE", nullptr);
}

std::string FixtureFile::Read() const {
  std::ifstream in(path_, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void FixtureFile::Write(std::string_view text) const {
  std::ofstream out(path_, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace rosterly::testing
