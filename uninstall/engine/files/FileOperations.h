#pragma once
// The uninstaller's file and directory operations: deleting files with their
// help-index companions, deleting what a wildcard pattern names, removing
// directory trees, and putting backed-up files back, at the next restart
// when the file is in use. No operation shows a message; failures are passed
// over, as the engine goes on with its next item.
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>
#include <string>
#include <string_view>

#include "CanonicalizePath.h"
#include "Globals.h"
#include "PathText.h"
#include "platform/FileSystem.h"
#include "platform/Profile.h"

namespace scrubber {

enum class RestoreResult {
  Restored,       // the backup is in place and deleted
  AtRestart,      // copied beside the target, replacement registered for the next start
  TargetDeleted,  // no copy could be made: the target is deleted, the backup kept
  Refused,        // the target is a directory: nothing was done
};

class FileOperations {
 public:
  // `globals` receives rebootNeeded and selfDeletePending and supplies
  // platformKind and ownPath.
  FileOperations(FileSystem& fs, Profile& profile, Globals& globals);

  bool FileExists(std::string_view path);
  // Deletes one file; notes selfDeletePending when it is the uninstaller's
  // own program file. True when the file was deleted.
  bool DeleteOneFile(std::string_view path);
  // Deletes the file (clearing attributes that stand in the way), and for a
  // help file (.HLP) also its index companions (.GID, .FTS). True when the
  // file was deleted.
  bool RemoveFile(std::string_view path);
  // Resets the attributes to normal where any is set that could stand in the
  // way of a deletion (read-only, hidden, system, ...). An ordinary file is
  // left alone: setting attributes costs more than deleting the file. True
  // when the attributes were changed.
  bool ResetAttributes(std::string_view path);
  // Deletes the file, and when that is refused, clears its attributes and
  // tries once more.
  bool DeleteClearingAttributes(std::string_view path);
  // Removes the directory when it is empty, clearing attributes that stand
  // in the way.
  bool RemoveOneDirectory(std::string_view path);
  // Removes the directory's empty subdirectories, and with `removeFiles` its
  // files, then the directory itself when it ends up empty. Refused for
  // short paths, drive roots and the Windows and System directories in any
  // spelling; links to other places are removed, never entered. True when the
  // directory is gone.
  bool RemoveDirectoryTree(std::string_view dir, bool removeFiles);
  // Files that tree removals pass over (the log and its journal, which
  // later steps and another run still need); found by their long or short
  // name and their file index. sparedInTree() tells whether a removal with
  // files passed over the first of them.
  void SpareFromTrees(std::string_view file);
  bool sparedInTree() const { return !spared_.empty() && spared_.front().passed; }
  // Deletes the file, or every file that a wildcard pattern names; with
  // `restore` (and not for a pattern) puts the backup in its place. False
  // only when a pattern is refused: one with a "\\?\" or "\\.\" prefix, or
  // one that ends in "*.*" (also "A*.*", "*.* " and the like) or names every
  // file, in a protected directory.
  bool RemoveFileItem(std::string_view path, std::string_view backupPath, bool restore);
  RestoreResult RestoreBackup(std::string_view backupPath, std::string_view targetPath);
  // A free name "~KVZnnnn.TMP" in the target's directory; empty when none fits.
  std::string MakeTempName(std::string_view targetPath);

  // The Windows or System directory, a drive root or a folder many programs
  // share (FileSystem::SharedFolders), in whatever spelling
  // (compared as text and by identity, so that shares and links on the way
  // do not hide them); always true for "\\?\" and "\\.\" paths; also true
  // when the path or those directories cannot be resolved, so that doubt
  // never leads to deleting.
  bool IsProtectedDirectory(std::string_view dir);
  // The answer of the identities alone, when every place and the directory
  // have one; nullopt otherwise.
  std::optional<bool> ProtectedByIdentity(std::string_view dir);
  // The Windows and System directories, then the drive roots worth
  // comparing a directory of that path with.
  std::vector<std::string> PlacesToCompare(const FullPath& full);

 private:
  bool ScheduleReplacement(const std::string& tempPath, std::string_view targetPath);
  bool RemoveTreeBelow(const std::string& dir, bool removeFiles);
  bool IsOwnProgramFile(std::string_view path);
  bool IsSpared(const std::string& path, const DirEntry& entry);

  FileSystem& fs_;
  Profile& profile_;
  Globals& globals_;
  std::uint16_t tempCounter_ = 0;  // shared by every MakeTempName of the run
  // The program's own path as last seen, its comparable form and the long
  // and short names of its file.
  std::string ownPathSeen_, ownKey_, ownLongName_, ownShortName_;

  // The protected places as last looked up: they do not move during a run,
  // and looking them up again for every directory of a tree would cost more
  // than removing it. Looked up anew when the Windows or System directory
  // reads differently.
  struct Guarded {
    std::string key;                        // comparable form; empty when it cannot be resolved
    std::optional<FileIdentity> identity;   // nullopt when it cannot be identified
    bool exists = false;
  };
  Guarded LookUp(const std::string& path);
  const Guarded& GuardedPlace(const std::string& path);
  std::vector<std::pair<std::string, Guarded>> guarded_;
  // The shared folders, looked up once: one that cannot be resolved or
  // identified is no doubt (Program Files (x86) on a 32-bit system), it is
  // simply not there to compare with.
  const std::vector<Guarded>& SharedPlaces();
  std::optional<std::vector<Guarded>> sharedPlaces_;
  Guarded lastDoubt_;
  // The files tree removals pass over: their names and, once it exists,
  // their index (a journal may be written only during the run).
  struct Spared {
    std::string path, longName, shortName;
    std::optional<std::uint64_t> index;
    bool passed = false;
  };
  std::vector<Spared> spared_;
};

}  // namespace scrubber
