// The fake profile, registry and system.
#include <gtest/gtest.h>

#include "FakeProfile.h"
#include "FakeRegistry.h"
#include "FakeSystem.h"

namespace scrubber {
namespace {

TEST(FakeProfile, AFileWithoutDirectoryLivesInTheWindowsDirectory) {
  FakeFileSystem fs;
  FakeProfile profile(fs);
  ASSERT_TRUE(profile.WriteString("WININIT.INI", "rename", "C:\\A.DLL", "C:\\~KVZ0000.TMP"));
  EXPECT_EQ(fs.ContentOf("C:\\WINDOWS\\WININIT.INI"), "[rename]\r\nC:\\A.DLL=C:\\~KVZ0000.TMP\r\n");
  fs.AddFile("C:\\S.INI", "[Language]\r\n 3 = Bonjour \r\n[Other]\r\n3=x\r\n");
  EXPECT_EQ(profile.ReadString("C:\\S.INI", "language", "3", ""), "Bonjour");
  ASSERT_TRUE(profile.WriteString("C:\\S.INI", "Language", "4", "Salut"));
  EXPECT_EQ(fs.ContentOf("C:\\S.INI"), "[Language]\r\n 3 = Bonjour \r\n4=Salut\r\n[Other]\r\n3=x\r\n");
  EXPECT_TRUE(profile.WriteString("C:\\NONE.INI", "S", "K", std::nullopt)) << "deleting from no file is no error";
  EXPECT_FALSE(fs.Exists("C:\\NONE.INI"));

  profile.faults().FailCall("ReadString");
  EXPECT_EQ(profile.ReadString("C:\\S.INI", "Language", "3", "dflt"), "dflt");
  profile.faults().FailCall("WriteString", SysError::AccessDenied);
  EXPECT_EQ(profile.WriteString("C:\\S.INI", "Language", "3", "x").error, SysError::AccessDenied);
}

TEST(FakeRegistry, NamesCompareWithoutLetterCase) {
  FakeRegistry registry;
  const char* kShared = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
  registry.SetDword(RegRoot::LocalMachine, kShared, "C:\\WINDOWS\\SYSTEM32\\A.DLL", 3);
  auto value = registry.QueryValue(RegRoot::LocalMachine, "software\\microsoft\\windows\\currentversion\\shareddlls",
                                   "c:\\windows\\system32\\a.dll");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->type, 4u);
  EXPECT_EQ(value->data, std::string("\x03\0\0\0", 4));
  EXPECT_FALSE(registry.QueryValue(RegRoot::CurrentUser, kShared, "C:\\WINDOWS\\SYSTEM32\\A.DLL"));
  registry.faults().FailCall("QueryValue");
  EXPECT_FALSE(registry.QueryValue(RegRoot::LocalMachine, kShared, "C:\\WINDOWS\\SYSTEM32\\A.DLL"));
}

TEST(FakeSystem, OemLettersBecomeAnsiAndTheAdminCheckCanFail) {
  FakeSystem system;
  EXPECT_EQ(system.OemTextToAnsi("M\x81nchen\\Stra\xE1" "e"), "M\xFCnchen\\Stra\xDF" "e");
  EXPECT_EQ(system.PlatformKind(), 1);
  EXPECT_TRUE(system.CanOpenServiceManager());
  system.faults().FailCall("CanOpenServiceManager");
  EXPECT_FALSE(system.CanOpenServiceManager());
  EXPECT_TRUE(system.CanOpenServiceManager());
  system.SetAdministrator(false);
  EXPECT_FALSE(system.CanOpenServiceManager());
}

TEST(FakeSystem, AWindowCanGoAwayAfterItWasLookedForSoOften) {
  FakeSystem system;
  EXPECT_FALSE(system.TopLevelWindowExists("IB_Server")) << "no windows at first";
  system.AddWindow("IB_Server", /*closesAfterLooks=*/2);
  system.AddWindow("Shell_TrayWnd");
  EXPECT_TRUE(system.TopLevelWindowExists("ib_server")) << "class names ignore letter case";
  EXPECT_TRUE(system.TopLevelWindowExists("IB_Server"));
  EXPECT_FALSE(system.TopLevelWindowExists("IB_Server")) << "gone after two looks";
  EXPECT_FALSE(system.TopLevelWindowExists("IB_Server"));
  EXPECT_EQ(system.LooksFor("IB_SERVER"), 5u) << "every look counts, also before the window came";
  EXPECT_TRUE(system.TopLevelWindowExists("Shell_TrayWnd")) << "a window without a limit stays";
  system.CloseWindow("Shell_TrayWnd");
  EXPECT_FALSE(system.TopLevelWindowExists("Shell_TrayWnd"));
  system.AddWindow("X");
  system.faults().FailCall("TopLevelWindowExists");
  EXPECT_FALSE(system.TopLevelWindowExists("X"));
  EXPECT_TRUE(system.TopLevelWindowExists("X"));
}

}  // namespace
}  // namespace scrubber
