#include "RunScrubber.h"

#include <memory>
#include <optional>
#include <string>

#include "CanonicalizePath.h"
#include "CommandLine.h"
#include "FileOperations.h"
#include "MsgStrings.h"
#include "PathText.h"
#include "ParseInstallLog.h"
#include "CanonicalPathNames.h"
#include "run/RunUninstall.h"
#include "SelfRemoval.h"
#include "Settings.h"
#include "WizardPages.h"

namespace scrubber {
namespace {

constexpr char kDefaultLog[] = "INSTALL.LOG";
constexpr char kTempCopyPrefix[] = "KVR";
// Names tried for the temporary copy before self-removal is left to the restart.
constexpr int kTempCopyNames = 16;
constexpr unsigned kLastUnique = 0xFFFF;
constexpr char kRestartHelperFile[] = "_QZRSTRT.EXE";

enum Text : int {
  kLogFilterText = 1,
  kUninstallCaption = 25,
  kRebootQuestion = 68,
  kAlreadyRunning = 79,
  kMultipleInstance = 80,
};

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

class Run {
 public:
  Run(Platform& platform, Shell& shell, const StringTable& table, Globals& globals)
      : platform_(platform), shell_(shell), table_(table), g_(globals), paths_(platform.fs) {}

  void Execute(std::string_view commandLineArg) {
    std::string commandLine(commandLineArg);
    CheckLogon();
    QueryVersion();
    FindOwnPaths();
    if (commandLine.empty()) commandLine = DefaultLogCommandLine();
    MakeTempCopy(commandLine);
    shell_.LoadWizardBitmap();
    ReadCommandLine(commandLine);
    if (!CheckSingleInstance()) return;
    const AppearanceSettings appearance = ReadAppearanceSettings(platform_.profile, g_.settingsFile, *strings_);
    shell_.InitAppearance(appearance);
    if (!OpenMainWindow(appearance)) return;
    if (g_.removalHelperMode && !g_.logPath.empty()) {
      RunRemovalHelper();
      return;
    }
    shell_.LoadControlLibrary(!g_.isVersion4OrLater);
    if (g_.logPath.empty()) SelectLog();
    {
      UninstallModel model;  // allocated and freed here, once
      if (!g_.logPath.empty() && ReadLog(model)) {
        ChooseInWizard(model);
        if (!g_.cancelRequested) Uninstall(model);
        AskForRestart();
        if (!g_.silent) shell_.DestroyWizard();
        ReportStatus(model.LogHeader, 1);
      }
      Teardown();
    }
    shell_.ReleaseWizardBitmap();
    if (g_.rebootNeeded && g_.platformKind == 1) helperWritten_ = shell_.WriteRestartHelper(RestartHelperPath());
    shell_.DeleteFonts();
    FinishSelfRemoval();
    shell_.DeletePalette();
    if (g_.rebootNeeded) RequestRestart();
  }

 private:
  void CheckLogon() {
    if (platform_.system.PlatformKind() == 1) shell_.DisableImeUnlessInteractive();
  }

  void QueryVersion() {
    g_.platformKind = platform_.system.PlatformKind() == 1 ? 1 : 2;
    g_.isVersion4OrLater = platform_.system.MajorVersion() > 3 ? 1 : 0;
  }

  void FindOwnPaths() {
    const std::string module = shell_.ModulePath();
    g_.ownPath = module;
    CanonicalizePath(platform_.fs, g_.ownPath, PathForm::Long);
    g_.settingsFile = SettingsFileFor(module);
    strings_ = std::make_unique<MsgStrings>(platform_.profile, g_.settingsFile, table_,
                                            platform_.fs.CodePageLeadBytes());
  }

  // INSTALL.LOG beside the program, when it exists; quoted where the short
  // form still holds a blank, so that the reader takes it whole.
  std::string DefaultLogCommandLine() {
    std::string dir = DirectoryOf(g_.settingsFile, Lead());
    CanonicalizePath(platform_.fs, dir, PathForm::Short);
    const std::string log = WithBackslash(dir, Lead()) + kDefaultLog;
    if (!FileExists(platform_.fs, log)) return {};
    return log.find(' ') == std::string::npos ? log : "\"" + log + "\"";
  }

