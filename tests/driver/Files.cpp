#include "Driver.h"

namespace testdriver {

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size();
  CloseHandle(file);
  return ok;
}

std::optional<std::string> ReadFileIfReadable(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char chunk[65536];
  DWORD read = 0;
  while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
  CloseHandle(file);
  return bytes;
}

std::string ReadFileBytes(const std::string& path) { return ReadFileIfReadable(path).value_or(std::string()); }

std::string ResourceBytes(const std::string& module, int type, int id) {
  HMODULE image = LoadLibraryExA(module.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!image) return {};
  std::string bytes;
  if (HRSRC info = FindResourceA(image, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(type))) {
    const char* data = static_cast<const char*>(LockResource(LoadResource(image, info)));
    if (data) bytes.assign(data, SizeofResource(image, info));
  }
  FreeLibrary(image);
  return bytes;
}

}  // namespace testdriver
