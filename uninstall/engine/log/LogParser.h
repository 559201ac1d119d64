#pragma once
// The record loop behind ParseInstallLog. One current line: a record handler
// consumes its own lines and leaves the cursor on the first line that is not
// its own, which the loop then examines as a new record.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "DirectoryIndex.h"
#include "LineReader.h"
#include "ParseInstallLog.h"

namespace scrubber {

class LogParser {
 public:
  LogParser(const ParseEnvironment& env, UninstallModel& model);
  int Run(std::string_view logPath);

 private:
  enum class FileKind { Copy, Link, Overwrite };

  // Set-up before the log is opened.
  void SetUninstallDir(std::string_view logPath);
  void SeedLogDirectory(std::string_view logPath);
  bool ReadTitle();
  void CleanTitle(std::string& title) const;

  // The cursor.
  void Advance() { current_ = reader_->Next(); }
  bool AtEnd() const { return !current_.has_value(); }
  std::string_view Text() const;  // up to the first NUL
  RecordId CurrentRecord() const;  // of the line under the cursor
  bool Is(std::string_view keyword) const;
  bool IsWhole(std::string_view line) const;
  std::string_view Value(std::string_view keyword) const { return Text().substr(keyword.size()); }

  // The record loop and its steps.
  int ReadRecords();
  void HeaderLine();
  bool AdminCheckFails();
  void Record();

  // Records, by kind (each in the file named for it).
  void FileRecord(FileKind kind, std::string_view value);
  void EditedFileRecord(std::string_view value);
  void AddDevice(std::string_view value);
  void SelfRegister(std::string_view value);
  const std::string& LongPathOf(std::vector<FileItem>& list, std::vector<std::string>& cache, std::size_t i);
  void RegKeyRecord(std::string_view value);
  void RegTreeRecord(std::string_view value);
  void IniNewRecord();
  void IniEntryRecord(std::string_view value);
  void MadeDirRecord(std::string_view value);
  void FileTreeRecord(std::string_view value);
  void AppendDirectory(DirItem item);
  void ServiceRecord(std::string_view value);
  void ProgramRecord(std::string_view value);
  void IconRecord(std::string_view value);
  void SubSystemRecord(std::string_view value);

  // Shared rules.
  bool OnFloppy(std::string_view path) const;
  bool Exists(std::string_view path) const;
  std::string Convert(std::string_view text) const;
  void Fail(int textId, int captionId);

  const ParseEnvironment& env_;
  UninstallModel& model_;
  LeadBytes leadBytes_;
  std::string windowsDir_;
  std::string systemDir_;
  bool floppyA_ = false;
  bool floppyB_ = false;

  std::unique_ptr<FileReader> file_;
  std::optional<LineReader> reader_;
  std::optional<LogLine> current_;

  std::uint16_t installNo_ = 0;
  bool nonSystem_ = false;
  bool counterIgnored_ = false;
  bool adminChecked_ = false;
  // Merge look-ups: the lists are searched by key, not record by record.
  DirectoryIndex dirIndex_;
  std::unordered_map<std::string, std::size_t> treeIndex_;     // root and key
  std::unordered_map<std::string, std::size_t> iconIndex_;     // group and name
  std::unordered_map<std::string, std::size_t> programIndex_;  // command
  // Long forms of the file records' paths, filled as "Self-Register: " needs them.
  std::vector<std::string> privateLong_;
  std::vector<std::string> systemLong_;
};

// Whether a directory value names an absolute place: "\\server\..." or "X:\...".
bool IsRootedDirectory(std::string_view dir);

}  // namespace scrubber
