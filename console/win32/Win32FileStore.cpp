#include <string>

#include "Handles.h"
#include "MapError.h"
#include "Win32System.h"

namespace rosterly {

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

}  // namespace rosterly
