#include "FakeFiles.h"

namespace rosterly {

Result<std::string> FakeFileStore::ReadWholeFile(std::string_view path) {
  if (auto f = readFailures_.find(path); f != readFailures_.end()) return f->second;
  auto it = files.find(path);
  if (it == files.end()) return NotFound();
  return it->second;
}

Status FakeFileStore::WriteWholeFile(std::string_view path, std::string_view bytes) {
  if (auto f = writeFailures_.find(path); f != writeFailures_.end()) return f->second;
  files[std::string(path)] = std::string(bytes);
  return Status::Ok();
}

}  // namespace rosterly
