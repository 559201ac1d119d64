// "File Copy: ", "Shell Link: ", "File Overwrite: ", "File Edit: ", and the
// two lines that mark file records already read: "Add Device: " and
// "Self-Register: ".
#include "LogParser.h"
#include "TextRules.h"

namespace scrubber {
namespace {

constexpr std::string_view kBackup = "Backup Copy: ";
constexpr std::string_view kSharedDlls = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

}  // namespace

void LogParser::FileRecord(FileKind kind, std::string_view path) {
  // A registered shared file counts as new even when it overwrote one.
  const bool replaces = kind == FileKind::Overwrite &&
                        !(env_.globals.isVersion4OrLater &&
                          env_.registry.QueryValue(RegRoot::LocalMachine, kSharedDlls, path).has_value());
  const RecordId record = CurrentRecord();
  Advance();
  std::string backup;
  if (Is(kBackup)) {
    backup = Value(kBackup);
    model_.hasBackups = 1;
    Advance();
  }
  // A path that does not fit would name another file once cut: dropped.
  if (!Fits(path, kPathWidth) || !Fits(backup, kPathWidth)) return;
  // A file that is gone while its backup is there was taken away by a
  // rollback stopped before it put the backup back: the record stays, so
  // that another run finishes the restore.
  if (OnFloppy(path) || (replaces && backup.empty()) || (!Exists(path) && (backup.empty() || !Exists(backup)))) return;

  const std::size_t slash = FindLastBackslash(path, leadBytes_);
  const std::string_view dir = slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
  const bool system = EqualsNoCase(dir, windowsDir_) || EqualsNoCase(dir, systemDir_) ||
                      EqualsNoCase(dir, systemDir_ + "\\WIN32S");
  std::vector<FileItem>& list = system ? model_.SystemFiles : model_.PrivateFiles;
  if (list.size() >= kMaxListItems) return;

  FileItem item;
  item.path = Convert(path);
  item.backupPath = Convert(backup);
  item.selected = (system && nonSystem_) ? 1 : 0;
  item.autoRemove = (!replaces && backup.empty()) ? 1 : 0;
  item.installNo = installNo_;
  item.sharedCounted = !counterIgnored_;
  item.record = record;
  list.push_back(std::move(item));
}

void LogParser::EditedFileRecord(std::string_view path) {
  Advance();
  if (!Is(kBackup)) return;
  const std::string backup(Value(kBackup));
  Advance();
  if (!Fits(path, kPathWidth) || !Fits(backup, kPathWidth)) return;
  if (OnFloppy(path) || !Exists(path) || model_.EditedFiles.size() >= kMaxListItems) return;
  model_.EditedFiles.push_back(EditedFileItem{Convert(path), Convert(backup), installNo_});
}

void LogParser::AddDevice(std::string_view path) {
  Advance();
  for (auto* list : {&model_.PrivateFiles, &model_.SystemFiles})
    for (FileItem& item : *list)
      if (EqualsNoCase(item.path, path)) item.deviceInstall = installNo_;
}

const std::string& LogParser::LongPathOf(std::vector<FileItem>& list, std::vector<std::string>& cache, std::size_t i) {
  // Records are only appended while parsing, so a long form stays valid.
  while (cache.size() <= i) cache.push_back(env_.paths.Long(list[cache.size()].path));
  return cache[i];
}

void LogParser::SelfRegister(std::string_view path) {
  Advance();
  const std::string longPath = env_.paths.Long(path);
  for (std::size_t i = 0; i < model_.PrivateFiles.size(); ++i)
    if (EqualsNoCase(LongPathOf(model_.PrivateFiles, privateLong_, i), longPath))
      model_.PrivateFiles[i].selfRegInstall = installNo_;
  for (std::size_t i = 0; i < model_.SystemFiles.size(); ++i)
    if (EqualsNoCase(LongPathOf(model_.SystemFiles, systemLong_, i), longPath))
      model_.SystemFiles[i].selfRegInstall = installNo_;
}

}  // namespace scrubber
