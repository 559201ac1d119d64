#include "Win32Support.h"

namespace sample {

namespace {
constexpr std::string_view kTextSource = "text:";
}

Status Failure(std::string_view what, DWORD error) {
  char text[256] = {};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, sizeof text,
                 nullptr);
  std::string reason(text);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
  return Status::Fail(std::string(what) + ": error " + std::to_string(error) + (reason.empty() ? "" : " (" + reason + ")"));
}

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

Status ReadBytes(const std::string& path, std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return Failure("cannot open " + path);
  bytes.clear();
  char buffer[4096];
  DWORD got = 0;
  BOOL ok = TRUE;
  while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr)) && got > 0) bytes.append(buffer, got);
  DWORD error = GetLastError();
  CloseHandle(file);
  return ok ? Status::Ok() : Failure("cannot read " + path, error);
}

Status WriteBytes(const std::string& path, std::string_view bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return Failure("cannot create " + path);
  DWORD written = 0;
  BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  DWORD error = GetLastError();
  CloseHandle(file);
  if (!ok) return Failure("cannot write " + path, error);
  return written == bytes.size() ? Status::Ok() : Status::Fail("short write to " + path);
}

Status PlaceFile(const std::string& source, const std::string& target, bool overwrite) {
  if (!overwrite && GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
    return Status::Fail(target + " exists already");
  }
  if (source.rfind(kTextSource, 0) == 0) return WriteBytes(target, std::string_view(source).substr(kTextSource.size()));
  if (!CopyFileA(source.c_str(), target.c_str(), FALSE)) return Failure("cannot copy " + source + " to " + target);
  return Status::Ok();
}

Status CreateParents(const std::string& path) {
  for (std::size_t slash = path.find('\\', 3); slash != std::string::npos; slash = path.find('\\', slash + 1)) {
    std::string directory = path.substr(0, slash);
    if (!DirectoryExists(directory) && !CreateDirectoryA(directory.c_str(), nullptr)) {
      return Failure("cannot create " + directory);
    }
  }
  return Status::Ok();
}

}  // namespace sample
