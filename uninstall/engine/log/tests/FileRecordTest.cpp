// File records: where they land, their flags, and the lines that qualify them.
#include "ParseFixture.h"

namespace scrubber::test {
namespace {

class FileRecordTest : public ParseTest {
 protected:
  void SetUp() override {
    fs.AddDrive('A', DriveType::Fixed);
    for (const char* path : {"C:\\APP\\A.EXE", "C:\\APP\\B.DLL", "C:\\WINDOWS\\SYSTEM32\\S.DLL", "C:\\WINDOWS\\W.INI",
                             "C:\\WINDOWS\\FONTS\\F.TTF", "C:\\WINDOWS\\SYSTEM32\\WIN32S\\W32.DLL",
                             "C:\\WINDOWS\\SYSTEM32\\SHARED.DLL", "A:\\SETUP.EXE"})
      Exist(path);
  }
};

TEST_F(FileRecordTest, SystemOrPrivateByTheFilesOwnDirectory) {
  ASSERT_EQ(Parse(Log({"File Copy: C:\\APP\\A.EXE", "File Copy: C:\\WINDOWS\\SYSTEM32\\S.DLL",
                       "Shell Link: c:\\windows\\W.INI", "File Copy: C:\\WINDOWS\\FONTS\\F.TTF",
                       "File Copy: C:\\WINDOWS\\SYSTEM32\\WIN32S\\W32.DLL", "File Copy: C:\\APP\\GONE.EXE"})),
            0);
  ASSERT_EQ(model.PrivateFiles.size(), 2u);
  EXPECT_EQ(model.PrivateFiles[0].path, "C:\\APP\\A.EXE");
  EXPECT_EQ(model.PrivateFiles[1].path, "C:\\WINDOWS\\FONTS\\F.TTF");
  ASSERT_EQ(model.SystemFiles.size(), 3u);
  for (const FileItem& f : model.SystemFiles) {
    EXPECT_EQ(f.selected, 0);
    EXPECT_EQ(f.autoRemove, 1);
    EXPECT_TRUE(f.sharedCounted);
    EXPECT_EQ(f.installNo, 1);
  }
  EXPECT_EQ(model.hasBackups, 0);
}

TEST_F(FileRecordTest, NonSystemAndCounterNotesQualifyOnlyTheNextRecord) {
  ASSERT_EQ(Parse(Log({"Non-System File:", "Shared DLL counter ignored:", "File Copy: C:\\WINDOWS\\SYSTEM32\\S.DLL",
                       "File Copy: C:\\WINDOWS\\SYSTEM32\\SHARED.DLL", "non-system file:", "File Copy: C:\\APP\\A.EXE",
                       "Shared DLL counter ignored:", "Non-System File:", "File Copy: C:\\WINDOWS\\W.INI"})),
            0);
  ASSERT_EQ(model.SystemFiles.size(), 3u);
  EXPECT_EQ(model.SystemFiles[0].selected, 1);
  EXPECT_FALSE(model.SystemFiles[0].sharedCounted);
  EXPECT_EQ(model.SystemFiles[1].selected, 0);  // notes do not carry over
  EXPECT_TRUE(model.SystemFiles[1].sharedCounted);
  // In the wrong order only the counter note holds; the second flag line
  // is then the record and is passed over, so W.INI is read unqualified.
  EXPECT_EQ(model.SystemFiles[2].selected, 0);
  EXPECT_TRUE(model.SystemFiles[2].sharedCounted);
  ASSERT_EQ(model.PrivateFiles.size(), 1u);
  EXPECT_EQ(model.PrivateFiles[0].selected, 0);  // a private file is never preselected
}

TEST_F(FileRecordTest, BackupCopyIsOptionalAndItsAbsenceLooksAhead) {
  ASSERT_EQ(Parse(Log({"File Overwrite: C:\\APP\\A.EXE", "Backup Copy: C:\\APP\\BACKUP\\A.EXE",
                       "File Copy: C:\\APP\\B.DLL", "File Copy: C:\\WINDOWS\\SYSTEM32\\S.DLL", "Backup Copy: C:\\BK\\S.DLL"})),
            0);
  ASSERT_EQ(model.PrivateFiles.size(), 2u);
  EXPECT_EQ(model.PrivateFiles[0].backupPath, "C:\\APP\\BACKUP\\A.EXE");
  EXPECT_EQ(model.PrivateFiles[0].autoRemove, 0);
  EXPECT_EQ(model.PrivateFiles[1].backupPath, "");
  EXPECT_EQ(model.PrivateFiles[1].autoRemove, 1);
  ASSERT_EQ(model.SystemFiles.size(), 1u);
  EXPECT_EQ(model.SystemFiles[0].autoRemove, 0);
  EXPECT_EQ(model.hasBackups, 1);
}

TEST_F(FileRecordTest, OverwriteWithoutBackupCountsOnlyForARegisteredSharedFile) {
  RegisterShared("C:\\WINDOWS\\SYSTEM32\\SHARED.DLL");
  const std::string log = Log({"File Overwrite: C:\\APP\\A.EXE", "File Overwrite: C:\\WINDOWS\\SYSTEM32\\SHARED.DLL"});
  ASSERT_EQ(Parse(log), 0);
  EXPECT_TRUE(model.PrivateFiles.empty());
  ASSERT_EQ(model.SystemFiles.size(), 1u);
  EXPECT_EQ(model.SystemFiles[0].autoRemove, 1);

  globals.isVersion4OrLater = 0;  // no SharedDLLs before version 4
  ASSERT_EQ(Parse(log), 0);
  EXPECT_TRUE(model.SystemFiles.empty());
}

TEST_F(FileRecordTest, BackupSetsHasBackupsEvenWhenTheFileIsNotListed) {
  ASSERT_EQ(Parse(Log({"File Copy: C:\\APP\\GONE.EXE", "Backup Copy: C:\\BK\\GONE.EXE", "File Edit: C:\\APP\\A.EXE"})), 0);
  EXPECT_TRUE(model.PrivateFiles.empty());
  EXPECT_EQ(model.hasBackups, 1);
  EXPECT_TRUE(model.EditedFiles.empty());  // an edited file needs its backup line

  ASSERT_EQ(Parse(Log({"File Edit: C:\\APP\\A.EXE", "Backup Copy: C:\\BK\\A.EXE", "File Edit: C:\\APP\\GONE.EXE",
                       "Backup Copy: C:\\BK\\GONE.EXE"})),
            0);
  EXPECT_EQ(model.hasBackups, 0);
  ASSERT_EQ(model.EditedFiles.size(), 1u);
  EXPECT_EQ(model.EditedFiles[0].backupPath, "C:\\BK\\A.EXE");
}

TEST_F(FileRecordTest, FloppyPathsAreLeftOutOnlyWhenTheDriveIsRemovable) {
  const std::string log = Log({"File Copy: A:\\SETUP.EXE", "File Copy: C:\\APP\\A.EXE"});
  fs.AddDrive('A', DriveType::Removable);
  ASSERT_EQ(Parse(log), 0);
  ASSERT_EQ(model.PrivateFiles.size(), 1u);
  EXPECT_EQ(model.PrivateFiles[0].path, "C:\\APP\\A.EXE");

  fs.AddDrive('A', DriveType::Fixed);
  ASSERT_EQ(Parse(log), 0);
  EXPECT_EQ(model.PrivateFiles.size(), 2u);
}

TEST_F(FileRecordTest, BackslashAsSecondByteOfADoubleByteCharacterSplitsNothing) {
  // A log named 0x81 '\' "INSTALL.LOG": one double-byte character, then the
  // rest of the name. The log's directory is C:\APP, found before opening.
  const std::string path = "C:\\APP\\\x81\\INSTALL.LOG";
  EXPECT_EQ(ParseAt(path), 1);
  EXPECT_EQ(model.uninstallDir, "C:\\APP\\\x81\\");

  LeadBytes japanese;
  japanese.Set(0x81, 0x9F);
  fs.SetLeadBytes(japanese);
  EXPECT_EQ(ParseAt(path), 1);
  EXPECT_EQ(model.uninstallDir, "C:\\APP\\");
}

TEST_F(FileRecordTest, SamePathTwiceGivesTwoRecordsAndMarksApplyToBoth) {
  Exist("C:\\APP\\Binary Library.DLL");
  ASSERT_EQ(fs.ShortNameOf("C:\\APP\\Binary Library.DLL"), "BINARY~1.DLL");
  ASSERT_EQ(Parse(Log({"File Copy: C:\\APP\\Binary Library.DLL", "*** Upgrade", "File Copy: C:\\APP\\Binary Library.DLL",
                       "Add Device: c:\\app\\binary library.dll", "Self-Register: C:\\APP\\BINARY~1.DLL",
                       "Add Device: C:\\APP\\A.EXE"})),
            0);
  ASSERT_EQ(model.PrivateFiles.size(), 2u);
  for (const FileItem& f : model.PrivateFiles) {
    EXPECT_EQ(f.deviceInstall, 2);
    EXPECT_EQ(f.selfRegInstall, 2);
  }
}

// The directories the reader remembers change no answer: each spelling in
// either form, asked in any order and again, is what a look-up of every
// component gives, up to the width of a path.
TEST(CanonicalPathNames, RememberedDirectoriesGiveTheSameSpellings) {
  FakeFileSystem fs;
  for (const char* path : {"C:\\Program Files\\Demo App\\Sub Dir\\Long Name.dll", "C:\\Program Files\\Demo App\\b.dll",
                           "C:\\Program Files\\Other App\\c.dll", "D:\\Data Files\\x.txt"}) {
    ASSERT_TRUE(fs.AddFile(path));
  }
  const std::vector<std::string> paths = {
      "C:\\Program Files\\Demo App\\b.dll",       "C:\\PROGRA~1\\DEMOAP~1\\SUBDIR~1\\LONGNA~1.DLL",
      "C:\\Program Files\\Demo App\\Sub Dir\\",  "c:\\program files\\demo app\\missing.dll",
      "C:\\Program Files\\Demo App\\..\\Other App\\c.dll", "C:\\Program Files\\Other App\\c.dll",
      "D:\\Data Files\\x.txt",                    "relative\\name.dll",
      "C:\\Program Files\\New Dir\\Sub\\f.txt",  "C:\\Program Files\\Demo App\\Sub Dir\\Long Name.dll",
      // Near the width, a directory's long name no longer fits before this file name.
      "C:\\PROGRA~1\\DEMOAP~1\\b.dll",             "C:\\PROGRA~1\\DEMOAP~1\\" + std::string(236, 'x')};
  CanonicalPathNames names(fs);
  for (int pass = 0; pass < 2; ++pass) {
    for (const std::string& path : paths) {
      for (const PathForm form : {PathForm::Long, PathForm::Short}) {
        std::string direct = path;
        CanonicalizePath(fs, direct, form);
        EXPECT_EQ(form == PathForm::Long ? names.Long(path) : names.Short(path), direct) << path;
      }
    }
  }
}

}  // namespace
}  // namespace scrubber::test
