#include "RunUninstall.h"

#include <array>
#include <chrono>
#include <optional>
#include <string>

#include "FileOperations.h"
#include "FillText.h"
#include "PathText.h"
#include "ShortenPath.h"
#include "progman/Progman.h"
#include "registry/RegistryOperations.h"
#include "run/ReleaseJournal.h"
#include "system/SystemOperations.h"

namespace scrubber {
namespace {

// Progress prefixes, fetched once; each fits 63 characters.
enum Prefix : int {
  kRemovingFile = 29,
  kRemovingSystemFile = 30,
  kRemovingDirectory = 31,
  kRemovingEmptyDirectories = 32,
  kRemovingIniFile = 33,
  kEditingIniFile = 34,
  kRemovingKey = 35,
  kEditingKey = 36,
  kRemovingIcon = 37,
  kSelfUnregistering = 40,
  kRemovingSubSystem = 44,
  kRemovingKeyTree = 56,
  kExecutingProgram = 57,
  kDeletingService = 58,
};
constexpr std::array kPrefixIds{kRemovingFile,     kRemovingSystemFile, kRemovingDirectory, kRemovingEmptyDirectories,
                                kRemovingIniFile,  kEditingIniFile,     kRemovingKey,       kEditingKey,
                                kRemovingIcon,     kSelfUnregistering,  kRemovingSubSystem, kRemovingKeyTree,
                                kExecutingProgram, kDeletingService};
constexpr std::size_t kPrefixCapacity = 64;
constexpr int kPerformingUninstall = 45;
// Between items, queued messages are dispatched at most this often: often
// enough for painting and Cancel, rarely enough to cost nothing next to the work.
constexpr std::chrono::milliseconds kPumpInterval{5};
// The service manager needs a moment after a deletion.
constexpr std::uint32_t kServiceSettleMs = 3500;

// One run of the engine. Each step is one function; Run() calls them in the
// order that keeps every undo safe: programs and services before files,
// shared counts and unregistration while the files still exist, files
// before directories, changed values before created keys are pruned, and
// the log last, so that a run stopped anywhere can be run again from it.
class Uninstaller {
 public:
  Uninstaller(const EngineEnvironment& env, UninstallModel& model, std::string_view logPath)
      : env_(env),
        g_(env.globals),
        model_(model),
        logPath_(logPath),
        lead_(env.platform.fs.CodePageLeadBytes()),
        files_(env.platform.fs, env.platform.profile, env.globals),
        registry_(env.platform.registry, env.platform.system, env.globals, env.strings, env.ui, lead_),
        progman_(env.platform.dde, env.ui),
        system_(env.platform, files_, env.ui),
        journal_(env.platform.fs, logPath, lead_) {}

  void Run() {
    Prepare();
    RunExternalPrograms();
    RemoveServices();
    if (RemoveSubSystem() == SubSystemResult::Abort) return;
    RemoveIniFiles();
    RestoreIniEntries();
    RestoreEditedFiles();
    ReleasePrivateFiles();
    ReleaseSystemFiles();
    RemovePrivateFiles();
    RemoveSystemFiles();
    RegisterRestoredFiles();
    RemoveDirectories();
    RestoreRegistryValues();
    RemoveRegistryKeys();
    RemoveRegistryTrees();
    RemoveIcons();
    DealWithLog();
  }

 private:
  // --- Rules shared by the steps ---

  bool automatic() const { return g_.method == kAutomatic; }
  bool rollback() const { return g_.rollback != 0; }
  bool Qualifies(std::uint32_t installNo) const { return installNo >= minInstall_; }
  bool Chosen(std::int32_t selected) const { return automatic() || selected != 0; }
  bool OfLastInstall(const FileItem& f) const { return f.installNo == model_.installCount; }
  bool HasBackup(const FileItem& f) const { return !f.backupPath.empty(); }