  // The copy that will remove the program: under a name no file holds yet,
  // written by this run and read back whole, so that nothing but this
  // program is ever started as the helper.
  void MakeTempCopy(std::string_view commandLine) {
    if (SkipsTempCopy(commandLine)) return;
    g_.withTempCopy = 1;
    std::optional<std::string> own = platform_.fs.ReadWholeFile(g_.ownPath);
    if (!own || own->empty()) return;
    ownBytes_ = std::move(*own);
    unsigned unique = shell_.RunNumber();
    for (int attempt = 0; attempt < kTempCopyNames; ++attempt, unique = unique % kLastUnique + 1) {
      const std::string path =
          TempCopyPathFrom(shell_.TempFileName(platform_.fs.TempDirectory(), kTempCopyPrefix, unique));
      if (path.empty()) return;
      if (platform_.fs.GetAttributes(path)) continue;  // another run's or another program's
      if (!platform_.fs.CopyOver(g_.ownPath, path)) continue;
      if (!IsOurCopy(platform_.fs.OpenForReading(path).get())) {
        // Ours to clear away, now or at the next restart.
        if (!platform_.fs.EraseFile(path)) DeleteAtRestart(platform_.fs, g_.platformKind, path);
        continue;
      }
      g_.tempCopyPath = path;
      DeleteAtRestart(platform_.fs, g_.platformKind, path);
      return;
    }
  }

  // Whether the reader gives this program's bytes, all and no more.
  bool IsOurCopy(FileReader* copy) {
    if (!copy || ownBytes_.empty()) return false;
    std::string bytes;
    char block[65536];
    for (;;) {
      const auto got = copy->Read(block);
      if (!got) return false;
      if (*got == 0) break;
      bytes.append(block, *got);
      if (bytes.size() > ownBytes_.size()) return false;
    }
    return bytes == ownBytes_;
  }

  void ReadCommandLine(std::string_view commandLine) {
    const CommandLine parsed = ParseCommandLine(commandLine);
    g_.silent = parsed.silent;
    g_.autoMode = parsed.autoMode;
    if (parsed.rollback) g_.rollback = 1;
    g_.removalHelperMode = parsed.removalHelperMode;
    g_.captionArg = parsed.captionArg;
    g_.logPath = parsed.logPath;
    if (!g_.removalHelperMode && !g_.logPath.empty()) {
      g_.logPath = AbsoluteLogPath(g_.logPath, platform_.fs.CurrentDirectory(), Lead());
      CanonicalizePath(platform_.fs, g_.logPath, PathForm::Short);
    }
  }

  bool CheckSingleInstance() {
    if (g_.silent) return true;
    if (shell_.EnterInstance()) return true;
    // Never from the settings file: a second start must always be told why.
    shell_.ShowMessageBox(table_.Load(kAlreadyRunning), table_.Load(kMultipleInstance), kBoxInformation, BoxOwner::None);
    shell_.LeaveInstance();
    return false;
  }

  bool OpenMainWindow(const AppearanceSettings& appearance) {
    const std::string caption = g_.captionArg.size() > 1 ? g_.captionArg : " ";
    const bool show = !g_.silent && !g_.removalHelperMode && !appearance.noBackground;
    return shell_.CreateMainWindow(caption, show);
  }

  void RunRemovalHelper() {
    shell_.WaitOneSecond();
    FileOperations files(platform_.fs, platform_.profile, g_);
    const RemovalArgs args = SplitRemovalArgs(g_.logPath);
    RemoveFirstRun(files, args, platform_.fs.CodePageLeadBytes(), [&] {
      if (!args.logPath.empty()) (void)FinishStoppedRun(platform_, g_, args.logPath, ProgramFile::Gone);
    });
    shell_.CloseMainWindow();
    shell_.ReleaseWizardBitmap();
    shell_.DeleteFonts();
    shell_.DeletePalette();
  }

  void SelectLog() { g_.logPath = shell_.AskForLog(strings_->Get(kLogFilterText)); }

  bool ReadLog(UninstallModel& model) {
    shell_.SetWaitCursor(true);
    ParseEnvironment env{platform_.fs, platform_.profile, platform_.registry, platform_.system, paths_, *strings_,
                         shell_, g_, g_.captionArg.size() > 1 ? std::string_view(g_.captionArg) : std::string_view()};
    if (FinishStoppedRun(platform_, g_, g_.logPath, ProgramFile::StillThere)) {
      // The end of a run stopped after its log went: the program and the
      // log's directory go as after that run.
      uninstallDir_ = WithBackslash(DirectoryOf(g_.logPath, Lead()), Lead());
      engineRan_ = true;
      return false;
    }
    const bool ok = ParseInstallLog(env, g_.logPath, model) == 0;
    uninstallDir_ = model.uninstallDir;
    if (ok) ReportStatus(model.LogHeader, 0);
    shell_.SetWaitCursor(false);
    if (ok && g_.autoMode) {
      g_.method = kAutomatic;
      g_.currentPage = kReadyPage;
    }
    return ok;
  }

  void ChooseInWizard(UninstallModel& model) {
    if (g_.silent) return;
    if (!shell_.CreateWizard(model, *strings_)) {
      // Nothing could be chosen: end as after Cancel rather than wait forever.
      g_.cancelRequested = 1;
      return;
    }
    wizardOpen_ = true;
    if (!g_.autoMode) shell_.WaitForWizard();
  }

