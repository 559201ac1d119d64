// The run's order over the fakes: which steps happen, in which order, for
// each kind of run, as a recording shell sees them.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "FakePlatform.h"
#include "RunScrubber.h"
#include "StringTable.h"

namespace scrubber {
namespace {

constexpr char kProgram[] = "C:\\APP\\UNINST.EXE";
constexpr char kLog[] = "C:\\APP\\INSTALL.LOG";

// Records every call by name; answers as the scene asks.
class RecordingShell final : public Shell {
 public:
  explicit RecordingShell(Globals& g) : g_(g) {}

  void ShowMessage(int textId, int, std::string_view, std::string_view) override {
    calls.push_back("ParseMessage " + std::to_string(textId));
  }
  void SetMainTitle(std::string_view title) override { calls.push_back("Title " + std::string(title)); }
  void DisableImeUnlessInteractive() override { calls.push_back("LogonCheck"); }
  std::string ModulePath() override { return kProgram; }
  std::string TempFileName(std::string_view dir, std::string_view prefix, unsigned unique) override {
    char hex[5];
    std::snprintf(hex, sizeof hex, "%04X", unique);
    return std::string(dir) + "\\" + std::string(prefix) + hex + ".TMP";
  }
  unsigned RunNumber() override { return 0x1A2B; }
  void LoadWizardBitmap() override { calls.push_back("LoadBitmap"); }
  void ReleaseWizardBitmap() override { calls.push_back("ReleaseBitmap"); }
  bool EnterInstance() override {
    calls.push_back("EnterInstance");
    return firstInstance;
  }
  void LeaveInstance() override { calls.push_back("LeaveInstance"); }
  int ShowMessageBox(std::string_view text, std::string_view caption, unsigned type, BoxOwner) override {
    calls.push_back("Message " + std::string(caption) + ": " + std::string(text) + " type " + std::to_string(type));
    return messageAnswer;
  }
  void InitAppearance(const AppearanceSettings& s) override {
    calls.push_back("InitAppearance");
    appearance = s;
  }
  void DeleteFonts() override { calls.push_back("DeleteFonts"); }
  void DeletePalette() override { calls.push_back("DeletePalette"); }
  bool CreateMainWindow(std::string_view caption, bool show) override {
    calls.push_back("MainWindow '" + std::string(caption) + (show ? "' shown" : "' hidden"));
    return mainWindowOk;
  }
  void CloseMainWindow() override { calls.push_back("CloseMainWindow"); }
  void WaitOneSecond() override { calls.push_back("WaitOneSecond"); }
  void LoadControlLibrary(bool autoSubclass) override {
    calls.push_back(autoSubclass ? "LoadControls auto" : "LoadControls");
  }
  void UnloadControlLibrary() override { calls.push_back("UnloadControls"); }
  std::string AskForLog(std::string_view filter) override {
    calls.push_back("AskForLog " + std::string(filter));
    return chosenLog;
  }
  void SetWaitCursor(bool wait) override { calls.push_back(wait ? "WaitCursor" : "ArrowCursor"); }
  bool CreateWizard(UninstallModel& model, const MsgStrings&) override {
    calls.push_back("CreateWizard page " + std::to_string(g_.currentPage));
    model_ = &model;
    return wizardOk;
  }
  void WaitForWizard() override {
    calls.push_back("WaitForWizard");
    if (inWizard) inWizard();
    if (cancelInWizard) {
      g_.cancelRequested = 1;
      return;
    }
    g_.method = chosenMethod;
    if (chosenMethod == kCustom) {
      for (auto& f : model_->PrivateFiles) f.selected = 1;
    }
    g_.uninstallConfirmed = 1;
  }
  EngineUi& WizardUi() override { return ui; }
  EngineUi& SilentUi() override { return ui; }
  void DestroyWizard() override { calls.push_back("DestroyWizard"); }
  void BroadcastSettingsChange() override { calls.push_back("Broadcast"); }
  void ReportStatus(const StatusReport& r) override {
    calls.push_back("Report " + std::to_string(r.status) + " " + r.runtimeLibrary + " " + r.statusLibrary + " " +
                    r.header->mifName);
  }
  bool WriteRestartHelper(std::string_view path) override {
    calls.push_back("WriteHelper " + std::string(path));
    return helperWrites;
  }
  void StartProgram(std::string_view command) override { calls.push_back("Start " + std::string(command)); }
  void RestartSystem(unsigned flags) override { calls.push_back("RestartSystem " + std::to_string(flags)); }
  bool helperWrites = true;

