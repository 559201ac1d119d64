#pragma once
// An in-memory file system with the behaviour the uninstaller relies on:
// names compared with letter case ignored, 8.3 aliases made for long names,
// attributes, directory links (reparse points) that lead elsewhere, files
// held open (in use), restart moves recorded, FindFirstFile's wildcard
// rules. Starts with C:\ (fixed), C:\WINDOWS, C:\WINDOWS\SYSTEM32 and
// C:\TEMP; the current directory is C:\. Any call can be made to fail.
// Scans and readers it hands out must not outlive it.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FaultTable.h"
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
  std::string WindowsDirectory() override;
  std::string SystemDirectory() override;
  std::string CurrentDirectory() override;
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
  void SetWindowsDir(std::string path) { windowsDir_ = std::move(path); }
  void SetSystemDir(std::string path) { systemDir_ = std::move(path); }
  void SetCurrentDir(std::string path) { currentDir_ = std::move(path); }
  void SetLeadBytes(const LeadBytes& lead) { lead_ = lead; }

  // A file held open without sharing: deleting it, writing, copying over it
  // or from it fail with SharingViolation until Release.
  bool HoldOpen(std::string_view path);
  void Release(std::string_view path);

  // Looking at the result.
  bool Exists(std::string_view path);
  std::optional<std::string> ContentOf(std::string_view path);
  std::string ShortNameOf(std::string_view path);  // empty when none
  const std::vector<RestartMove>& RestartMoves() const { return restartMoves_; }

  FaultTable& faults() { return faults_; }

  struct Node;

 private:
  struct Found;
  Found Locate(std::string_view path, bool followLastLink);
  Node* MakeDirs(std::string_view path);
  std::optional<SysError> Fault(std::string_view call) { return faults_.Check(call); }

  std::map<std::string, std::unique_ptr<Node>> roots_;  // "C:" or "\\SERVER\SHARE", upper case
  std::map<char, DriveType> driveTypes_;
  std::string windowsDir_ = "C:\\WINDOWS";
  std::string systemDir_ = "C:\\WINDOWS\\SYSTEM32";
  std::string currentDir_ = "C:\\";
  std::string tempDir_ = "C:\\TEMP";
  LeadBytes lead_;
  std::vector<RestartMove> restartMoves_;
  FaultTable faults_;
};

}  // namespace scrubber
