#pragma once
// What an installation log says was changed, as the wizard shows it and the
// engine undoes it. Records keep the order of the log; merges update in place.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace scrubber {

// Widths of the text fields, terminator included: a value must be shorter.
inline constexpr std::size_t kPathWidth = 260;
inline constexpr std::size_t kNameWidth = 256;     // registry, INI, icon and program names
inline constexpr std::size_t kTitleWidth = 256;    // LogHeader::title
inline constexpr std::size_t kHeaderWidth = 128;   // the other LogHeader fields
inline constexpr std::size_t kOldValueWidth = 512; // IniEntryItem::oldValue
inline constexpr std::size_t kOldDataWidth = 2048; // RegEditItem::oldData, packed
inline constexpr std::size_t kMaxListItems = 4096;
// lastInstall of the log's own directory: older than any installation.
inline constexpr std::uint16_t kLogDirInstall = 32767;

// Roots and types as the log numbers them.
enum RootIndex : std::int32_t { kClassesRoot, kCurrentUser, kLocalMachine, kUsers, kCurrentConfig };
enum TypeIndex : std::int32_t { kRegSz, kRegExpandSz, kRegMultiSz, kRegDword, kRegBinary };

struct HeaderRecord {
  std::string title;
  std::string mifName;
  std::string manufacturer;
  std::string product;
  std::string version;
  std::string serialNumber;
};

// Where a record stands in the log: the byte offset of its line and a hash
// of the line's text. A record's count is released once across runs; what
// remembers that names the record this way, so that a line another log (or
// a later installation at the same place) holds is not taken for it.
struct RecordId {
  std::uint64_t offset = 0;
  std::uint32_t textHash = 0;
  friend bool operator==(const RecordId&, const RecordId&) = default;
};

struct FileItem {
  std::string path;
  std::string backupPath;  // empty = no backup
  std::int32_t selected = 0;
  std::int32_t autoRemove = 0;
  std::uint16_t selfRegInstall = 0;
  std::uint16_t deviceInstall = 0;
  std::uint16_t installNo = 0;
  bool sharedCounted = true;
  RecordId record;
};

struct DirItem {
  std::string path;  // always ends in a backslash
  std::int32_t selected = 0;
  std::uint16_t treeInstall = 0;
  std::uint16_t lastInstall = 0;
};

struct IniFileItem {
  std::string path;
  std::int32_t selected = 0;
  std::uint16_t installNo = 0;
};

struct IniEntryItem {
  std::string file;
  std::string section;
  std::string key;
  std::string oldValue;  // empty = the entry did not exist before
  std::int32_t selected = 0;
  std::uint16_t installNo = 0;
};

struct RegKeyItem {
  std::string key;
  std::string valueName;  // empty = the key's default value
  std::int32_t root = kClassesRoot;
  std::int32_t selected = 0;
  std::uint16_t installNo = 0;
};

struct RegTreeItem {
  std::string key;
  std::int32_t root = kClassesRoot;
  std::int32_t selected = 0;
  std::uint16_t installNo = 0;
};

struct RegEditItem {
  std::string key;
  std::string valueName;
  // The old value's lines, each followed by a NUL, then one more NUL.
  std::string oldData;
  std::int32_t root = kClassesRoot;
  std::int32_t type = kRegSz;
  std::int32_t selected = 0;
  std::uint16_t installNo = 0;
};

struct IconItem {
  std::string group;
  std::string name;
  std::string command;
  std::int32_t selected = 0;
  std::uint16_t installNo = 0;
};

struct ProgramItem {
  std::string command;
  std::string name;  // may be empty
  std::int32_t selected = 0;
  std::uint16_t installNo = 0;
};

struct ServiceItem {
  std::string name;
  std::int32_t selected = 0;
  std::uint16_t installNo = 0;
};

struct EditedFileItem {
  std::string path;
  std::string backupPath;
  std::uint16_t installNo = 0;
};

struct SubSystemItem {
  bool present = false;
  std::string text;  // from its B on
  std::int32_t selected = 0;
  RecordId record;
};

struct UninstallModel {
  HeaderRecord LogHeader;
  std::uint16_t installCount = 0;
  std::uint32_t lastInstallOffset = 0;
  std::int32_t ansiText = 0;
  std::int32_t hasBackups = 0;
  std::string uninstallDir;

  std::vector<FileItem> PrivateFiles;
  std::vector<FileItem> SystemFiles;
  std::vector<DirItem> Directories;
  std::vector<IniFileItem> IniFiles;
  std::vector<IniEntryItem> IniEntries;
  std::vector<RegKeyItem> RegKeys;
  std::vector<RegTreeItem> RegTrees;
  std::vector<RegEditItem> RegEdits;
  std::vector<IconItem> Icons;
  std::vector<ProgramItem> ExternalPrograms;
  std::vector<ServiceItem> Services;
  std::vector<EditedFileItem> EditedFiles;
  SubSystemItem SubSystem;
};

}  // namespace scrubber
