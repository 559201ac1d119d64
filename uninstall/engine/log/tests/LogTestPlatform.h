#pragma once
// A small stand-in for the platform, enough for the log reader: which files
// exist, the log bytes, INI values, SharedDLLs names, short names, and what
// the user was shown.
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "LineReader.h"
#include "ParseInstallLog.h"
#include "TextRules.h"

namespace scrubber::test {

inline std::string Upper(std::string_view s) {
  std::string u(s);
  for (char& c : u)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return u;
}

class LogFileSystem final : public FileSystem {
 public:
  std::set<std::string> existing;  // upper case
  std::map<std::string, std::string> files;
  std::map<char, DriveType> drives;
  std::string windowsDir = "C:\\WINDOWS";
  std::string systemDir = "C:\\WINDOWS\\SYSTEM32";
  std::string currentDir = "C:\\WORK";
  LeadBytes lead;

  void Exist(std::string_view path) { existing.insert(Upper(path)); }

  std::optional<std::uint32_t> GetAttributes(std::string_view path) override {
    if (existing.count(Upper(path)) || files.count(Upper(path))) return kAttrArchive;
    return std::nullopt;
  }
  Status SetAttributes(std::string_view, std::uint32_t) override { return Status::Ok(); }
  std::unique_ptr<DirScan> FindFirst(std::string_view) override { return nullptr; }
  Status EraseFile(std::string_view) override { return Status::Fail(SysError::Other); }
  Status MakeDir(std::string_view) override { return Status::Fail(SysError::Other); }
  Status RemoveDir(std::string_view) override { return Status::Fail(SysError::Other); }
  Status CopyOver(std::string_view, std::string_view) override { return Status::Fail(SysError::Other); }
  Status MoveFileAtRestart(std::string_view, std::string_view, bool) override { return Status::Fail(SysError::Other); }
  std::optional<std::string> ReadWholeFile(std::string_view path) override {
    auto it = files.find(Upper(path));
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
  Status WriteWholeFile(std::string_view path, std::string_view bytes) override {
    files[Upper(path)] = std::string(bytes);
    return Status::Ok();
  }
  std::unique_ptr<FileReader> OpenForReading(std::string_view path) override {
    auto it = files.find(Upper(path));
    if (it == files.end()) return nullptr;
    return std::make_unique<MemoryReader>(it->second);
  }
  std::string WindowsDirectory() override { return windowsDir; }
  std::string SystemDirectory() override { return systemDir; }
  std::string CurrentDirectory() override { return currentDir; }
  std::string TempDirectory() override { return "C:\\TEMP"; }
  DriveType DriveTypeOf(std::string_view root) override {
    auto it = drives.find(root.empty() ? '?' : Upper(root)[0]);
    return it == drives.end() ? DriveType::Fixed : it->second;
  }
  LeadBytes CodePageLeadBytes() override { return lead; }
};

class LogProfile final : public Profile {
 public:
  std::map<std::tuple<std::string, std::string, std::string>, std::string> entries;  // upper-case keys

  void Set(std::string_view file, std::string_view section, std::string_view key, std::string value) {
    entries[{Upper(file), Upper(section), Upper(key)}] = std::move(value);
  }
  std::string ReadString(std::string_view file, std::string_view section, std::string_view key,
                         std::string_view fallback, std::size_t capacity) override {
    auto it = entries.find({Upper(file), Upper(section), Upper(key)});
    std::string value(it == entries.end() ? fallback : std::string_view(it->second));
    return capacity == 0 ? std::string() : value.substr(0, capacity - 1);
  }
  Status WriteString(std::string_view, std::string_view, std::string_view, std::optional<std::string_view>) override {
    return Status::Ok();
  }
};

class LogRegistry final : public Registry {
 public:
  std::set<std::string> sharedDlls;  // upper case
  std::optional<RegValue> QueryValue(RegRoot root, std::string_view subKey, std::string_view name) override {
    if (root == RegRoot::LocalMachine &&
        EqualsNoCase(subKey, "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs") &&
        sharedDlls.count(Upper(name)))
      return RegValue{4, std::string("\x01\0\0\0", 4)};
    return std::nullopt;
  }
};

// OEM to ANSI for the few characters the tests use (code page 850 to 1252).
class LogSystem final : public System {
 public:
  int platformKind = 1;
  bool serviceManager = true;
  int serviceManagerOpens = 0;
  int PlatformKind() override { return platformKind; }
  unsigned MajorVersion() override { return 5; }
  std::string OemTextToAnsi(std::string_view oem) override {
    std::string out(oem);
    for (char& c : out) {
      if (c == '\x8E') c = '\xC4';       // A umlaut
      else if (c == '\x81') c = '\xFC';  // u umlaut
    }
    return out;
  }
  bool CanOpenServiceManager() override {
    ++serviceManagerOpens;
    return serviceManager;
  }
};

// Long and short spellings from a table of whole paths; others unchanged.
class LogPathNames final : public PathNames {
 public:
  std::vector<std::pair<std::string, std::string>> pairs;  // long, short
  std::string Long(std::string_view path) override { return Swap(path, true); }
  std::string Short(std::string_view path) override { return Swap(path, false); }

 private:
  std::string Swap(std::string_view path, bool toLong) {
    for (auto& [l, s] : pairs) {
      const std::string& from = toLong ? s : l;
      const std::string& to = toLong ? l : s;
      if (StartsWithNoCase(path, from)) return to + std::string(path.substr(from.size()));
    }
    return std::string(path);
  }
};

class LogUi final : public ParseUi {
 public:
  struct Message {
    int textId;
    int captionId;
    std::string text;
    std::string caption;
  };
  std::vector<Message> messages;
  std::vector<std::string> titles;
  void ShowMessage(int textId, int captionId, std::string_view text, std::string_view caption) override {
    messages.push_back({textId, captionId, std::string(text), std::string(caption)});
  }
  void SetMainTitle(std::string_view title) override { titles.emplace_back(title); }
};

}  // namespace scrubber::test
