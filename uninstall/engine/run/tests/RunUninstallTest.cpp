// The engine's rules over the in-memory platform: which items each method
// chooses, rollback, shared counts, cancel, the log, and progress.
#include "EngineWorld.h"

namespace scrubber::test {
namespace {

TEST_F(EngineTest, NothingLoggedStillDeletesTheLogUnderAutomatic) {
  Parse(Log({{}}));
  model.Directories.clear();  // the log's own directory is not the point here
  Run();
  EXPECT_EQ(globals.progressTotal, 1);
  EXPECT_EQ(globals.progressDone, 0);
  EXPECT_EQ(globals.progressStarted, 1);
  ASSERT_EQ(ui.begun.size(), 1u);
  EXPECT_NE(ui.begun[0].find("Performing uninstall of the Demo App..."), std::string::npos);
  EXPECT_FALSE(fs.Exists(kLogPath));
}

TEST_F(EngineTest, CustomWithNothingSelectedOnlyReleasesSystemFileCounts) {
  fs.AddFile("C:\\APP\\A.EXE");
  fs.AddFile("C:\\WINDOWS\\SYSTEM32\\SHARED.DLL");
  fs.AddFile("C:\\WINDOWS\\SYSTEM32\\BUSY.DLL");
  Shared("C:\\WINDOWS\\SYSTEM32\\SHARED.DLL", 1);
  Shared("C:\\WINDOWS\\SYSTEM32\\BUSY.DLL", 3);
  registry.SetString(RegRoot::CurrentUser, "Software\\Demo", "Path", "x");
  Parse(Log({{"File Copy: C:\\APP\\A.EXE", "File Copy: C:\\WINDOWS\\SYSTEM32\\SHARED.DLL",
              "File Copy: C:\\WINDOWS\\SYSTEM32\\BUSY.DLL", "RegDB Key: Software\\Demo", "RegDB Val: x",
              "RegDB Name: Path", "RegDB Root: 1"}}));
  globals.method = kCustom;
  globals.rollback = 1;  // Custom clears it
  ui.sharedAnswers = {kSharedNo};
  Run();
  EXPECT_EQ(globals.rollback, 0);
  ASSERT_EQ(ui.questions.size(), 1u) << "the count of 1 asks";
  EXPECT_NE(ui.questions[0].find("C:\\WINDOWS\\SYSTEM32\\SHARED.DLL"), std::string::npos);
  EXPECT_EQ(ui.focusBacks, 1);
  EXPECT_FALSE(SharedCountOf("C:\\WINDOWS\\SYSTEM32\\SHARED.DLL")) << "the count value goes whatever the answer";
  EXPECT_EQ(SharedCountOf("C:\\WINDOWS\\SYSTEM32\\BUSY.DLL"), 2u);
  EXPECT_TRUE(fs.Exists("C:\\WINDOWS\\SYSTEM32\\SHARED.DLL"));
  EXPECT_TRUE(fs.Exists("C:\\APP\\A.EXE"));
  EXPECT_TRUE(registry.ValueOf(RegRoot::CurrentUser, "Software\\Demo", "Path"));
  EXPECT_TRUE(fs.Exists(kLogPath));
  EXPECT_TRUE(ui.lines.empty());
}

TEST_F(EngineTest, AutomaticKeepsAnOverwrittenFileThatARollbackRestores) {
  fs.AddFile("C:\\APP\\NEW.DLL", "new");
  fs.AddFile("C:\\APP\\OLD.DLL", "installed");
  fs.AddFile("C:\\APP\\OLD.BAK", "original");
  const std::string log = Log({{"File Copy: C:\\APP\\NEW.DLL", "File Overwrite: C:\\APP\\OLD.DLL",
                                "Backup Copy: C:\\APP\\OLD.BAK"}});
  Parse(log);
  Run();
  EXPECT_FALSE(fs.Exists("C:\\APP\\NEW.DLL"));
  EXPECT_EQ(fs.ContentOf("C:\\APP\\OLD.DLL"), "installed") << "an overwrite with a backup is not auto-removed";

  // The same installation rolled back: the file is replaced by its backup.
  fs.AddFile("C:\\APP\\NEW.DLL", "new");
  model = {};
  ui.lines.clear();
  Parse(log);
  globals.rollback = 1;
  Run();
  EXPECT_FALSE(fs.Exists("C:\\APP\\NEW.DLL"));
  EXPECT_EQ(fs.ContentOf("C:\\APP\\OLD.DLL"), "original");
  EXPECT_FALSE(fs.Exists("C:\\APP\\OLD.BAK"));
  EXPECT_FALSE(fs.Exists(kLogPath)) << "a rollback of the only installation deletes the log";
}

TEST_F(EngineTest, RollbackActsOnTheLastInstallationAndCutsTheLogBackToTheFirst) {
  fs.AddFile("C:\\APP\\V1.DLL");
  fs.AddFile("C:\\APP\\V2.DLL");
  fs.AddFile("C:\\APP\\SHARED.DLL", "v2");
  fs.AddFile("C:\\APP\\SHARED.BAK", "v1");
  registry.SetString(RegRoot::CurrentUser, "Software\\Demo\\V1", "A", "1");
  registry.SetString(RegRoot::CurrentUser, "Software\\Demo\\V2", "B", "2");
  const std::string first = Log({{"File Copy: C:\\APP\\V1.DLL", "RegDB Key: Software\\Demo\\V1", "RegDB Val: 1",
                                  "RegDB Name: A", "RegDB Root: 1"}});
  const std::string second = Log({{"File Copy: C:\\APP\\V2.DLL", "File Overwrite: C:\\APP\\SHARED.DLL",
                                   "Backup Copy: C:\\APP\\SHARED.BAK", "RegDB Key: Software\\Demo\\V2",
                                   "RegDB Val: 2", "RegDB Name: B", "RegDB Root: 1"}});
  Parse(first + second);
  ASSERT_EQ(model.installCount, 2);
  ASSERT_EQ(model.lastInstallOffset, first.size());
  globals.rollback = 1;
  Run();
  EXPECT_TRUE(fs.Exists("C:\\APP\\V1.DLL"));
  EXPECT_FALSE(fs.Exists("C:\\APP\\V2.DLL"));
  EXPECT_EQ(fs.ContentOf("C:\\APP\\SHARED.DLL"), "v1");
  EXPECT_TRUE(registry.ValueOf(RegRoot::CurrentUser, "Software\\Demo\\V1", "A"));
  EXPECT_FALSE(registry.KeyExists(RegRoot::CurrentUser, "Software\\Demo\\V2"));
  EXPECT_EQ(fs.ContentOf(kLogPath), first) << "the log keeps the first installation's bytes exactly";
}

TEST_F(EngineTest, SharedCountsAreReleasedAndTheLastUserIsAsked) {
  for (const char* name : {"C:\\APP\\THREE.DLL", "C:\\APP\\YES.DLL", "C:\\APP\\NO.DLL", "C:\\APP\\ALL.DLL",
                           "C:\\APP\\AFTER.DLL"}) {
    fs.AddFile(name);
  }
  Shared("C:\\APP\\THREE.DLL", 3);
  for (const char* name : {"C:\\APP\\YES.DLL", "C:\\APP\\NO.DLL", "C:\\APP\\ALL.DLL", "C:\\APP\\AFTER.DLL"}) {
    Shared(name, 1);
  }
  // Released last to first: AFTER, ALL, NO, YES, THREE.
  Parse(Log({{"File Copy: C:\\APP\\THREE.DLL", "File Copy: C:\\APP\\YES.DLL", "File Copy: C:\\APP\\NO.DLL",
              "File Copy: C:\\APP\\ALL.DLL", "File Copy: C:\\APP\\AFTER.DLL"}}));
  ui.sharedAnswers = {kSharedYes, kSharedNoToAll};
  // AFTER asked first (Yes), then ALL (No to All); NO is then kept unasked.
  Run();
  EXPECT_EQ(ui.questions.size(), 2u);
  EXPECT_EQ(globals.noToAll, 1);
  EXPECT_FALSE(fs.Exists("C:\\APP\\AFTER.DLL"));
  EXPECT_TRUE(fs.Exists("C:\\APP\\ALL.DLL"));
  EXPECT_TRUE(fs.Exists("C:\\APP\\NO.DLL"));
  EXPECT_TRUE(fs.Exists("C:\\APP\\YES.DLL")) << "no question after No to All: kept";
  EXPECT_TRUE(fs.Exists("C:\\APP\\THREE.DLL"));
  EXPECT_EQ(SharedCountOf("C:\\APP\\THREE.DLL"), 2u);
  for (const char* name : {"C:\\APP\\YES.DLL", "C:\\APP\\NO.DLL", "C:\\APP\\ALL.DLL", "C:\\APP\\AFTER.DLL"}) {
    EXPECT_FALSE(SharedCountOf(name)) << name;
  }
  EXPECT_TRUE(model.PrivateFiles[0].path.empty()) << "a kept file is blanked for the later steps";
}

TEST_F(EngineTest, SilentRunsAskNothingAndKeepTheLastSharedCopy) {
  fs.AddFile("C:\\APP\\ONE.DLL");
  Shared("C:\\APP\\ONE.DLL", 1);
  Parse(Log({{"File Copy: C:\\APP\\ONE.DLL"}}));
  globals.silent = 1;
  Run();
  EXPECT_TRUE(ui.questions.empty());
  EXPECT_TRUE(fs.Exists("C:\\APP\\ONE.DLL"));
  EXPECT_FALSE(SharedCountOf("C:\\APP\\ONE.DLL"));
}

TEST_F(EngineTest, ACancelDuringFileRemovalLeavesTheRestInPlace) {
  for (int i = 0; i < 4; ++i) fs.AddFile("C:\\APP\\F" + std::to_string(i) + ".DAT");
  fs.AddDir("C:\\APP\\EMPTY");
  registry.SetString(RegRoot::CurrentUser, "Software\\Demo", "V", "x");
  Parse(Log({{"File Copy: C:\\APP\\F0.DAT", "File Copy: C:\\APP\\F1.DAT", "File Copy: C:\\APP\\F2.DAT",
              "File Copy: C:\\APP\\F3.DAT", "Made Dir: C:\\APP\\EMPTY", "RegDB Key: Software\\Demo", "RegDB Val: x",
              "RegDB Name: V", "RegDB Root: 1"}}));
  ui.cancelAtLine = 2;
  Run();
  EXPECT_FALSE(fs.Exists("C:\\APP\\F0.DAT"));
  EXPECT_FALSE(fs.Exists("C:\\APP\\F1.DAT"));
  EXPECT_TRUE(fs.Exists("C:\\APP\\F2.DAT"));
  EXPECT_TRUE(fs.Exists("C:\\APP\\F3.DAT"));
  EXPECT_TRUE(fs.Exists("C:\\APP\\EMPTY"));
  EXPECT_TRUE(registry.ValueOf(RegRoot::CurrentUser, "Software\\Demo", "V"));
  EXPECT_TRUE(fs.Exists(kLogPath)) << "no deletion of the log after a cancel";
  EXPECT_EQ(ui.lines.size(), 2u);
}

// A cancel pending before the release steps: nothing is lowered that another
// run would lower again, and a rollback's log stays whole.
TEST_F(EngineTest, ACancelledRunLowersNoCountAndKeepsTheWholeLog) {
  fs.AddFile("C:\\APP\\THREE.DLL");
  Shared("C:\\APP\\THREE.DLL", 3);
  registry.SetString(RegRoot::LocalMachine, "Software\\Borland\\Database Engine", "UseCount", "2");
  const std::string first = Log({{"File Copy: C:\\APP\\OLD.DLL"}});
  const std::string log = first + Log({{"File Copy: C:\\APP\\THREE.DLL", "SubSystem: BDE"}});
  Parse(log);
  globals.cancelRequested = 1;
  globals.rollback = 1;
  Run();
  EXPECT_EQ(SharedCountOf("C:\\APP\\THREE.DLL"), 3u);
  EXPECT_EQ(registry.ValueOf(RegRoot::LocalMachine, "Software\\Borland\\Database Engine", "UseCount")->data,
            std::string("2") + '\0');
  EXPECT_TRUE(fs.Exists("C:\\APP\\THREE.DLL"));
  EXPECT_EQ(fs.ContentOf(kLogPath), log);
}

// The log goes last, and the chosen directories it kept go with it.
TEST_F(EngineTest, TheLogGoesLastAndTheDirectoriesItKeptWithIt) {
  fs.AddFile("C:\\APP\\SUB\\A.DLL");
  registry.SetString(RegRoot::CurrentUser, "Software\\Demo", "V", "x");
  Parse(Log({{"Made Dir: C:\\APP", "File Copy: C:\\APP\\SUB\\A.DLL", "RegDB Key: Software\\Demo", "RegDB Val: x",
              "RegDB Name: V", "RegDB Root: 1"}}));
  Run();
  EXPECT_FALSE(fs.Exists("C:\\APP"));
  EXPECT_FALSE(registry.ValueOf(RegRoot::CurrentUser, "Software\\Demo", "V"));
}

// Under Custom a chosen directory goes with its files, but not with the log
// while later steps may still be stopped: stopped in the registry step, the
// log is there for another run.
TEST_F(EngineTest, ACustomRunRemovingTheLogsDirectoryKeepsTheLogToTheEnd) {
  fs.AddFile("C:\\APP\\A.DLL");
  registry.SetString(RegRoot::CurrentUser, "Software\\Demo", "V", "x");
  registry.SetString(RegRoot::CurrentUser, "Software\\Demo", "W", "y");
  Parse(Log({{"Made Dir: C:\\APP", "RegDB Key: Software\\Demo", "RegDB Val: x", "RegDB Name: V", "RegDB Root: 1",
              "RegDB Key: Software\\Demo", "RegDB Val: y", "RegDB Name: W", "RegDB Root: 1"}}));
  globals.method = kCustom;
  model.Directories[0].selected = 1;
  for (RegKeyItem& key : model.RegKeys) key.selected = 1;
  ui.cancelAtLine = 2;
  Run();
  EXPECT_FALSE(fs.Exists("C:\\APP\\A.DLL"));
  EXPECT_TRUE(registry.ValueOf(RegRoot::CurrentUser, "Software\\Demo", "V")) << "stopped before this one";
  EXPECT_TRUE(fs.Exists(kLogPath));

  ui.cancelAtLine = 0;
  globals.cancelRequested = 0;
  Run();
  EXPECT_FALSE(fs.Exists("C:\\APP")) << "the log and then its directory went at the end";
  EXPECT_FALSE(registry.ValueOf(RegRoot::CurrentUser, "Software\\Demo", "V"));
}

TEST_F(EngineTest, DirectoriesLoseTheirFilesUnderCustomOrForALoggedTree) {
  fs.AddFile("C:\\DATA\\KEEP.TXT");
  fs.AddDir("C:\\DATA\\EMPTY");
  fs.AddFile("C:\\APP\\TREE\\SUB\\X.TXT");
  Parse(Log({{"Made Dir: C:\\DATA", "File Tree: C:\\APP\\TREE\\*.*"}}));
  Run();
  EXPECT_TRUE(fs.Exists("C:\\DATA\\KEEP.TXT")) << "Automatic removes only empty directories";
  EXPECT_FALSE(fs.Exists("C:\\DATA\\EMPTY"));
  EXPECT_FALSE(fs.Exists("C:\\APP\\TREE")) << "a logged tree goes with its files";
  for (const DirItem& dir : model.Directories) EXPECT_NE(dir.path.back(), '\\') << dir.path;
  const auto lines = Lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Removing Empty Directories: C:\\DATA"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Removing Directory: C:\\APP\\TREE"), lines.end());
}

