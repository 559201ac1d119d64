// Removing the uninstaller's own file: the helper's command line, deletion
// at the next restart and the helper's clean-up.
#include <gtest/gtest.h>

#include "CommandLine.h"
#include "FakePlatform.h"
#include "SelfRemoval.h"

namespace scrubber {
namespace {

TEST(SelfRemovalTest, TheHelperReadsBackWhatTheFirstRunWrote) {
  const RemovalArgs cases[] = {
      {"C:\\PROGRA~1\\APP\\UNINST.EXE", "C:\\PROGRA~1\\APP\\", "C:\\PROGRA~1\\APP\\INSTALL.LOG"},
      {"C:\\Program Files\\My App\\UNINST.EXE", "C:\\Program Files\\My App\\", "C:\\My Logs\\APP.LOG"},
      {"C:\\APP\\UNINST.EXE", "", ""},
  };
  for (const RemovalArgs& args : cases) {
    SCOPED_TRACE(args.programFile);
    const std::string command =
        RemovalHelperCommand("C:\\My Temp\\KVR1A2B.EXE", args.programFile, args.directory, args.logPath);
    const std::size_t afterProgram = command.find("\" ") + 2;  // as the platform passes it on
    ASSERT_TRUE(SkipsTempCopy(command.substr(afterProgram)));
    const CommandLine parsed = ParseCommandLine(command.substr(afterProgram));
    ASSERT_EQ(parsed.removalHelperMode, 1);
    const RemovalArgs read = SplitRemovalArgs(parsed.logPath);
    EXPECT_EQ(read.programFile, args.programFile);
    EXPECT_EQ(read.directory, args.directory);
    EXPECT_EQ(read.logPath, args.logPath);
  }
  EXPECT_EQ(TempCopyPathFrom("C:\\TEMP\\KVR1A2B.TMP"), "C:\\TEMP\\KVR1A2B.EXE");
  const RemovalArgs old = SplitRemovalArgs("C:\\APP\\UNINST.EXE C:\\APP\\");
  EXPECT_EQ(old.programFile, "C:\\APP\\UNINST.EXE");
  EXPECT_EQ(old.directory, "C:\\APP\\");
}

class SelfRemovalFs : public ::testing::Test {
 protected:
  FakePlatform fake;
  FakeFileSystem& fs = fake.fs;
  Globals globals;
  FileOperations files{fake.fs, fake.profile, globals};
};

TEST_F(SelfRemovalFs, DeletionAtRestartByPlatformKind) {
  DeleteAtRestart(fs, 1, "C:\\TEMP\\KVR1A2B.EXE");
  ASSERT_EQ(fs.RestartMoves().size(), 1u);
  EXPECT_EQ(fs.RestartMoves()[0].from, "C:\\TEMP\\KVR1A2B.EXE");
  EXPECT_EQ(fs.RestartMoves()[0].to, "");
  EXPECT_FALSE(fs.Exists("C:\\WINDOWS\\WININIT.INI"));

  DeleteAtRestart(fs, 2, "C:\\TEMP\\A.EXE");
  DeleteAtRestart(fs, 2, "C:\\TEMP\\B.EXE");
  EXPECT_EQ(fs.ContentOf("C:\\WINDOWS\\WININIT.INI"), "[rename]\r\nNUL=C:\\TEMP\\A.EXE\r\nNUL=C:\\TEMP\\B.EXE\r\n");
  EXPECT_EQ(fs.RestartMoves().size(), 1u);

  fs.SetWindowsDir("C:\\");
  fs.AddFile("C:\\WININIT.INI", "[rename]\r\nC:\\A.DLL=C:\\A.TMP");
  DeleteAtRestart(fs, 2, "C:\\TEMP\\C.EXE");
  EXPECT_EQ(fs.ContentOf("C:\\WININIT.INI"), "[rename]\r\nC:\\A.DLL=C:\\A.TMP\r\nNUL=C:\\TEMP\\C.EXE\r\n")
      << "the last line keeps its own line";

  fs.faults().FailCall("ReadWholeFile", SysError::SharingViolation);
  DeleteAtRestart(fs, 2, "C:\\TEMP\\D.EXE");
  EXPECT_EQ(fs.ContentOf("C:\\WININIT.INI"), "[rename]\r\nC:\\A.DLL=C:\\A.TMP\r\nNUL=C:\\TEMP\\C.EXE\r\n")
      << "a file that cannot be read is not written anew";
}

TEST_F(SelfRemovalFs, TheHelperRemovesTheProgramAndEmptiedDirectories) {
  fs.AddFile("C:\\Program Files\\App\\BIN\\UNINST.EXE");
  fs.AddDir("C:\\Program Files\\App\\BIN\\EMPTY");
  fs.AddDir("C:\\Program Files\\App\\LOGS");
  RemoveFirstRun(files, SplitRemovalArgs("\"C:\\PROGRA~1\\App\\BIN\\UNINST.EXE\" \"C:\\Program Files\\App\\\""), {});
  EXPECT_FALSE(fs.Exists("C:\\Program Files\\App"));
  EXPECT_TRUE(fs.Exists("C:\\Program Files"));

  fs.AddFile("C:\\APP\\UNINST.EXE");
  fs.AddFile("C:\\APP\\USER.DAT");
  RemoveFirstRun(files, {"C:\\APP\\UNINST.EXE", "C:\\APP\\"}, {});
  EXPECT_FALSE(fs.Exists("C:\\APP\\UNINST.EXE"));
  EXPECT_TRUE(fs.Exists("C:\\APP\\USER.DAT")) << "a directory that still holds files stays";
}

TEST_F(SelfRemovalFs, AProgramNameEndingInABackslashIsNotDeleted) {
  fs.AddDir("C:\\APP\\SUB");
  fs.AddFile("C:\\APP\\SUB\\KEEP.TXT");
  RemoveFirstRun(files, {"C:\\APP\\SUB\\", "C:\\APP\\"}, {});
  EXPECT_EQ(fs.faults().CountOf("EraseFile"), 0u);
  EXPECT_TRUE(fs.Exists("C:\\APP\\SUB\\KEEP.TXT"));

  LeadBytes lead;
  lead.Set(0x81, 0x9F);
  RemoveFirstRun(files, {"C:\\APP\\X\x81\\", ""}, lead);
  EXPECT_EQ(fs.faults().CountOf("EraseFile"), 1u) << "a backslash that is a second byte ends no directory";
}

}  // namespace
}  // namespace scrubber