  // Private files: ticked, or under Automatic a new file, or in a rollback
  // one that a backup will replace.
  bool PrivateChosen(const FileItem& f) const {
    return f.selected != 0 || (automatic() && (f.autoRemove != 0 || (rollback() && HasBackup(f))));
  }
  // System files only by their tick (which a release may set), or in a
  // rollback by a backup of the last installation.
  bool SystemChosen(const FileItem& f) const {
    return f.selected != 0 || (rollback() && OfLastInstall(f) && HasBackup(f));
  }
  bool PrivateRemovable(const FileItem& f) const {
    return !f.path.empty() && PrivateChosen(f) && Qualifies(f.installNo);
  }
  bool SystemRemovable(const FileItem& f) const {
    return !f.path.empty() && Qualifies(f.installNo) && SystemChosen(f);
  }

  // Between two items what the user did meanwhile is handled, so that the
  // wizard stays alive and a Cancel is seen before the next item. (A timed
  // wait after every line would make thousands of files cost minutes.)
  void Between() {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPump_ < kPumpInterval) return;
    lastPump_ = now;
    env_.ui.PumpMessages(0);
  }

  // For steps that stop on cancel: false when the step must end now.
  bool NextItem() {
    Between();
    return g_.cancelRequested == 0;
  }

  // For counted steps: the item counts whether it is acted on or not.
  bool NextCountedItem() {
    if (!NextItem()) return false;
    ++g_.progressDone;
    return true;
  }

  const std::string& PrefixText(int id) const {
    for (std::size_t i = 0; i < kPrefixIds.size(); ++i) {
      if (kPrefixIds[i] == id) return prefixes_[i];
    }
    return prefixes_[0];
  }

  void Progress(int prefix, std::string_view text) {
    const std::string line = PrefixText(prefix) + std::string(text);
    env_.ui.ShowProgress(line);
  }

  // --- Preparation ---

  void Prepare() {
    for (std::size_t i = 0; i < kPrefixIds.size(); ++i) prefixes_[i] = env_.strings.Get(kPrefixIds[i], kPrefixCapacity);
    if (g_.method == kCustom) g_.rollback = 0;
    minInstall_ = rollback() ? model_.installCount : 1;
    g_.progressDone = 0;
    const std::size_t total = model_.Services.size() + model_.IniEntries.size() + model_.IniFiles.size() +
                              model_.Icons.size() + model_.Directories.size() + model_.RegEdits.size() +
                              model_.SystemFiles.size() + model_.RegTrees.size() + model_.RegKeys.size() +
                              model_.PrivateFiles.size();
    g_.progressTotal = total == 0 ? 1 : static_cast<std::int32_t>(total);
    registry_.ExpectSharedReleases(model_.PrivateFiles.size() + model_.SystemFiles.size());
    env_.ui.BeginProgress(FillText(env_.strings.Get(kPerformingUninstall), model_.LogHeader.title));
    g_.progressStarted = 1;
    files_.SpareFromTrees(logPath_);
    files_.SpareFromTrees(journal_.path());
    journal_.Load();
  }

  // --- The steps ---

  // 1. Logged uninstall programs, each waited for.
  void RunExternalPrograms() {
    for (const ProgramItem& program : model_.ExternalPrograms) {
      if (!NextItem()) return;
      if (!Chosen(program.selected) || !Qualifies(program.installNo)) continue;
      std::string command = program.command;
      if (command.find('\\') != std::string::npos) CanonicalizePath(env_.platform.fs, command, PathForm::Short);
      Progress(kExecutingProgram, program.name.empty() ? command : program.name);
      // The wait for the program dispatches nothing: the line shows first.
      env_.ui.PumpMessages(0);
      system_.RunAndWait(system_.QuoteProgramPath(command));
    }
  }

  // 2. Services, stopped and deleted.
  void RemoveServices() {
    for (const ServiceItem& service : model_.Services) {
      if (!NextCountedItem()) return;
      if (!Chosen(service.selected) || !Qualifies(service.installNo)) continue;
      Progress(kDeletingService, service.name);
      system_.RemoveService(service.name);
      env_.ui.PumpMessages(kServiceSettleMs);
    }
  }