TEST_F(EngineTest, RegistryProgressLinesCutLongKeys) {
  const std::string key = "Software\\Demo\\" + std::string(40, 'K');
  registry.SetString(RegRoot::CurrentUser, key, "V", "x");
  Parse(Log({{"RegDB Key: " + key, "RegDB Val: x", "RegDB Name: V", "RegDB Root: 1"}}));
  Run();
  const auto lines = Lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "Removing Registration Database Key: " + key.substr(0, 45) + "...");
}

TEST_F(EngineTest, IniFilesGoAndIniEntriesGetTheirOldValueBack) {
  fs.AddFile("C:\\APP\\APP.INI", "[A]\r\nk=1\r\n");
  ASSERT_TRUE(profile.WriteString("C:\\WINDOWS\\WIN.INI", "Demo", "Old", "new").ok());
  ASSERT_TRUE(profile.WriteString("C:\\WINDOWS\\WIN.INI", "Demo", "Fresh", "v").ok());
  Parse(Log({{"INI New: x", "INI File: C:\\APP\\APP.INI", "INI File: C:\\WINDOWS\\WIN.INI", "INI Sect: Demo",
              "INI Item: Old", "INI Val: new", "INI Old: before", "INI File: C:\\WINDOWS\\WIN.INI",
              "INI Sect: Demo", "INI Item: Fresh", "INI Val: v"}}));
  Run();
  EXPECT_FALSE(fs.Exists("C:\\APP\\APP.INI"));
  EXPECT_EQ(profile.ReadString("C:\\WINDOWS\\WIN.INI", "Demo", "Old", "-"), "before");
  EXPECT_EQ(profile.ReadString("C:\\WINDOWS\\WIN.INI", "Demo", "Fresh", "-"), "-");
}

