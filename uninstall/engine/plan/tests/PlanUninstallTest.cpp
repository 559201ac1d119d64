// A dry run of the whole engine over the fakes: the plan lists what a run
// would do, in the engine's order, and the fakes end as they began.
#include <gtest/gtest.h>

#include "PlanOutput.h"
#include "PlanUninstall.h"
#include "PlanWorld.h"

namespace scrubber {
namespace {

constexpr char kShared[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

class DryRun : public ::testing::Test {
 protected:
  DryRun() {
    world.fs.AddFile("C:\\APP\\A.DLL", "a");
    world.fs.AddFile("C:\\APP\\B.DLL", "b, installed");
    world.fs.AddFile("C:\\APP\\BACKUP\\B.DLL", "b, before");
    world.fs.AddFile("C:\\APP\\DEMO.INI", "[Main]\r\nKey=now\r\n");
    world.fs.AddFile("C:\\APP\\INSTALL.LOG", "*** one\r\n*** two\r\n");
    world.fs.AddFile("C:\\WINDOWS\\SYSTEM32\\SHARED.DLL", "s");
    world.registry.SetDword(RegRoot::LocalMachine, kShared, "C:\\WINDOWS\\SYSTEM32\\SHARED.DLL", 1);
    world.registry.SetString(RegRoot::LocalMachine, "Software\\Demo\\Settings", "x", "1");
    world.registry.SetString(RegRoot::LocalMachine, "Software\\Other", "v", "changed");
    world.services.AddService("DemoSvc", true);

    model.installCount = 2;
    model.lastInstallOffset = 9;
    model.uninstallDir = "C:\\APP\\";
    FileItem a{"C:\\APP\\A.DLL", "", 0, 1, 0, 0, 1, false};
    FileItem b{"C:\\APP\\B.DLL", "C:\\APP\\BACKUP\\B.DLL", 0, 0, 0, 0, 2, false};
    model.PrivateFiles = {a, b};
    model.SystemFiles = {FileItem{"C:\\WINDOWS\\SYSTEM32\\SHARED.DLL", "", 0, 0, 0, 0, 1, true}};
    model.Directories = {DirItem{"C:\\APP\\BACKUP\\", 0, 0, 2}, DirItem{"C:\\APP\\", 0, 0, 1}};
    model.IniEntries = {IniEntryItem{"C:\\APP\\DEMO.INI", "Main", "Key", "before", 0, 1}};
    model.RegKeys = {RegKeyItem{"Software\\Demo\\Settings", "x", kLocalMachine, 0, 1}};
    model.RegEdits = {RegEditItem{"Software\\Other", "v", std::string("a\0\0", 3), kLocalMachine, kRegSz, 0, 2}};
    model.Services = {ServiceItem{"DemoSvc", 0, 1}};
    model.ExternalPrograms = {ProgramItem{"C:\\APP\\UNINST.EXE /x", "", 0, 1}};
  }

  PlanWorld world;
  BuiltinStringTable table;
  MsgStrings strings{world.profile, "C:\\NONE.INI", table};
  UninstallModel model;
};

TEST_F(DryRun, AutomaticPlansEveryStepInOrderAndChangesNothing) {
  const auto before = world.Snapshot();
  const PlanResult plan = PlanUninstall(world.real, strings, model, "C:\\APP\\INSTALL.LOG", PlanOptions{});
  EXPECT_EQ(PlanToText(plan.steps),
            "start program      C:\\APP\\UNINST.EXE /x\n"
            "stop service       DemoSvc\n"
            "delete service     DemoSvc\n"
            "ini write          C:\\APP\\DEMO.INI  [Main] Key=before\n"
            "append to file     C:\\APP\\INSTALL.JNL  (16 bytes)\n"
            "delete value       HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs"
            "  [C:\\WINDOWS\\SYSTEM32\\SHARED.DLL]\n"
            "delete file        C:\\APP\\A.DLL\n"
            "set value          HKEY_LOCAL_MACHINE\\Software\\Other  [v] = REG_SZ a\n"
            "delete value       HKEY_LOCAL_MACHINE\\Software\\Demo\\Settings  [x]\n"
            "delete key         HKEY_LOCAL_MACHINE\\Software\\Demo\\Settings\n"
            "delete key         HKEY_LOCAL_MACHINE\\Software\\Demo\n"
            "append to file     C:\\APP\\INSTALL.JNL  (27 bytes)\n"
            "delete log         C:\\APP\\INSTALL.LOG\n"
            "delete file        C:\\APP\\INSTALL.JNL\n");
  EXPECT_EQ(world.Snapshot(), before);
}

TEST_F(DryRun, ARollbackPutsTheBackupBackAndCutsTheLog) {
  const auto before = world.Snapshot();
  const PlanResult plan = PlanUninstall(world.real, strings, model, "C:\\APP\\INSTALL.LOG", PlanOptions{false, true});
  EXPECT_EQ(PlanToText(plan.steps),
            "delete file        C:\\APP\\B.DLL\n"
            "restore backup     C:\\APP\\B.DLL  <- C:\\APP\\BACKUP\\B.DLL\n"
            "remove directory   C:\\APP\\BACKUP\n"
            "set value          HKEY_LOCAL_MACHINE\\Software\\Other  [v] = REG_SZ a\n"
            "cut log            C:\\APP\\INSTALL.LOG  to 9 bytes\n");
  EXPECT_EQ(world.Snapshot(), before);
}

}  // namespace
}  // namespace scrubber
