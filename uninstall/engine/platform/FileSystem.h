#pragma once
// Files and directories as the uninstaller needs them. Paths are 8-bit ANSI
// strings in Windows syntax (drive letters, backslashes); names compare with
// letter case ignored. Every call reports failure by value, never by throwing.
// Method names avoid the Win32 A/W macros (DeleteFile, CopyFile, ...).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "LeadBytes.h"
#include "SysError.h"

namespace scrubber {

// Path buffers hold 260 characters including the terminator (MAX_PATH); a
// longer path is refused by every call with SysError::TooLong.
inline constexpr std::size_t kMaxPath = 260;

// Attribute bits as the platform reports them.
enum FileAttr : std::uint32_t {
  kAttrReadOnly = 0x1,
  kAttrHidden = 0x2,
  kAttrSystem = 0x4,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
  kAttrNormal = 0x80,
  kAttrReparsePoint = 0x400,
};

// Drive types as GetDriveType answers them.
enum class DriveType : std::uint8_t { Unknown = 0, NoRoot = 1, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };

struct DirEntry {
  std::string name;       // long name
  std::string shortName;  // 8.3 alias; empty when the entry has none
  std::uint32_t attributes = 0;
  bool isDirectory() const { return (attributes & kAttrDirectory) != 0; }
  // A junction or symbolic link: its contents belong to another place.
  bool isReparsePoint() const { return (attributes & kAttrReparsePoint) != 0; }
};

// One open enumeration (FindFirstFile/FindNextFile/FindClose); closed when destroyed.
class DirScan {
 public:
  virtual ~DirScan() = default;
  // Fills the next entry; false at the end.
  virtual bool Next(DirEntry& entry) = 0;
};

// One file open for sequential reading; closed when destroyed.
class FileReader {
 public:
  virtual ~FileReader() = default;
  // Reads up to buffer.size() bytes; 0 at the end of the file, nullopt on error.
  virtual std::optional<std::size_t> Read(std::span<char> buffer) = 0;
  // Moves to a byte offset from the start; false when that is not possible.
  virtual bool Seek(std::uint64_t offset) = 0;
};

// One file open for writing; closed when destroyed.
class FileWriter {
 public:
  virtual ~FileWriter() = default;
  // Writes the bytes at the current position; the number of bytes written
  // (fewer than asked when the disk is full), nullopt on error.
  virtual std::optional<std::size_t> Write(std::span<const char> bytes) = 0;
};

// What makes two spellings the same file or directory: the volume's serial
// number and the file index (GetFileInformationByHandle).
struct FileIdentity {
  std::uint32_t volumeSerial = 0;
  std::uint64_t fileIndex = 0;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // nullopt when the attributes cannot be read (the entry does not exist).
  virtual std::optional<std::uint32_t> GetAttributes(std::string_view path) = 0;
  virtual Status SetAttributes(std::string_view path, std::uint32_t attributes) = 0;

  // Entries matching a pattern whose last component may hold * and ?, matched
  // against long and short names as the platform does ("*.*" matches all).
  // Inside a directory other than a root the "." and ".." entries come too.
  // The first match is already waiting in the scan; nullptr when nothing
  // matches or the directory cannot be read. A pattern without wildcards
  // looks up that one entry, which is how long and short names are found.
  virtual std::unique_ptr<DirScan> FindFirst(std::string_view pattern) = 0;

  virtual Status EraseFile(std::string_view path) = 0;
  virtual Status MakeDir(std::string_view path) = 0;
  // Only when empty. On a junction or symbolic link it removes the link.
  virtual Status RemoveDir(std::string_view path) = 0;
  virtual Status CopyOver(std::string_view from, std::string_view to) = 0;  // overwrites
  // Registers a rename (or, with an empty target, a deletion) for the next
  // restart of the computer (MoveFileEx with MOVEFILE_DELAY_UNTIL_REBOOT).
  virtual Status MoveFileAtRestart(std::string_view from, std::string_view to, bool replaceExisting) = 0;

  // Whole-file access for small files (settings, tests); nullopt when the
  // file cannot be read.
  virtual std::optional<std::string> ReadWholeFile(std::string_view path) = 0;
  virtual Status WriteWholeFile(std::string_view path, std::string_view bytes) = 0;
  // Sequential reading in blocks, as the log reader does; nullptr when the
  // file cannot be opened.
  virtual std::unique_ptr<FileReader> OpenForReading(std::string_view path) = 0;
  // The same, with writers and deleters refused while the reader is held,
  // so that what was read is what stays (readers and starters may still
  // open it). Where that cannot be asked for, an ordinary reader.
  virtual std::unique_ptr<FileReader> OpenForReadingUnchanged(std::string_view path) { return OpenForReading(path); }
  // Creates the file, or empties an existing one (CREATE_ALWAYS); nullptr
  // when that fails.
  virtual std::unique_ptr<FileWriter> CreateForWriting(std::string_view path) = 0;
  // Adds the bytes at the end of the file, creating it when missing, and
  // returns only once they are on the disk (FlushFileBuffers): what must
  // be remembered before a change it guards. A platform that cannot append
  // refuses, and nothing that waits on it is done.
  virtual Status AppendToFile(std::string_view path, std::string_view bytes) {
    (void)path;
    (void)bytes;
    return Status::Fail(SysError::Other);
  }
  // Opens an existing file for writing and cuts it to `size` bytes.
  virtual Status TruncateFile(std::string_view path, std::uint64_t size) = 0;
  // Renames a file (MoveFile); fails when the target exists.
  virtual Status RenameFile(std::string_view from, std::string_view to) = 0;
  // The identity of the file or directory the path names, links followed;
  // nullopt when it cannot be opened.
  virtual std::optional<FileIdentity> IdentityOf(std::string_view path) = 0;
  // The file index alone: where the volume's serial number is costly to
  // learn, a cheap first test of identity (only equal indexes can be one).
  virtual std::optional<std::uint64_t> FileIndexOf(std::string_view path) {
    const auto identity = IdentityOf(path);
    return identity ? std::optional<std::uint64_t>(identity->fileIndex) : std::nullopt;
  }

  // Without a trailing backslash (except for a bare drive root).
  virtual std::string WindowsDirectory() = 0;
  virtual std::string SystemDirectory() = 0;
  // Folders that many programs share: Program Files and its x86 twin, the
  // Common Files folders, the profile roots and the known folders of the
  // user and of all users. Those the system does not know are left out.
  virtual std::vector<std::string> SharedFolders() = 0;
  virtual std::string CurrentDirectory() = 0;
  virtual Status ChangeCurrentDirectory(std::string_view path) = 0;
  virtual std::string TempDirectory() = 0;
  virtual DriveType DriveTypeOf(std::string_view root) = 0;  // root like "A:\"

  // The ANSI code page's lead bytes, for splitting paths at backslashes.
  virtual LeadBytes CodePageLeadBytes() = 0;
};

}  // namespace scrubber
