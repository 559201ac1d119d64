// Win32Processes and Win32Libraries with the fixture programs and libraries:
// starting and waiting, self-registration both ways, entry points of both
// shapes.
#include <windows.h>

#include <gtest/gtest.h>

#include "Fixtures.h"
#include "Scratch.h"
#include "Win32Libraries.h"
#include "Win32Processes.h"
#include "fixtures/SelfRegKeys.h"

namespace scrubber {
namespace {

using testing::FixturePath;
using testing::UserKeyExists;

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

TEST(Win32Processes, StartedProgramIsWaitedForUntilItEnds) {
  testing::ScratchDir dir("scrubber-process");
  std::string out = dir.path() + "\\out.txt";
  Win32Processes processes;
  auto process = processes.Start(Quoted(FixturePath("TouchFile.exe")) + " " + Quoted(out) + " written");
  ASSERT_TRUE(process);
  EXPECT_TRUE(process->Wait());
  // The fixture pauses before it writes: only a real wait sees the file.
  EXPECT_EQ(testing::ReadFileForTest(out).value_or("<none>"), "written");
  EXPECT_TRUE(process->Wait()) << "an ended process stays signalled";
}

TEST(Win32Processes, CommandsThatCannotStartGiveNoProcess) {
  Win32Processes processes;
  EXPECT_FALSE(processes.Start("C:\\no\\such\\program.exe /x"));
  EXPECT_FALSE(processes.Start(""));
}

TEST(Win32Processes, SelfRegisteringProgramRegistersAndUnregisters) {
  Win32Processes processes;
  std::string program = FixturePath("SelfRegExe.exe");
  auto registering = processes.Start(program + " /REGSERVER");
  ASSERT_TRUE(registering);
  ASSERT_TRUE(registering->Wait());
  EXPECT_TRUE(UserKeyExists(SCRUBBER_FIXTURE_KEY_EXE));
  auto unregistering = processes.Start(program + " /UNREGSERVER");
  ASSERT_TRUE(unregistering);
  ASSERT_TRUE(unregistering->Wait());
  EXPECT_FALSE(UserKeyExists(SCRUBBER_FIXTURE_KEY_EXE));
}

TEST(Win32Libraries, SelfRegisteringLibraryRegistersAndIsFreed) {
  Win32Libraries libraries;
  {
    auto library = libraries.Load(FixturePath("SelfRegDll.dll"));
    ASSERT_TRUE(library);
    EXPECT_TRUE(library->HasExport("DllRegisterServer"));
    EXPECT_TRUE(library->HasExport("DllUnregisterServer"));
    EXPECT_EQ(library->Call("DllRegisterServer", EntryArgs::None), S_OK);
    EXPECT_TRUE(UserKeyExists(SCRUBBER_FIXTURE_KEY_DLL));
    EXPECT_EQ(library->Call("DllUnregisterServer", EntryArgs::None), S_OK);
    EXPECT_FALSE(UserKeyExists(SCRUBBER_FIXTURE_KEY_DLL));
    EXPECT_EQ(library->Call("DllUnregisterServer", EntryArgs::None), S_FALSE) << "the result is passed on";
    EXPECT_FALSE(library->Call("DllInstall", EntryArgs::None));
  }
  EXPECT_FALSE(GetModuleHandleA("SelfRegDll.dll")) << "the library was freed";
}

TEST(Win32Libraries, LibraryWithoutRegistrationEntryPoints) {
  Win32Libraries libraries;
  auto library = libraries.Load(FixturePath("PlainDll.dll"));
  ASSERT_TRUE(library);
  EXPECT_FALSE(library->HasExport("DllRegisterServer"));
  EXPECT_FALSE(library->Call("DllUnregisterServer", EntryArgs::None));
  EXPECT_EQ(library->Call("PlainFixtureAnswer", EntryArgs::None), 42);
  EXPECT_FALSE(libraries.Load(FixturePath("NoSuchLibrary.dll")));
}

TEST(Win32Libraries, OleInitialisesThroughThePointerShape) {
  Win32Libraries libraries;
  auto ole = libraries.Load("OLE32.DLL");
  ASSERT_TRUE(ole);
  EXPECT_EQ(ole->Call("OleInitialize", EntryArgs::NullPointer), S_OK);
  EXPECT_TRUE(ole->Call("OleUninitialize", EntryArgs::None));
}

}  // namespace
}  // namespace scrubber
