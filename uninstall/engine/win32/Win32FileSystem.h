#pragma once
// FileSystem on the Win32 ANSI API.
#include "platform/FileSystem.h"

namespace scrubber {

class Win32FileSystem : public FileSystem {
 public:
  Win32FileSystem();

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
  std::unique_ptr<FileReader> OpenForReadingUnchanged(std::string_view path) override;
  std::unique_ptr<FileWriter> CreateForWriting(std::string_view path) override;
  Status AppendToFile(std::string_view path, std::string_view bytes) override;
  Status TruncateFile(std::string_view path, std::uint64_t size) override;
  Status RenameFile(std::string_view from, std::string_view to) override;
  std::optional<FileIdentity> IdentityOf(std::string_view path) override;
  std::optional<std::uint64_t> FileIndexOf(std::string_view path) override;
  std::string WindowsDirectory() override;
  std::string SystemDirectory() override;
  std::vector<std::string> SharedFolders() override;
  std::string CurrentDirectory() override;
  Status ChangeCurrentDirectory(std::string_view path) override;
  std::string TempDirectory() override;
  DriveType DriveTypeOf(std::string_view root) override;
  LeadBytes CodePageLeadBytes() override { return lead_; }

 private:
  LeadBytes lead_;
};

}  // namespace scrubber