  std::vector<std::string> calls;
  AppearanceSettings appearance;
  HeadlessUi ui;
  bool firstInstance = true;
  bool mainWindowOk = true;
  bool wizardOk = true;
  bool cancelInWizard = false;
  std::function<void()> inWizard;
  int messageAnswer = 1;
  std::int32_t chosenMethod = kAutomatic;
  std::string chosenLog;

 private:
  Globals& g_;
  UninstallModel* model_ = nullptr;
};

struct World {
  World() {
    fake.fs.AddFile(kProgram, "MZ program");
    fake.fs.AddDir("C:\\TEMP");
  }
  // A log of one installation that lists the program itself, a file and
  // the program's directory.
  void WriteLog(std::string_view extraHeader = {}) {
    std::string log = "***  Installation Started\r\nTitle: Demo Application INSTALLATION\r\n";
    log += std::string(extraHeader);
    log += "Made Dir: C:\\APP\r\nFile Copy: C:\\APP\\A.EXE\r\nFile Copy: C:\\APP\\UNINST.EXE\r\n";
    fake.fs.AddFile(kLog, log);
    fake.fs.AddFile("C:\\APP\\A.EXE", "a");
  }
  int Run(std::string_view commandLine) { return RunScrubber(fake.platform, shell, table, g, commandLine); }
  bool Has(std::string_view call) const {
    for (const auto& c : shell.calls) {
      if (c == call) return true;
    }
    return false;
  }
  bool HasPrefix(std::string_view prefix) const {
    for (const auto& c : shell.calls) {
      if (c.rfind(prefix, 0) == 0) return true;
    }
    return false;
  }

