// A run stopped anywhere and run again ends as one whole run would: a log
// with every kind of record, in two installations, is undone once for the
// reference state; then, from the same start, the process is ended at each
// change in turn (a write cut in half where the change writes a file), or
// the user cancels at each line, and a second run goes to its end. The two
// states must be the same, counts included.
#include <memory>

#include "EngineWorld.h"

namespace scrubber::test {
namespace {

using State = std::map<std::string, std::string>;

constexpr char kLog[] = "C:\\APP\\INSTALL.LOG";
constexpr char kJournal[] = "C:\\APP\\INSTALL.JNL";
constexpr char kEngineKey[] = "Software\\Borland\\Database Engine";
constexpr char kClassKey[] = "CLSID\\{DEMO}";

struct Choices {
  std::int32_t method = kAutomatic;
  bool rollback = false;
  // Under Custom: whether the item of that name, key or path is ticked.
  bool (*ticks)(std::string_view text) = nullptr;
};

bool AllButKept(std::string_view text) {
  return text.find("KEEP") == std::string_view::npos;
}
bool OnlyKept(std::string_view text) {
  return text.find("KEEP") != std::string_view::npos;
}
// Not the product's folder either, which would take the log with it.
bool AllButKeptAndTheFolder(std::string_view text) {
  return AllButKept(text) && text != "C:\\APP\\";
}

constexpr Choices kAutomaticRun{kAutomatic, false, nullptr};
constexpr Choices kCustomRun{kCustom, false, AllButKept};
constexpr Choices kRollbackRun{kAutomatic, true, nullptr};

std::string Installation(std::initializer_list<std::string_view> records) {
  std::string text = "***  Installation started\r\nTitle: Demo App\r\n";
  for (std::string_view record : records) text.append(record).append("\r\n");
  return text;
}

// The machine after two installations of the demo product.
class Machine : public FakePlatform {
 public:
  Machine() {
    fs.AddFile("C:\\APP\\UNINST.EXE");
    services.AddService("DemoSvc", true);
    registry.SetString(RegRoot::LocalMachine, kEngineKey, "UseCount", "2");
    fs.AddFile("C:\\APP\\APP.INI", "[A]\r\nk=1\r\n");
    (void)profile.WriteString("C:\\WINDOWS\\WIN.INI", "Demo", "Key", "new");
    (void)profile.WriteString("C:\\WINDOWS\\WIN.INI", "Demo", "KeepKey", "v");
    fs.AddFile("C:\\APP\\COMP.DLL", std::string("MZ") + std::string(58, '\0') + "\x40\0\0\0PE", kAttrArchive);
    libraries.AddOle32();
    registry.SetString(RegRoot::ClassesRoot, kClassKey, "", "Demo");
    libraries.AddExport("C:\\APP\\COMP.DLL", "DllUnregisterServer", [this] {
      registry.RemoveTree(RegRoot::ClassesRoot, kClassKey);
      return 0;
    });
    libraries.AddExport("C:\\APP\\COMP.DLL", "DllRegisterServer", [this] {
      registry.SetString(RegRoot::ClassesRoot, kClassKey, "", "Demo");
      return 0;
    });
    fs.AddFile("C:\\APP\\VXD.386");
    fs.AddFile("C:\\WINDOWS\\SYSTEM.INI", "[386Enh]\r\ndevice=C:\\APP\\VXD.386\r\n");
    fs.AddFile("C:\\WINDOWS\\SYSTEM32\\SYS.DLL");
    for (auto [path, count] : {std::pair{"C:\\WINDOWS\\SYSTEM32\\ONE.DLL", 1u},
                               {"C:\\WINDOWS\\SYSTEM32\\TWO.DLL", 2u},
                               {"C:\\APP\\THREE.DLL", 3u},
                               {"C:\\APP\\KEEPONE.DLL", 1u},
                               {"C:\\APP\\TWO2.DLL", 2u}}) {
      fs.AddFile(path, path);
      registry.SetDword(RegRoot::LocalMachine, kShared, path, count);
    }
    fs.AddFile("C:\\APP\\SUB\\DATA.TXT", "data");
    fs.AddFile("C:\\APP\\HELP.HLP", "help");
    fs.AddFile("C:\\APP\\HELP.GID", "its index, made on first use");
    registry.SetString(RegRoot::CurrentUser, "Software\\Vendor\\App", "X", "1");
    fs.AddFile("C:\\APP\\MAIN.EXE", "version 2");
    fs.AddFile("C:\\APP\\BACKUP\\MAIN.EXE", "version 1");
    registry.SetString(RegRoot::CurrentUser, "Software\\Demo\\Changed", "V", "new");
    registry.SetString(RegRoot::CurrentUser, "Software\\Demo\\Created", "W", "x");
    registry.SetString(RegRoot::CurrentUser, "Software\\Demo\\Tree\\Sub", "T", "x");
    registry.SetString(RegRoot::CurrentUser, "Software\\Demo\\Second", "S", "y");
    dde.AddItem("Demo", "Editor", "C:\\APP\\EDIT.EXE");
    const std::string log =
        Installation({"Made Dir: C:\\APP",
                      "Execute Path: C:\\APP\\UNINST.EXE /x",
                      "Create Service: DemoSvc",
                      "SubSystem: BDE",
                      "INI New: x",
                      "INI File: C:\\APP\\APP.INI",
                      "INI File: C:\\WINDOWS\\WIN.INI",
                      "INI Sect: Demo",
                      "INI Item: Key",
                      "INI Val: new",
                      "INI Old: old",
                      "INI File: C:\\WINDOWS\\WIN.INI",
                      "INI Sect: Demo",
                      "INI Item: KeepKey",
                      "INI Val: v",
                      "File Copy: C:\\APP\\COMP.DLL",
                      "Self-Register: C:\\APP\\COMP.DLL",
                      "File Copy: C:\\APP\\VXD.386",
                      "Add Device: C:\\APP\\VXD.386",
                      "Non-System File:",
                      "File Copy: C:\\WINDOWS\\SYSTEM32\\SYS.DLL",
                      "File Copy: C:\\WINDOWS\\SYSTEM32\\ONE.DLL",
                      "File Copy: C:\\WINDOWS\\SYSTEM32\\TWO.DLL",
                      "File Copy: C:\\APP\\THREE.DLL",
                      "File Copy: C:\\APP\\KEEPONE.DLL",
                      "Made Dir: C:\\APP\\SUB",
                      "File Copy: C:\\APP\\SUB\\DATA.TXT", "File Copy: C:\\APP\\HELP.HLP",
                      "RegDB Key: Software\\Vendor\\App", "RegDB Val: 1", "RegDB Name: X", "RegDB Root: 1",
                      "RegDB Key: Software\\Demo\\Changed",
                      "RegDB Val: new",
                      "RegDB Name: V",
                      "RegDB Root: 1",
                      "RegDB Old: old",
                      "RegDB Key: Software\\Demo\\Created",
                      "RegDB Val: x",
                      "RegDB Name: W",
                      "RegDB Root: 1",
                      "RegDB Tree: Software\\Demo\\Tree",
                      "RegDB Root: 1",
                      "Icon Group: Demo",
                      "Icon Name: Editor",
                      "Icon Cmd: C:\\APP\\EDIT.EXE"}) +
        Installation({"File Overwrite: C:\\APP\\MAIN.EXE", "Backup Copy: C:\\APP\\BACKUP\\MAIN.EXE",
                      "File Copy: C:\\APP\\TWO2.DLL", "File Copy: C:\\APP\\THREE.DLL",
                      "RegDB Key: Software\\Demo\\Second", "RegDB Val: y", "RegDB Name: S", "RegDB Root: 1"});
    fs.AddFile(kLog, log);
    CountChanges();
  }