  // 3. The database engine; its server may make the user abort everything.
  // Its use count is lowered once across runs of the log.
  SubSystemResult RemoveSubSystem() {
    // After a cancel the log stays for another run, which does this then.
    if (g_.cancelRequested) return SubSystemResult::GoOn;
    const SubSystemItem& sub = model_.SubSystem;
    if (!sub.present || !(automatic() || sub.selected != 0)) return SubSystemResult::GoOn;
    if (journal_.UseCountLowered(sub.record)) return SubSystemResult::GoOn;
    Progress(kRemovingSubSystem, sub.text);
    return registry_.RemoveDatabaseEngine([&] { return journal_.RememberUseCount(sub.record); });
  }

  // 4. INI files the installation created.
  void RemoveIniFiles() {
    for (const IniFileItem& ini : model_.IniFiles) {
      if (!NextCountedItem()) return;
      if (!Chosen(ini.selected) || !Qualifies(ini.installNo)) continue;
      Progress(kRemovingIniFile, ini.path);
      (void)files_.ResetAttributes(ini.path);
      (void)files_.DeleteOneFile(ini.path);
    }
  }

  // 5. INI entries: the old value back, or the entry gone when it was new.
  void RestoreIniEntries() {
    for (const IniEntryItem& entry : model_.IniEntries) {
      if (!NextCountedItem()) return;
      if (!Chosen(entry.selected) || !Qualifies(entry.installNo) || !files_.FileExists(entry.file)) continue;
      Progress(kEditingIniFile, entry.file);
      std::optional<std::string_view> value;
      if (!entry.oldValue.empty()) value = entry.oldValue;
      (void)env_.platform.profile.WriteString(entry.file, entry.section, entry.key, value);
    }
  }

  // 6. Edited files get their backup back, in a rollback only.
  void RestoreEditedFiles() {
    if (!rollback()) return;
    for (const EditedFileItem& edited : model_.EditedFiles) {
      Between();
      if (!Qualifies(edited.installNo) || !files_.FileExists(edited.backupPath)) continue;
      (void)files_.RemoveFileItem(edited.path, edited.backupPath, true);
    }
  }

  // A kept file: untouched when a rollback restores its backup later,
  // otherwise blanked so that no later step touches it.
  void KeepFile(FileItem& file) {
    if (rollback() && OfLastInstall(file) && HasBackup(file)) return;
    file.path.clear();
  }

  // Unregistration while the file still exists, unless its backup comes back.
  void UnregisterFile(const FileItem& file) {
    if (rollback() && HasBackup(file)) return;
    if (file.selfRegInstall >= minInstall_) {
      system_.SelfRegister(PrefixText(kSelfUnregistering), file.path, Registration::Unregister);
    }
    if (file.deviceInstall >= minInstall_) system_.RemoveDevice(file.path);
  }

  // A record's count is released once across runs of the log: a later run
  // takes what the first decided.
  SharedCount Release(const FileItem& file) {
    if (!file.sharedCounted) return SharedCount::NotShared;
    if (const auto earlier = journal_.CountReleased(file.record)) return *earlier;
    return registry_.ReleaseSharedCount(
        file.path, [&](SharedCount outcome) { return journal_.RememberCount(file.record, outcome); });
  }

  // 7. Private files: shared counts released, components unregistered.
  // Both release steps stop on a cancel: the files stay and so does the
  // log, and another run would release their counts a second time.
  void ReleasePrivateFiles() {
    for (auto it = model_.PrivateFiles.rbegin(); it != model_.PrivateFiles.rend(); ++it) {
      FileItem& file = *it;
      if (!NextItem()) return;
      if (!PrivateChosen(file) || !Qualifies(file.installNo)) continue;
      if (Release(file) == SharedCount::Keep) {
        KeepFile(file);
      } else {
        UnregisterFile(file);
      }
    }
  }

