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
  if (diskFull) {
    files[std::string(path)] = std::string(bytes.substr(0, bytes.size() / 2));
    return *diskFull;
  }
  files[std::string(path)] = std::string(bytes);
  return Status::Ok();
}

Result<std::string> FakeFileStore::NewFileBeside(std::string_view path) {
  std::string name = std::string(path) + ".~" + std::to_string(++made_);
  files[name] = std::string();
  return name;
}

Status FakeFileStore::MoveReplacing(std::string_view from, std::string_view to) {
  if (auto f = moveFailures_.find(to); f != moveFailures_.end()) return f->second;
  auto it = files.find(from);
  if (it == files.end()) return NotFound();
  std::string bytes = std::move(it->second);
  files.erase(it);
  files[std::string(to)] = std::move(bytes);
  return Status::Ok();
}

Status FakeFileStore::RemoveFile(std::string_view path) {
  auto it = files.find(path);
  if (it == files.end()) return NotFound();
  files.erase(it);
  return Status::Ok();
}

}  // namespace rosterly
