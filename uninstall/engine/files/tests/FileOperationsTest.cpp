// The file and directory operations against the in-memory platform.
#include <gtest/gtest.h>

#include "FakeFileSystem.h"
#include "FakeProfile.h"
#include "FileOperations.h"

namespace scrubber {
namespace {

class FileOps : public ::testing::Test {
 protected:
  FakeFileSystem fs;
  FakeProfile profile{fs};
  Globals globals;
  FileOperations ops{fs, profile, globals};
};

TEST_F(FileOps, DeletingTheOwnProgramFileInAnySpellingIsNoted) {
  fs.AddFile("C:\\Program Files\\Scrub\\UNINST.EXE");
  fs.AddFile("C:\\Program Files\\Scrub\\OTHER.EXE");
  globals.ownPath = "C:\\Program Files\\Scrub\\UNINST.EXE";
  EXPECT_TRUE(ops.DeleteOneFile("C:\\Program Files\\Scrub\\OTHER.EXE"));
  EXPECT_EQ(globals.selfDeletePending, 0);
  fs.HoldOpen("C:\\Program Files\\Scrub\\UNINST.EXE");  // a running program
  EXPECT_FALSE(ops.DeleteOneFile("c:\\progra~1\\scrub\\uninst.exe"));
  EXPECT_EQ(globals.selfDeletePending, 1);

  globals.selfDeletePending = 0;
  fs.AddFile("C:\\Program Files\\Scrub\\Long Program Name.exe");
  fs.AddFile("C:\\Other\\Long Program Name.exe");
  globals.ownPath = "C:\\Program Files\\Scrub\\Long Program Name.exe";
  ops.DeleteOneFile("C:\\Other\\Long Program Name.exe");
  EXPECT_EQ(globals.selfDeletePending, 0) << "the same name elsewhere is another file";
  ops.DeleteOneFile("c:/PROGRA~1/Scrub/./LONGPR~1.EXE");
  EXPECT_EQ(globals.selfDeletePending, 1) << "the short name and a changed program path are noticed";
}

TEST_F(FileOps, HelpFilesTakeTheirIndexCompanionsWithThem) {
  for (const char* name : {"APP.HLP", "APP.GID", "APP.FTS", "APP.CNT"}) fs.AddFile(std::string("C:\\APP\\HELP\\") + name);
  fs.SetAttributes("C:\\APP\\HELP\\APP.HLP", kAttrReadOnly | kAttrHidden);
  EXPECT_TRUE(ops.RemoveFile("C:\\APP\\HELP\\APP.HLP")) << "attributes are cleared first";
  EXPECT_FALSE(fs.Exists("C:\\APP\\HELP\\APP.HLP"));
  EXPECT_FALSE(fs.Exists("C:\\APP\\HELP\\APP.GID"));
  EXPECT_FALSE(fs.Exists("C:\\APP\\HELP\\APP.FTS"));
  EXPECT_TRUE(fs.Exists("C:\\APP\\HELP\\APP.CNT"));

  fs.SetCurrentDir("C:\\APP");
  fs.AddFile("C:\\APP\\X.hlp");
  fs.AddFile("C:\\APP\\X.gid");
  ops.RemoveFile("X.hlp");
  EXPECT_FALSE(fs.Exists("C:\\APP\\X.gid")) << "a five-character name qualifies";
  fs.AddFile("C:\\APP\\HLP.GID");
  ops.RemoveFile(".HLP");
  EXPECT_TRUE(fs.Exists("C:\\APP\\HLP.GID")) << "four characters do not";
}

TEST_F(FileOps, ATreeWithoutRemoveFilesLosesOnlyItsEmptyDirectories) {
  fs.AddDir("C:\\APP\\EMPTY\\DEEPER");
  fs.AddFile("C:\\APP\\DATA\\keep.dat");
  fs.AddFile("C:\\APP\\.cache\\x\\y.bin");
  fs.AddDir("C:\\APP\\.hidden-empty");
  EXPECT_FALSE(ops.RemoveDirectoryTree("C:\\APP", false));
  EXPECT_FALSE(fs.Exists("C:\\APP\\EMPTY"));
  EXPECT_TRUE(fs.Exists("C:\\APP\\DATA\\keep.dat"));
  EXPECT_TRUE(fs.Exists("C:\\APP\\.cache\\x")) << "a directory whose name begins with a dot is not entered";
  EXPECT_TRUE(fs.Exists("C:\\APP\\.hidden-empty"));

  fs.AddDir("C:\\APP2\\A\\B");
  fs.SetAttributes("C:\\APP2\\A", kAttrReadOnly);
  EXPECT_TRUE(ops.RemoveDirectoryTree("C:\\APP2", false));
  EXPECT_FALSE(fs.Exists("C:\\APP2"));
}

TEST_F(FileOps, ATreeWithRemoveFilesGoesWhole) {
  fs.AddFile("C:\\APP\\a.txt");
  fs.AddFile("C:\\APP\\SUB\\b.txt", "", kAttrReadOnly);
  fs.AddFile("C:\\APP\\SUB\\SUBSUB\\c.txt");
  EXPECT_TRUE(ops.RemoveDirectoryTree("C:\\APP", true));
  EXPECT_FALSE(fs.Exists("C:\\APP"));

  fs.AddFile("C:\\APP\\busy.dll");
  fs.AddFile("C:\\APP\\free.dll");
  fs.HoldOpen("C:\\APP\\busy.dll");
  EXPECT_FALSE(ops.RemoveDirectoryTree("C:\\APP", true));
  EXPECT_TRUE(fs.Exists("C:\\APP\\busy.dll")) << "a file in use stays, and so does its directory";
  EXPECT_FALSE(fs.Exists("C:\\APP\\free.dll"));
  EXPECT_TRUE(fs.RestartMoves().empty()) << "no deletion at restart is scheduled for it";
}

// Every spelling of a protected directory, for both guards.
class Guards : public FileOps {
 protected:
  void SetUp() override {
    fs.SetWindowsDir("C:\\Windows Folder");
    fs.SetSystemDir("C:\\Windows Folder\\System32");
    fs.AddFile("C:\\Windows Folder\\win.ini");
    fs.AddFile("C:\\Windows Folder\\System32\\kernel.dll");
    fs.AddDir("C:\\Windows Folder\\Empty");
    fs.AddFile("C:\\boot.ini");
    fs.AddDir("C:\\EmptyTop");
    shortWindows = "C:\\" + fs.ShortNameOf("C:\\Windows Folder");
  }
  bool Untouched() {
    return fs.Exists("C:\\Windows Folder\\win.ini") && fs.Exists("C:\\Windows Folder\\System32\\kernel.dll") &&
           fs.Exists("C:\\Windows Folder\\Empty") && fs.Exists("C:\\boot.ini") && fs.Exists("C:\\EmptyTop");
  }
  std::vector<std::string> Spellings() {
    return {"C:\\Windows Folder",
            "C:\\Windows Folder\\",
            "C:\\Windows Folder\\.",
            "C:\\Windows Folder\\..\\Windows Folder",
            "c:/windows folder",
            "c:/WINDOWS FOLDER/",
            "C:\\Windows Folder.",
            shortWindows,
            shortWindows + "\\",
            "C:\\Windows Folder\\System32",
            "C:\\Windows Folder\\System32\\.",
            shortWindows + "\\SYSTEM32",
            "C:\\Windows Folder\\System32\\..",
            "C:\\.",
            "C:\\Windows Folder\\..",
            "C:\\\\",
            "C:/.",
            "Windows Folder"};
  }
  std::string shortWindows;
};

TEST_F(Guards, NoSpellingOfTheWindowsSystemOrRootDirectoryLetsATreeGo) {
  for (const auto& spelling : Spellings()) {
    EXPECT_FALSE(ops.RemoveDirectoryTree(spelling, true)) << spelling;
    ASSERT_TRUE(Untouched()) << spelling;
  }
  EXPECT_FALSE(ops.RemoveDirectoryTree("C:\\", true));
  EXPECT_FALSE(ops.RemoveDirectoryTree("C:", true));
  EXPECT_TRUE(ops.IsProtectedDirectory("\\\\server\\share\\")) << "a share's root is a root too";
  EXPECT_TRUE(ops.IsProtectedDirectory("//server/share/dir/.."));
  EXPECT_FALSE(ops.IsProtectedDirectory("\\\\server\\share\\dir"));
  EXPECT_TRUE(Untouched());
}

TEST_F(Guards, NoSpellingOfTheWindowsSystemOrRootDirectoryLetsAPatternDelete) {
  for (const auto& spelling : Spellings()) {
    for (const char* all : {"\\*.*", "\\*", "\\**", "\\*."}) {
      std::string pattern = spelling + all;
      EXPECT_FALSE(ops.RemoveFileItem(pattern, "", false)) << pattern;
      ASSERT_TRUE(Untouched()) << pattern;
    }
  }
  EXPECT_FALSE(ops.RemoveFileItem("*.*", "", false)) << "shorter than four characters";
  fs.SetCurrentDir("C:\\Windows Folder");
  EXPECT_FALSE(ops.RemoveFileItem("C:*.*", "", false));
  EXPECT_FALSE(ops.RemoveFileItem(".\\*.*", "", false));
  EXPECT_TRUE(Untouched());
}

TEST_F(Guards, AProtectedDirectoryInsideATreeIsLeftWhole) {
  fs.SetWindowsDir("C:\\OS\\WIN");
  fs.SetSystemDir("C:\\OS\\WIN\\SYS");
  fs.AddFile("C:\\OS\\WIN\\SYS\\kernel.dll");
  fs.AddFile("C:\\OS\\WIN\\win.ini");
  fs.AddDir("C:\\OS\\WIN\\EMPTY");
  fs.AddFile("C:\\OS\\other.txt");
  ops.RemoveDirectoryTree("C:\\OS", true);
  EXPECT_FALSE(fs.Exists("C:\\OS\\other.txt"));
  EXPECT_TRUE(fs.Exists("C:\\OS\\WIN\\SYS\\kernel.dll"));
  EXPECT_TRUE(fs.Exists("C:\\OS\\WIN\\EMPTY"));
}

// An uninstaller placed in a shared folder must not prune other products'
// empty folders there; a product's own folder below it goes as before.
TEST_F(FileOps, AFolderManyProgramsShareIsNeverEmptied) {
  fs.SetSharedFolders({"C:\\Program Files", "C:\\Missing Folder"});
  fs.AddDir("C:\\Program Files\\Other Product\\Empty");
  fs.AddFile("C:\\Program Files\\Acme\\A.DLL");
  fs.AddDir("C:\\Program Files\\Acme\\Empty");
  for (const char* spelling : {"C:\\Program Files", "c:\\program files\\", "C:\\PROGRA~1", "C:\\Program Files\\Acme\\.."}) {
    EXPECT_FALSE(ops.RemoveDirectoryTree(spelling, false)) << spelling;
    EXPECT_TRUE(fs.Exists("C:\\Program Files\\Other Product\\Empty")) << spelling;
  }
  EXPECT_TRUE(ops.RemoveDirectoryTree("C:\\Program Files\\Acme", true));
  EXPECT_FALSE(fs.Exists("C:\\Program Files\\Acme"));
  fs.AddDir("C:\\Other\\Empty");
  EXPECT_TRUE(ops.RemoveDirectoryTree("C:\\Other", false)) << "a shared folder that is not there is no doubt";
}

TEST_F(Guards, WhenTheProtectedPlacesCannotBeReadNothingIsRemoved) {
  fs.AddFile("C:\\APP\\a.txt");
  fs.faults().FailCall("SystemDirectory", SysError::Other, 0, FaultTable::kForever);
  EXPECT_FALSE(ops.RemoveDirectoryTree("C:\\APP", true));
  EXPECT_FALSE(ops.RemoveFileItem("C:\\APP\\*.*", "", false));
  EXPECT_TRUE(fs.Exists("C:\\APP\\a.txt"));
  fs.faults().Clear();
  EXPECT_TRUE(ops.RemoveDirectoryTree("C:\\APP", true));
}

TEST_F(Guards, DevicePrefixesAreRefusedAndSharesOfTheDriveSeenThrough) {
  fs.AddShare("\\\\localhost\\C$", "C:\\");
  fs.AddFile("C:\\APP\\a.txt");
  for (const std::string& spelling : std::vector<std::string>{
           "\\\\?\\C:\\Windows Folder", "\\\\.\\C:\\Windows Folder", "//?/C:/Windows Folder", "\\\\?\\" + shortWindows,
        "\\\\.\\C:\\Windows Folder\\System32", "\\\\localhost\\C$\\Windows Folder", "//LOCALHOST/c$/windows folder/",
        "\\\\localhost\\C$\\Windows Folder\\System32", "\\\\localhost\\C$\\" + shortWindows.substr(3),
        std::string("\\\\localhost\\C$"), std::string("\\\\?\\C:\\APP"), std::string("\\\\.\\C:")}) {
    EXPECT_TRUE(ops.IsProtectedDirectory(spelling)) << spelling;
    EXPECT_FALSE(ops.RemoveDirectoryTree(spelling, true)) << spelling;
    EXPECT_FALSE(ops.RemoveFileItem(spelling + "\\*.*", "", false)) << spelling;
    ASSERT_TRUE(Untouched()) << spelling;
  }
  EXPECT_FALSE(ops.RemoveFileItem("\\\\?\\C:\\APP\\*.txt", "", false)) << "a device prefix is refused outright";
  EXPECT_TRUE(fs.Exists("C:\\APP\\a.txt"));
  EXPECT_FALSE(ops.IsProtectedDirectory("\\\\localhost\\C$\\APP")) << "identity does not protect too much";
  EXPECT_TRUE(ops.RemoveDirectoryTree("\\\\localhost\\C$\\APP", true));
  EXPECT_FALSE(fs.Exists("C:\\APP"));
}

TEST_F(Guards, ALinkOnTheWayDoesNotReachAProtectedDirectory) {
  fs.AddLink("C:\\APP\\LINK", "C:\\Windows Folder");
  fs.AddLink("C:\\APP\\TOP", "C:\\");
  for (const std::string& spelling : std::vector<std::string>{"C:\\APP\\LINK\\System32", "C:\\APP\\LINK\\System32\\", "C:\\APP\\link\\SYSTEM32\\.",
                                      "C:\\APP\\TOP\\Windows Folder", "C:\\APP\\TOP\\Windows Folder\\System32",
                                      "C:\\APP\\TOP", "C:\\APP\\TOP\\.", "C:\\APP\\LINK"}) {
    EXPECT_TRUE(ops.IsProtectedDirectory(spelling)) << spelling;
    EXPECT_FALSE(ops.RemoveDirectoryTree(spelling, true)) << spelling;
    EXPECT_FALSE(ops.RemoveFileItem(spelling + "\\*.*", "", false)) << spelling;
    ASSERT_TRUE(Untouched()) << spelling;
  }
  EXPECT_TRUE(ops.RemoveDirectoryTree("C:\\APP", true)) << "the links go as entries";
  EXPECT_FALSE(fs.Exists("C:\\APP"));
  EXPECT_TRUE(Untouched());
}

TEST_F(Guards, PatternsEndingInStarDotStarAreRefusedInProtectedDirectories) {
  for (const std::string& name : std::vector<std::string>{"A*.*", "w*.*", "win*.*", "*.* ", "*.*.", "*.* . ", "*. ", "?*.*", "**.* "}) {
    for (const std::string& dir : std::vector<std::string>{std::string("C:\\Windows Folder\\"), std::string("C:\\Windows Folder\\System32\\"),
                                   shortWindows + "\\", std::string("C:\\")}) {
      EXPECT_FALSE(ops.RemoveFileItem(dir + name, "", false)) << dir + name;
      ASSERT_TRUE(Untouched()) << dir + name;
    }
  }
  fs.AddFile("C:\\Windows Folder\\setup.tmp");
  EXPECT_TRUE(ops.RemoveFileItem("C:\\Windows Folder\\*.tmp", "", false)) << "a pattern that ends otherwise is taken";
  EXPECT_FALSE(fs.Exists("C:\\Windows Folder\\setup.tmp"));
  EXPECT_TRUE(Untouched());
  fs.AddFile("C:\\APP\\a1.txt");
  fs.AddFile("C:\\APP\\b1.txt");
  EXPECT_TRUE(ops.RemoveFileItem("C:\\APP\\A*.*", "", false)) << "elsewhere it deletes what it names";
  EXPECT_FALSE(fs.Exists("C:\\APP\\a1.txt"));
  EXPECT_TRUE(fs.Exists("C:\\APP\\b1.txt"));
}

TEST_F(Guards, ADirectoryThatCannotBeIdentifiedIsADoubt) {
  fs.AddFile("C:\\APP\\a.txt");
  fs.faults().FailCall("IdentityOf", SysError::AccessDenied, 0, FaultTable::kForever);
  EXPECT_FALSE(ops.RemoveDirectoryTree("C:\\APP", true));
  EXPECT_FALSE(ops.RemoveFileItem("C:\\APP\\*.*", "", false));
  EXPECT_TRUE(fs.Exists("C:\\APP\\a.txt"));
  fs.faults().FailCall("IdentityOf", SysError::AccessDenied, /*skip=*/1, FaultTable::kForever);
  EXPECT_FALSE(ops.RemoveDirectoryTree("C:\\APP", true)) << "nor when the Windows directory cannot be identified";
  EXPECT_TRUE(fs.Exists("C:\\APP\\a.txt"));
  fs.faults().Clear();
  EXPECT_TRUE(ops.RemoveDirectoryTree("C:\\APP", true));
}

TEST_F(FileOps, ABlankNamedSubdirectoryIsEnteredOnceNotForever) {
  ASSERT_TRUE(fs.AddFile("C:\\APP\\ \\inner.txt"));
  ASSERT_TRUE(fs.AddFile("C:\\APP\\ \\ \\deeper.txt"));
  ASSERT_TRUE(fs.AddFile("C:\\APP\\top.txt"));
  ASSERT_TRUE(fs.Exists("C:\\APP\\ \\inner.txt"));
  EXPECT_TRUE(ops.RemoveDirectoryTree("C:\\APP", true));
  EXPECT_FALSE(fs.Exists("C:\\APP"));

  ASSERT_TRUE(fs.AddFile("C:\\KEEP\\ \\kept.txt"));
  ASSERT_TRUE(fs.AddDir("C:\\KEEP\\ \\ \\"));
  ASSERT_TRUE(fs.AddDir("C:\\KEEP\\Empty"));
  EXPECT_FALSE(ops.RemoveDirectoryTree("C:\\KEEP", false));
  EXPECT_TRUE(fs.Exists("C:\\KEEP\\ \\kept.txt"));
  EXPECT_FALSE(fs.Exists("C:\\KEEP\\ \\ \\")) << "the empty blank-named directory inside went";
  EXPECT_FALSE(fs.Exists("C:\\KEEP\\Empty"));
}

TEST_F(FileOps, LinksInATreeAreRemovedButNeverEntered) {
  fs.AddFile("D:\\ELSEWHERE\\precious.doc");
  fs.AddDir("D:\\ELSEWHERE\\EMPTY");
  fs.AddFile("C:\\APP\\a.txt");
  fs.AddLink("C:\\APP\\LINK", "D:\\ELSEWHERE");
  fs.AddLink("C:\\APP\\SUB\\DEEPLINK", "D:\\ELSEWHERE");
  EXPECT_TRUE(ops.RemoveDirectoryTree("C:\\APP", true));
  EXPECT_FALSE(fs.Exists("C:\\APP")) << "the links went as empty entries";
  EXPECT_TRUE(fs.Exists("D:\\ELSEWHERE\\precious.doc"));
  EXPECT_TRUE(fs.Exists("D:\\ELSEWHERE\\EMPTY"));

  fs.AddLink("C:\\TOPLINK", "D:\\ELSEWHERE");
  EXPECT_TRUE(ops.RemoveDirectoryTree("C:\\TOPLINK", true)) << "a tree that is itself a link";
  EXPECT_FALSE(fs.Exists("C:\\TOPLINK"));
  EXPECT_TRUE(fs.Exists("D:\\ELSEWHERE\\precious.doc"));
  EXPECT_EQ(*fs.GetAttributes("D:\\ELSEWHERE"), static_cast<std::uint32_t>(kAttrDirectory))
      << "the target's attributes are not touched";
}

TEST_F(FileOps, PatternsDeleteTheFilesTheyNameAndNoDirectory) {
  fs.AddFile("C:\\APP\\a.txt");
  fs.AddFile("C:\\APP\\B.TXT", "", kAttrReadOnly);
  fs.AddFile("C:\\APP\\c.dat");
  fs.AddDir("C:\\APP\\dir.txt");
  fs.AddFile("C:\\APP\\Long Name.html");
  EXPECT_TRUE(ops.RemoveFileItem("C:\\APP\\*.TXT", "C:\\BACKUP\\x", true));
  EXPECT_FALSE(fs.Exists("C:\\APP\\a.txt"));
  EXPECT_FALSE(fs.Exists("C:\\APP\\B.TXT"));
  EXPECT_TRUE(fs.Exists("C:\\APP\\c.dat"));
  EXPECT_TRUE(fs.Exists("C:\\APP\\dir.txt"));
  EXPECT_TRUE(ops.RemoveFileItem("C:/APP/*.htm", "", false)) << "matched through the short name";
  EXPECT_FALSE(fs.Exists("C:\\APP\\Long Name.html"));
  EXPECT_TRUE(ops.RemoveFileItem("C:\\APP\\*.*", "", false)) << "an ordinary directory may be emptied";
  EXPECT_FALSE(fs.Exists("C:\\APP\\c.dat"));
  EXPECT_TRUE(fs.Exists("C:\\APP\\dir.txt"));
  EXPECT_TRUE(ops.RemoveFileItem("C:\\NOWHERE\\*.*", "", false)) << "nothing to match is no refusal";
  fs.SetCurrentDir("C:\\APP");
  fs.AddFile("C:\\APP\\r1.log");
  EXPECT_TRUE(ops.RemoveFileItem("r?.log", "", false));
  EXPECT_FALSE(fs.Exists("C:\\APP\\r1.log"));
}

TEST_F(FileOps, AFileItemWithABackupIsReplacedByIt) {
  fs.AddFile("C:\\APP\\A.DLL", "new");
  fs.AddFile("C:\\APP\\BACKUP\\A.DLL", "old");
  EXPECT_TRUE(ops.RemoveFileItem("C:\\APP\\A.DLL", "C:\\APP\\BACKUP\\A.DLL", true));
  EXPECT_EQ(fs.ContentOf("C:\\APP\\A.DLL"), "old");
  EXPECT_FALSE(fs.Exists("C:\\APP\\BACKUP\\A.DLL"));
  EXPECT_EQ(globals.rebootNeeded, 0);

  fs.AddFile("C:\\APP\\BACKUP\\B.DLL", "old");
  fs.AddFile("C:\\APP\\B.DLL", "new");
  EXPECT_TRUE(ops.RemoveFileItem("C:\\APP\\B.DLL", "C:\\APP\\BACKUP\\B.DLL", false));
  EXPECT_FALSE(fs.Exists("C:\\APP\\B.DLL"));
  EXPECT_TRUE(fs.Exists("C:\\APP\\BACKUP\\B.DLL")) << "without restore the backup stays";
  EXPECT_TRUE(ops.RemoveFileItem("C:\\APP\\GONE.DLL", "", true)) << "success, whatever the deletion did";
}

TEST_F(FileOps, ABackupForAFileInUseWaitsBesideItForTheRestart) {
  fs.AddFile("C:\\Program Files\\App\\A.DLL", "new");
  fs.AddFile("C:\\Program Files\\App\\B.DLL", "new");
  fs.AddFile("C:\\Program Files\\App\\~KVZ0001.TMP", "someone else's");
  fs.AddFile("C:\\BK\\A.DLL", "old a");
  fs.AddFile("C:\\BK\\B.DLL", "old b");
  fs.HoldOpen("C:\\Program Files\\App\\A.DLL");
  fs.HoldOpen("C:\\Program Files\\App\\B.DLL");

  EXPECT_EQ(ops.RestoreBackup("C:\\BK\\A.DLL", "C:\\Program Files\\App\\A.DLL"), RestoreResult::AtRestart);
  EXPECT_EQ(ops.RestoreBackup("C:\\BK\\B.DLL", "C:\\Program Files\\App\\B.DLL"), RestoreResult::AtRestart);
  EXPECT_EQ(fs.ContentOf("C:\\Program Files\\App\\~KVZ0000.TMP"), "old a");
  EXPECT_EQ(fs.ContentOf("C:\\Program Files\\App\\~KVZ0002.TMP"), "old b") << "a taken number is passed over";
  EXPECT_EQ(fs.ContentOf("C:\\Program Files\\App\\~KVZ0001.TMP"), "someone else's");
  EXPECT_FALSE(fs.Exists("C:\\BK\\A.DLL"));
  EXPECT_EQ(globals.rebootNeeded, 1);
  ASSERT_EQ(fs.RestartMoves().size(), 2u);
  EXPECT_EQ(fs.RestartMoves()[0].from, "C:\\PROGRA~1\\App\\~KVZ0000.TMP") << "the temporary copy in short form";
  EXPECT_EQ(fs.RestartMoves()[0].to, "C:\\Program Files\\App\\A.DLL") << "the target as the caller passed it";
  EXPECT_TRUE(fs.RestartMoves()[0].replaceExisting) << "the target still exists at the restart";
}

TEST_F(FileOps, OtherPlatformsRenameThroughWininit) {
  globals.platformKind = 2;
  fs.AddFile("C:\\Program Files\\App\\A.DLL", "new");
  fs.AddFile("C:\\BK\\A.DLL", "old");
  fs.HoldOpen("C:\\Program Files\\App\\A.DLL");
  EXPECT_EQ(ops.RestoreBackup("C:\\BK\\A.DLL", "C:\\Program Files\\App\\A.DLL"), RestoreResult::AtRestart);
  EXPECT_TRUE(fs.RestartMoves().empty());
  EXPECT_EQ(profile.ReadString("C:\\WINDOWS\\WININIT.INI", "rename", "C:\\PROGRA~1\\App\\A.DLL", ""),
            "C:\\PROGRA~1\\App\\~KVZ0000.TMP");
}

TEST_F(FileOps, ABackupIsNeverLeftTwiceNorLost) {
  fs.AddFile("C:\\APP\\A.DLL", "new");
  fs.AddFile("C:\\BK\\A.DLL", "old");
  fs.faults().FailCall("CopyOver", SysError::AccessDenied, 0, 2);
  EXPECT_EQ(ops.RestoreBackup("C:\\BK\\A.DLL", "C:\\APP\\A.DLL"), RestoreResult::TargetDeleted);
  EXPECT_FALSE(fs.Exists("C:\\APP\\A.DLL"));
  EXPECT_TRUE(fs.Exists("C:\\BK\\A.DLL"));
  EXPECT_FALSE(fs.Exists("C:\\APP\\~KVZ0000.TMP"));

  // When the restart move cannot be registered, nothing would ever put the
  // copy in place: the backup must survive.
  fs.AddFile("C:\\APP\\B.DLL", "new");
  fs.AddFile("C:\\BK\\B.DLL", "old");
  fs.HoldOpen("C:\\APP\\B.DLL");
  fs.faults().FailCall("MoveFileAtRestart", SysError::AccessDenied);
  EXPECT_EQ(ops.RestoreBackup("C:\\BK\\B.DLL", "C:\\APP\\B.DLL"), RestoreResult::TargetDeleted);
  EXPECT_TRUE(fs.Exists("C:\\BK\\B.DLL"));
  EXPECT_EQ(globals.rebootNeeded, 0);
  EXPECT_EQ(fs.ContentOf("C:\\APP\\B.DLL"), "new") << "in use, so it stays";
  auto scan = fs.FindFirst("C:\\APP\\~KVZ*.TMP");
  EXPECT_FALSE(scan) << "no temporary copy is left behind";
}

TEST_F(FileOps, TemporaryNamesAreCountedAcrossTheRunAndBounded) {
  EXPECT_EQ(ops.MakeTempName("C:\\APP\\A.DLL"), "C:\\APP\\~KVZ0000.TMP");
  EXPECT_EQ(ops.MakeTempName("C:\\OTHER\\B.DLL"), "C:\\OTHER\\~KVZ0001.TMP");
  EXPECT_EQ(ops.MakeTempName("NODIR.DLL"), "~KVZ0002.TMP");
  EXPECT_EQ(ops.MakeTempName("C:/APP/A.DLL"), "C:/APP/~KVZ0003.TMP");
  std::string deep = "C:\\" + std::string(246, 'd') + "\\A.DLL";
  EXPECT_EQ(ops.MakeTempName(deep), "") << "a name that would not fit the buffer is not made";
}

TEST_F(FileOps, SixHundredCharacterPathsOverrunNothing) {
  std::string huge = "C:\\" + std::string(597, 'p');
  EXPECT_FALSE(ops.FileExists(huge));
  EXPECT_FALSE(ops.DeleteOneFile(huge));
  EXPECT_FALSE(ops.RemoveFile(huge + ".HLP"));
  EXPECT_FALSE(ops.RemoveOneDirectory(huge));
  EXPECT_FALSE(ops.RemoveDirectoryTree(huge, true));
  EXPECT_FALSE(ops.RemoveFileItem(huge + "\\*.*", "", false));
  EXPECT_TRUE(ops.RemoveFileItem(huge, huge, true));
  EXPECT_EQ(ops.RestoreBackup(huge, huge), RestoreResult::TargetDeleted);

  std::string longest = "C:\\" + std::string(252, 'x') + "\\a.t";
  ASSERT_EQ(longest.size(), 259u);
  ASSERT_TRUE(fs.AddFile(longest));
  EXPECT_TRUE(ops.FileExists(longest));
  EXPECT_TRUE(ops.RemoveDirectoryTree("C:\\" + std::string(252, 'x'), true)) << "259 characters still work";
}

}  // namespace
}  // namespace scrubber
