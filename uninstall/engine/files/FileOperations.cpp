#include "FileOperations.h"

#include <algorithm>
#include <cstdio>
#include <vector>

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

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// "\\?\" and "\\.\" (either slash): paths the platform passes on without
// resolving them, to devices and to names that normal paths cannot reach.
// The guards cannot tell where such a path leads, so they refuse it.
bool HasDevicePrefix(std::string_view path) {
  return path.size() >= 4 && IsSeparator(path[0]) && IsSeparator(path[1]) && (path[2] == '?' || path[2] == '.') &&
         IsSeparator(path[3]);
}

// The pattern's name as the platform reads it: without the trailing dots
// and blanks that it ignores.
std::string_view StrippedName(std::string_view name) {
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.remove_suffix(1);
  return name;
}

// A pattern name that names every file of its directory ("*", "*.*", "*."),
// or every file that begins with some text ("A*.*"): refused in the
// protected directories.
bool IsSweepingPattern(std::string_view name) {
  std::string_view stripped = StrippedName(name);
  return NamesEveryFile(name) || NamesEveryFile(stripped) || stripped.ends_with("*.*") || name.ends_with("*.*");
}

// A directory entry whose name ends in a blank or a dot: a path that ends in
// that name loses the ending when the platform resolves it (and names the
// parent, or a sibling); followed by a backslash, the name is a component on
// the way and keeps it.
std::string Addressable(std::string path) {
  if (!path.empty() && (path.back() == ' ' || path.back() == '.')) path += '\\';
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

bool FileOperations::ResetAttributes(std::string_view path) {
  const auto attributes = fs_.GetAttributes(path);
  if (!attributes || (*attributes & ~std::uint32_t{kAttrArchive | kAttrNormal | kAttrDirectory}) == 0) return false;
  return fs_.SetAttributes(path, kAttrNormal).ok();
}

bool FileOperations::DeleteClearingAttributes(std::string_view path) {
  // Most files go at once: their attributes are looked at only when the
  // deletion is refused, as a read-only file's is.
  if (DeleteOneFile(path)) return true;
  // A directory where a file was logged keeps its attributes.
  const auto attributes = fs_.GetAttributes(path);
  if (!attributes || (*attributes & kAttrDirectory)) return false;
  return ResetAttributes(path) && DeleteOneFile(path);
}

bool FileOperations::RemoveFile(std::string_view path) {
  if (path.empty() || path.size() >= kMaxPath) return false;
  // A help file's index files first: a run stopped between finds the help
  // file still there and takes them with it, not the other way round.
  if (path.size() >= 5 && EndsWithNoCase(path, ".HLP")) {
    std::string stem(path.substr(0, path.size() - 4));
    DeleteOneFile(stem + ".GID");
    DeleteOneFile(stem + ".FTS");
  }
  return DeleteClearingAttributes(path);
}

bool FileOperations::RemoveOneDirectory(std::string_view path) {
  if (path.empty() || path.size() >= kMaxPath) return false;
  if (fs_.RemoveDir(path).ok()) return true;
  return ResetAttributes(path) && fs_.RemoveDir(path).ok();
}

FileOperations::Guarded FileOperations::LookUp(const std::string& path) {
  Guarded guarded;
  guarded.key = ComparablePath(fs_, path).value_or(std::string());
  guarded.identity = fs_.IdentityOf(path);
  guarded.exists = fs_.GetAttributes(path).has_value();
  return guarded;
}

const FileOperations::Guarded& FileOperations::GuardedPlace(const std::string& path) {
  for (const auto& [place, guarded] : guarded_) {
    if (place == path) return guarded;
  }
  Guarded guarded = LookUp(path);
  // A place that could not be looked up whole is asked again next time:
  // a passing failure must not stay a doubt (or a certainty) for the run.
  if (guarded.key.empty() || !guarded.identity) {
    lastDoubt_ = std::move(guarded);
    return lastDoubt_;
  }
  // Few places are ever asked for (two directories and a root or two); a
  // run over many drives or shares stays bounded all the same.
  if (guarded_.size() >= 16) guarded_.clear();
  guarded_.emplace_back(path, std::move(guarded));
  return guarded_.back().second;
}

const std::vector<FileOperations::Guarded>& FileOperations::SharedPlaces() {
  if (!sharedPlaces_) {
    sharedPlaces_.emplace();
    for (const std::string& folder : fs_.SharedFolders()) {
      Guarded guarded = LookUp(folder);
      if (!guarded.key.empty() || guarded.identity) sharedPlaces_->push_back(std::move(guarded));
    }
  }
  return *sharedPlaces_;
}

std::vector<std::string> FileOperations::PlacesToCompare(const FullPath& full) {
  std::vector<std::string> places{fs_.WindowsDirectory(), fs_.SystemDirectory()};
  // The drive roots that are sensible to compare with: the path's own drive
  // and the drive of the Windows directory.
  if (!full.isUnc()) places.push_back(full.root + "\\");
  const auto windows = SplitFullPath(places[0], "", fs_.CodePageLeadBytes());
  if (windows && !windows->isUnc()) places.push_back(windows->root + "\\");
  return places;
}

std::optional<bool> FileOperations::ProtectedByIdentity(std::string_view dir) {
  const LeadBytes lead = fs_.CodePageLeadBytes();
  const auto normal = NormalizePath(dir, fs_.CurrentDirectory(), lead);
  if (!normal) return std::nullopt;
  const auto full = SplitFullPath(*normal, "", lead);
  if (!full || full->parts.empty()) return std::nullopt;
  const std::vector<std::string> places = PlacesToCompare(*full);
  if (places[0].empty() || places[1].empty()) return std::nullopt;
  // Copied: a later look-up may move the places looked up before it.
  std::vector<Guarded> guarded;
  for (const std::string& place : places) guarded.push_back(GuardedPlace(place));
  for (const Guarded& shared : SharedPlaces()) guarded.push_back(shared);
  for (const Guarded& place : guarded) {
    // A place that exists (or has come to exist) without an identity is a
    // doubt the long forms settle.
    if (place.key.empty()) return std::nullopt;
    if (!place.identity && (place.exists || fs_.GetAttributes(place.key))) return std::nullopt;
    // The same spelling: a place made (anew) since it was looked up.
    if (EqualsNoCase(*normal, place.key)) return true;
  }
  // Only a directory whose index one of the places shares needs its whole identity.
  const auto index = fs_.FileIndexOf(*normal);
  if (!index) return std::nullopt;
  const auto sharesIndex = [&](const Guarded& place) { return place.identity && place.identity->fileIndex == *index; };
  if (std::none_of(guarded.begin(), guarded.end(), sharesIndex)) return false;
  const auto identity = fs_.IdentityOf(*normal);
  if (!identity) return std::nullopt;
  for (const Guarded& place : guarded) {
    if (place.identity && *place.identity == *identity) return true;
  }
  return false;
}

bool FileOperations::IsProtectedDirectory(std::string_view dir) {
  if (HasDevicePrefix(dir)) return true;
  // An existing directory is compared by identity, which sees through every
  // spelling; the long forms below cost a directory scan per component.
  if (const auto known = ProtectedByIdentity(dir)) return *known;
  auto key = ComparablePath(fs_, dir);
  if (!key) return true;
  LeadBytes lead = fs_.CodePageLeadBytes();
  auto full = SplitFullPath(*key, "", lead);
  if (!full || full->parts.empty()) return true;  // a drive root or a share
  const std::vector<std::string> places = PlacesToCompare(*full);
  for (std::size_t i = 0; i < 2; ++i) {
    if (places[i].empty()) return true;
    const Guarded& guarded = GuardedPlace(places[i]);
    if (guarded.key.empty() || EqualsNoCase(*key, guarded.key)) return true;
  }
  for (const Guarded& shared : SharedPlaces()) {
    if (!shared.key.empty() && EqualsNoCase(*key, shared.key)) return true;
  }
  // The same directory in another spelling that text cannot see through: a
  // share of its drive, a link on the way. Identities (volume serial and
  // file index) tell. A directory that exists but cannot be identified is a
  // doubt, and doubt refuses; one that does not exist holds nothing to lose.
  auto identity = fs_.IdentityOf(*key);
  if (!identity) return fs_.GetAttributes(*key).has_value() || fs_.GetAttributes(dir).has_value();
  for (std::size_t i = 0; i < places.size(); ++i) {
    const Guarded& guarded = GuardedPlace(places[i]);
    if (!guarded.identity) {
      // The Windows and System directories exist; not being able to
      // identify them is a doubt. A root that cannot be opened is passed.
      if (i < 2 && guarded.exists) return true;
      continue;
    }
    if (*guarded.identity == *identity) return true;
  }
  for (const Guarded& shared : SharedPlaces()) {
    if (shared.identity && *shared.identity == *identity) return true;
  }
  return false;
}

bool FileOperations::RemoveDirectoryTree(std::string_view spelled, bool removeFiles) {
  if (spelled.size() < 4 || spelled.size() >= kMaxPath || IsProtectedDirectory(spelled)) return false;
  // Work on the resolved spelling: "LINK\" or "LINK\." would make the
  // platform look through a link instead of at it. Only this top-level
  // argument is resolved; the paths below it are built, never resolved again.
  auto resolved = NormalizePath(spelled, fs_.CurrentDirectory(), fs_.CodePageLeadBytes());
  if (!resolved) return false;
  return RemoveTreeBelow(*resolved, removeFiles);
}

bool FileOperations::RemoveTreeBelow(const std::string& dir, bool removeFiles) {
  // `dir` is the resolved argument or a path built from it as directory,
  // backslash and entry name. Resolving it again could name another place:
  // a subdirectory called " " would become its parent and be entered again
  // and again.
  const std::string addressed = Addressable(dir);
  auto attributes = fs_.GetAttributes(addressed);
  if (attributes && (*attributes & kAttrReparsePoint)) {
    // A link: what it leads to belongs elsewhere; only the entry goes.
    return fs_.RemoveDir(dir).ok();
  }
  // An empty directory, the usual one once its files are gone, goes
  // without a scan.
  if (addressed.size() < kMaxPath && fs_.RemoveDir(addressed).ok()) return true;
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
        if (path.size() < 4 || IsProtectedDirectory(path)) continue;
        // Tried once more only when it stayed.
        if (!RemoveTreeBelow(path, removeFiles) && Addressable(path).size() < kMaxPath) {
          (void)RemoveOneDirectory(Addressable(path));
        }
      } else if (removeFiles && !IsSpared(path, entry)) {
        (void)DeleteClearingAttributes(path);
      }
    }
  }
  if (addressed.size() >= kMaxPath) return false;
  return RemoveOneDirectory(addressed);
}

