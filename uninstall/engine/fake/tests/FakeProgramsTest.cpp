// The fake services, processes and libraries: what they record, what a
// test can make them do, and their failures on demand.
#include <gmock/gmock.h>

#include "FakeFileSystem.h"
#include "FakeLibraries.h"
#include "FakeProcesses.h"
#include "FakeServices.h"

namespace scrubber {
namespace {

using ::testing::ElementsAre;

TEST(FakeServices, ARunningServiceIsStoppedThenDeletedAndTheCallsAreRecorded) {
  FakeServices services;
  services.AddService("DemoSvc", /*running=*/true);
  {
    auto manager = services.OpenManager();
    ASSERT_TRUE(manager);
    EXPECT_FALSE(manager->OpenByName("Missing"));
    auto service = manager->OpenByName("demosvc");
    ASSERT_TRUE(service);
    EXPECT_TRUE(service->Stop());
    EXPECT_FALSE(services.IsRunning("DemoSvc"));
    EXPECT_FALSE(service->Stop()) << "not running any more";
    EXPECT_TRUE(service->Delete());
    EXPECT_TRUE(services.Exists("DemoSvc")) << "marked; it goes with its last handle";
    EXPECT_TRUE(services.IsMarkedForDelete("DemoSvc"));
  }
  EXPECT_FALSE(services.Exists("DemoSvc"));
  EXPECT_THAT(services.Calls(), ElementsAre("OpenManager", "OpenService Missing", "OpenService demosvc", "Stop demosvc",
                                            "Stop demosvc", "Delete demosvc", "CloseService demosvc", "CloseManager"));
}

TEST(FakeServices, AServiceDeletedWhileRunningStaysMarked) {
  FakeServices services;
  services.AddService("Busy", true);
  services.RefuseStop("Busy");
  services.AddService("Locked");
  services.DenyOpen("Locked");
  {
    auto manager = services.OpenManager();
    auto service = manager->OpenByName("Busy");
    EXPECT_FALSE(service->Stop());
    EXPECT_TRUE(service->Delete());
    EXPECT_FALSE(service->Delete()) << "already marked";
    EXPECT_FALSE(manager->OpenByName("Locked"));
  }
  EXPECT_TRUE(services.Exists("Busy"));
  EXPECT_TRUE(services.IsRunning("Busy"));
  EXPECT_TRUE(services.Exists("Locked"));

  for (const std::string& call : services.faults().Calls()) {
    FakeServices fresh;
    fresh.AddService("S", true);
    fresh.faults().FailCall(call);
    auto manager = fresh.OpenManager();
    bool failed = !manager;
    if (manager) {
      auto service = manager->OpenByName("S");
      failed = !service;
      if (service && call == "Stop") failed = !service->Stop();
      if (service && call == "Delete") failed = !service->Delete();
    }
    EXPECT_TRUE(failed) << call;
    EXPECT_TRUE(fresh.Exists("S")) << call;
  }
}

TEST(FakeProcesses, StartedProgramsAreRecordedAndCanActOnTheFiles) {
  FakeFileSystem fs;
  fs.AddFile("C:\\APP\\DATA.BIN");
  FakeProcesses processes;
  processes.OnStart("C:\\APP\\UNINST.EXE", [&](std::string_view commandLine) {
    EXPECT_EQ(commandLine, "c:\\app\\uninst.exe /quiet");
    fs.EraseFile("C:\\APP\\DATA.BIN");
  });
  processes.Missing("C:\\NONE.EXE");

  auto process = processes.Start("c:\\app\\uninst.exe /quiet");
  ASSERT_TRUE(process);
  EXPECT_FALSE(fs.Exists("C:\\APP\\DATA.BIN")) << "the program ran when it was started";
  EXPECT_TRUE(process->Wait());
  EXPECT_TRUE(processes.Start("C:\\OTHER.EXE"));
  EXPECT_FALSE(processes.Start("C:\\NONE.EXE /x"));
  EXPECT_FALSE(processes.Start(""));
  EXPECT_THAT(processes.Started(), ElementsAre("c:\\app\\uninst.exe /quiet", "C:\\OTHER.EXE"));
  EXPECT_EQ(processes.Waits(), 1u);

  processes.faults().FailCall("Start");
  EXPECT_FALSE(processes.Start("C:\\OTHER.EXE"));
  processes.faults().FailCall("Wait", SysError::Other);
  auto waited = processes.Start("C:\\OTHER.EXE");
  ASSERT_TRUE(waited);
  EXPECT_FALSE(waited->Wait());
  EXPECT_EQ(processes.Waits(), 1u);
}

TEST(FakeLibraries, LoadsCallsAndFreesShareOneLog) {
  FakeLibraries libraries;
  libraries.AddOle32();
  int registered = 0;
  libraries.AddExport("C:\\APP\\X.DLL", "DllUnregisterServer", [&] {
    ++registered;
    return 0x80004005;
  });
  libraries.AddLibrary("C:\\APP\\PLAIN.DLL");
  {
    auto ole = libraries.Load("ole32.dll");
    ASSERT_TRUE(ole);
    EXPECT_EQ(ole->Call("OleInitialize", EntryArgs::NullPointer), 0);
    auto component = libraries.Load("C:\\APP\\X.DLL");
    ASSERT_TRUE(component);
    EXPECT_TRUE(component->HasExport("DllUnregisterServer"));
    EXPECT_FALSE(component->HasExport("dllunregisterserver")) << "export names match exactly";
    EXPECT_FALSE(component->Call("DllRegisterServer", EntryArgs::None));
    EXPECT_EQ(component->Call("DllUnregisterServer", EntryArgs::None), static_cast<std::int32_t>(0x80004005));
    EXPECT_EQ(libraries.LoadedNow(), 2);
    component.reset();
    EXPECT_TRUE(ole->Call("OleUninitialize", EntryArgs::None));
  }
  EXPECT_FALSE(libraries.Load("C:\\APP\\NONE.DLL"));
  auto plain = libraries.Load("C:\\APP\\PLAIN.DLL");
  ASSERT_TRUE(plain);
  EXPECT_FALSE(plain->HasExport("DllRegisterServer"));
  plain.reset();
  EXPECT_EQ(registered, 1);
  EXPECT_EQ(libraries.LoadedNow(), 0);
  EXPECT_THAT(libraries.Log(),
              ElementsAre("Load ole32.dll", "Call OleInitialize", "Load C:\\APP\\X.DLL", "Call DllUnregisterServer",
                          "Free C:\\APP\\X.DLL", "Call OleUninitialize", "Free ole32.dll",
                          "Load C:\\APP\\NONE.DLL failed", "Load C:\\APP\\PLAIN.DLL", "Free C:\\APP\\PLAIN.DLL"));

  libraries.ClearLog();
  libraries.faults().FailCall("Load");
  EXPECT_FALSE(libraries.Load("OLE32.DLL"));
  libraries.faults().FailCall("Call");
  auto ole = libraries.Load("OLE32.DLL");
  ASSERT_TRUE(ole);
  EXPECT_FALSE(ole->Call("OleInitialize", EntryArgs::NullPointer));
  EXPECT_THAT(libraries.Log(), ElementsAre("Load OLE32.DLL failed", "Load OLE32.DLL"));
}

}  // namespace
}  // namespace scrubber
