// The order of a whole run: a log with every kind of record is undone over
// the in-memory platform wrapped in the dry run's recorder, and every change
// the engine makes is compared, in sequence, with the order that keeps each
// undo safe.
#include "EngineWorld.h"
#include "PlanOutput.h"
#include "PlanUninstall.h"

namespace scrubber::test {
namespace {

TEST_F(EngineTest, EveryKindOfChangeIsUndoneInTheFixedOrder) {
  fs.AddFile("C:\\APP\\UNINST.EXE");
  services.AddService("DemoSvc", true);
  registry.SetString(RegRoot::LocalMachine, "Software\\Borland\\Database Engine", "UseCount", "2");
  fs.AddFile("C:\\APP\\APP.INI", "[A]\r\nk=1\r\n");
  ASSERT_TRUE(profile.WriteString("C:\\WINDOWS\\WIN.INI", "Demo", "Key", "new").ok());
  fs.AddFile("C:\\APP\\COMP.DLL", std::string("MZ") + std::string(58, '\0') + "\x40\0\0\0PE", kAttrArchive);
  libraries.AddOle32();
  libraries.AddSelfRegistering("C:\\APP\\COMP.DLL");
  fs.AddFile("C:\\APP\\VXD.386");
  fs.AddFile("C:\\WINDOWS\\SYSTEM.INI", "[386Enh]\r\ndevice=C:\\APP\\VXD.386\r\n");
  fs.AddFile("C:\\WINDOWS\\SYSTEM32\\SYS.DLL");
  fs.AddDir("C:\\APP\\SUB");
  registry.SetString(RegRoot::CurrentUser, "Software\\Demo\\Changed", "V", "new");
  registry.SetString(RegRoot::CurrentUser, "Software\\Demo\\Created", "W", "x");
  registry.SetString(RegRoot::CurrentUser, "Software\\Demo\\Tree\\Sub", "T", "x");
  dde.AddItem("Demo", "Editor", "C:\\APP\\EDIT.EXE");
  Parse(Log({{"Execute Path: C:\\APP\\UNINST.EXE /x",
              "Create Service: DemoSvc",
              "SubSystem: BDE",
              "INI New: x", "INI File: C:\\APP\\APP.INI",
              "INI File: C:\\WINDOWS\\WIN.INI", "INI Sect: Demo", "INI Item: Key", "INI Val: new", "INI Old: old",
              "File Copy: C:\\APP\\COMP.DLL", "Self-Register: C:\\APP\\COMP.DLL",
              "File Copy: C:\\APP\\VXD.386", "Add Device: C:\\APP\\VXD.386",
              "Non-System File:", "File Copy: C:\\WINDOWS\\SYSTEM32\\SYS.DLL",
              "Made Dir: C:\\APP\\SUB",
              "RegDB Key: Software\\Demo\\Changed", "RegDB Val: new", "RegDB Name: V", "RegDB Root: 1",
              "RegDB Old: old",
              "RegDB Key: Software\\Demo\\Created", "RegDB Val: x", "RegDB Name: W", "RegDB Root: 1",
              "RegDB Tree: Software\\Demo\\Tree", "RegDB Root: 1",
              "Icon Group: Demo", "Icon Name: Editor", "Icon Cmd: C:\\APP\\EDIT.EXE"}}));

  const PlanResult plan = PlanUninstall(platform, strings, model, kLogPath, PlanOptions{});
  std::vector<std::string> lines;
  for (const PlanStep& step : plan.steps) {
    if (!step.minor) lines.push_back(PlanStepText(step));
  }
  const std::vector<std::string> expected = {
      "start program      C:\\APP\\UNINST.EXE /x",
      "stop service       DemoSvc",
      "delete service     DemoSvc",
      // Remembered before it is lowered, so that no other run lowers it again.
      "append to file     C:\\APP\\INSTALL.JNL  (18 bytes)",
      "set value          HKEY_LOCAL_MACHINE\\Software\\Borland\\Database Engine  [UseCount] = REG_SZ 1",
      "delete file        C:\\APP\\APP.INI",
      "ini write          C:\\WINDOWS\\WIN.INI  [Demo] Key=old",
      // Unregistered while the files still exist, then the files.
      "comment out line   C:\\WINDOWS\\SYSTEM.INI  line: device=C:\\APP\\VXD.386",
      "delete file        C:\\APP\\COMP.DLL",
      "delete file        C:\\APP\\VXD.386",
      "delete file        C:\\WINDOWS\\SYSTEM32\\SYS.DLL",
      // The directories after every file.
      "remove directory   C:\\APP\\SUB",
      // Changed values before created keys are pruned; trees last.
      "set value          HKEY_CURRENT_USER\\Software\\Demo\\Changed  [V] = REG_SZ old",
      "delete value       HKEY_CURRENT_USER\\Software\\Demo\\Created  [W]",
      "delete key         HKEY_CURRENT_USER\\Software\\Demo\\Created",
      "delete key         HKEY_CURRENT_USER\\Software\\Demo\\Tree\\Sub",
      "delete key         HKEY_CURRENT_USER\\Software\\Demo\\Tree",
      "progman command    [ShowGroup(Demo,2)]",
      "progman command    [ShowGroup(Demo,1)]",
      "progman command    [DeleteItem(Editor)]",
      "progman command    [DeleteGroup(Demo)]",
      // The log last: a run stopped before can be run again from it. What
      // is left once it is gone is written down before it goes.
      "append to file     C:\\APP\\INSTALL.JNL  (10 bytes)",
      "delete log         C:\\APP\\INSTALL.LOG",
      "delete file        C:\\APP\\INSTALL.JNL",
  };
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines, expected) << PlanToText(plan.steps);
}

}  // namespace
}  // namespace scrubber::test
