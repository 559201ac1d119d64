#pragma once
// An in-memory file system with the behaviour the uninstaller relies on:
// names compared with letter case ignored, 8.3 aliases made for long names,
// attributes, directory links (reparse points) that lead elsewhere, files
// held open (in use), restart moves recorded, FindFirstFile's wildcard
// rules. Starts with C:\ (fixed), C:\WINDOWS, C:\WINDOWS\SYSTEM32 and
// C:\TEMP; the current directory is C:\. Any call can be made to fail.
// Scans, readers and writers it hands out must not outlive it. A writer
// holds its file open without sharing until it is destroyed. Identities
// (IdentityOf) are per entry: a volume serial per root and a file index per
// file or directory, links followed.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "FaultTable.h"
#include "files/PathText.h"
#include "platform/FileSystem.h"

namespace scrubber {

struct RestartMove {
  std::string from;
  std::string to;  // empty: delete at restart
  bool replaceExisting = false;
};

class FakeFileSystem : public FileSystem {
 public:
  FakeFileSystem();
  ~FakeFileSystem() override;

  // FileSystem
  std::optional<std::uint32_t> GetAttributes(std::string_view path) override;
  Status SetAttributes(std::string_view path, std::uint32_t attributes) override;
  std::unique_ptr<DirScan> FindFirst(std::string_view pattern) override;
  Status EraseFile(std::string_view path) override;
  Status MakeDir(std::string_view path) override;
  Status RemoveDir(std::string_view path) override;
  Status CopyOver(std::string_view from, std::string_view to) override;
  Status MoveFileAtRestart(std::string_view from, std::string_view to, bool replaceExisting) override;
  std::optional<std::string> ReadWholeFile(std::string_view path) override;
  Status WriteWholeFile(std::string_view path, std::string_view bytes) override;
  std::unique_ptr<FileReader> OpenForReading(std::string_view path) override;
  std::unique_ptr<FileWriter> CreateForWriting(std::string_view path) override;
  Status AppendToFile(std::string_view path, std::string_view bytes) override;
  Status TruncateFile(std::string_view path, std::uint64_t size) override;
  Status RenameFile(std::string_view from, std::string_view to) override;
  std::optional<FileIdentity> IdentityOf(std::string_view path) override;
  std::string WindowsDirectory() override;
  std::string SystemDirectory() override;
  std::vector<std::string> SharedFolders() override { return sharedFolders_; }
  std::string CurrentDirectory() override;
  Status ChangeCurrentDirectory(std::string_view path) override;
  std::string TempDirectory() override;
  DriveType DriveTypeOf(std::string_view root) override;
  LeadBytes CodePageLeadBytes() override;

  // Setting the scene. Missing parent directories are made on the way; the
  // calls bypass the fault table. False when the path cannot be made.
  bool AddFile(std::string_view path, std::string_view content = {}, std::uint32_t attributes = kAttrArchive);
  bool AddDir(std::string_view path, std::uint32_t attributes = kAttrDirectory);
  // A directory entry that leads to `target` (a junction or symbolic link).
  bool AddLink(std::string_view path, std::string_view target);
  void AddDrive(char letter, DriveType type);
  // A network share (\\localhost\C$) that shows an existing directory
  // (C:\), as an administrative share shows its drive.
  bool AddShare(std::string_view share, std::string_view target);
  void SetWindowsDir(std::string path) { windowsDir_ = std::move(path); }
  void SetSystemDir(std::string path) { systemDir_ = std::move(path); }
  void SetSharedFolders(std::vector<std::string> folders) { sharedFolders_ = std::move(folders); }
  void SetCurrentDir(std::string path) { currentDir_ = std::move(path); }
  void SetLeadBytes(const LeadBytes& lead) { lead_ = lead; }
  // How many more bytes writers may put on the disk: a FileWriter's Write
  // writes only what fits and answers the count (a short write, as on a
  // full disk). nullopt (the default) is no limit. A "Write" fault instead
  // fails the call (nullopt, nothing written).
  void SetFreeSpace(std::optional<std::uint64_t> bytes) { freeSpace_ = bytes; }
  std::optional<std::uint64_t> FreeSpace() const { return freeSpace_; }

  // A file held open without sharing: deleting it, writing, copying over it
  // or from it fail with SharingViolation until Release.
  bool HoldOpen(std::string_view path);
  void Release(std::string_view path);

  // Looking at the result.
  bool Exists(std::string_view path);
  std::optional<std::string> ContentOf(std::string_view path);
  std::string ShortNameOf(std::string_view path);  // empty when none
  const std::vector<RestartMove>& RestartMoves() const { return restartMoves_; }
  // The roots ("C:", "\\SERVER\SHARE"), upper case.
  std::vector<std::string> RootNames() const;

  FaultTable& faults() { return faults_; }

  struct Node;

 private:
  struct Found;
  Found Locate(std::string_view path, bool followLastLink);
  Node* MakeDirs(std::string_view path);
  Node* MakeDirs(const FullPath& full);
  std::optional<SysError> Fault(std::string_view call) { return faults_.Check(call); }

  std::map<std::string, std::unique_ptr<Node>> roots_;  // "C:" or "\\SERVER\SHARE", upper case
  std::map<char, DriveType> driveTypes_;
  std::string windowsDir_ = "C:\\WINDOWS";
  std::string systemDir_ = "C:\\WINDOWS\\SYSTEM32";
  std::vector<std::string> sharedFolders_{"C:\\Program Files", "C:\\Program Files\\Common Files"};
  std::string currentDir_ = "C:\\";
  std::string tempDir_ = "C:\\TEMP";
  LeadBytes lead_;
  std::vector<RestartMove> restartMoves_;
  std::optional<std::uint64_t> freeSpace_;
  FaultTable faults_;
};

}  // namespace scrubber
