// ScrubLog --plan on real files, registry values and SYSTEM.INI: the plan
// lists the changes in the engine's order, making it changes nothing, and a
// real run of the engine afterwards changes exactly what the plan listed.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

// The interfaces come before <windows.h>, whose A/W macros would otherwise
// rename some of their methods in this file.
#include "CanonicalPathNames.h"
#include "MsgStrings.h"
#include "ParseInstallLog.h"
#include "Win32Platform.h"
#include "run/RunUninstall.h"

#include <windows.h>

#include "ScrubLogRun.h"

namespace {

using namespace scrubber::testing;

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

std::uint64_t Hash(const std::string& bytes) {
  std::uint64_t h = 1469598103934665603ull;
  for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
  return h;
}

// Every file and directory below `dir`: attributes, size and content hash.
void ListTree(const std::string& dir, std::map<std::string, std::string>& out) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    const std::string path = dir + "\\" + name;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      out["file " + Upper(path)] = "dir " + std::to_string(data.dwFileAttributes);
      ListTree(path, out);
    } else {
      const std::string bytes = ReadFile(path);
      out["file " + Upper(path)] = std::to_string(data.dwFileAttributes) + " " + std::to_string(bytes.size()) + " " +
                                   std::to_string(Hash(bytes));
    }
  } while (FindNextFileA(find, &data));
  FindClose(find);
}

// Every key and value below `key` of HKEY_CURRENT_USER.
void ListKey(const std::string& key, std::map<std::string, std::string>& out) {
  HKEY open;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &open) != ERROR_SUCCESS) return;
  out["key " + Upper(key)] = "";
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD nameSize = sizeof name, type = 0, size = 4096;
    BYTE data[4096];
    if (RegEnumValueA(open, i, name, &nameSize, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
    out["value " + Upper(key) + " [" + Upper(name) + "]"] =
        std::to_string(type) + " " + std::string(reinterpret_cast<char*>(data), size);
  }
  std::vector<std::string> subkeys;
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD nameSize = sizeof name;
    if (RegEnumKeyExA(open, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    subkeys.emplace_back(name, nameSize);
  }
  RegCloseKey(open);
  for (const std::string& sub : subkeys) ListKey(key + "\\" + sub, out);
}

void SetString(const std::string& key, const char* name, const std::string& text) {
  HKEY open;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &open, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(open, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1));
  RegCloseKey(open);
}

void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = dir + "\\" + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
      else DeleteFileA(path.c_str());
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  RemoveDirectoryA(dir.c_str());
}

// An image that exports the registration entry points but cannot be loaded
// (no size, no sections worth mapping): the plan reads its exports, a real
// run fails to load it and so unregisters nothing.
std::string Component() {
  std::string image(0x400, '\0');
  auto put = [&](std::size_t at, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i) image[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
  };
  image[0] = 'M';
  image[1] = 'Z';
  put(60, 0x80, 4);
  std::memcpy(&image[0x80], "PE\0\0", 4);
  put(0x84, 0x8664, 2);
  put(0x86, 1, 2);
  put(0x94, 240, 2);
  put(0x98, 0x20b, 2);
  put(0x98 + 108, 16, 4);
  put(0x98 + 112, 0x1000, 4);
  put(0x98 + 116, 0x100, 4);
  const std::size_t section = 0x98 + 240;
  put(section + 8, 0x200, 4);
  put(section + 12, 0x1000, 4);
  put(section + 16, 0x200, 4);
  put(section + 20, 0x200, 4);
  const char* names[] = {"DllRegisterServer", "DllUnregisterServer"};
  put(0x200 + 24, 2, 4);
  put(0x200 + 32, 0x1040, 4);
  for (std::uint32_t i = 0; i < 2; ++i) {
    put(0x240 + 4 * i, 0x1080 + 0x20 * i, 4);
    std::strcpy(&image[0x280 + 0x20 * i], names[i]);
  }
  return image;
}

struct Step {
  std::string op;
  std::string target;
};

