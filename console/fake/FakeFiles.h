#pragma once
// Files held in memory by exact path, with failures on demand.
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileStore.h"

namespace rosterly {

class FakeFileStore : public FileStore {
 public:
  std::map<std::string, std::string, std::less<>> files;
  // Set: every write truncates its file, stores half of the bytes and fails,
  // as a full disk would.
  std::optional<Status> diskFull;

  void FailRead(std::string path, Status failure) { readFailures_[std::move(path)] = std::move(failure); }
  void FailWrite(std::string path, Status failure) { writeFailures_[std::move(path)] = std::move(failure); }
  // A move onto `path` fails, as when another process has it open.
  void FailMoveTo(std::string path, Status failure) { moveFailures_[std::move(path)] = std::move(failure); }
  static Status NotFound() { return Status::Fail(kErrFileNotFound, "The system cannot find the file specified."); }
  static Status Denied() { return Status::Fail(kErrAccessDenied, "Access is denied."); }

  Result<std::string> ReadWholeFile(std::string_view path) override;
  Status WriteWholeFile(std::string_view path, std::string_view bytes) override;
  bool FileExists(std::string_view path) override { return files.find(path) != files.end(); }
  Result<std::string> NewFileBeside(std::string_view path) override;
  Status MoveReplacing(std::string_view from, std::string_view to) override;
  Status RemoveFile(std::string_view path) override;

 private:
  std::map<std::string, Status, std::less<>> readFailures_;
  std::map<std::string, Status, std::less<>> writeFailures_;
  std::map<std::string, Status, std::less<>> moveFailures_;
  int made_ = 0;
};

}  // namespace rosterly
