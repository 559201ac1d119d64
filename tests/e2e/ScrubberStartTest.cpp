#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "Driver.h"

using namespace testdriver;

namespace {

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The bytes of a raw resource, read without running the program.
std::string ResourceBytes(const std::string& module, int type, int id) {
  HMODULE image = LoadLibraryExA(module.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!image) return {};
  std::string bytes;
  if (HRSRC info = FindResourceA(image, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(type))) {
    HGLOBAL loaded = LoadResource(image, info);
    const char* data = static_cast<const char*>(LockResource(loaded));
    if (data) bytes.assign(data, SizeofResource(image, info));
  }
  FreeLibrary(image);
  return bytes;
}

TEST(ScrubberStart, OpensItsMainWindowMaximised) {
  std::string exe = FromHostPath(Env("SCRUBBER_EXE"));
  auto uninstaller = Process::Start(exe, "/Z");
  ASSERT_TRUE(uninstaller) << "cannot start " << exe;
  HWND main = WaitForWindow({"KVRTUninstall", "", uninstaller->pid()});
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(TextOf(main), " ");
  EXPECT_TRUE(IsZoomed(main));
  PostMessageA(main, WM_CLOSE, 0, 0);
  DWORD exitCode = 1;
  ASSERT_TRUE(uninstaller->WaitForExit(10000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
}

TEST(ScrubberStart, CarriesTheRestartHelperByteForByte) {
  std::string helper = ReadFileBytes(FromHostPath(Env("RESTART_HELPER_EXE")));
  ASSERT_GT(helper.size(), 512u);
  ASSERT_EQ(helper.substr(0, 2), "MZ");
  std::string embedded = ResourceBytes(FromHostPath(Env("SCRUBBER_EXE")), 300, 30202);
  EXPECT_EQ(embedded.size(), helper.size());
  EXPECT_TRUE(embedded == helper);
}

}  // namespace