  FakePlatform fake;
  Globals g;
  RecordingShell shell{g};
  BuiltinStringTable table;
};

TEST(RunScrubber, NormalRunFromLogThroughWizardToRemovalHelper) {
  World w;
  w.WriteLog();
  EXPECT_EQ(w.Run(kLog), 0);
  const std::vector<std::string> expected = {
      "LogonCheck",
      "LoadBitmap",
      "EnterInstance",
      "InitAppearance",
      "MainWindow ' ' shown",
      "LoadControls",
      "WaitCursor",
      "Title Uninstall Demo Application",
      "ArrowCursor",
      "CreateWizard page 0",
      "WaitForWizard",
      "Broadcast",
      "DestroyWizard",
      "CloseMainWindow",
      "UnloadControls",
      "ReleaseBitmap",
      "DeleteFonts",
      "Start \"C:\\TEMP\\KVR1A2B.EXE\" /z \"C:\\APP\\UNINST.EXE\" \"C:\\APP\\\" \"C:\\APP\\INSTALL.LOG\"",
      "DeletePalette",
  };
  EXPECT_EQ(w.shell.calls, expected);
  EXPECT_FALSE(w.fake.fs.Exists("C:\\APP\\A.EXE"));
  EXPECT_FALSE(w.fake.fs.Exists(kLog)) << "an Automatic uninstall deletes its log";
  EXPECT_TRUE(w.fake.fs.Exists("C:\\TEMP\\KVR1A2B.EXE"));
  ASSERT_EQ(w.fake.fs.RestartMoves().size(), 1u);
  EXPECT_EQ(w.fake.fs.RestartMoves()[0].from, "C:\\TEMP\\KVR1A2B.EXE");
  EXPECT_EQ(w.g.selfDeletePending, 1);
}

// The helper runs with the uninstaller's rights: a file another run or
// program left at a temporary name is never started, and without a copy of
// its own the program goes at the next restart.
TEST(RunScrubber, OnlyACopyThisRunWroteIsStartedAsTheHelper) {
  World w;
  w.WriteLog();
  w.fake.fs.AddFile("C:\\TEMP\\KVR1A2B.EXE", "another program");
  w.Run(kLog);
  EXPECT_TRUE(w.Has("Start \"C:\\TEMP\\KVR1A2C.EXE\" /z \"C:\\APP\\UNINST.EXE\" \"C:\\APP\\\" \"C:\\APP\\INSTALL.LOG\""));
  EXPECT_EQ(w.fake.fs.ReadWholeFile("C:\\TEMP\\KVR1A2B.EXE"), "another program");

  World changed;
  changed.WriteLog();
  changed.shell.inWizard = [&] { (void)changed.fake.fs.WriteWholeFile("C:\\TEMP\\KVR1A2B.EXE", "replaced"); };
  changed.Run(kLog);
  EXPECT_FALSE(changed.HasPrefix("Start")) << "the copy was changed after it was written";
  EXPECT_EQ(changed.fake.fs.RestartMoves().back().from, kProgram);

  World full;
  full.WriteLog();
  ASSERT_TRUE(full.fake.fs.faults().FailCall("CopyOver", SysError::Other, 0, 100));
  full.Run(kLog);
  EXPECT_FALSE(full.HasPrefix("Start"));
  ASSERT_EQ(full.fake.fs.RestartMoves().size(), 1u);
  EXPECT_EQ(full.fake.fs.RestartMoves()[0].from, kProgram);
}

TEST(RunScrubber, SilentRunAsksNothingAndRestartsThroughTheHelper) {
  World w;
  w.WriteLog("Uninstall MIF: DEMO.MIF\r\n");
  w.fake.fs.AddFile("C:\\APP\\B.DLL", "new");
  w.fake.fs.AddFile("C:\\APP\\B.BAK", "old");
  w.fake.fs.HoldOpen("C:\\APP\\B.DLL");  // in use: replaced at the next restart
  std::string log = *w.fake.fs.ReadWholeFile(kLog);
  log += "File Overwrite: C:\\APP\\B.DLL\r\nBackup Copy: C:\\APP\\B.BAK\r\n";
  ASSERT_TRUE(w.fake.fs.WriteWholeFile(kLog, log).ok());
  w.Run(std::string("/S /r ") + kLog);
  EXPECT_FALSE(w.Has("EnterInstance"));
  EXPECT_FALSE(w.HasPrefix("CreateWizard"));
  EXPECT_FALSE(w.HasPrefix("Message"));
  EXPECT_TRUE(w.Has("MainWindow ' ' hidden"));
  EXPECT_EQ(w.g.rollback, 1);
  EXPECT_EQ(w.g.rebootNeeded, 1);
  const std::vector<std::string>& c = w.shell.calls;
  const auto at = [&](std::string_view call) {
    for (std::size_t i = 0; i < c.size(); ++i) {
      if (c[i].rfind(call, 0) == 0) return static_cast<int>(i);
    }
    return -1;
  };
  EXPECT_LT(at("Report 0 C:\\WINDOWS\\SYSTEM32\\msvcrt20.dll C:\\WINDOWS\\ismif32.dll DEMO.MIF"), at("Broadcast"));
  EXPECT_LT(at("Broadcast"), at("Report 1"));
  EXPECT_LT(at("ReleaseBitmap"), at("WriteHelper C:\\WINDOWS\\_QZRSTRT.EXE"));
  EXPECT_LT(at("WriteHelper"), at("Start \"C:\\TEMP"));
  EXPECT_LT(at("Start \"C:\\TEMP"), at("DeletePalette"));
  EXPECT_EQ(c.back(), "Start \"C:\\WINDOWS\\_QZRSTRT.EXE\"");
  bool programGoesAtRestart = false;
  for (const auto& move : w.fake.fs.RestartMoves()) programGoesAtRestart |= move.from == kProgram && move.to.empty();
  EXPECT_TRUE(programGoesAtRestart) << "the restart may end the removal helper before it deletes";
}

TEST(RunScrubber, RestartQuestionDecidesAndOtherPlatformsRestartDirectly) {
  // A file in use is replaced at the next restart, which the run asks for.
  const auto holdAFile = [](World& w) {
    w.WriteLog();
    w.fake.fs.AddFile("C:\\APP\\B.DLL", "new");
    w.fake.fs.AddFile("C:\\APP\\B.BAK", "old");
    w.fake.fs.HoldOpen("C:\\APP\\B.DLL");
    std::string log = *w.fake.fs.ReadWholeFile(kLog) + "File Overwrite: C:\\APP\\B.DLL\r\nBackup Copy: C:\\APP\\B.BAK\r\n";
    ASSERT_TRUE(w.fake.fs.WriteWholeFile(kLog, log).ok());
    w.g.rollback = 1;
  };
  for (int answer : {1, 2, 0}) {  // OK, Cancel, a question that could not be shown
    World w;
    holdAFile(w);
    w.shell.messageAnswer = answer;
    w.Run(std::string("/A ") + kLog);
    EXPECT_TRUE(w.HasPrefix("Message Uninstall: This uninstall must reboot your computer")) << answer;
    EXPECT_EQ(w.HasPrefix("WriteHelper"), answer == 1);
    EXPECT_EQ(w.Has("Start \"C:\\WINDOWS\\_QZRSTRT.EXE\""), answer == 1);
  }
  {
    World w;
    holdAFile(w);
    w.shell.helperWrites = false;
    w.Run(std::string("/S ") + kLog);
    EXPECT_TRUE(w.HasPrefix("WriteHelper"));
    EXPECT_FALSE(w.HasPrefix("Start \"C:\\WINDOWS")) << "a helper that was not written whole is not started";
  }
  {
    World w;
    w.fake.system.SetPlatformKind(2);
    holdAFile(w);
    w.Run(std::string("/S ") + kLog);
    EXPECT_FALSE(w.HasPrefix("WriteHelper"));
    EXPECT_TRUE(w.Has("RestartSystem 2")) << "a restart, not a log-off";
  }
  World w;
  w.fake.system.SetPlatformKind(2);
  w.WriteLog();
  w.Run(std::string("/S ") + kLog);
  EXPECT_FALSE(w.HasPrefix("RestartSystem"));
  const auto wininit = w.fake.fs.ReadWholeFile("C:\\WINDOWS\\WININIT.INI");
  ASSERT_TRUE(wininit.has_value());
  EXPECT_EQ(*wininit, "[rename]\r\nNUL=C:\\TEMP\\KVR1A2B.EXE\r\n");
}

TEST(RunScrubber, SecondInstanceIsToldFromTheTableAndGoes) {
  World w;
  w.WriteLog();
  // The settings file cannot change these two texts.
  w.fake.fs.AddFile("C:\\APP\\UNINST.INI", "[Language]\r\nMsg79=changed\r\nMsg80=changed\r\n");
  w.shell.firstInstance = false;
  w.Run(kLog);
  const std::vector<std::string> expected = {
      "LogonCheck", "LoadBitmap", "EnterInstance",
      "Message Multiple Instance: Application is already running - Terminating this instance type 64",
      "LeaveInstance"};
  EXPECT_EQ(w.shell.calls, expected);
  EXPECT_TRUE(w.fake.fs.Exists("C:\\APP\\A.EXE"));
}

TEST(RunScrubber, RemovalHelperDeletesTheFirstRunsFileAndDirectory) {
  World w;
  w.Run("/z \"C:\\APP\\UNINST.EXE\" \"C:\\APP\\\"");
  const std::vector<std::string> expected = {"LogonCheck",         "LoadBitmap",     "EnterInstance",
                                             "InitAppearance",     "MainWindow ' ' hidden", "WaitOneSecond",
                                             "CloseMainWindow",    "ReleaseBitmap",  "DeleteFonts",
                                             "DeletePalette"};
  EXPECT_EQ(w.shell.calls, expected);
  EXPECT_FALSE(w.fake.fs.Exists(kProgram));
  EXPECT_FALSE(w.fake.fs.Exists("C:\\APP"));
  EXPECT_FALSE(w.fake.fs.Exists("C:\\TEMP\\KVR1A2B.EXE")) << "the helper makes no copy of itself";
}

TEST(RunScrubber, TheRemovalHelperLeavesOtherProductsFoldersInASharedFolder) {
  World w;
  w.fake.fs.AddFile("C:\\Program Files\\UNINST.EXE");
  w.fake.fs.AddDir("C:\\Program Files\\Other Product\\Empty");
  w.Run("/z \"C:\\Program Files\\UNINST.EXE\" \"C:\\Program Files\\\"");
  EXPECT_FALSE(w.fake.fs.Exists("C:\\Program Files\\UNINST.EXE"));
  EXPECT_TRUE(w.fake.fs.Exists("C:\\Program Files\\Other Product\\Empty"));
}

TEST(RunScrubber, LogSelection) {
  {  // nothing given, nothing beside the program: the dialog, then the in-place end
    World w;
    w.Run("");
    EXPECT_TRUE(w.Has("AskForLog Installation Logs"));
    EXPECT_FALSE(w.HasPrefix("CreateWizard"));
    EXPECT_FALSE(w.HasPrefix("Start")) << "no removal helper when nothing listed the program";
  }
  {  // INSTALL.LOG beside the program is taken without asking
    World w;
    w.WriteLog();
    w.Run("");
    EXPECT_FALSE(w.HasPrefix("AskForLog"));
    EXPECT_TRUE(w.Has("CreateWizard page 0"));
  }
  {  // switches alone do not look beside the program
    World w;
    w.WriteLog();
    w.Run("/A");
    EXPECT_TRUE(w.HasPrefix("AskForLog"));
    EXPECT_TRUE(w.fake.fs.Exists("C:\\APP\\A.EXE"));
  }
  {  // a relative path is taken from the current directory of the start
    World w;
    w.WriteLog();
    w.fake.fs.SetCurrentDir("C:\\APP");
    w.shell.chosenMethod = kAutomatic;
    w.Run("INSTALL.LOG caption");
    EXPECT_EQ(w.g.logPath, kLog);
    EXPECT_TRUE(w.Has("MainWindow 'caption' shown"));
    EXPECT_FALSE(w.HasPrefix("Title ")) << "a given caption stays";
    EXPECT_FALSE(w.fake.fs.Exists("C:\\APP\\A.EXE"));
  }
}

TEST(RunScrubber, CancelAndAMissingWizardUndoNothing) {
  for (bool wizardOk : {true, false}) {
    World w;
    w.WriteLog();
    w.shell.cancelInWizard = true;
    w.shell.wizardOk = wizardOk;
    w.Run(kLog);
    EXPECT_EQ(w.g.cancelRequested, 1);
    EXPECT_FALSE(w.Has("Broadcast"));
    EXPECT_TRUE(w.fake.fs.Exists("C:\\APP\\A.EXE"));
    EXPECT_TRUE(w.fake.fs.Exists(kLog));
    EXPECT_TRUE(w.Has("CloseMainWindow"));
  }
}

TEST(RunScrubber, InPlaceRunRemovesItsSettingsFile) {
  World w;
  w.WriteLog();
  w.fake.fs.AddFile("C:\\APP\\UNINST.INI", "[Settings]\r\nNo Background=1\r\nStart Red=-100\r\n");
  w.Run(std::string("/Z /A ") + kLog);
  EXPECT_TRUE(w.Has("MainWindow ' ' hidden")) << "No Background keeps the window hidden";
  EXPECT_EQ(w.shell.appearance.gradient.start[0], -100);
  EXPECT_EQ(w.shell.appearance.gradient.delta[0], 100);
  EXPECT_TRUE(w.Has("CreateWizard page 11")) << "automatic runs open on the Ready page";
  EXPECT_FALSE(w.HasPrefix("WaitForWizard"));
  EXPECT_FALSE(w.fake.fs.Exists("C:\\APP\\UNINST.INI"));
  EXPECT_FALSE(w.fake.fs.Exists("C:\\TEMP\\KVR1A2B.EXE"));
  EXPECT_FALSE(w.HasPrefix("Start"));
}

TEST(RunScrubber, AnInPlaceRunThatUninstalledNothingKeepsItsSettingsFile) {
  World w;
  w.WriteLog();
  w.fake.fs.AddFile("C:\\APP\\UNINST.INI", "[Language]\r\nMsg46=&Weiter >\r\n");
  w.shell.cancelInWizard = true;
  w.Run(std::string("/Z ") + kLog);
  EXPECT_EQ(w.g.cancelRequested, 1);
  EXPECT_TRUE(w.fake.fs.Exists("C:\\APP\\UNINST.INI"));
}

}  // namespace
}  // namespace scrubber