  // 8. System files: counts released (on newer systems even when not
  // ticked), the user's yes to a last shared copy ticks the file.
  void ReleaseSystemFiles() {
    for (auto it = model_.SystemFiles.rbegin(); it != model_.SystemFiles.rend(); ++it) {
      FileItem& file = *it;
      if (!NextItem()) return;
      if (!Qualifies(file.installNo)) continue;
      if (file.selected != 0 || g_.isVersion4OrLater != 0) {
        const SharedCount answer = Release(file);
        if (answer == SharedCount::Keep) KeepFile(file);
        if (answer == SharedCount::Remove) file.selected = 1;
      }
      if (file.selected != 0 && !file.path.empty()) UnregisterFile(file);
    }
  }

  void RemoveFiles(std::vector<FileItem>& list, bool (Uninstaller::*removable)(const FileItem&) const, int prefix) {
    for (FileItem& file : list) {
      if (!NextCountedItem()) return;
      if (!(this->*removable)(file)) continue;
      const bool restore = rollback() && OfLastInstall(file);
      if (files_.RemoveFileItem(file.path, file.backupPath, restore)) Progress(prefix, ShortenPath(file.path, lead_));
    }
  }

  // 9. Private files removed (backups put back in a rollback).
  void RemovePrivateFiles() { RemoveFiles(model_.PrivateFiles, &Uninstaller::PrivateRemovable, kRemovingFile); }

  // 10. System files removed.
  void RemoveSystemFiles() { RemoveFiles(model_.SystemFiles, &Uninstaller::SystemRemovable, kRemovingSystemFile); }

  // 11. Restored components registered again, after a rollback.
  void RegisterRestoredFiles() {
    if (!rollback()) return;
    auto reregister = [&](const std::vector<FileItem>& list, bool (Uninstaller::*removable)(const FileItem&) const) {
      for (const FileItem& file : list) {
        if (!NextItem()) return false;
        if (!(this->*removable)(file) || !OfLastInstall(file) || !HasBackup(file)) continue;
        if (file.selfRegInstall >= minInstall_) {
          system_.SelfRegister(PrefixText(kSelfUnregistering), file.path, Registration::Register);
        }
      }
      return true;
    };
    if (reregister(model_.PrivateFiles, &Uninstaller::PrivateRemovable)) {
      (void)reregister(model_.SystemFiles, &Uninstaller::SystemRemovable);
    }
  }

  // 13. Directories: with their files under Custom or for a logged tree,
  // otherwise only what is empty.
  void RemoveDirectories() {
    for (DirItem& dir : model_.Directories) {
      if (!NextCountedItem()) return;
      if (!Chosen(dir.selected) || dir.lastInstall < minInstall_) continue;
      if (!dir.path.empty() && dir.path.back() == '\\') dir.path.pop_back();
      const bool removeFiles = g_.method == kCustom || dir.treeInstall >= minInstall_;
      Progress(removeFiles ? kRemovingDirectory : kRemovingEmptyDirectories, ShortenPath(dir.path, lead_));
      (void)files_.RemoveDirectoryTree(dir.path, removeFiles);
    }
  }

  // 14. Changed values written back.
  void RestoreRegistryValues() {
    for (const RegEditItem& edit : model_.RegEdits) {
      if (!NextCountedItem()) return;
      if (!Chosen(edit.selected) || !Qualifies(edit.installNo)) continue;
      Progress(kEditingKey, ShortenKey(edit.key, lead_));
      registry_.RestoreRegistryValue(edit);
    }
  }

  // 15. Created values deleted, last first, with the keys they leave empty.
  void RemoveRegistryKeys() {
    for (auto it = model_.RegKeys.rbegin(); it != model_.RegKeys.rend(); ++it) {
      if (!NextCountedItem()) return;
      if (!Chosen(it->selected) || !Qualifies(it->installNo)) continue;
      Progress(kRemovingKey, ShortenKey(it->key, lead_));
      registry_.RemoveRegistryValue(*it);
    }
  }

  // 16. Created trees deleted, last first.
  void RemoveRegistryTrees() {
    for (auto it = model_.RegTrees.rbegin(); it != model_.RegTrees.rend(); ++it) {
      if (!NextCountedItem()) return;
      if (!Chosen(it->selected) || !Qualifies(it->installNo)) continue;
      Progress(kRemovingKeyTree, ShortenKey(it->key, lead_));
      (void)registry_.DeleteRegistryTree(it->root, it->key);
    }
  }