void FileOperations::SpareFromTrees(std::string_view file) {
  std::string longForm(file), shortForm(file);
  CanonicalizePath(fs_, longForm, PathForm::Long);
  CanonicalizePath(fs_, shortForm, PathForm::Short);
  const LeadBytes lead = fs_.CodePageLeadBytes();
  Spared spared;
  spared.path = file;
  spared.longName = longForm.substr(FindLastBackslash(longForm, lead) + 1);
  spared.shortName = shortForm.substr(FindLastBackslash(shortForm, lead) + 1);
  spared.index = fs_.FileIndexOf(file);
  spared_.push_back(std::move(spared));
}

bool FileOperations::IsSpared(const std::string& path, const DirEntry& entry) {
  for (Spared& spared : spared_) {
    const bool named = EqualsNoCase(entry.name, spared.longName) || EqualsNoCase(entry.name, spared.shortName) ||
                       (!entry.shortName.empty() && EqualsNoCase(entry.shortName, spared.shortName));
    if (!named) continue;
    // Only a file of that name costs a look at its index. A spared file that
    // still cannot be found is not this one; one that can but has no index
    // spares every file of its name, which keeps rather than loses.
    if (!spared.index) spared.index = fs_.FileIndexOf(spared.path);
    if (!spared.index && !fs_.GetAttributes(spared.path)) continue;
    if (spared.index && fs_.FileIndexOf(path) != spared.index) continue;
    spared.passed = true;
    return true;
  }
  return false;
}

