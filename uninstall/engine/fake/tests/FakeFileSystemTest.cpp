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
    if (call == "CreateForWriting") failed = !fs.CreateForWriting("C:\\APP\\W.TXT");
    if (call == "Write") failed = !fs.CreateForWriting("C:\\APP\\W.TXT")->Write(std::string_view("w"));
    if (call == "TruncateFile") failed = !fs.TruncateFile("C:\\APP\\A.TXT", 0);
    if (call == "AppendToFile") failed = !fs.AppendToFile("C:\\APP\\A.TXT", "b");
    if (call == "RenameFile") failed = !fs.RenameFile("C:\\APP\\A.TXT", "C:\\APP\\R.TXT");
    if (call == "IdentityOf") failed = !fs.IdentityOf("C:\\APP\\A.TXT");
    if (call == "ChangeCurrentDirectory") failed = !fs.ChangeCurrentDirectory("C:\\APP");
    if (call == "Seek") failed = !fs.OpenForReading("C:\\APP\\A.TXT")->Seek(0);
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

TEST(FakeFileSystem, WritersWriteShortWhenTheDiskIsFullAndHoldTheirFile) {
  FakeFileSystem fs;
  auto writer = fs.CreateForWriting("C:\\APP\\OUT.TXT");
  EXPECT_FALSE(writer) << "no such directory";
  fs.AddFile("C:\\APP\\OUT.TXT", "old content");
  writer = fs.CreateForWriting("C:\\APP\\OUT.TXT");
  ASSERT_TRUE(writer);
  EXPECT_EQ(fs.ContentOf("C:\\APP\\OUT.TXT"), "") << "an existing file is emptied";
  EXPECT_EQ(fs.EraseFile("C:\\APP\\OUT.TXT").error, SysError::SharingViolation) << "held while open";
  EXPECT_FALSE(fs.CreateForWriting("C:\\APP\\OUT.TXT")) << "not shared";
  EXPECT_EQ(writer->Write(std::string_view("line 1\r\n")), 8u);
  fs.SetFreeSpace(3);
  EXPECT_EQ(writer->Write(std::string_view("line 2\r\n")), 3u) << "only what fits";
  EXPECT_EQ(writer->Write(std::string_view("more")), 0u);
  fs.SetFreeSpace(std::nullopt);
  fs.faults().FailCall("Write");
  EXPECT_EQ(writer->Write(std::string_view("x")), std::nullopt) << "a failed write";
  EXPECT_EQ(writer->Write(std::string_view("!")), 1u);
  writer.reset();
  EXPECT_EQ(fs.ContentOf("C:\\APP\\OUT.TXT"), "line 1\r\nlin!");
  EXPECT_TRUE(fs.EraseFile("C:\\APP\\OUT.TXT")) << "released when the writer goes";

  fs.AddFile("C:\\RO.TXT", "r", kAttrReadOnly);
  EXPECT_FALSE(fs.CreateForWriting("C:\\RO.TXT"));
  EXPECT_FALSE(fs.CreateForWriting("C:\\WINDOWS"));
}

TEST(FakeFileSystem, TruncateRenameSeekAndTheCurrentDirectory) {
  FakeFileSystem fs;
  fs.AddFile("C:\\APP\\A.TXT", "0123456789");
  EXPECT_TRUE(fs.TruncateFile("C:\\APP\\a.txt", 4));
  EXPECT_EQ(fs.ContentOf("C:\\APP\\A.TXT"), "0123");
  EXPECT_EQ(fs.TruncateFile("C:\\APP\\NONE.TXT", 0).error, SysError::NotFound);
  EXPECT_EQ(fs.TruncateFile("C:\\APP", 0).error, SysError::AccessDenied);

  auto reader = fs.OpenForReading("C:\\APP\\A.TXT");
  ASSERT_TRUE(reader);
  char buffer[8] = {};
  EXPECT_TRUE(reader->Seek(2));
  EXPECT_EQ(reader->Read(buffer), 2u);
  EXPECT_EQ(std::string(buffer, 2), "23");
  EXPECT_TRUE(reader->Seek(100)) << "past the end is allowed";
  EXPECT_EQ(reader->Read(buffer), 0u);
  EXPECT_TRUE(reader->Seek(0));
  EXPECT_EQ(reader->Read(buffer), 4u);

  fs.AddFile("C:\\APP\\B.TXT", "b");
  EXPECT_EQ(fs.RenameFile("C:\\APP\\A.TXT", "C:\\APP\\B.TXT").error, SysError::AlreadyExists);
  EXPECT_TRUE(fs.RenameFile("C:\\APP\\A.TXT", "C:\\TEMP\\Renamed Long.txt"));
  EXPECT_FALSE(fs.Exists("C:\\APP\\A.TXT"));
  EXPECT_EQ(fs.ContentOf("C:\\TEMP\\RENAMED LONG.TXT"), "0123");
  EXPECT_EQ(fs.ShortNameOf("C:\\TEMP\\Renamed Long.txt"), "RENAME~1.TXT");
  EXPECT_EQ(fs.RenameFile("C:\\APP\\NONE", "C:\\APP\\X").error, SysError::NotFound);
  EXPECT_TRUE(fs.RenameFile("C:\\APP\\B.TXT", "C:\\APP\\b.txt")) << "a change of letter case only";
  EXPECT_THAT(Names(fs, "C:\\APP\\*"), ElementsAre(".", "..", "b.txt"));
  EXPECT_EQ(fs.RenameFile("C:\\APP", "C:\\APP\\INNER").error, SysError::AccessDenied) << "not into itself";

  EXPECT_TRUE(fs.ChangeCurrentDirectory("c:\\app"));
  EXPECT_EQ(fs.CurrentDirectory(), "C:\\app");
  EXPECT_EQ(fs.ReadWholeFile("b.txt"), "b");
  EXPECT_EQ(fs.ChangeCurrentDirectory("C:\\APP\\b.txt").error, SysError::InvalidName);
  EXPECT_FALSE(fs.ChangeCurrentDirectory("C:\\NONE"));
}

TEST(FakeFileSystem, IdentitiesFollowLinksAndDifferPerEntryAndVolume) {
  FakeFileSystem fs;
  fs.AddDrive('D', DriveType::Fixed);
  fs.AddDir("C:\\APP");
  ASSERT_TRUE(fs.AddLink("C:\\APP\\LINK", "C:\\WINDOWS"));
  auto windows = fs.IdentityOf("C:\\WINDOWS");
  ASSERT_TRUE(windows);
  EXPECT_EQ(fs.IdentityOf("c:\\windows\\"), windows);
  EXPECT_EQ(fs.IdentityOf("C:\\APP\\LINK"), windows) << "a link is followed";
  EXPECT_EQ(fs.IdentityOf("C:\\APP\\LINK\\SYSTEM32"), fs.IdentityOf("C:\\WINDOWS\\SYSTEM32"));
  EXPECT_NE(fs.IdentityOf("C:\\APP"), windows);
  EXPECT_EQ(fs.IdentityOf("C:\\APP")->volumeSerial, windows->volumeSerial);
  EXPECT_NE(fs.IdentityOf("D:\\")->volumeSerial, windows->volumeSerial);
  EXPECT_FALSE(fs.IdentityOf("C:\\NONE"));
  ASSERT_TRUE(fs.AddLink("C:\\DANGLING", "C:\\GONE"));
  EXPECT_FALSE(fs.IdentityOf("C:\\DANGLING"));
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
