// The Win32 pieces that the contract does not cover: error mapping, the
// registry, the system facts.
#include <windows.h>

#include <gtest/gtest.h>

#include "MapError.h"
#include "Win32Registry.h"
#include "Win32System.h"

namespace scrubber {
namespace {

TEST(MapError, CommonCodesHaveTheirMeaning) {
  EXPECT_EQ(MapError(ERROR_FILE_NOT_FOUND), SysError::NotFound);
  EXPECT_EQ(MapError(ERROR_PATH_NOT_FOUND), SysError::PathNotFound);
  EXPECT_EQ(MapError(ERROR_ACCESS_DENIED), SysError::AccessDenied);
  EXPECT_EQ(MapError(ERROR_SHARING_VIOLATION), SysError::SharingViolation);
  EXPECT_EQ(MapError(ERROR_DIR_NOT_EMPTY), SysError::DirNotEmpty);
  EXPECT_EQ(MapError(ERROR_ALREADY_EXISTS), SysError::AlreadyExists);
  EXPECT_EQ(MapError(ERROR_FILENAME_EXCED_RANGE), SysError::TooLong);
  EXPECT_EQ(MapError(ERROR_NOT_ENOUGH_MEMORY), SysError::Other);
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(LastError().error, SysError::Other) << "a failure never reads as success";
}

TEST(Win32Registry, ReadsValuesAndTheDefaultValue) {
  Win32Registry registry;
  auto root = registry.QueryValue(RegRoot::LocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion",
                                  "SystemRoot");
  ASSERT_TRUE(root);
  EXPECT_TRUE(root->type == REG_SZ || root->type == REG_EXPAND_SZ);
  EXPECT_EQ(_strnicmp(root->data.c_str(), "C:\\windows", 10), 0) << root->data;
  EXPECT_FALSE(registry.QueryValue(RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
                                   "C:\\nothing-registered.dll"));
  EXPECT_FALSE(registry.QueryValue(RegRoot::CurrentConfig, "No\\Such\\Key", ""));

  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\ScrubberTest", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  DWORD count = 3;
  RegSetValueExA(key, "C:\\APP\\SHARED.DLL", 0, REG_DWORD, reinterpret_cast<BYTE*>(&count), sizeof count);
  RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("dflt"), 5);
  RegCloseKey(key);
  auto shared = registry.QueryValue(RegRoot::CurrentUser, "SOFTWARE\\SCRUBBERTEST", "c:\\app\\shared.dll");
  ASSERT_TRUE(shared);
  EXPECT_EQ(shared->type, static_cast<std::uint32_t>(REG_DWORD));
  EXPECT_EQ(shared->data, std::string("\x03\0\0\0", 4));
  auto fallback = registry.QueryValue(RegRoot::CurrentUser, "Software\\ScrubberTest", "");
  ASSERT_TRUE(fallback);
  EXPECT_EQ(fallback->data, std::string("dflt\0", 5));
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\ScrubberTest");
}

TEST(Win32System, FactsOfTheRunningSystem) {
  Win32System system;
  EXPECT_EQ(system.PlatformKind(), 1) << "Wine presents the NT family";
  EXPECT_GE(system.MajorVersion(), 4u);
  EXPECT_TRUE(system.CanOpenServiceManager()) << "the Wine user is an administrator";
  std::string oem = system.OemTextToAnsi(std::string("M\x81nchen\0x", 9));
  EXPECT_EQ(oem.size(), 9u) << "the conversion does not stop at a NUL";
  if (GetOEMCP() == 437) {
    EXPECT_EQ(oem.substr(0, 7), "M\xFCnchen");
  }
  EXPECT_EQ(oem.substr(7), std::string("\0x", 2));
}

TEST(Win32System, FindsTopLevelWindowsByClass) {
  Win32System system;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "IB_Server";
  ASSERT_TRUE(RegisterClassA(&windowClass));
  EXPECT_FALSE(system.TopLevelWindowExists("IB_Server"));
  HWND window = CreateWindowA("IB_Server", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, windowClass.hInstance, nullptr);
  ASSERT_TRUE(window);
  EXPECT_TRUE(system.TopLevelWindowExists("IB_Server"));
  EXPECT_TRUE(system.TopLevelWindowExists("ib_server")) << "class names ignore letter case";
  DestroyWindow(window);
  EXPECT_FALSE(system.TopLevelWindowExists("IB_Server"));
  UnregisterClassA("IB_Server", windowClass.hInstance);
}

}  // namespace
}  // namespace scrubber