// "op" and "target" of each JSON line.
std::vector<Step> ParseJsonLines(const std::string& json) {
  auto field = [](const std::string& line, const std::string& name) {
    const std::string tag = "\"" + name + "\": \"";
    std::size_t pos = line.find(tag);
    if (pos == std::string::npos) return std::string();
    std::string value;
    for (pos += tag.size(); pos < line.size() && line[pos] != '"'; ++pos) {
      if (line[pos] == '\\') ++pos;
      value += line[pos];
    }
    return value;
  };
  std::vector<Step> steps;
  std::istringstream lines(json);
  for (std::string line; std::getline(lines, line);) steps.push_back(Step{field(line, "op"), field(line, "target")});
  return steps;
}

class PlanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    root_ = LongOf(temp) + "ScrubPlan Test " + std::to_string(GetCurrentProcessId());
    app_ = root_ + "\\Plan Demo Application";
    key_ = "Software\\ScrubPlanTest" + std::to_string(GetCurrentProcessId());
    char windows[MAX_PATH];
    const UINT n = GetWindowsDirectoryA(windows, MAX_PATH);
    systemIni_ = std::string(windows, n) + "\\SYSTEM.INI";
    systemIniBefore_ = ReadFile(systemIni_);
    hadSystemIni_ = GetFileAttributesA(systemIni_.c_str()) != INVALID_FILE_ATTRIBUTES;

    ASSERT_TRUE(CreateDirectoryA(root_.c_str(), nullptr));
    for (const char* dir : {"", "\\BACKUP", "\\Data Files", "\\Data Files\\Deeper"})
      ASSERT_TRUE(CreateDirectoryA((app_ + dir).c_str(), nullptr)) << dir;
    WriteFile(app_ + "\\APP.EXE", "MZ, a program");
    WriteFile(app_ + "\\LIB.DLL", Component());
    WriteFile(app_ + "\\HELP.HLP", "help");
    WriteFile(app_ + "\\HELP.GID", "help index");
    WriteFile(app_ + "\\VXD.386", "driver");
    WriteFile(app_ + "\\DATA.DAT", "data, installed");
    WriteFile(app_ + "\\BACKUP\\DATA.DAT", "data, before");
    WriteFile(app_ + "\\Data Files\\x.dat", "x");
    WriteFile(app_ + "\\Data Files\\Deeper\\y.dat", "y");
    WriteFile(app_ + "\\DEMO.INI", "[Main]\r\nKey=now\r\nAdded=x\r\nOther=1\r\n");
    WriteFile(systemIni_, systemIniBefore_ + "\r\n[386Enh]\r\ndevice=" + app_ + "\\VXD.386\r\nkeep=1\r\n");
    SetString(key_ + "\\Created", "Made", "m");
    SetString(key_ + "\\Changed", "Edited", "after");
    SetString(key_ + "\\Tree\\Sub", "v", "t");

    log_ = app_ + "\\INSTALL.LOG";
    WriteFile(log_, "*** Installation started\r\n"
                    "Title: Plan Demo Installation\r\n"
                    "Made Dir: " + app_ + "\r\n"
                    "File Copy: " + app_ + "\\APP.EXE\r\n"
                    "File Copy: " + app_ + "\\LIB.DLL\r\n"
                    "Self-Register: " + app_ + "\\LIB.DLL\r\n"
                    "File Copy: " + app_ + "\\HELP.HLP\r\n"
                    "File Copy: " + app_ + "\\VXD.386\r\n"
                    "Add Device: " + app_ + "\\VXD.386\r\n"
                    "File Overwrite: " + app_ + "\\DATA.DAT\r\n"
                    "Backup Copy: " + app_ + "\\BACKUP\\DATA.DAT\r\n"
                    "INI File: " + app_ + "\\DEMO.INI\r\nINI Sect: Main\r\nINI Item: Key\r\nINI Val: now\r\n"
                    "INI Old: before\r\n"
                    "INI File: " + app_ + "\\DEMO.INI\r\nINI Sect: Main\r\nINI Item: Added\r\nINI Val: x\r\n"
                    "RegDB Key: " + key_ + "\\Created\r\nRegDB Val: m\r\nRegDB Name: Made\r\nRegDB Root: 1\r\n"
                    "RegDB Key: " + key_ + "\\Changed\r\nRegDB Val: after\r\nRegDB Name: Edited\r\nRegDB Root: 1\r\n"
                    "RegDB Old: before\r\n"
                    "RegDB Tree: " + key_ + "\\Tree\r\nRegDB Root: 1\r\n"
                    "Execute Path: " + app_ + "\\UNINST.EXE /x\r\n"
                    "Create Service: ScrubPlanNoSuchService\r\n"
                    "File Tree: " + app_ + "\\Data Files\\*.*\r\n");
  }

  void TearDown() override {
    SetCurrentDirectoryA(Here().c_str());
    RemoveTree(root_);
    HKEY software;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_ALL_ACCESS, &software) == ERROR_SUCCESS) {
      RegDeleteTreeA(software, key_.substr(9).c_str());
      RegCloseKey(software);
    }
    if (hadSystemIni_) WriteFile(systemIni_, systemIniBefore_);
    else DeleteFileA(systemIni_.c_str());
  }

  std::map<std::string, std::string> State() {
    std::map<std::string, std::string> state;
    ListTree(root_, state);
    ListKey(key_, state);
    const std::string ini = ReadFile(systemIni_);
    state["file " + Upper(systemIni_)] = std::to_string(ini.size()) + " " + std::to_string(Hash(ini));
    return state;
  }

  RunResult Run(const std::string& args) {
    return RunScrubLog(args, Here() + "plan-" + std::to_string(GetCurrentProcessId()) + "-", 120000);
  }

  // The engine for real, as the plan ran it: Automatic, silent.
  void UninstallForReal() {
    using namespace scrubber;
    Win32Platform real;
    Platform& p = real.platform();
    CanonicalPathNames paths(p.fs);
    BuiltinStringTable table;
    MsgStrings strings(p.profile, root_ + "\\NONE.INI", table);
    struct Quiet final : ParseUi {
      void ShowMessage(int, int, std::string_view text, std::string_view) override { ADD_FAILURE() << text; }
      void SetMainTitle(std::string_view) override {}
    } parseUi;
    Globals globals;
    globals.method = kAutomatic;
    globals.silent = 1;
    globals.uninstallConfirmed = 1;
    UninstallModel model;
    ParseEnvironment parse{p.fs, p.profile, p.registry, p.system, paths, strings, parseUi, globals, "test"};
    ASSERT_EQ(ParseInstallLog(parse, log_, model), 0);
    HeadlessUi ui;
    RunUninstall(EngineEnvironment{p, globals, strings, ui}, model, log_);
  }

  std::string root_, app_, key_, log_, systemIni_, systemIniBefore_;
  bool hadSystemIni_ = false;
};

