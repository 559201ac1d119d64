#include "Win32FileSystem.h"

#include <windows.h>
#include <shlobj.h>
#include <winternl.h>
#include <userenv.h>

#include <cstdint>
#include <vector>

#include "Handles.h"
#include "MapError.h"
#include "Ntdll.h"

namespace scrubber {
namespace {

// A path the ANSI calls can take: NUL-terminated, shorter than MAX_PATH and
// without an embedded NUL, which would silently name another file.
std::optional<std::string> CPath(std::string_view path, Status& status) {
  if (path.size() >= kMaxPath) {
    status = Status::Fail(SysError::TooLong, ERROR_FILENAME_EXCED_RANGE);
    return std::nullopt;
  }
  if (path.empty() || path.find('\0') != std::string_view::npos) {
    status = Status::Fail(SysError::InvalidName, ERROR_INVALID_NAME);
    return std::nullopt;
  }
  return std::string(path);
}

std::optional<std::string> CPath(std::string_view path) {
  Status ignored;
  return CPath(path, ignored);
}

Status Result(BOOL ok) { return ok ? Status::Ok() : LastError(); }

// Text from a call that fills a MAX_PATH buffer and answers the length;
// without a trailing backslash unless it is a drive root.
template <typename Call>
std::string Directory(Call call) {
  char buffer[MAX_PATH + 1] = {};
  UINT length = call(buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::string text(buffer, length);
  if (text.size() > 3 && text.back() == '\\') text.pop_back();
  return text;
}

class Win32DirScan : public DirScan {
 public:
  Win32DirScan(HANDLE h, const WIN32_FIND_DATAA& first) : find_(h), data_(first) {}
  bool Next(DirEntry& entry) override {
    if (!pending_ && !FindNextFileA(find_.get(), &data_)) return false;
    pending_ = false;
    entry.name = data_.cFileName;
    entry.shortName = data_.cAlternateFileName;
    entry.attributes = data_.dwFileAttributes;
    return true;
  }

 private:
  win32::FindHandle find_;
  WIN32_FIND_DATAA data_;
  bool pending_ = true;
};

class Win32Reader : public FileReader {
 public:
  explicit Win32Reader(HANDLE h) : file_(h) {}
  std::optional<std::size_t> Read(std::span<char> buffer) override {
    DWORD want = buffer.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(buffer.size());
    DWORD got = 0;
    if (!ReadFile(file_.get(), buffer.data(), want, &got, nullptr)) return std::nullopt;
    return got;
  }
  bool Seek(std::uint64_t offset) override {
    if (offset > static_cast<std::uint64_t>(INT64_MAX)) return false;
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN) != 0;
  }

 private:
  win32::FileHandle file_;
};

class Win32Writer : public FileWriter {
 public:
  explicit Win32Writer(HANDLE h) : file_(h) {}
  std::optional<std::size_t> Write(std::span<const char> bytes) override {
    std::size_t total = 0;
    while (total < bytes.size()) {
      std::size_t left = bytes.size() - total;
      DWORD chunk = left > 0x100000 ? 0x100000 : static_cast<DWORD>(left);
      DWORD written = 0;
      if (!WriteFile(file_.get(), bytes.data() + total, chunk, &written, nullptr)) {
        if (total == 0) return std::nullopt;
        break;
      }
      total += written;
      if (written < chunk) break;  // the disk is full
    }
    return total;
  }