  struct Outcome {
    bool ran = false;       // the log could be read
    bool ended = false;     // the process was ended at the chosen change
    unsigned changes = 0;   // changes made
    std::size_t lines = 0;  // progress lines shown
  };

  // One process of the uninstaller: reads the log and undoes what `choices`
  // say; ended before change `endAt` (0: never) or cancelled at line `cancelAt`.
  Outcome Uninstall(const Choices& choices, unsigned endAt = 0, std::size_t cancelAt = 0) {
    Outcome outcome;
    Globals globals;
    if (FinishStoppedRun(platform, globals, kLog) || !fs.Exists(kLog)) return outcome;
    globals.method = choices.method;
    globals.rollback = choices.rollback ? 1 : 0;
    ScriptedUi ui{globals};
    ui.cancelAtLine = cancelAt;
    // The administrator gives up ONE.DLL and keeps KEEPONE.DLL.
    ui.answerFor = [](std::string_view question) {
      return question.find("ONE.DLL") != std::string_view::npos && question.find("KEEP") == std::string_view::npos
                 ? kSharedYes
                 : kSharedNo;
    };
    CanonicalPathNames paths{fs};
    BuiltinStringTable table;
    MsgStrings strings{profile, "C:\\SCRUB\\UNINST.INI", table};
    ParseMessages parseUi;
    UninstallModel model;
    ParseEnvironment env{fs, profile, registry, system, paths, strings, parseUi, globals, "test"};
    if (ParseInstallLog(env, kLog, model) != 0) return outcome;
    if (choices.ticks) Tick(model, choices.ticks);
    outcome.ran = true;
    changes.Reset();
    changes.EndAt(endAt);
    try {
      RunUninstall(EngineEnvironment{platform, globals, strings, ui}, model, kLog);
    } catch (const ProcessEnded&) {
      outcome.ended = true;
    }
    changes.Off();
    outcome.changes = changes.count() - (outcome.ended ? 1 : 0);
    outcome.lines = ui.lines.size();
    return outcome;
  }

