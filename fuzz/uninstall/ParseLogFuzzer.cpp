// Arbitrary bytes as INSTALL.LOG, and after the first "\0\0" as the
// uninstaller's settings file, read over the in-memory platform. Every field
// of the model must stay within its width and every list within its bound.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "CanonicalPathNames.h"
#include "FakeFileSystem.h"
#include "FakeProfile.h"
#include "FakeRegistry.h"
#include "FakeSystem.h"
#include "ParseInstallLog.h"

namespace scrubber {
namespace {

constexpr char kLog[] = "C:\\APP\\INSTALL.LOG";
constexpr char kSettings[] = "C:\\SCRUB\\UNINST.INI";

class SilentUi final : public ParseUi {
 public:
  void ShowMessage(int, int, std::string_view, std::string_view) override {}
  void SetMainTitle(std::string_view) override {}
};

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckFile(const FileItem& f) {
  Require(f.path.size() < kPathWidth && f.backupPath.size() < kPathWidth);
}

void CheckModel(const UninstallModel& m) {
  const HeaderRecord& h = m.LogHeader;
  Require(h.title.size() < kTitleWidth);
  for (const std::string* s : {&h.mifName, &h.manufacturer, &h.product, &h.version, &h.serialNumber})
    Require(s->size() < kHeaderWidth);
  Require(m.uninstallDir.size() < kPathWidth);
  for (auto* list : {&m.PrivateFiles, &m.SystemFiles}) {
    Require(list->size() <= kMaxListItems);
    for (const FileItem& f : *list) CheckFile(f);
  }
  Require(m.Directories.size() <= kMaxListItems && m.IniFiles.size() <= kMaxListItems &&
          m.IniEntries.size() <= kMaxListItems && m.RegKeys.size() <= kMaxListItems &&
          m.RegTrees.size() <= kMaxListItems && m.RegEdits.size() <= kMaxListItems &&
          m.Icons.size() <= kMaxListItems && m.ExternalPrograms.size() <= kMaxListItems &&
          m.Services.size() <= kMaxListItems && m.EditedFiles.size() <= kMaxListItems);
  for (const DirItem& d : m.Directories) Require(d.path.size() < kPathWidth && !d.path.empty() && d.path.back() == '\\');
  for (const IniFileItem& f : m.IniFiles) Require(f.path.size() < kPathWidth);
  for (const IniEntryItem& e : m.IniEntries)
    Require(e.file.size() < kPathWidth && e.section.size() < kNameWidth && e.key.size() < kNameWidth &&
            e.oldValue.size() < kOldValueWidth);
  for (const RegKeyItem& k : m.RegKeys)
    Require(k.key.size() < kNameWidth && k.valueName.size() < kNameWidth && k.root >= 0 && k.root <= 4);
  for (const RegTreeItem& t : m.RegTrees) Require(t.key.size() < kNameWidth && t.root >= 0 && t.root <= 4);
  for (const RegEditItem& e : m.RegEdits)
    Require(e.key.size() < kNameWidth && e.oldData.size() <= kOldDataWidth && e.oldData.size() >= 2 &&
            e.oldData.back() == '\0' && e.type >= 0 && e.type <= 4 && e.root >= 0 && e.root <= 4);
  for (const IconItem& i : m.Icons)
    Require(i.group.size() < kNameWidth && i.name.size() < kNameWidth && i.command.size() < kNameWidth);
  for (const ProgramItem& p : m.ExternalPrograms) Require(p.command.size() < kPathWidth && p.name.size() < kNameWidth);
  for (const ServiceItem& s : m.Services) Require(s.name.size() < kPathWidth);
  for (const EditedFileItem& e : m.EditedFiles) Require(e.path.size() < kPathWidth && e.backupPath.size() < kPathWidth);
  Require(m.SubSystem.text.size() < kNameWidth);
}

}  // namespace
}  // namespace scrubber

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace scrubber;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find(std::string_view("\0\0", 2));
  const std::string_view log = input.substr(0, split);
  const std::string_view settings = split == std::string_view::npos ? std::string_view() : input.substr(split + 2);

  FakeFileSystem fs;
  fs.AddFile(kLog, log);
  fs.AddFile(kSettings, settings);
  // A few files the seed logs name, so that records get listed.
  for (const char* path : {"C:\\APP\\A.EXE", "C:\\APP\\DEMO.INI", "C:\\WINDOWS\\SYSTEM32\\S.DLL"}) fs.AddFile(path, "x");
  FakeProfile profile(fs);
  profile.WriteString("C:\\APP\\DEMO.INI", "Main", "Key", "now");
  FakeRegistry registry;
  FakeSystem system;
  CanonicalPathNames paths(fs);
  BuiltinStringTable table;
  MsgStrings strings(profile, kSettings, table, fs.CodePageLeadBytes());
  SilentUi ui;
  Globals globals;

  UninstallModel model;
  ParseEnvironment env{fs, profile, registry, system, paths, strings, ui, globals, {}};
  ParseInstallLog(env, kLog, model);
  CheckModel(model);

  // Every string through the settings file, into buffers of awkward sizes.
  char buffer[64];
  for (int id = 1; id <= 80; ++id) {
    const std::size_t capacity = 1 + static_cast<std::size_t>(id) % sizeof buffer;
    buffer[capacity - 1] = '\x55';
    strings.GetMsgString(id, buffer, capacity);
    Require(std::char_traits<char>::length(buffer) < capacity);
  }
  return 0;
}
