// Registry, INI, directory, program, icon, service and sub-system records.
#include "ParseFixture.h"

namespace scrubber::test {
namespace {

using RecordTest = ParseTest;

TEST_F(RecordTest, RegistryKeyNeedsItsValueLineAndLooksAhead) {
  Exist("C:\\APP\\A.EXE");
  ASSERT_EQ(Parse(Log({"RegDB Key: Software\\Dropped", "File Copy: C:\\APP\\A.EXE",
                       "RegDB Key: Software\\Demo", "RegDB Val: ignored", "RegDB Name: Path", "RegDB Type: 1",
                       "RegDB Root: 2", "Create Service: Next",
                       "RegDB Key: Software\\Plain", "RegDB Val: ", "RegDB Root:  +1x"})),
            0);
  ASSERT_EQ(model.PrivateFiles.size(), 1u);
  ASSERT_EQ(model.RegKeys.size(), 2u);
  EXPECT_EQ(model.RegKeys[0].key, "Software\\Demo");
  EXPECT_EQ(model.RegKeys[0].valueName, "Path");
  EXPECT_EQ(model.RegKeys[0].root, kLocalMachine);
  EXPECT_EQ(model.RegKeys[1].valueName, "");
  EXPECT_EQ(model.RegKeys[1].root, kCurrentUser);
  EXPECT_EQ(model.Services.size(), 1u);
}

TEST_F(RecordTest, OldValueLinesMakeAnEditWithPackedData) {
  ASSERT_EQ(Parse(Log({"RegDB Key: Software\\Demo", "RegDB Val: x", "RegDB Name: List", "RegDB Type: 2",
                       "RegDB Root: 1", "RegDB Old: a", "regdb old: b", "RegDB Key: Software\\Bad", "RegDB Val: x",
                       "RegDB Root: 5", "RegDB Old: c", "RegDB Key: Software\\BadType", "RegDB Val: x",
                       "RegDB Type: 9", "RegDB Old: c"})),
            0);
  EXPECT_TRUE(model.RegKeys.empty());
  ASSERT_EQ(model.RegEdits.size(), 1u);  // roots and types outside the tables are dropped
  EXPECT_EQ(model.RegEdits[0].oldData, std::string("a\0b\0\0", 5));
  EXPECT_EQ(model.RegEdits[0].type, kRegMultiSz);
  EXPECT_EQ(model.RegEdits[0].root, kCurrentUser);
  EXPECT_EQ(model.RegEdits[0].valueName, "List");
}

TEST_F(RecordTest, RegistryTreesMergeByKeyAndRoot) {
  ASSERT_EQ(Parse(Log({"RegDB Tree: Software\\Demo", "RegDB Root: 2", "RegDB Tree: Software\\Other", "*** Upgrade",
                       "RegDB Tree: SOFTWARE\\DEMO", "RegDB Root: 2", "RegDB Tree: Software\\Demo"})),
            0);
  ASSERT_EQ(model.RegTrees.size(), 3u);
  EXPECT_EQ(model.RegTrees[0].installNo, 2);
  EXPECT_EQ(model.RegTrees[0].key, "Software\\Demo");
  EXPECT_EQ(model.RegTrees[1].root, kClassesRoot);
  EXPECT_EQ(model.RegTrees[1].installNo, 1);
  EXPECT_EQ(model.RegTrees[2].root, kClassesRoot);
  EXPECT_EQ(model.RegTrees[2].installNo, 2);
}

TEST_F(RecordTest, NewIniFileTakesItsEntryLinesAlong) {
  Exist("C:\\APP\\DEMO.INI");
  SetIni("C:\\APP\\DEMO.INI", "Main", "Key", "now");
  ASSERT_EQ(Parse(Log({"INI New: x", "INI File: C:\\APP\\DEMO.INI", "INI Sect: Main", "INI Item: Key", "INI Val: v",
                       "INI Old: o", "INI File: C:\\APP\\DEMO.INI", "INI Sect: Main", "INI Item: Key", "INI Val: v",
                       "INI New: y", "Create Service: NotIni", "INI New: z", "INI File: C:\\APP\\GONE.INI"})),
            0);
  ASSERT_EQ(model.IniFiles.size(), 1u);
  EXPECT_EQ(model.IniFiles[0].path, "C:\\APP\\DEMO.INI");
  ASSERT_EQ(model.IniEntries.size(), 1u);  // the second "INI File: " starts its own record
  EXPECT_EQ(model.IniEntries[0].oldValue, "");
  EXPECT_EQ(model.Services.size(), 1u);     // examined again after "INI New: y"
}

TEST_F(RecordTest, IniEntryIsListedOnlyWhileTheFileHoldsAValue) {
  SetIni("C:\\APP\\DEMO.INI", "Main", "Set", "1");
  ASSERT_EQ(Parse(Log({"INI File: C:\\APP\\DEMO.INI", "INI Sect: Main", "INI Item: Set", "INI Val: 1", "INI Old: 0",
                       "Create Service: A", "INI File: C:\\APP\\DEMO.INI", "INI Sect: Main", "INI Item: Unset",
                       "INI Val: 1", "Create Service: B", "INI File: C:\\APP\\DEMO.INI", "INI Item: Set",
                       "INI Val: 1"})),
            0);
  ASSERT_EQ(model.IniEntries.size(), 1u);
  EXPECT_EQ(model.IniEntries[0].section, "Main");
  EXPECT_EQ(model.IniEntries[0].key, "Set");
  EXPECT_EQ(model.IniEntries[0].oldValue, "0");
  EXPECT_EQ(model.Services.size(), 2u);
}

TEST_F(RecordTest, IniEntryOnAFloppySkipsTheNextLineUnexamined) {
  fs.AddDrive('B', DriveType::Removable);
  SetIni("B:\\DEMO.INI", "Main", "Key", "1");
  ASSERT_EQ(Parse(Log({"INI File: B:\\DEMO.INI", "Create Service: Skipped", "Create Service: Seen"})), 0);
  EXPECT_TRUE(model.IniEntries.empty());
  ASSERT_EQ(model.Services.size(), 1u);
  EXPECT_EQ(model.Services[0].name, "Seen");
}

TEST_F(RecordTest, MadeDirsCollapseIntoTheOutermostInEitherOrder) {
  for (auto order : {std::pair{"Made Dir: C:\\APP\\SUB", "Made Dir: C:\\APP"},
                     std::pair{"Made Dir: C:\\App", "Made Dir: C:\\APP\\SUB\\DEEP"}}) {
    ASSERT_EQ(Parse(Log({order.first, "*** Upgrade", order.second, "Made Dir: C:\\APPX", "Made Dir: relative",
                         "Made Dir: C:"}),
                    "D:\\LOGS\\INSTALL.LOG"),
              0);
    ASSERT_EQ(model.Directories.size(), 3u) << order.first;
    EXPECT_TRUE(EqualsNoCase(model.Directories[1].path, "C:\\APP\\"));
    EXPECT_EQ(model.Directories[1].lastInstall, 2);
    EXPECT_EQ(model.Directories[1].treeInstall, 0);
    EXPECT_EQ(model.Directories[2].path, "C:\\APPX\\");
  }
}

TEST_F(RecordTest, MadeDirMergesWithTheFirstMatchingRecordOnly) {
  ASSERT_EQ(Parse(Log({"File Tree: C:\\A\\X", "File Tree: C:\\A\\Y", "Made Dir: c:\\a", "*** Upgrade",
                       "Made Dir: C:\\A\\Y\\Z", "File Tree: C:\\A\\X"}),
                  "D:\\INSTALL.LOG"),
            0);
  ASSERT_EQ(model.Directories.size(), 3u);
  EXPECT_EQ(model.Directories[0].path, "C:\\A\\");  // cut, keeping its own spelling
  EXPECT_EQ(model.Directories[0].lastInstall, 2);
  EXPECT_EQ(model.Directories[1].path, "C:\\A\\Y\\");
  EXPECT_EQ(model.Directories[1].lastInstall, 1);
  EXPECT_EQ(model.Directories[2].path, "C:\\A\\X\\");  // the cut record no longer equals it
  EXPECT_EQ(model.Directories[2].treeInstall, 2);
}

TEST_F(RecordTest, LogDirectoryIsSeededUnlessItHoldsTheSystem) {
  ASSERT_TRUE(fs.AddFile("C:\\Program Files\\Demo\\INSTALL.LOG", Log({})));
  ASSERT_EQ(fs.ShortNameOf("C:\\Program Files"), "PROGRA~1");
  ASSERT_EQ(ParseAt("C:\\PROGRA~1\\DEMO\\INSTALL.LOG"), 0);
  ASSERT_EQ(model.Directories.size(), 1u);
  EXPECT_EQ(model.Directories[0].path, "C:\\Program Files\\Demo\\");
  EXPECT_EQ(model.Directories[0].lastInstall, kLogDirInstall);
  EXPECT_EQ(model.uninstallDir, "C:\\PROGRA~1\\Demo\\");

  for (const char* logPath : {"C:\\WINDOWS\\INSTALL.LOG", "C:\\WINDOWS\\SYSTEM32\\INSTALL.LOG", "C:\\INSTALL.LOG"}) {
    ASSERT_EQ(Parse(Log({}), logPath), 0);
    EXPECT_TRUE(model.Directories.empty()) << logPath;
  }
  EXPECT_EQ(model.uninstallDir, "C:\\");
  ASSERT_EQ(Parse(Log({}), "C:\\WINDOWS\\SYSTEM32\\SUB\\INSTALL.LOG"), 0);
  EXPECT_EQ(model.Directories.size(), 1u);

  // A bare name lies in the current directory.
  ASSERT_TRUE(fs.AddFile("C:\\WORK\\INSTALL.LOG", Log({})));
  ASSERT_EQ(ParseAt("INSTALL.LOG"), 0);
  EXPECT_EQ(model.uninstallDir, "C:\\WORK\\");
  ASSERT_EQ(model.Directories.size(), 1u);
  EXPECT_EQ(model.Directories[0].path, "C:\\WORK\\");
}

TEST_F(RecordTest, MadeDirCutsUninstallDirBackToTheOutermostMadeDirectory) {
  ASSERT_TRUE(fs.AddFile("C:\\Program Files\\Demo\\Bin\\INSTALL.LOG",
                         Log({"Made Dir: C:\\Program Files\\Demo\\Bin", "Made Dir: C:\\Program Files\\Demo",
                              "Made Dir: C:\\Program Files\\Dem"})));
  ASSERT_EQ(ParseAt("C:\\PROGRA~1\\DEMO\\BIN\\INSTALL.LOG"), 0);
  EXPECT_EQ(model.uninstallDir, "C:\\PROGRA~1\\Demo\\");
  ASSERT_EQ(model.Directories.size(), 2u);
  EXPECT_EQ(model.Directories[0].path, "C:\\Program Files\\Demo\\");
  EXPECT_EQ(model.Directories[0].lastInstall, 1);
  EXPECT_EQ(model.Directories[1].path, "C:\\Program Files\\Dem\\");
}

TEST_F(RecordTest, FileTreeDropsItsWildcardAndMarksTheDirectory) {
  ASSERT_EQ(Parse(Log({"File Tree: C:\\APP\\DATA\\*.*", "Made Dir: C:\\APP\\LIB", "*** Upgrade",
                       "File Tree: c:\\app\\lib", "File Tree: C:\\APP\\LIB\\X", "File Tree: *.*"}),
                  "D:\\INSTALL.LOG"),
            0);
  ASSERT_EQ(model.Directories.size(), 3u);
  EXPECT_EQ(model.Directories[0].path, "C:\\APP\\DATA\\");
  EXPECT_EQ(model.Directories[0].treeInstall, 1);
  EXPECT_EQ(model.Directories[0].lastInstall, 1);
  EXPECT_EQ(model.Directories[1].path, "C:\\APP\\LIB\\");
  EXPECT_EQ(model.Directories[1].treeInstall, 2);
  EXPECT_EQ(model.Directories[2].path, "C:\\APP\\LIB\\X\\");  // trees never collapse
}

TEST_F(RecordTest, ProgramsMergeByCommandAndKeepTheirFirstName) {
  ASSERT_EQ(Parse(Log({"Execute Path: C:\\APP\\SETUP.EXE /r", "Execute Name: Repair", "Execute Program: C:\\APP\\X.EXE",
                       "*** Upgrade", "execute path: c:\\app\\setup.exe /R", "Execute Name: Other"})),
            0);
  ASSERT_EQ(model.ExternalPrograms.size(), 2u);
  EXPECT_EQ(model.ExternalPrograms[0].name, "Repair");
  EXPECT_EQ(model.ExternalPrograms[0].installNo, 2);
  EXPECT_EQ(model.ExternalPrograms[1].name, "");
}

TEST_F(RecordTest, IconsNeedNameAndCommandAndMergeByGroupAndName) {
  ASSERT_EQ(Parse(Log({"Icon Group: Demo", "Icon Name: Run", "Icon Cmd: A.EXE", "Icon Group: Demo",
                       "Create Service: Interrupts", "Icon Group: Demo", "Icon Name: X", "Icon Group: DEMO",
                       "Icon Name: run", "Icon Cmd: B.EXE"})),
            0);
  ASSERT_EQ(model.Icons.size(), 1u);
  EXPECT_EQ(model.Icons[0].command, "B.EXE");
  EXPECT_EQ(model.Services.size(), 1u);
}

TEST_F(RecordTest, SubSystemKeepsTheLastValueFromItsB) {
  ASSERT_EQ(Parse(Log({"SubSystem: BDE", "subsystem: bde32", "SubSystem: XYZ"})), 0);
  EXPECT_TRUE(model.SubSystem.present);
  EXPECT_EQ(model.SubSystem.text, "bde32");
}

}  // namespace
}  // namespace scrubber::test