 private:
  static void Tick(UninstallModel& model, bool (*ticks)(std::string_view)) {
    auto tick = [&](auto& list, auto text) {
      for (auto& item : list) item.selected = ticks(text(item)) ? 1 : 0;
    };
    tick(model.PrivateFiles, [](const FileItem& f) { return f.path; });
    tick(model.SystemFiles, [](const FileItem& f) { return f.path; });
    tick(model.Directories, [](const DirItem& d) { return d.path; });
    tick(model.IniFiles, [](const IniFileItem& i) { return i.path; });
    tick(model.IniEntries, [](const IniEntryItem& e) { return e.key; });
    tick(model.RegKeys, [](const RegKeyItem& k) { return k.key; });
    tick(model.RegTrees, [](const RegTreeItem& t) { return t.key; });
    tick(model.RegEdits, [](const RegEditItem& e) { return e.key; });
    tick(model.Icons, [](const IconItem& i) { return i.name; });
    tick(model.ExternalPrograms, [](const ProgramItem& p) { return p.command; });
    tick(model.Services, [](const ServiceItem& s) { return s.name; });
    model.SubSystem.selected = ticks(model.SubSystem.text) ? 1 : 0;
  }
};

// The shared counts and the use count of a state, a missing count as 0.
std::map<std::string, unsigned> CountsOf(const State& state) {
  std::map<std::string, unsigned> counts;
  const std::string shared = "value 2\\" + std::string(kShared) + " [";
  const std::string engine = "value 2\\" + std::string(kEngineKey) + " [UseCount]";
  for (const auto& [name, value] : state) {
    if (name.starts_with(shared) && value.size() == 6) {
      unsigned n = 0;
      for (int i = 5; i >= 2; --i) n = (n << 8) | static_cast<unsigned char>(value[static_cast<std::size_t>(i)]);
      counts[name] = n;
    } else if (name == engine) {
      counts[name] = static_cast<unsigned>(std::stoul(value.substr(2)));
    }
  }
  return counts;
}

std::string Differences(const State& got, const State& want) {
  std::string text;
  for (const auto& [name, value] : got)
    if (!want.count(name) || want.at(name) != value) text += "  + " + name + " = " + value + "\n";
  for (const auto& [name, value] : want)
    if (!got.count(name)) text += "  - " + name + " = " + value + "\n";
  return text;
}

// The two states a stop may leave apart from the reference, each the price
// of writing what is remembered before what it guards:
//  - ended right after the journal's line and before the count it guards
//    was lowered: that count is one too high (never too low);
//  - ended after the log was cut and before the journal noted it: what the
//    journal remembers of the records past the cut stays, which at worst
//    keeps a count one too high should the same installation come again;
//  - ended after the journal went and before the directory it stood in:
//    nothing is left to say so, and that directory stays, empty.
bool OnlyWhatAStopMayLeave(const State& got, const State& want, const ChangeCounter& stop, bool logCut, bool bothWent) {
  if (got == want) return true;
  if (logCut) {
    State rest = got, wanted = want;
    rest.erase(std::string("file ") + kJournal);
    wanted.erase(std::string("file ") + kJournal);
    return rest == wanted;
  }
  const bool countGuarded =
      stop.lastMade() == "AppendToFile" && (stop.endedAt() == "Set" || stop.endedAt() == "DeleteValue");
  if (countGuarded) {
    const auto gotCounts = CountsOf(got), wantCounts = CountsOf(want);
    int higher = 0;
    for (const auto& [name, n] : gotCounts) {
      const unsigned expected = wantCounts.count(name) ? wantCounts.at(name) : 0;
      if (n == expected + 1)
        ++higher;
      else if (n != expected)
        return false;
    }
    State rest = got, wanted = want;
    for (const auto& [name, n] : gotCounts) rest.erase(name);
    for (const auto& [name, n] : wantCounts) wanted.erase(name);
    return higher == 1 && rest == wanted;
  }
  if (!bothWent) return false;
  for (const auto& [name, value] : want)
    if (!got.count(name) || got.at(name) != value) return false;
  for (const auto& [name, value] : got)
    if (!want.count(name) && value != "16 <dir>") return false;
  return true;
}

struct Reference {
  State state;
  unsigned changes = 0;
  std::size_t lines = 0;
};

Reference WholeRun(const Choices& choices) {
  Machine machine;
  const auto outcome = machine.Uninstall(choices);
  return {machine.Snapshot(), outcome.changes, outcome.lines};
}

void EveryStopIsFinishedByASecondRun(const Choices& choices, const char* name) {
  const Reference reference = WholeRun(choices);
  const auto original = Machine().fs.ContentOf(kLog);
  ASSERT_GT(reference.changes, 10u) << name;
  for (unsigned k = 1; k <= reference.changes; ++k) {
    Machine machine;
    ASSERT_TRUE(machine.Uninstall(choices, k).ended) << name << " change " << k;
    const ChangeCounter stop = machine.changes;
    // A rollback that cut the log is done; another would undo the
    // installation before.
    const bool logCut = machine.fs.Exists(kLog) && machine.fs.ContentOf(kLog) != original;
    const bool bothWent = !machine.fs.Exists(kLog) && !machine.fs.Exists(kJournal);
    if (!logCut) (void)machine.Uninstall(choices);
    const State state = machine.Snapshot();
    EXPECT_TRUE(OnlyWhatAStopMayLeave(state, reference.state, stop, logCut, bothWent))
        << name << ": ended at change " << k << " (" << stop.endedAt() << " after " << stop.lastMade() << ")\n"
        << Differences(state, reference.state);
  }
  for (std::size_t line = 1; line <= reference.lines; ++line) {
    Machine machine;
    (void)machine.Uninstall(choices, 0, line);
    (void)machine.Uninstall(choices);
    const State state = machine.Snapshot();
    EXPECT_EQ(state, reference.state) << name << ": cancelled at line " << line << "\n"
                                      << Differences(state, reference.state);
  }
}

TEST(Interruption, EveryStopOfEveryMethodIsFinishedByASecondRun) {
  EveryStopIsFinishedByASecondRun(kAutomaticRun, "automatic");
  EveryStopIsFinishedByASecondRun(kCustomRun, "custom");
  EveryStopIsFinishedByASecondRun(kRollbackRun, "rollback");
}

// Custom runs keep the log, and each releases every system file's count:
// run again and again, with other choices and then Automatic, each record's
// count still goes down once.
TEST(Interruption, RepeatedCustomRunsLowerEachCountOnce) {
  const Choices inPlace{kCustom, false, AllButKeptAndTheFolder};
  const Reference custom = WholeRun(inPlace);
  const Reference automatic = WholeRun(kAutomaticRun);
  {
    Machine machine;
    (void)machine.Uninstall(inPlace);
    ASSERT_TRUE(machine.Uninstall(inPlace).ran);
    EXPECT_EQ(machine.Snapshot(), custom.state) << Differences(machine.Snapshot(), custom.state);
  }
  Machine machine;
  (void)machine.Uninstall(inPlace);
  ASSERT_TRUE(machine.Uninstall(Choices{kCustom, false, OnlyKept}).ran);
  ASSERT_TRUE(machine.Uninstall(kAutomaticRun).ran);
  EXPECT_EQ(CountsOf(machine.Snapshot()), CountsOf(automatic.state));
  EXPECT_FALSE(machine.fs.Exists(kLog));
  EXPECT_FALSE(machine.fs.Exists(kJournal));
}

}  // namespace
}  // namespace scrubber::test