  // 17. Program Manager icons; the conversation opens for the first one.
  void RemoveIcons() {
    if (g_.cancelRequested) return;
    bool opened = false;
    for (const IconItem& icon : model_.Icons) {
      if (!NextCountedItem()) break;
      if (!Chosen(icon.selected) || !Qualifies(icon.installNo)) continue;
      if (!opened) {
        progman_.OpenProgmanConversation();
        opened = true;
      }
      Progress(kRemovingIcon, icon.name);
      progman_.RemoveIcon(icon);
    }
    if (opened) progman_.CloseProgmanConversation();
  }

  // Last, the log: deleted after a full Automatic run (or when the run
  // removed its directory with the files), cut back to the earlier
  // installations after a rollback. Until then a run stopped anywhere can be
  // run again from it. The directories it kept go with it.
  void DealWithLog() {
    // A cancelled run keeps the whole log: a cut one would make another run
    // roll back the installation before and forget the rest of this one.
    if (g_.cancelRequested) return;
    if (rollback() && model_.lastInstallOffset != 0) {
      if (env_.platform.fs.TruncateFile(logPath_, model_.lastInstallOffset)) {
        journal_.ForgetFrom(model_.lastInstallOffset);
      }
      return;
    }
    if (!rollback() && !automatic() && !files_.sparedInTree()) return;
    // What is left once the log is gone is written down first, so that a
    // run stopped after the log went can still be finished; and the journal
    // goes only after the log: the other way round, a stop between the two
    // would leave a log whose counts another run lowers again.
    ReleaseJournal::Finish finish{DirectoriesKeptForTheLog(), g_.selfDeletePending != 0};
    if (!finish.directories.empty() || finish.programGoes) (void)journal_.RememberFinish(finish);
    if (!files_.DeleteOneFile(logPath_)) return;
    // The program's own file goes after this run, by its removal helper:
    // the journal stays for that helper, so that a run stopped before it
    // can still be finished.
    if (finish.programGoes) return;
    (void)journal_.Delete();
    for (const std::string& dir : finish.directories) (void)files_.RemoveDirectoryTree(dir, false);
  }

  // The chosen directories that stayed in step 13, to be tried again once
  // the log is gone: only those that then hold nothing else go.
  std::vector<std::string> DirectoriesKeptForTheLog() {
    std::vector<std::string> kept;
    for (const DirItem& dir : model_.Directories) {
      if (Chosen(dir.selected) && dir.lastInstall >= minInstall_ && files_.FileExists(dir.path)) {
        kept.push_back(dir.path);
      }
    }
    return kept;
  }

  const EngineEnvironment& env_;
  Globals& g_;
  UninstallModel& model_;
  std::string logPath_;
  LeadBytes lead_;
  FileOperations files_;
  RegistryOperations registry_;
  Progman progman_;
  SystemOperations system_;
  ReleaseJournal journal_;
  std::array<std::string, kPrefixIds.size()> prefixes_;
  std::uint32_t minInstall_ = 1;
  std::chrono::steady_clock::time_point lastPump_{};
};

}  // namespace

void RunUninstall(const EngineEnvironment& env, UninstallModel& model, std::string_view logPath) {
  Uninstaller(env, model, logPath).Run();
}
bool FinishStoppedRun(Platform& platform, Globals& globals, std::string_view logPath, ProgramFile program) {
  if (logPath.empty() || platform.fs.GetAttributes(logPath)) return false;
  ReleaseJournal journal(platform.fs, logPath, platform.fs.CodePageLeadBytes());
  journal.Load();
  if (!journal.found()) return false;
  if (journal.finish().programGoes && program == ProgramFile::StillThere) {
    globals.selfDeletePending = 1;
    return true;
  }
  if (!journal.Delete().ok()) return false;
  FileOperations files(platform.fs, platform.profile, globals);
  for (const std::string& dir : journal.finish().directories) (void)files.RemoveDirectoryTree(dir, false);
  return true;
}


}  // namespace scrubber
