#include <string>

#include "Handles.h"
#include "MapError.h"
#include "Win32System.h"

namespace rosterly {

namespace {
constexpr char kNewFilePrefix[] = "rst";  // GetTempFileName uses three characters
}  // namespace

Result<std::string> Win32FileStore::ReadWholeFile(std::string_view path) {
  ScopedHandle file(CreateFileA(std::string(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastErrorStatus();
  std::string bytes;
  char chunk[64 * 1024];
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr)) return LastErrorStatus();
    if (read == 0) break;
    bytes.append(chunk, read);
  }
  return bytes;
}

Status Win32FileStore::WriteWholeFile(std::string_view path, std::string_view bytes) {
  ScopedHandle file(CreateFileA(std::string(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastErrorStatus();
  while (!bytes.empty()) {
    const DWORD part = static_cast<DWORD>(bytes.size() < (1u << 30) ? bytes.size() : (1u << 30));
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), part, &written, nullptr)) return LastErrorStatus();
    bytes.remove_prefix(written);
  }
  // A failure while flushing on close is a failed write too.
  if (!CloseHandle(file.Release())) return LastErrorStatus();
  return Status::Ok();
}

bool Win32FileStore::FileExists(std::string_view path) {
  DWORD attributes = GetFileAttributesA(std::string(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

Result<std::string> Win32FileStore::NewFileBeside(std::string_view path) {
  const std::size_t cut = path.find_last_of("\\/:");
  std::string folder = cut == std::string_view::npos ? std::string(".") : std::string(path.substr(0, cut + 1));
  char name[MAX_PATH];
  // Creates the file under a name no other file in the folder has.
  if (GetTempFileNameA(folder.c_str(), kNewFilePrefix, 0, name) == 0) return LastErrorStatus();
  return std::string(name);
}

Status Win32FileStore::MoveReplacing(std::string_view from, std::string_view to) {
  if (!MoveFileExA(std::string(from).c_str(), std::string(to).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return LastErrorStatus();
  return Status::Ok();
}

Status Win32FileStore::RemoveFile(std::string_view path) {
  if (!DeleteFileA(std::string(path).c_str())) return LastErrorStatus();
  return Status::Ok();
}

}  // namespace rosterly