TEST_F(PlanTest, ThePlanListsEveryChangeInOrderAndMakesNone) {
  const auto before = State();
  ASSERT_TRUE(before.count("value " + Upper(key_) + "\\CHANGED [EDITED]"));

  const RunResult run = Run("--plan \"" + log_ + "\"");
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  const std::string& plan = run.out;
  const std::string hkcu = "HKEY_CURRENT_USER\\" + key_;
  // In the engine's order.
  const std::vector<std::string> expected = {
      "start program",  // the command line in short form
      "ini write          " + app_ + "\\DEMO.INI  [Main] Key=before\n",
      "ini delete         " + app_ + "\\DEMO.INI  [Main] Added\n",
      // The release pass walks the files from the last logged to the first.
      "SYSTEM.INI  line: device=" + app_ + "\\VXD.386\n",
      "LIB.DLL  (DllUnregisterServer)\n",
      "delete file        " + app_ + "\\APP.EXE\n",
      "delete file        " + app_ + "\\LIB.DLL\n",
      "delete file        " + app_ + "\\HELP.GID\n",
      "delete file        " + app_ + "\\HELP.HLP\n",
      "delete file        " + app_ + "\\VXD.386\n",
      "Deeper\\y.dat\n",
      "remove directory   " + app_ + "\\Data Files\n",
      "set value          " + hkcu + "\\Changed  [Edited] = REG_SZ before\n",
      "delete value       " + hkcu + "\\Created  [Made]\n",
      "delete key         " + hkcu + "\\Created\n",
      "delete key         " + hkcu + "\\Tree\\Sub\n",
      "delete key         " + hkcu + "\\Tree\n",
      // The log last.
      "delete log         " + log_ + "\n",
  };
  std::size_t at = 0;
  for (const std::string& line : expected) {
    const std::size_t found = plan.find(line, at);
    ASSERT_NE(found, std::string::npos) << "missing or out of order: " << line << "\n" << plan;
    at = found + 1;
  }
  EXPECT_NE(plan.find("UNINST.EXE /x"), std::string::npos);
  EXPECT_EQ(plan.find("DATA.DAT"), std::string::npos) << "an overwritten file stays under Automatic";
  EXPECT_EQ(plan.find("service"), std::string::npos) << "a missing service leaves nothing to do";
  EXPECT_EQ(State(), before) << "the plan changed something";

  const RunResult json = Run("--plan /A --json \"" + log_ + "\"");
  ASSERT_EQ(json.exitCode, 0u) << json.err;
  const auto steps = ParseJsonLines(json.out);
  EXPECT_EQ(steps.size(), static_cast<std::size_t>(std::count(plan.begin(), plan.end(), '\n')));
  ASSERT_FALSE(steps.empty());
  EXPECT_EQ(steps.front().op, "start-program");
  EXPECT_EQ(State(), before);

  const RunResult rollback = Run("--plan /R \"" + log_ + "\"");
  ASSERT_EQ(rollback.exitCode, 0u) << rollback.err;
  EXPECT_NE(rollback.out.find("restore backup     " + app_ + "\\DATA.DAT  <- " + app_ + "\\BACKUP\\DATA.DAT\n"),
            std::string::npos)
      << rollback.out;
  EXPECT_NE(rollback.out.find("delete log         " + log_), std::string::npos) << "one installation: the log goes";
  EXPECT_EQ(State(), before);

  const RunResult custom = Run("--plan /C \"" + log_ + "\"");
  ASSERT_EQ(custom.exitCode, 0u) << custom.err;
  EXPECT_NE(custom.out.find("delete file        " + app_ + "\\DATA.DAT\n"), std::string::npos)
      << "every item is ticked" << custom.out;
  // Under Custom the directory step takes the files of every ticked
  // directory with it, the log's too, but the log itself only at the end.
  const std::size_t logGoes = custom.out.find("delete log         " + log_ + "\n");
  ASSERT_NE(logGoes, std::string::npos) << custom.out;
  EXPECT_LT(custom.out.find("remove directory   " + app_ + "\\Data Files\n"), logGoes) << custom.out;
  EXPECT_EQ(State(), before);

  EXPECT_EQ(Run("/R \"" + log_ + "\"").exitCode, 2u) << "plan switches need --plan";
  EXPECT_EQ(Run("--plan /A /C \"" + log_ + "\"").exitCode, 2u) << "one method";
}