TEST_F(EngineTest, AProgramsLineIsShownBeforeTheProgramRunsAndIsWaitedFor) {
  std::vector<std::string> shownWhenStarted;
  int pumpsSinceTheLine = 0;
  processes.OnStart("C:\\APP\\UNINST.EXE", [&](std::string_view) {
    shownWhenStarted = ui.lines;
    pumpsSinceTheLine = ui.pumps - ui.pumpsAtLastLine;
  });
  Parse(Log({{"Execute Path: C:\\APP\\UNINST.EXE /x", "Execute Name: Demo clean-up"}}));
  Run();
  ASSERT_FALSE(shownWhenStarted.empty()) << "the program ran";
  EXPECT_NE(shownWhenStarted.back().find("Demo clean-up"), std::string::npos);
  EXPECT_GT(pumpsSinceTheLine, 0) << "the line was dispatched before the wait";
}

TEST_F(EngineTest, ServicesAreDeletedAndTheManagerIsGivenTime) {
  services.AddService("DemoSvc", true);
  Parse(Log({{"Create Service: DemoSvc"}}));
  Run();
  EXPECT_FALSE(services.Exists("DemoSvc"));
  EXPECT_EQ(ui.waits, std::vector<std::uint32_t>{3500});
}

TEST_F(EngineTest, ARunningDatabaseServerCanAbortTheWholeUninstall) {
  fs.AddFile("C:\\APP\\A.DLL");
  registry.SetString(RegRoot::LocalMachine, "Software\\Borland\\Database Engine", "UseCount", "1");
  system.AddWindow("IB_Server");
  Parse(Log({{"File Copy: C:\\APP\\A.DLL", "SubSystem: BDE"}}));
  ui.serverAnswers = {kServerRetry, kServerAbort};
  Run();
  EXPECT_EQ(ui.serverMessages.size(), 2u);
  EXPECT_TRUE(fs.Exists("C:\\APP\\A.DLL"));
  EXPECT_TRUE(fs.Exists(kLogPath));
  EXPECT_TRUE(registry.KeyExists(RegRoot::LocalMachine, "Software\\Borland\\Database Engine"));
}

}  // namespace
}  // namespace scrubber::test