 private:
  win32::FileHandle file_;
};

HANDLE OpenToRead(const std::string& path) {
  return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

// No access asked: attributes and identity only; the backup flag opens
// directories too.
HANDLE OpenToIdentify(const std::string& path) {
  return CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                     FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace

Win32FileSystem::Win32FileSystem() {
  for (unsigned c = 0x80; c < 0x100; ++c) {
    if (IsDBCSLeadByte(static_cast<BYTE>(c))) lead_.Set(static_cast<unsigned char>(c), static_cast<unsigned char>(c));
  }
}

std::optional<std::uint32_t> Win32FileSystem::GetAttributes(std::string_view path) {
  auto p = CPath(path);
  if (!p) return std::nullopt;
  DWORD attributes = GetFileAttributesA(p->c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return attributes;
}

Status Win32FileSystem::SetAttributes(std::string_view path, std::uint32_t attributes) {
  Status status;
  auto p = CPath(path, status);
  if (!p) return status;
  return Result(SetFileAttributesA(p->c_str(), attributes));
}

std::unique_ptr<DirScan> Win32FileSystem::FindFirst(std::string_view pattern) {
  auto p = CPath(pattern);
  if (!p) return nullptr;
  WIN32_FIND_DATAA data{};
  HANDLE h = FindFirstFileA(p->c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32DirScan>(h, data);
}

Status Win32FileSystem::EraseFile(std::string_view path) {
  Status status;
  auto p = CPath(path, status);
  if (!p) return status;
  return Result(DeleteFileA(p->c_str()));
}

Status Win32FileSystem::MakeDir(std::string_view path) {
  Status status;
  auto p = CPath(path, status);
  if (!p) return status;
  return Result(CreateDirectoryA(p->c_str(), nullptr));
}

Status Win32FileSystem::RemoveDir(std::string_view path) {
  Status status;
  auto p = CPath(path, status);
  if (!p) return status;
  return Result(RemoveDirectoryA(p->c_str()));
}

Status Win32FileSystem::CopyOver(std::string_view from, std::string_view to) {
  Status status;
  auto source = CPath(from, status);
  if (!source) return status;
  auto target = CPath(to, status);
  if (!target) return status;
  return Result(CopyFileA(source->c_str(), target->c_str(), FALSE));
}

Status Win32FileSystem::MoveFileAtRestart(std::string_view from, std::string_view to, bool replaceExisting) {
  Status status;
  auto source = CPath(from, status);
  if (!source) return status;
  std::optional<std::string> target;
  if (!to.empty()) {
    target = CPath(to, status);
    if (!target) return status;
  }
  DWORD flags = MOVEFILE_DELAY_UNTIL_REBOOT | (replaceExisting ? MOVEFILE_REPLACE_EXISTING : 0);
  return Result(MoveFileExA(source->c_str(), target ? target->c_str() : nullptr, flags));
}

std::optional<std::string> Win32FileSystem::ReadWholeFile(std::string_view path) {
  auto p = CPath(path);
  if (!p) return std::nullopt;
  win32::FileHandle file(OpenToRead(*p));
  if (!file.valid()) return std::nullopt;
  std::string content;
  char block[4096];
  DWORD got = 0;
  while (ReadFile(file.get(), block, sizeof block, &got, nullptr) && got > 0) content.append(block, got);
  return content;
}

Status Win32FileSystem::WriteWholeFile(std::string_view path, std::string_view bytes) {
  Status status;
  auto p = CPath(path, status);
  if (!p) return status;
  win32::FileHandle file(CreateFileA(p->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return LastError();
  while (!bytes.empty()) {
    DWORD chunk = bytes.size() > 0x100000 ? 0x100000 : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), chunk, &written, nullptr) || written == 0) return LastError();
    bytes.remove_prefix(written);
  }
  return Status::Ok();
}

std::unique_ptr<FileReader> Win32FileSystem::OpenForReading(std::string_view path) {
  auto p = CPath(path);
  if (!p) return nullptr;
  HANDLE h = OpenToRead(*p);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32Reader>(h);
}

std::unique_ptr<FileReader> Win32FileSystem::OpenForReadingUnchanged(std::string_view path) {
  auto p = CPath(path);
  if (!p) return nullptr;
  HANDLE h = CreateFileA(p->c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32Reader>(h);
}

std::unique_ptr<FileWriter> Win32FileSystem::CreateForWriting(std::string_view path) {
  auto p = CPath(path);
  if (!p) return nullptr;
  HANDLE h = CreateFileA(p->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32Writer>(h);
}

Status Win32FileSystem::AppendToFile(std::string_view path, std::string_view bytes) {
  Status status;
  auto p = CPath(path, status);
  if (!p) return status;
  if (bytes.size() > MAXDWORD) return Status::Fail(SysError::Other, ERROR_INVALID_PARAMETER);
  // FILE_APPEND_DATA alone: every write lands at the end, whoever else appends.
  win32::FileHandle file(
      CreateFileA(p->c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return LastError();
  DWORD written = 0;
  if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) return LastError();
  if (written != bytes.size()) return Status::Fail(SysError::Other, ERROR_HANDLE_DISK_FULL);
  return Result(FlushFileBuffers(file.get()));
}

Status Win32FileSystem::TruncateFile(std::string_view path, std::uint64_t size) {
  Status status;
  auto p = CPath(path, status);
  if (!p) return status;
  if (size > static_cast<std::uint64_t>(INT64_MAX)) return Status::Fail(SysError::Other, ERROR_INVALID_PARAMETER);
  win32::FileHandle file(CreateFileA(p->c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return LastError();
  LARGE_INTEGER to;
  to.QuadPart = static_cast<LONGLONG>(size);
  if (!SetFilePointerEx(file.get(), to, nullptr, FILE_BEGIN)) return LastError();
  return Result(SetEndOfFile(file.get()));
}

Status Win32FileSystem::RenameFile(std::string_view from, std::string_view to) {
  Status status;
  auto source = CPath(from, status);
  if (!source) return status;
  auto target = CPath(to, status);
  if (!target) return status;
  return Result(MoveFileA(source->c_str(), target->c_str()));
}

std::optional<FileIdentity> Win32FileSystem::IdentityOf(std::string_view path) {
  auto p = CPath(path);
  if (!p) return std::nullopt;
  win32::FileHandle file(OpenToIdentify(*p));
  if (!file.valid()) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
  FileIdentity id;
  id.volumeSerial = info.dwVolumeSerialNumber;
  id.fileIndex = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return id;
}

std::optional<std::uint64_t> Win32FileSystem::FileIndexOf(std::string_view path) {
  // The native query of the index alone; the documented calls also ask for
  // the volume's serial number, which costs several times the rest.
  using QueryFn = LONG(WINAPI*)(HANDLE, IO_STATUS_BLOCK*, void*, ULONG, int);
  constexpr int kFileInternalInformation = 6;
  static const QueryFn query = win32::NtdllExport<QueryFn>("NtQueryInformationFile");
  if (!query) return FileSystem::FileIndexOf(path);
  auto p = CPath(path);
  if (!p) return std::nullopt;
  win32::FileHandle file(OpenToIdentify(*p));
  if (!file.valid()) return std::nullopt;
  IO_STATUS_BLOCK status{};
  LARGE_INTEGER index{};
  if (query(file.get(), &status, &index, sizeof index, kFileInternalInformation) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(index.QuadPart);
}

Status Win32FileSystem::ChangeCurrentDirectory(std::string_view path) {
  Status status;
  auto p = CPath(path, status);
  if (!p) return status;
  return Result(SetCurrentDirectoryA(p->c_str()));
}

std::string Win32FileSystem::WindowsDirectory() {
  return Directory([](char* b, UINT n) { return GetWindowsDirectoryA(b, n); });
}

std::string Win32FileSystem::SystemDirectory() {
  return Directory([](char* b, UINT n) { return GetSystemDirectoryA(b, n); });
}

std::vector<std::string> Win32FileSystem::SharedFolders() {
  static constexpr int kKnownFolders[] = {
      CSIDL_PROGRAM_FILES,      CSIDL_PROGRAM_FILESX86,    CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROGRAM_FILES_COMMONX86,
      CSIDL_PROFILE,            CSIDL_APPDATA,             CSIDL_LOCAL_APPDATA,        CSIDL_COMMON_APPDATA,
      CSIDL_DESKTOPDIRECTORY,   CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_PERSONAL,         CSIDL_COMMON_DOCUMENTS,
      CSIDL_STARTMENU,          CSIDL_COMMON_STARTMENU,    CSIDL_PROGRAMS,             CSIDL_COMMON_PROGRAMS,
      CSIDL_STARTUP,            CSIDL_COMMON_STARTUP,      CSIDL_FAVORITES,            CSIDL_TEMPLATES,
      CSIDL_COMMON_TEMPLATES,   CSIDL_MYMUSIC,             CSIDL_MYPICTURES,           CSIDL_MYVIDEO,
      CSIDL_SENDTO,             CSIDL_FONTS,
  };
  std::vector<std::string> folders;
  char path[MAX_PATH];
  for (int folder : kKnownFolders) {
    if (SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK && path[0]) folders.emplace_back(path);
  }
  // The roots above them: every user's profile, and the one all users share.
  DWORD size = MAX_PATH;
  if (GetProfilesDirectoryA(path, &size) && path[0]) folders.emplace_back(path);
  const DWORD length = GetEnvironmentVariableA("PUBLIC", path, MAX_PATH);
  if (length > 0 && length < MAX_PATH) folders.emplace_back(path);
  return folders;
}

std::string Win32FileSystem::CurrentDirectory() {
  return Directory([](char* b, UINT n) { return static_cast<UINT>(GetCurrentDirectoryA(n, b)); });
}

std::string Win32FileSystem::TempDirectory() {
  return Directory([](char* b, UINT n) { return static_cast<UINT>(GetTempPathA(n, b)); });
}

DriveType Win32FileSystem::DriveTypeOf(std::string_view root) {
  auto p = CPath(root);
  if (!p) return DriveType::NoRoot;
  UINT type = GetDriveTypeA(p->c_str());
  return type <= DRIVE_RAMDISK ? static_cast<DriveType>(type) : DriveType::Unknown;
}

}  // namespace scrubber