// What a real run then changes is what the plan listed: every file, value
// and key that differs afterwards is a target of the plan, and every target
// of a change differs.
TEST_F(PlanTest, ARealRunChangesExactlyWhatThePlanListed) {
  const RunResult run = Run("--plan --json \"" + log_ + "\"");
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  std::set<std::string> planned, written;
  const std::string hkcu = "HKEY_CURRENT_USER\\";
  for (const Step& step : ParseJsonLines(run.out)) {
    if (step.op == "start-program" || step.op == "call-entry") continue;  // no state of their own
    const std::string target = step.target.rfind(hkcu, 0) == 0 ? "key " + Upper(step.target.substr(hkcu.size()))
                                                                : "file " + Upper(LongOf(step.target));
    planned.insert(target);
    // The run's own journal, made and gone again, leaves nothing to see.
    if (step.op == "append-file") written.insert(target);
    if (step.op == "delete-file" && written.count(target)) planned.erase(target);
  }

  const auto before = State();
  UninstallForReal();
  const auto after = State();
  std::set<std::string> changed;
  for (const auto& [what, state] : before) {
    auto it = after.find(what);
    if (it == after.end() || it->second != state) changed.insert(what);
  }
  for (const auto& [what, state] : after)
    if (!before.count(what)) changed.insert(what);
  // A value's change belongs to its key's step.
  std::set<std::string> changedTargets;
  for (std::string what : changed) {
    if (what.rfind("value ", 0) == 0) what = "key " + what.substr(6, what.find(" [") - 6);
    changedTargets.insert(what);
  }
  // Directories whose entries changed show a changed listing only through
  // those entries; a removed directory is a target itself.
  EXPECT_EQ(changedTargets, planned);
}

}  // namespace
