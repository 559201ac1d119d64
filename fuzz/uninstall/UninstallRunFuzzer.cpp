// Logs built from the input by a small grammar over a fixed machine, undone
// by the real engine over the in-memory platform: Automatic, Custom with
// items the input ticks, or a rollback, maybe ended at a change and run
// again. An oracle of its own says what the log names. It aborts on a change
// to another product's file, key, value, INI line, service or Program
// Manager item that no record names, on any change to the places no
// uninstall may touch (even when a record names them), and on a count that
// rises or goes down more often than records name it.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "CanonicalPathNames.h"
#include "FakePlatform.h"
#include "ParseInstallLog.h"
#include "run/RunUninstall.h"

namespace scrubber {
namespace {

using State = std::map<std::string, std::string>;

constexpr char kLog[] = "C:\\APP\\INSTALL.LOG";
constexpr char kShared[] = "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\SHAREDDLLS";
constexpr char kEngine[] = "SOFTWARE\\BORLAND\\DATABASE ENGINE";

// What a record may name: the product's own things, other products' things,
// the places no uninstall may touch, and hostile spellings of all of them.
// clang-format off
constexpr const char* kFiles[] = {
    "C:\\APP\\A.DLL", "C:\\APP\\SUB\\B.TXT", "C:\\APP\\\x82\x5C.DLL", "C:\\APP\\BAK\\A.DLL",
    "C:\\Program Files\\Other\\O.DLL", "C:\\PROGRA~1\\Other\\O.DLL", "C:\\Program Files\\Other\\*.DLL",
    "C:\\Program Files\\Other\x82\\O.DLL", "C:\\WINDOWS\\SYSTEM32\\SHARED.DLL", "C:\\WINDOWS\\SYSTEM32\\KERNEL32.DLL",
    "C:\\WINDOWS\\*.*", "C:\\WINDOWS\\SYSTEM32\\*.DLL", "\\\\?\\C:\\Program Files\\Other\\O.DLL",
    "\\\\.\\C:\\APP\\A.DLL", "\\\\HOST\\C$\\Program Files\\Other\\O.DLL", "C:\\APP\\..\\WINDOWS\\WIN.INI",
    "C:\\APP\\A.DLL ", "C:\\Program Files\\Other\\O.DLL.", "C:/Program Files/Other/O.DLL", "C:\\APP\\LINK\\O.DLL",
    "C:\\Users\\Me\\Documents\\Letter.doc", "C:\\", "C:\\WINDOWS", "C:\\Program Files"};
constexpr const char* kDirs[] = {
    "C:\\APP", "C:\\APP\\SUB", "C:\\APP\\LINK", "C:\\Program Files\\Other", "C:\\Program Files", "C:\\PROGRA~1",
    "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM32", "C:\\", "C:\\Users\\Me", "C:\\Users\\Me\\Documents", "\\\\?\\C:\\APP",
    "C:\\APP\\..", "C:\\APP\\SUB\\..\\..\\WINDOWS", "\\\\HOST\\C$\\APP", "C:/Users/Me/",
    "C:\\Program Files\\Common Files", "C:\\APP\\SUB\\"};
constexpr const char* kKeys[] = {
    "Software\\Demo", "Software\\Demo\\Sub", "Software\\Other", "Software\\Other\\Sub", "Software",
    "Software\\Microsoft", "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", "Software\\Classes", "CLSID",
    "CLSID\\{OTHER}", "", "\\Software\\Other", "Software\\Demo\\..\\Other", "Software/Other",
    "System\\CurrentControlSet\\Services", "Software\\Other\\"};
// clang-format on
constexpr const char* kValueNames[] = {"", "V", "OtherV", "C:\\WINDOWS\\SYSTEM32\\SHARED.DLL"};
constexpr const char* kIniFiles[] = {"C:\\WINDOWS\\WIN.INI", "WIN.INI", "C:\\APP\\APP.INI",
                                     "C:\\Program Files\\Other\\O.INI", "C:\\WINDOWS\\SYSTEM.INI"};
constexpr const char* kSections[] = {"Demo", "Other", "386Enh"};
constexpr const char* kIniKeys[] = {"K", "OtherK", "device"};
constexpr const char* kServices[] = {"DemoSvc", "OtherSvc", "OTHERSVC ", "othersvc"};
constexpr const char* kGroups[] = {"Demo", "Other", "StartUp"};
constexpr const char* kIconNames[] = {"App", "OtherApp"};
constexpr const char* kCommands[] = {"C:\\APP\\APP.EXE", "C:\\OTHER\\O.EXE", ""};
constexpr const char* kPrograms[] = {"C:\\APP\\UNINST.EXE /x", "C:\\Program Files\\Other\\O.EXE"};

// The input, read as small choices; zeros once it is used up.
class Choices {
 public:
  Choices(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  unsigned Pick(unsigned n) { return pos_ < size_ ? data_[pos_++] % n : 0; }
  template <typename T, std::size_t N>
  const char* From(T (&list)[N]) {
    return list[Pick(N)];
  }
  bool Left() const { return pos_ < size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_, pos_ = 0;
};

std::string Upper(std::string_view text) {
  std::string out(text);
  bool trail = false;  // the second byte of a double-byte character keeps its case
  for (char& c : out) {
    const auto u = static_cast<unsigned char>(c);
    if (!trail && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    trail = !trail && u >= 0x81 && u <= 0x9F;
  }
  return out;
}

// --- The oracle's own reading of names: Win32's documented rules over what
// it knows of this machine, never the engine's code. ---

// A file path as the one object it reaches, in upper case; empty when it
// reaches none. `throughLinks`: a link on the way leads to its target.
std::string Resolve(std::string_view text, bool throughLinks = true) {
  std::string p(text);
  bool literal = false;
  if (p.starts_with("\\\\?\\"))
    p.erase(0, 4), literal = true;
  else if (p.starts_with("\\\\.\\"))
    p.erase(0, 4);
  else if (Upper(p).starts_with("\\\\HOST\\C$"))
    p = "C:" + p.substr(9);
  if (!literal) std::replace(p.begin(), p.end(), '/', '\\');
  if (p.size() < 2 || p[1] != ':' || (p.size() > 2 && p[2] != '\\')) return {};
  std::vector<std::string> parts;
  for (std::size_t at = 3; at <= p.size();) {
    std::size_t end = at;
    while (end < p.size() && p[end] != '\\') end += (static_cast<unsigned char>(p[end]) - 0x81u < 0x1Fu) ? 2 : 1;
    std::string part = Upper(p.substr(at, end - at));
    at = end + 1;
    if (!literal && part != "..")
      while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    static const std::map<std::string, std::string> kAliases = {
        {"PROGRA~1", "PROGRAM FILES"}, {"COMMON~1", "COMMON FILES"}, {"DOCUME~1", "DOCUMENTS"}};
    if (auto alias = kAliases.find(part); alias != kAliases.end()) part = alias->second;
    parts.push_back(part);
  }
  std::string out = Upper(p.substr(0, 2));
  for (const std::string& part : parts) out += "\\" + part;
  if (throughLinks && (out == "C:\\APP\\LINK" || out.starts_with("C:\\APP\\LINK\\")))
    out = "C:\\PROGRAM FILES\\OTHER" + out.substr(11);
  return out;
}

// Where the last component starts: a backslash that ends a double-byte
// character is no separator.
std::size_t NameAt(std::string_view path) {
  std::size_t name = 0;
  for (std::size_t i = 0; i < path.size(); i += (static_cast<unsigned char>(path[i]) - 0x81u < 0x1Fu) ? 2 : 1)
    if (path[i] == '\\') name = i + 1;
  return name;
}

bool Below(std::string_view path, std::string_view dir) {
  return path.size() > dir.size() + 1 && path.starts_with(dir) && path[dir.size()] == '\\';
}

bool Untouchable(std::string_view path) {
  for (const char* place :
       {"C:", "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM32", "C:\\PROGRAM FILES", "C:\\PROGRAM FILES\\COMMON FILES",
        "C:\\USERS", "C:\\USERS\\ME", "C:\\USERS\\ME\\DOCUMENTS"})
    if (path == place) return true;
  return false;
}

bool UntouchableKey(int root, std::string_view key) {
  if (key.empty()) return true;
  static const std::set<std::string_view> kKeysOfAll = {"SOFTWARE",
                                                        "SOFTWARE\\MICROSOFT",
                                                        "SOFTWARE\\MICROSOFT\\WINDOWS",
                                                        "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION",
                                                        kShared,
                                                        "SOFTWARE\\CLASSES",
                                                        "SYSTEM",
                                                        "SYSTEM\\CURRENTCONTROLSET",
                                                        "SYSTEM\\CURRENTCONTROLSET\\SERVICES"};
  return kKeysOfAll.count(key) || (root == kClassesRoot && key == "CLSID");
}

bool Glob(std::string_view pattern, std::string_view name) {
  if (pattern.empty()) return name.empty();
  if (pattern[0] == '*') return Glob(pattern.substr(1), name) || (!name.empty() && Glob(pattern, name.substr(1)));
  if (pattern == ".*") return name.find('.') == std::string_view::npos || Glob("*", name);  // "*.*" matches all
  return !name.empty() && (pattern[0] == '?' || pattern[0] == name[0]) && Glob(pattern.substr(1), name.substr(1));
}

// A key as the registry reads it: trailing backslashes are passed over.
std::string KeyName(int root, std::string_view key) {
  while (key.ends_with('\\')) key.remove_suffix(1);
  return std::to_string(root) + "\\" + Upper(key);
}

// What the log's records name.
struct Named {
  std::set<std::string> files, trees, keys, keyTrees, values, services, groups, items, commands, devices, ini;
  std::vector<std::string> patterns;       // upper case, directory and pattern
  std::map<std::string, unsigned> counts;  // records per SharedDLLs name
  unsigned engineRecords = 0;

  void File(std::string_view text) {
    const std::string path = Resolve(text);
    if (path.find_first_of("*?") != std::string::npos)
      patterns.push_back(path);
    else if (!path.empty())
      files.insert(path);
    ++counts[Upper(text)];
  }
  void Tree(std::string_view text) {
    // A link is named itself; what it leads to is not below it.
    files.insert(Resolve(text, false));
    trees.insert(Resolve(text, false));
  }
  void Key(int root, std::string key, std::string_view value) {
    values.insert(KeyName(root, key) + " [" + Upper(value) + "]");
    for (; !key.empty(); key.resize(key.find_last_of('\\') == std::string::npos ? 0 : key.find_last_of('\\')))
      keys.insert(KeyName(root, key));  // and the keys it leaves empty
  }

  bool FileNamed(const std::string& path) const {
    if (files.count(path)) return true;
    const std::size_t slash = NameAt(path) - 1;
    for (const std::string& pattern : patterns) {
      const std::size_t cut = NameAt(pattern) - 1;
      const std::string_view name = std::string_view(pattern).substr(cut + 1);
      // A pattern for every file of a place no uninstall may touch names none.
      const bool sweeping = name.find_first_not_of("*?.") == std::string_view::npos;
      if (pattern.compare(0, cut, path, 0, slash) == 0 && cut == slash && Glob(name, path.substr(slash + 1)) &&
          !(sweeping && Untouchable(path.substr(0, slash))))
        return true;
    }
    return std::any_of(trees.begin(), trees.end(),
                       [&](const std::string& tree) { return !Untouchable(tree) && Below(path, tree); });
  }
  bool InKeyTree(const std::string& key) const {
    return std::any_of(keyTrees.begin(), keyTrees.end(),
                       [&](const std::string& tree) { return key == tree || Below(key, tree); });
  }
  // A file made where none was: a copy the engine puts beside a file named.
  bool BesideANamedFile(const std::string& path) const {
    const std::string dir = path.substr(0, NameAt(path));
    return std::any_of(files.begin(), files.end(), [&](const std::string& f) { return f.substr(0, NameAt(f)) == dir; });
  }
};

// --- The machine: the product's things and other products' things. ---

void Seed(FakePlatform& m) {
  LeadBytes lead;
  lead.Set(0x81, 0x9F);
  m.fs.SetLeadBytes(lead);
  m.fs.SetSharedFolders({"C:\\Program Files", "C:\\Program Files\\Common Files", "C:\\Users", "C:\\Users\\Me",
                         "C:\\Users\\Me\\Documents"});
  for (const char* file :
       {"C:\\APP\\A.DLL", "C:\\APP\\SUB\\B.TXT", "C:\\APP\\\x82\x5C.DLL", "C:\\APP\\BAK\\A.DLL", "C:\\APP\\UNINST.EXE",
        "C:\\Program Files\\Other\\O.DLL", "C:\\Program Files\\Other\\O.EXE", "C:\\Program Files\\Common Files\\C.DLL",
        "C:\\WINDOWS\\SYSTEM32\\SHARED.DLL", "C:\\WINDOWS\\SYSTEM32\\KERNEL32.DLL", "C:\\WINDOWS\\NOTEPAD.EXE",
        "C:\\Users\\Me\\Documents\\Letter.doc"})
    m.fs.AddFile(file, file);
  m.fs.AddFile("C:\\APP\\APP.INI", "[Demo]\r\nK=1\r\n");
  m.fs.AddFile("C:\\Program Files\\Other\\O.INI", "[Other]\r\nOtherK=1\r\n");
  m.fs.AddFile("C:\\WINDOWS\\WIN.INI", "[Demo]\r\nK=new\r\n[Other]\r\nOtherK=x\r\n");
  m.fs.AddFile("C:\\WINDOWS\\SYSTEM.INI", "[386Enh]\r\ndevice=C:\\APP\\A.DLL\r\ndevice=O.386\r\n");
  m.fs.AddLink("C:\\APP\\LINK", "C:\\Program Files\\Other");
  m.fs.AddShare("\\\\HOST\\C$", "C:\\");
  for (RegRoot root : {RegRoot::CurrentUser, RegRoot::LocalMachine}) {
    m.registry.SetString(root, "Software\\Demo", "V", "1");
    m.registry.SetString(root, "Software\\Demo\\Sub", "V", "1");
    m.registry.SetString(root, "Software\\Other", "OtherV", "1");
    m.registry.SetString(root, "Software\\Other\\Sub", "OtherV", "1");
    m.registry.SetString(root, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Other", "O.EXE");
  }
  m.registry.SetString(RegRoot::LocalMachine, "System\\CurrentControlSet\\Services\\OtherSvc", "Start", "2");
  m.registry.SetString(RegRoot::LocalMachine, "Software\\Borland\\Database Engine", "UseCount", "3");
  for (auto [path, count] : {std::pair{"C:\\WINDOWS\\SYSTEM32\\SHARED.DLL", 3u},
                             {"C:\\APP\\A.DLL", 2u},
                             {"C:\\Program Files\\Other\\O.DLL", 1u},
                             {"C:\\Program Files\\Common Files\\C.DLL", 2u}})
    m.registry.SetDword(RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", path, count);
  for (const char* id : {"CLSID\\{DEMO}", "CLSID\\{OTHER}"}) m.registry.SetString(RegRoot::ClassesRoot, id, "", "x");
  m.libraries.AddOle32();
  for (auto [dll, id] :
       {std::pair{"C:\\APP\\A.DLL", "CLSID\\{DEMO}"}, {"C:\\Program Files\\Other\\O.DLL", "CLSID\\{OTHER}"}}) {
    m.libraries.AddExport(dll, "DllUnregisterServer", [&m, id = id] {
      m.registry.RemoveTree(RegRoot::ClassesRoot, id);
      return 0;
    });
    m.libraries.AddExport(dll, "DllRegisterServer", 0);
  }
  m.services.AddService("DemoSvc", true);
  m.services.AddService("OtherSvc", true);
  m.dde.AddItem("Demo", "App", "C:\\APP\\APP.EXE");
  m.dde.AddItem("Other", "OtherApp", "C:\\OTHER\\O.EXE");
  m.dde.AddItem("StartUp", "OtherStart", "C:\\OTHER\\O.EXE /start");
}

// Records from the input, with what each names.
std::string BuildLog(Choices& in, Named& named, bool custom) {
  std::string log = "***  Installation started\r\nTitle: Demo App\r\n";
  auto line = [&](std::string_view keyword, std::string_view value) {
    log.append(keyword).append(value).append("\r\n");
  };
  for (int records = 0; records < 24 && in.Left(); ++records) {
    switch (in.Pick(16)) {
      case 0:
      case 1: {
        const char* file = in.From(kFiles);
        line(in.Pick(2) ? "File Copy: " : "Shell Link: ", file);
        named.File(file);
        break;
      }
      case 2: {
        const char* file = in.From(kFiles);
        const char* backup = in.From(kFiles);
        line("File Overwrite: ", file);
        line("Backup Copy: ", backup);
        named.File(file);
        named.files.insert(Resolve(backup));
        break;
      }
      case 3:
        line(in.Pick(2) ? "Non-System File:" : "Shared DLL counter ignored:", "");
        break;
      case 4: {
        const char* dir = in.From(kDirs);
        line("Made Dir: ", dir);
        named.files.insert(Resolve(dir, false));
        if (custom) named.Tree(dir);  // Custom removes a chosen directory with its files
        break;
      }
      case 5: {
        const char* dir = in.From(kDirs);
        line("File Tree: ", dir);
        named.Tree(dir);
        break;
      }
      case 6: {
        const char* file = in.From(kIniFiles);
        line("INI New: ", "x");
        line("INI File: ", file);
        named.files.insert(file[1] == ':' ? Resolve(file) : Resolve(std::string("C:\\WINDOWS\\") + file));
        break;
      }
      case 7: {
        const char* file = in.From(kIniFiles);
        const char *section = in.From(kSections), *key = in.From(kIniKeys);
        line("INI File: ", file);
        line("INI Sect: ", section);
        line("INI Item: ", key);
        line("INI Val: ", "new");
        if (in.Pick(2)) line("INI Old: ", "old");
        const std::string path = file[1] == ':' ? Resolve(file) : Resolve(std::string("C:\\WINDOWS\\") + file);
        named.ini.insert(path + "|" + Upper(section) + "|" + Upper(key));
        break;
      }
      case 8: {
        const char *key = in.From(kKeys), *value = in.From(kValueNames);
        const int root = static_cast<int>(in.Pick(8)) - 1;
        line("RegDB Key: ", key);
        line("RegDB Val: ", "x");
        line("RegDB Name: ", value);
        line("RegDB Type: ", std::to_string(static_cast<int>(in.Pick(7)) - 1));
        line("RegDB Root: ", std::to_string(root));
        if (in.Pick(2)) line("RegDB Old: ", "old");
        named.Key(root, key, value);
        break;
      }
      case 9: {
        const char* key = in.From(kKeys);
        const int root = static_cast<int>(in.Pick(8)) - 1;
        line("RegDB Tree: ", key);
        line("RegDB Root: ", std::to_string(root));
        named.keyTrees.insert(KeyName(root, key));
        break;
      }
      case 10: {
        const char* service = in.From(kServices);
        line("Create Service: ", service);
        named.services.insert(Upper(service));
        break;
      }
      case 11: {
        const char *group = in.From(kGroups), *name = in.From(kIconNames), *command = in.From(kCommands);
        line("Icon Group: ", group);
        line("Icon Name: ", name);
        line("Icon Cmd: ", command);
        named.groups.insert(Upper(group));
        named.items.insert(Upper(group) + " / " + Upper(name));
        if (*command) named.commands.insert(Upper(command));
        break;
      }
      case 12:
        line(in.Pick(2) ? "Execute Path: " : "Execute Program: ", in.From(kPrograms));
        break;
      case 13:
        line("SubSystem: ", "BDE");
        ++named.engineRecords;
        break;
      case 14: {
        const char* file = in.From(kFiles);
        const std::string path = Resolve(file);
        if (in.Pick(2)) {
          line("Self-Register: ", file);
          if (path == "C:\\PROGRAM FILES\\OTHER\\O.DLL") named.keyTrees.insert(KeyName(0, "CLSID\\{OTHER}"));
        } else {
          line("Add Device: ", file);
          named.devices.insert(path.substr(NameAt(path)));
        }
        break;
      }
      default:
        log += "***  Installation started\r\nTitle: Demo App\r\n";
        break;
    }
  }
  return log;
}

// --- The judgement. ---

const std::string* currentLog = nullptr;  // shown with a finding

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "oracle: %s\n--- the log:\n%s---\n", what.c_str(), currentLog ? currentLog->c_str() : "");
  std::abort();
}

std::uint64_t CountOf(const State& s, const std::string& name, bool text) {
  const auto it = s.find(name);
  if (it == s.end()) return 0;
  if (text) return std::strtoull(it->second.c_str() + 2, nullptr, 10);
  std::uint64_t n = 0;
  for (std::size_t i = it->second.size(); i-- > 2;) n = (n << 8) | static_cast<unsigned char>(it->second[i]);
  return n;
}

// An INI file's lines that changed, each one named: an entry the log names,
// or a device line of a file it names, commented out.
void JudgeIni(const std::string& path, const std::string& before, const std::string& after, const Named& named) {
  auto lines = [](const std::string& text) {
    std::multiset<std::string> out;
    std::string section;
    for (std::size_t at = 0; at < text.size();) {
      std::size_t end = text.find('\n', at);
      if (end == std::string::npos) end = text.size();
      std::string l = text.substr(at, end - at);
      at = end + 1;
      if (!l.empty() && l.back() == '\r') l.pop_back();
      if (l.starts_with('[')) section = Upper(l.substr(1, l.find(']') - 1));
      out.insert(section + "|" + l);
    }
    return out;
  };
  const auto was = lines(before), is = lines(after);
  auto named_ = [&](const std::string& entry, bool added) {
    const std::size_t bar = entry.find('|');
    const std::string section = entry.substr(0, bar), text = entry.substr(bar + 1);
    std::string l = text;
    if (added && l.starts_with(';') && was.count(section + "|" + l.substr(1))) return true;
    const std::string key = Upper(l.substr(0, l.find('=')));
    if (named.ini.count(path + "|" + section + "|" + key) ||
        (l.starts_with('[') && std::any_of(named.ini.begin(), named.ini.end(), [&](const std::string& n) {
           return n.starts_with(path + "|" + section + "|");
         })))
      return true;
    const std::string value = Upper(l.substr(l.find('=') + 1));
    return key == "DEVICE" && named.devices.count(value.substr(NameAt(value)));
  };
  for (const std::string& entry : was)
    if (!is.count(entry) && !named_(entry, false)) Fail("INI line taken: " + path + " " + entry);
  for (const std::string& entry : is)
    if (!was.count(entry) && !named_(entry, true)) Fail("INI line added: " + path + " " + entry);
}

void Judge(const State& before, const State& after, const Named& named) {
  std::set<std::string> changed;
  for (const auto& [name, value] : before)
    if (!after.count(name) || after.at(name) != value) changed.insert(name);
  for (const auto& [name, value] : after)
    if (!before.count(name)) changed.insert(name);
  std::set<std::string> existed;  // the files and directories there were
  for (const auto& [name, value] : before)
    if (name.starts_with("file ")) existed.insert(Upper(name.substr(5)));
  for (const std::string& entry : changed) {
    const std::size_t space = entry.find(' ');
    const std::string kind = entry.substr(0, space);
    std::string object = entry.substr(space + 1);
    if (kind == "file" || kind == "restart") {
      if (object.starts_with("\\\\")) continue;  // the share shows the drive again
      std::vector<std::string> paths;
      if (kind == "file") {
        paths.push_back(Upper(object));
      } else {  // "restart FROM" = "TO": both ends are changed at the restart
        paths.push_back(Resolve(object));
        if (const std::string& to = (after.count(entry) ? after : before).at(entry); !to.empty())
          paths.push_back(Resolve(to));
      }
      for (const std::string& path : paths) {
        if (Untouchable(path)) Fail("an untouchable place changed: " + entry);
        if (path == "C:\\APP" || path.starts_with("C:\\APP\\")) continue;
        if (!existed.count(path) && named.BesideANamedFile(path)) continue;
        const bool ini = path.ends_with(".INI") && before.count(entry) && after.count(entry);
        if (ini && !named.FileNamed(path)) {
          auto text = [&](const State& s) {
            return s.at(entry).substr(s.at(entry).find(' ') + 1);
          };  // past the attributes
          JudgeIni(path, text(before), text(after), named);
          continue;
        }
        if (!named.FileNamed(path)) Fail("another product's file changed: " + entry);
      }
    } else if (kind == "key" || kind == "value") {
      const int root = object[0] - '0';
      const std::string key = Upper(object.substr(2, object.find(" [") - 2));
      if (kind == "key" && UntouchableKey(root, key)) Fail("an untouchable key changed: " + entry);
      if (key == "SOFTWARE\\DEMO" || key.starts_with("SOFTWARE\\DEMO\\") || key == "CLSID\\{DEMO}") continue;
      if (kind == "value" && (key == kShared || key == kEngine)) continue;  // counts, below
      const std::string name = KeyName(root, key);
      const bool isNamed = kind == "key" ? named.keys.count(name) || named.InKeyTree(name)
                                         : named.values.count(Upper(object)) || named.InKeyTree(name);
      if (!isNamed) Fail("another product's registry entry changed: " + entry);
    } else if (kind == "service") {
      const std::string service = object.substr(0, object.find(' '));
      if (service != "DEMOSVC" && !named.services.count(service)) Fail("another product's service changed: " + entry);
    } else if (kind == "group" && Upper(object) != "DEMO" && !named.groups.count(Upper(object))) {
      Fail("another product's group changed: " + entry);
    } else if (kind == "item" && !Upper(object).starts_with("DEMO / ")) {
      static const std::map<std::string, std::string> kCommandOf = {
          {"OTHER / OTHERAPP", "C:\\OTHER\\O.EXE"}, {"STARTUP / OTHERSTART", "C:\\OTHER\\O.EXE /START"}};
      const auto command = kCommandOf.find(Upper(object));
      if (!named.items.count(Upper(object)) && !(command != kCommandOf.end() && named.commands.count(command->second)))
        Fail("another product's item changed: " + entry);
    }
  }
  // Counts never rise, and fall once per record at most.
  for (const auto& [entry, value] : before) {
    const bool shared = entry.starts_with("value 2\\" + std::string(kShared) + " ["),
               engine = entry.starts_with("value 2\\" + std::string(kEngine));
    if (!shared && !engine) continue;
    const auto was = CountOf(before, entry, engine), is = CountOf(after, entry, engine);
    const std::string name = Upper(entry.substr(entry.find(" [") + 2, entry.size() - entry.find(" [") - 3));
    const unsigned records =
        engine ? std::min(named.engineRecords, 1u) : (named.counts.count(name) ? named.counts.at(name) : 0);
    if (is > was || was - is > records)
      Fail("a count went from " + std::to_string(was) + " to " + std::to_string(is) + ": " + entry);
  }
}

class ScriptedUi final : public EngineUi {
 public:
  explicit ScriptedUi(Choices& in) : in_(in) {}
  void BeginProgress(std::string_view) override {}
  void ShowProgress(std::optional<std::string_view>) override {}
  void PumpMessages(std::uint32_t) override {}
  int AskRemoveShared(std::string_view) override { return in_.Pick(2) ? kSharedYes : kSharedNo; }
  int ShowServerRunning(std::string_view, std::string_view) override { return kServerIgnore; }
  void FocusWizard() override {}

 private:
  Choices& in_;
};

class Quiet final : public ParseUi {
 public:
  void ShowMessage(int, int, std::string_view, std::string_view) override {}
  void SetMainTitle(std::string_view) override {}
};

void Uninstall(FakePlatform& m, Choices& in, int method, unsigned endAt) {
  Globals globals;
  globals.method = method == 1 ? kCustom : kAutomatic;
  globals.rollback = method == 2 ? 1 : 0;
  ScriptedUi ui(in);
  Quiet quiet;
  CanonicalPathNames paths{m.fs};
  BuiltinStringTable table;
  MsgStrings strings{m.profile, "C:\\SCRUB\\UNINST.INI", table};
  UninstallModel model;
  ParseEnvironment env{m.fs, m.profile, m.registry, m.system, paths, strings, quiet, globals, "fuzz"};
  if (FinishStoppedRun(m.platform, globals, kLog) || ParseInstallLog(env, kLog, model) != 0) return;
  if (method == 1) {
    auto tick = [&](auto& list) {
      for (auto& item : list) item.selected = static_cast<std::int32_t>(in.Pick(2));
    };
    tick(model.PrivateFiles), tick(model.SystemFiles), tick(model.Directories), tick(model.IniFiles);
    tick(model.IniEntries), tick(model.RegKeys), tick(model.RegTrees), tick(model.RegEdits), tick(model.Icons);
    tick(model.ExternalPrograms), tick(model.Services);
    model.SubSystem.selected = static_cast<std::int32_t>(in.Pick(2));
  }
  m.changes.Reset();
  m.changes.EndAt(endAt);
  try {
    RunUninstall(EngineEnvironment{m.platform, globals, strings, ui}, model, kLog);
  } catch (const ProcessEnded&) {
  }
  m.changes.Off();
}

}  // namespace
}  // namespace scrubber

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace scrubber;
  Choices in(data, size);
  const int method = static_cast<int>(in.Pick(3));  // Automatic, Custom, rollback
  const unsigned endAt = in.Pick(2) ? 1 + in.Pick(48) : 0;
  Named named;
  const std::string log = BuildLog(in, named, method == 1);
  currentLog = &log;
  FakePlatform machine;
  Seed(machine);
  machine.fs.AddFile(kLog, log);
  machine.CountChanges();
  const State before = machine.Snapshot();
  Uninstall(machine, in, method, endAt);
  if (endAt != 0) Uninstall(machine, in, method, 0);  // and run again to the end
  Judge(before, machine.Snapshot(), named);
  return 0;
}
