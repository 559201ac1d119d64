#pragma once
// Files held in memory by exact path, with failures on demand.
#include <map>
#include <string>
#include <string_view>

#include "platform/FileStore.h"

namespace rosterly {

class FakeFileStore : public FileStore {
 public:
  std::map<std::string, std::string, std::less<>> files;

  void FailRead(std::string path, Status failure) { readFailures_[std::move(path)] = std::move(failure); }
  void FailWrite(std::string path, Status failure) { writeFailures_[std::move(path)] = std::move(failure); }
  static Status NotFound() { return Status::Fail(kErrFileNotFound, "The system cannot find the file specified."); }
  static Status Denied() { return Status::Fail(kErrAccessDenied, "Access is denied."); }

  Result<std::string> ReadWholeFile(std::string_view path) override;
  Status WriteWholeFile(std::string_view path, std::string_view bytes) override;
  bool FileExists(std::string_view path) override { return files.find(path) != files.end(); }

 private:
  std::map<std::string, Status, std::less<>> readFailures_;
  std::map<std::string, Status, std::less<>> writeFailures_;
};

}  // namespace rosterly
