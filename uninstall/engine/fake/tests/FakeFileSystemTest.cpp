// What the fake file system adds to the contract: failure on demand, links
// that lead elsewhere, aliases that stay unique, and its scene-setting calls.
#include <gmock/gmock.h>

#include "FakeFileSystem.h"

namespace scrubber {
namespace {

using ::testing::ElementsAre;

std::vector<std::string> Names(FileSystem& fs, std::string_view pattern) {
  std::vector<std::string> names;
  auto scan = fs.FindFirst(pattern);
  DirEntry entry;
  while (scan && scan->Next(entry)) names.push_back(entry.name);
  return names;
}

TEST(FakeFileSystem, StartsWithTheWindowsPlaces) {
  FakeFileSystem fs;
  EXPECT_EQ(fs.WindowsDirectory(), "C:\\WINDOWS");
  EXPECT_EQ(fs.SystemDirectory(), "C:\\WINDOWS\\SYSTEM32");
  EXPECT_EQ(fs.CurrentDirectory(), "C:\\");
  EXPECT_EQ(fs.DriveTypeOf("c:\\"), DriveType::Fixed);
  EXPECT_EQ(fs.DriveTypeOf("A:\\"), DriveType::NoRoot);
  fs.AddDrive('A', DriveType::Removable);
  EXPECT_EQ(fs.DriveTypeOf("A:\\"), DriveType::Removable);
  EXPECT_THAT(Names(fs, "C:\\*.*"), ElementsAre("TEMP", "WINDOWS")) << "a root has no . and ..";
}

TEST(FakeFileSystem, AnyCallFailsOnDemandAndOnlyAsOftenAsAsked) {
  FakeFileSystem fs;
  fs.AddFile("C:\\APP\\A.TXT", "a");
  ASSERT_TRUE(fs.faults().FailCall("EraseFile", SysError::AccessDenied, /*skip=*/1));
  fs.AddFile("C:\\APP\\B.TXT");
  EXPECT_TRUE(fs.EraseFile("C:\\APP\\B.TXT")) << "the first call is skipped";
  EXPECT_EQ(fs.EraseFile("C:\\APP\\A.TXT").error, SysError::AccessDenied);
  EXPECT_TRUE(fs.EraseFile("C:\\APP\\A.TXT")) << "then it works again";
  EXPECT_EQ(fs.faults().CountOf("EraseFile"), 3u);
  EXPECT_FALSE(fs.faults().FailCall("NoSuchCall"));

  fs.AddFile("C:\\APP\\C.TXT");
  fs.faults().FailCall("FindNext");
  EXPECT_THAT(Names(fs, "C:\\APP\\*.*"), ElementsAre(".")) << "a failed FindNext ends the scan";
  fs.faults().FailCall("WindowsDirectory", SysError::Other, 0, FaultTable::kForever);
  EXPECT_EQ(fs.WindowsDirectory(), "");
  EXPECT_EQ(fs.WindowsDirectory(), "");
  fs.faults().Clear();
  EXPECT_EQ(fs.WindowsDirectory(), "C:\\WINDOWS");
}

TEST(FakeFileSystem, EveryCallInTheTableCanBeFailed) {
  FakeFileSystem fs;
  fs.AddFile("C:\\APP\\A.TXT", "a");
  for (const std::string& call : fs.faults().Calls()) {
    fs.faults().Clear();
    ASSERT_TRUE(fs.faults().FailCall(call, SysError::Other, 0, FaultTable::kForever));
    bool failed = false;
    if (call == "GetAttributes") failed = !fs.GetAttributes("C:\\APP\\A.TXT");
    if (call == "SetAttributes") failed = !fs.SetAttributes("C:\\APP\\A.TXT", kAttrNormal);
    if (call == "FindFirst") failed = !fs.FindFirst("C:\\APP\\*.*");
    if (call == "FindNext") failed = Names(fs, "C:\\APP\\*.*").size() == 1;
    if (call == "EraseFile") failed = !fs.EraseFile("C:\\APP\\A.TXT");
    if (call == "MakeDir") failed = !fs.MakeDir("C:\\NEW");
    if (call == "RemoveDir") failed = !fs.RemoveDir("C:\\TEMP");
    if (call == "CopyOver") failed = !fs.CopyOver("C:\\APP\\A.TXT", "C:\\APP\\B.TXT");
    if (call == "MoveFileAtRestart") failed = !fs.MoveFileAtRestart("C:\\APP\\A.TXT", "C:\\X", false);
    if (call == "ReadWholeFile") failed = !fs.ReadWholeFile("C:\\APP\\A.TXT");
    if (call == "WriteWholeFile") failed = !fs.WriteWholeFile("C:\\APP\\W.TXT", "w");
    if (call == "OpenForReading") failed = !fs.OpenForReading("C:\\APP\\A.TXT");
    if (call == "Read") {
      char buffer[4];
      failed = !fs.OpenForReading("C:\\APP\\A.TXT")->Read(buffer);
    }
    if (call == "WindowsDirectory") failed = fs.WindowsDirectory().empty();
    if (call == "SystemDirectory") failed = fs.SystemDirectory().empty();
    if (call == "CurrentDirectory") failed = fs.CurrentDirectory().empty();
    if (call == "TempDirectory") failed = fs.TempDirectory().empty();
    if (call == "DriveTypeOf") failed = fs.DriveTypeOf("C:\\") == DriveType::Unknown;
    EXPECT_TRUE(failed) << call;
  }
}

TEST(FakeFileSystem, ALinkLeadsToItsTargetForEveryCallButRemoval) {
  FakeFileSystem fs;
  fs.AddFile("D:\\DATA\\KEEP.TXT", "precious");
  ASSERT_TRUE(fs.AddLink("C:\\APP\\LINK", "D:\\DATA"));
  EXPECT_EQ(*fs.GetAttributes("C:\\APP\\LINK"), kAttrDirectory | kAttrReparsePoint);
  EXPECT_EQ(fs.ReadWholeFile("C:\\APP\\LINK\\KEEP.TXT"), "precious");
  EXPECT_TRUE(fs.RemoveDir("C:\\APP\\LINK")) << "a link goes even though its target is not empty";
  EXPECT_FALSE(fs.Exists("C:\\APP\\LINK"));
  EXPECT_EQ(fs.ContentOf("D:\\DATA\\KEEP.TXT"), "precious");

  ASSERT_TRUE(fs.AddLink("C:\\LOOP", "C:\\LOOP"));
  EXPECT_FALSE(fs.GetAttributes("C:\\LOOP\\X")) << "a link to itself ends, it does not hang";
}

TEST(FakeFileSystem, AliasesStayUniqueInTheirDirectory) {
  FakeFileSystem fs;
  fs.AddFile("C:\\APP\\Long Name One.txt", "1");
  fs.AddFile("C:\\APP\\Long Name Two.txt", "2");
  EXPECT_EQ(fs.ShortNameOf("C:\\APP\\Long Name One.txt"), "LONGNA~1.TXT");
  EXPECT_EQ(fs.ShortNameOf("C:\\APP\\Long Name Two.txt"), "LONGNA~2.TXT");
  EXPECT_EQ(fs.ContentOf("C:\\APP\\longna~2.txt"), "2");
  EXPECT_THAT(Names(fs, "C:\\APP\\LONGNA~1.*"), ElementsAre("Long Name One.txt"));
}

TEST(FakeFileSystem, TheCurrentDirectoryAndRootsCannotBeRemoved) {
  FakeFileSystem fs;
  fs.AddDir("C:\\WORK");
  fs.SetCurrentDir("C:\\WORK");
  EXPECT_EQ(fs.RemoveDir("C:\\WORK").error, SysError::SharingViolation);
  EXPECT_EQ(fs.RemoveDir("C:\\").error, SysError::AccessDenied);
  fs.AddFile("C:\\WORK\\rel.txt", "r");
  EXPECT_EQ(fs.ReadWholeFile("rel.txt"), "r") << "relative to the current directory";
  EXPECT_EQ(fs.ReadWholeFile("C:rel.txt"), "r") << "drive-relative";
  EXPECT_EQ(fs.ReadWholeFile("\\WORK\\rel.txt"), "r") << "root-relative";
}

TEST(FakeFileSystem, HeldFilesCannotBeReadEither) {
  FakeFileSystem fs;
  fs.AddFile("C:\\A.DLL", "a");
  ASSERT_TRUE(fs.HoldOpen("C:\\A.DLL"));
  EXPECT_FALSE(fs.ReadWholeFile("C:\\A.DLL"));
  EXPECT_EQ(fs.CopyOver("C:\\A.DLL", "C:\\B.DLL").error, SysError::SharingViolation);
  fs.Release("C:\\A.DLL");
  EXPECT_TRUE(fs.ReadWholeFile("C:\\A.DLL"));
}

}  // namespace
}  // namespace scrubber
