#include "FileOperations.h"

#include <algorithm>
#include <cstdio>

#include "PathText.h"

namespace scrubber {
namespace {

// "*", "*.*", "*." and the like: only stars and dots, so they name every
// file of their directory (Wine even matches "*." against every name).
bool NamesEveryFile(std::string_view name) {
  return name.find('*') != std::string_view::npos && name.find_first_not_of("*.") == std::string_view::npos;
}

// The last separator: Win32 takes a forward slash for a backslash, so a
// pattern's directory part must too.
std::size_t LastSeparator(std::string_view path, const LeadBytes& lead) {
  std::size_t backslash = FindLastBackslash(path, lead);
  std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return backslash;
  if (backslash == std::string_view::npos) return slash;
  return std::max(slash, backslash);
}

std::string Child(std::string_view dir, std::string_view name) {
  std::string path(dir);
  path += '\\';
  path += name;
  return path;
}

}  // namespace

FileOperations::FileOperations(FileSystem& fs, Profile& profile, Globals& globals)
    : fs_(fs), profile_(profile), globals_(globals) {}

bool FileOperations::FileExists(std::string_view path) { return scrubber::FileExists(fs_, path); }

bool FileOperations::IsOwnProgramFile(std::string_view path) {
  if (globals_.ownPath.empty()) return false;
  if (globals_.ownPath != ownPathSeen_) {
    ownPathSeen_ = globals_.ownPath;
    ownKey_ = ComparablePath(fs_, ownPathSeen_).value_or(std::string());
    std::string shortForm = ownKey_;
    CanonicalizePath(fs_, shortForm, PathForm::Short);
    LeadBytes lead = fs_.CodePageLeadBytes();
    ownLongName_ = ownKey_.substr(FindLastBackslash(ownKey_, lead) + 1);
    ownShortName_ = shortForm.substr(FindLastBackslash(shortForm, lead) + 1);
  }
  if (ownKey_.empty()) return false;
  // Only a file that bears the program's long or short name needs the
  // directory look-ups of the full comparison.
  auto full = SplitFullPath(path, fs_.CurrentDirectory(), fs_.CodePageLeadBytes());
  if (!full || full->parts.empty()) return false;
  const std::string& name = full->parts.back();
  if (!EqualsNoCase(name, ownLongName_) && !EqualsNoCase(name, ownShortName_)) return false;
  auto key = ComparablePath(fs_, path);
  return key && EqualsNoCase(*key, ownKey_);
}

bool FileOperations::DeleteOneFile(std::string_view path) {
  if (path.empty() || path.size() >= kMaxPath) return false;
  if (IsOwnProgramFile(path)) globals_.selfDeletePending = 1;
  return fs_.EraseFile(path).ok();
}

bool FileOperations::RemoveFile(std::string_view path) {
  if (path.empty() || path.size() >= kMaxPath) return false;
  fs_.SetAttributes(path, kAttrNormal);
  bool deleted = DeleteOneFile(path);
  if (path.size() >= 5 && EndsWithNoCase(path, ".HLP")) {
    std::string stem(path.substr(0, path.size() - 4));
    DeleteOneFile(stem + ".GID");
    DeleteOneFile(stem + ".FTS");
  }
  return deleted;
}

bool FileOperations::RemoveOneDirectory(std::string_view path) {
  if (path.empty() || path.size() >= kMaxPath) return false;
  fs_.SetAttributes(path, kAttrNormal);
  return fs_.RemoveDir(path).ok();
}

bool FileOperations::IsProtectedDirectory(std::string_view dir) {
  auto key = ComparablePath(fs_, dir);
  if (!key) return true;
  LeadBytes lead = fs_.CodePageLeadBytes();
  auto full = SplitFullPath(*key, "", lead);
  if (!full || full->parts.empty()) return true;  // a drive root or a share
  for (const std::string& guarded : {fs_.WindowsDirectory(), fs_.SystemDirectory()}) {
    if (guarded.empty()) return true;
    auto guardedKey = ComparablePath(fs_, guarded);
    if (!guardedKey || EqualsNoCase(*key, *guardedKey)) return true;
  }
  return false;
}

bool FileOperations::RemoveDirectoryTree(std::string_view spelled, bool removeFiles) {
  if (spelled.size() < 4 || spelled.size() >= kMaxPath || IsProtectedDirectory(spelled)) return false;
  // Work on the resolved spelling: "LINK\" or "LINK\." would make the
  // platform look through a link instead of at it.
  auto resolved = NormalizePath(spelled, fs_.CurrentDirectory(), fs_.CodePageLeadBytes());
  if (!resolved) return false;
  const std::string& dir = *resolved;
  auto attributes = fs_.GetAttributes(dir);
  if (attributes && (*attributes & kAttrReparsePoint)) {
    // A link: what it leads to belongs elsewhere; only the entry goes.
    return fs_.RemoveDir(dir).ok();
  }
  std::string pattern = Child(dir, "*.*");
  if (pattern.size() < kMaxPath) {
    auto scan = fs_.FindFirst(pattern);
    DirEntry entry;
    while (scan && scan->Next(entry)) {
      std::string path = Child(dir, entry.name);
      if (path.size() >= kMaxPath) continue;  // cannot be addressed; cutting it would name another entry
      if (entry.isDirectory()) {
        if (entry.name.starts_with('.')) continue;
        if (entry.isReparsePoint()) {
          fs_.RemoveDir(path);
          continue;
        }
        RemoveDirectoryTree(path, removeFiles);
        RemoveOneDirectory(path);
      } else if (removeFiles) {
        fs_.SetAttributes(path, kAttrNormal);
        DeleteOneFile(path);
      }
    }
  }
  return RemoveOneDirectory(dir);
}

bool FileOperations::RemoveFileItem(std::string_view path, std::string_view backupPath, bool restore) {
  if (!HasWildcard(path)) {
    RemoveFile(path);
    if (restore && !backupPath.empty()) RestoreBackup(backupPath, path);
    return true;
  }
  if (path.size() >= kMaxPath) return false;
  LeadBytes lead = fs_.CodePageLeadBytes();
  std::size_t cut = LastSeparator(path, lead);
  // The directory the pattern searches: before its last separator, or the
  // current directory of its drive ("C:*.*") or of the process ("*.*").
  bool onDrive = cut == std::string_view::npos && path.size() >= 2 && path[1] == ':';
  std::string_view dir = cut != std::string_view::npos ? path.substr(0, cut + 1)
                         : onDrive                     ? path.substr(0, 2)
                                                       : std::string_view(".");
  std::string_view name = cut != std::string_view::npos ? path.substr(cut + 1) : onDrive ? path.substr(2) : path;
  if (NamesEveryFile(name) && (path.size() < 4 || IsProtectedDirectory(dir))) return false;
  auto scan = fs_.FindFirst(path);
  DirEntry entry;
  while (scan && scan->Next(entry)) {
    if (entry.isDirectory()) continue;
    std::string file = cut == std::string_view::npos ? entry.name : Child(path.substr(0, cut), entry.name);
    if (file.size() < kMaxPath) RemoveFile(file);
  }
  return true;
}

RestoreResult FileOperations::RestoreBackup(std::string_view backupPath, std::string_view targetPath) {
  if (fs_.CopyOver(backupPath, targetPath)) {
    RemoveFile(backupPath);
    return RestoreResult::Restored;
  }
  std::string tempPath = MakeTempName(targetPath);
  if (tempPath.empty() || !fs_.CopyOver(backupPath, tempPath)) {
    RemoveFile(targetPath);
    return RestoreResult::TargetDeleted;
  }
  if (!ScheduleReplacement(tempPath, targetPath)) {
    // Nothing would put the copy in place: keep the backup, drop the copy.
    RemoveFile(tempPath);
    RemoveFile(targetPath);
    return RestoreResult::TargetDeleted;
  }
  globals_.rebootNeeded = 1;
  RemoveFile(backupPath);
  return RestoreResult::AtRestart;
}

bool FileOperations::ScheduleReplacement(const std::string& tempPath, std::string_view targetPath) {
  std::string shortTemp = tempPath;
  CanonicalizePath(fs_, shortTemp, PathForm::Short);
  if (globals_.platformKind == 1) {
    return fs_.MoveFileAtRestart(shortTemp, targetPath, false).ok();
  }
  std::string shortTarget(targetPath);
  CanonicalizePath(fs_, shortTarget, PathForm::Short);
  std::string windowsDir = fs_.WindowsDirectory();
  if (windowsDir.empty()) return false;
  return profile_.WriteString(Child(windowsDir, "WININIT.INI"), "rename", shortTarget, shortTemp).ok();
}

std::string FileOperations::MakeTempName(std::string_view targetPath) {
  std::size_t cut = LastSeparator(targetPath, fs_.CodePageLeadBytes());
  std::string_view dir = cut == std::string_view::npos ? std::string_view{} : targetPath.substr(0, cut + 1);
  // Every number is tried at most once, so a full directory cannot hold the run.
  for (unsigned attempt = 0; attempt <= 0xFFFF; ++attempt) {
    char name[16];
    std::snprintf(name, sizeof name, "~KVZ%04x.TMP", static_cast<unsigned>(tempCounter_++));
    std::string candidate = std::string(dir) + name;
    if (candidate.size() >= kMaxPath) return {};
    if (!FileExists(candidate)) return candidate;
  }
  return {};
}

}  // namespace scrubber