  void Uninstall(UninstallModel& model) {
    const std::string drive = platform_.fs.CurrentDirectory().substr(0, 2);
    if (drive.size() == 2 && drive[1] == ':' && IsDriveLetter(drive[0])) {
      (void)platform_.fs.ChangeCurrentDirectory(drive + "\\");
    }
    EngineUi& ui = wizardOpen_ ? shell_.WizardUi() : shell_.SilentUi();
    engineRan_ = true;
    RunUninstall(EngineEnvironment{platform_, g_, *strings_, ui}, model, g_.logPath);
    shell_.BroadcastSettingsChange();
  }

  void AskForRestart() {
    if (!g_.rebootNeeded || g_.silent) return;
    const int answer = shell_.ShowMessageBox(strings_->Get(kRebootQuestion), strings_->Get(kUninstallCaption),
                                          kBoxOkCancel, BoxOwner::Wizard);
    // Only an explicit OK restarts: a question that could not be shown (0)
    // is no consent.
    if (answer != kAnswerOk) g_.rebootNeeded = 0;
  }

  void ReportStatus(const HeaderRecord& header, std::int32_t status) {
    if (header.mifName.empty()) return;
    const LeadBytes lead = Lead();
    shell_.ReportStatus(StatusReport{WithBackslash(platform_.fs.SystemDirectory(), lead) + "msvcrt20.dll",
                                     WithBackslash(platform_.fs.WindowsDirectory(), lead) + "ismif32.dll", &header,
                                     status});
  }

  void Teardown() {
    shell_.CloseMainWindow();
    shell_.UnloadControlLibrary();
  }

  LeadBytes Lead() { return platform_.fs.CodePageLeadBytes(); }
  std::string RestartHelperPath() {
    return WithBackslash(platform_.fs.WindowsDirectory(), Lead()) + kRestartHelperFile;
  }

  void FinishSelfRemoval() {
    if (!g_.withTempCopy) {
      (void)platform_.fs.EraseFile(g_.ownPath);
      // The settings stay for the next start when nothing was uninstalled
      // (cancelled in the wizard, no log, a log that could not be read).
      if (engineRan_) (void)platform_.fs.EraseFile(SettingsFileFor(g_.ownPath));
      return;
    }
    std::string ownShort = g_.ownPath;
    CanonicalizePath(platform_.fs, ownShort, PathForm::Short);
    if (g_.selfDeletePending) {
      // Checked again now, and held unchanged until it has started: the copy
      // sat in a folder others may write to.
      const auto held = g_.tempCopyPath.empty() ? nullptr : platform_.fs.OpenForReadingUnchanged(g_.tempCopyPath);
      const bool helperStarted = IsOurCopy(held.get());
      if (helperStarted) shell_.StartProgram(RemovalHelperCommand(g_.tempCopyPath, ownShort, uninstallDir_, g_.logPath));
      // Without a helper the file goes at the next restart. With one, a
      // quick restart could end it during its first second and leave the
      // program behind for good.
      if (!helperStarted || RestartFollows()) DeleteAtRestart(platform_.fs, g_.platformKind, ownShort);
      // Without a helper nobody else would finish what the log's journal holds.
      if (!helperStarted) (void)FinishStoppedRun(platform_, g_, g_.logPath, ProgramFile::Gone);
    } else {
      (void)platform_.fs.EraseFile(ownShort);
    }
  }

  // A restart is asked for: on the NT family only through a helper written whole.
  bool RestartFollows() const { return g_.rebootNeeded && (g_.platformKind != 1 || helperWritten_); }

  void RequestRestart() {
    if (g_.platformKind == 1) {
      // Only the whole helper, as this run wrote it; quoted, for a Windows
      // directory with a blank in its name.
      if (helperWritten_) shell_.StartProgram("\"" + RestartHelperPath() + "\"");
    } else {
      shell_.RestartSystem(kExitRestart);
    }
  }

  Platform& platform_;
  Shell& shell_;
  const StringTable& table_;
  Globals& g_;
  CanonicalPathNames paths_;
  std::unique_ptr<MsgStrings> strings_;
  bool wizardOpen_ = false;
  bool engineRan_ = false;
  bool helperWritten_ = false;
  std::string uninstallDir_;  // outlives the model for the removal helper
  std::string ownBytes_;      // the program file as it was at the start
};

}  // namespace

std::string AbsoluteLogPath(std::string_view path, std::string_view currentDirectory, const LeadBytes& lead) {
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') return std::string(path);  // a share
  if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\') return std::string(path);
  if (!path.empty() && path[0] == '\\') {  // the root of the current drive
    return std::string(currentDirectory.substr(0, 2)) + std::string(path);
  }
  if (path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':') return std::string(path);  // left to the drive
  return WithBackslash(std::string(currentDirectory), lead) + std::string(path);
}

int RunScrubber(Platform& platform, Shell& shell, const StringTable& table, Globals& globals,
                std::string_view commandLine) {
  Run(platform, shell, table, globals).Execute(commandLine);
  return 0;
}

}  // namespace scrubber