bool FileOperations::RemoveFileItem(std::string_view path, std::string_view backupPath, bool restore) {
  if (!HasWildcard(path)) {
    // Without its backup the file in place may be the original an earlier,
    // stopped run already put back: it stays rather than be lost.
    if (restore && !backupPath.empty() && !FileExists(backupPath)) return true;
    RemoveFile(path);
    if (restore && !backupPath.empty()) RestoreBackup(backupPath, path);
    return true;
  }
  if (path.size() >= kMaxPath || HasDevicePrefix(path)) return false;
  LeadBytes lead = fs_.CodePageLeadBytes();
  std::size_t cut = LastSeparator(path, lead);
  // The directory the pattern searches: before its last separator, or the
  // current directory of its drive ("C:*.*") or of the process ("*.*").
  bool onDrive = cut == std::string_view::npos && path.size() >= 2 && path[1] == ':';
  std::string_view dir = cut != std::string_view::npos ? path.substr(0, cut + 1)
                         : onDrive                     ? path.substr(0, 2)
                                                       : std::string_view(".");
  std::string_view name = cut != std::string_view::npos ? path.substr(cut + 1) : onDrive ? path.substr(2) : path;
  if (IsSweepingPattern(name) && (path.size() < 4 || IsProtectedDirectory(dir))) return false;
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
  // A backup is a file and goes where a file was, never over a directory.
  if (const auto attributes = fs_.GetAttributes(targetPath); attributes && (*attributes & kAttrDirectory)) {
    return RestoreResult::Refused;
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
    // The target exists (it is in use, which is why the move waits), and a
    // delayed move onto an existing file fails at boot unless it may replace it.
    return fs_.MoveFileAtRestart(shortTemp, targetPath, true).ok();
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
