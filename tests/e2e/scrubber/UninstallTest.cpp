// Uninstalls carried out: what is undone and what is kept, rollback, the
// silent switch, the shared-component question, the status report and the
// removal of the uninstaller's own file.
#include <gtest/gtest.h>

#include "ScrubberSession.h"

using namespace testdriver;
using namespace scrubber_e2e;

namespace {

constexpr char kSharedDlls[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr char kRegKey[] = "Software\\ScrubberE2E";
constexpr COLORREF kBlockColour = RGB(0, 0, 0x7F);
constexpr DWORD kSelfRemovalMs = 8000;

// A finished run: exited with 0 by itself.
void ExpectEndsWithZero(Process& run) { EXPECT_TRUE(EndsWithZero(run, 30000)) << "still running or failed"; }

// Runs it with these arguments up to the wizard.
HWND StartToWizard(std::optional<Process>& run, const std::string& exe, const std::string& args) {
  run = Process::Start(exe, args);
  return run ? WaitForWizard(run->pid()) : nullptr;
}

TEST(ScrubberUninstall, AutomaticUndoesEverythingAndRemovesItself) {
  const std::string dir = "C:\\Case30";
  ASSERT_TRUE(FreshDir(dir));
  ASSERT_TRUE(CreateDirectoryA((dir + "\\SUB").c_str(), nullptr));
  ASSERT_TRUE(WriteFileBytes(dir + "\\A.TXT", "a"));
  ASSERT_TRUE(WriteFileBytes(dir + "\\SUB\\B.TXT", "b"));
  ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, std::string(kRegKey) + "\\Auto", "Version", "1.0"));
  const std::string exe = PlaceUninstaller(dir);
  ASSERT_TRUE(WriteFileBytes(dir + "\\INSTALL.LOG",
                             LogText("Auto Installation", {"Made Dir: " + dir, "Made Dir: " + dir + "\\SUB",
                                                           "File Copy: " + exe, "File Copy: " + dir + "\\A.TXT",
                                                           "File Copy: " + dir + "\\SUB\\B.TXT",
                                                           "RegDB Key: Software\\ScrubberE2E\\Auto", "RegDB Val: 1",
                                                           "RegDB Name: Version", "RegDB Root: 1"})));
  std::optional<Process> run;
  HWND wizard = StartToWizard(run, exe, "");
  ASSERT_NE(wizard, nullptr);
  ASSERT_TRUE(Turn(wizard, kNext));
  ASSERT_EQ(Text(wizard, kTitle), kReadyPage);
  Click(FindChildById(wizard, kNext));
  ExpectEndsWithZero(*run);
  EXPECT_FALSE(Exists(dir + "\\A.TXT"));
  EXPECT_FALSE(Exists(dir + "\\SUB\\B.TXT"));
  EXPECT_FALSE(Exists(dir + "\\INSTALL.LOG"));
  EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, std::string(kRegKey) + "\\Auto", "Version"));
  EXPECT_TRUE(WaitUntil([&] { return !Exists(exe) && !Exists(dir); }, kSelfRemovalMs))
      << "left behind: " << (Exists(exe) ? exe : dir);
}

TEST(ScrubberUninstall, CustomUndoesOnlyTheChosenItems) {
  const std::string dir = "C:\\Case31";
  const std::string key = std::string(kRegKey) + "\\Custom";
  ASSERT_TRUE(FreshDir(dir));
  for (const char* name : {"\\KEEP.TXT", "\\GONE.TXT"}) ASSERT_TRUE(WriteFileBytes(dir + name, "x"));
  ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, key, "Mode", "on"));
  ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, key, "Other", "kept"));
  ASSERT_TRUE(WriteFileBytes(dir + "\\INSTALL.LOG",
                             LogText("Custom Installation",
                                     {"File Copy: " + dir + "\\KEEP.TXT", "File Copy: " + dir + "\\GONE.TXT",
                                      "RegDB Key: " + key, "RegDB Val: 1", "RegDB Name: Other", "RegDB Root: 1",
                                      "RegDB Key: " + key, "RegDB Val: 1", "RegDB Name: Mode", "RegDB Root: 1"})));
  std::optional<Process> run;
  HWND wizard = StartToWizard(run, PlaceUninstaller(dir), dir + "\\INSTALL.LOG");
  ASSERT_NE(wizard, nullptr);
  SendMessageA(FindChildById(wizard, kFirstChoice), BM_SETCHECK, BST_UNCHECKED, 0);
  SendMessageA(FindChildById(wizard, kSecondChoice), BM_SETCHECK, BST_CHECKED, 0);
  HWND list = FindChildById(wizard, kItemList);
  ASSERT_TRUE(Turn(wizard, kNext));
  ASSERT_EQ(Text(wizard, kTitle), "Select Private Files to Remove");
  ASSERT_TRUE(ListBoxSelect(list, 1));
  ASSERT_TRUE(Turn(wizard, kNext));
  ASSERT_EQ(Text(wizard, kTitle), "Select Directories to Remove");
  ASSERT_TRUE(Turn(wizard, kNext));
  ASSERT_EQ(Text(wizard, kTitle), "Select Registry Keys to Remove");
  ASSERT_EQ(ListBoxItems(list), (std::vector<std::string>{key + " Value Name: Other", key + " Value Name: Mode"}));
  ASSERT_TRUE(ListBoxSelect(list, 1));
  ASSERT_TRUE(Turn(wizard, kNext));
  ASSERT_EQ(Text(wizard, kTitle), kReadyPage);
  Click(FindChildById(wizard, kNext));
  ExpectEndsWithZero(*run);
  EXPECT_FALSE(Exists(dir + "\\GONE.TXT"));
  EXPECT_TRUE(Exists(dir + "\\KEEP.TXT"));
  EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, key, "Mode"));
  EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, key, "Other"));
  EXPECT_TRUE(Exists(dir));
  RegDeleteTreeA(HKEY_CURRENT_USER, kRegKey);
  RemoveTree(dir);
}

// Lower-case switches: an automatic rollback of the second of two
// installations, with no page to turn.
TEST(ScrubberUninstall, RollbackUndoesTheLastInstallationOnly) {
  const std::string dir = "C:\\Case32";
  ASSERT_TRUE(FreshDir(dir));
  ASSERT_TRUE(CreateDirectoryA((dir + "\\BAK").c_str(), nullptr));
  ASSERT_TRUE(WriteFileBytes(dir + "\\FIRST.TXT", "first, as installed"));
  ASSERT_TRUE(WriteFileBytes(dir + "\\BAK\\FIRST.TXT", "first, before"));
  ASSERT_TRUE(WriteFileBytes(dir + "\\DATA.TXT", "data, as upgraded"));
  ASSERT_TRUE(WriteFileBytes(dir + "\\BAK\\DATA.TXT", "data, before the upgrade"));
  ASSERT_TRUE(WriteFileBytes(dir + "\\NEW.TXT", "new in the upgrade"));
  const std::string firstInstall =
      LogText("Layered Installation", {"File Overwrite: " + dir + "\\FIRST.TXT", "Backup Copy: " + dir + "\\BAK\\FIRST.TXT"});
  const std::string upgrade = "***  Installation Started 13/07/2026 10:00\r\nFile Overwrite: " + dir +
                              "\\DATA.TXT\r\nBackup Copy: " + dir + "\\BAK\\DATA.TXT\r\nFile Copy: " + dir +
                              "\\NEW.TXT\r\n";
  ASSERT_TRUE(WriteFileBytes(dir + "\\INSTALL.LOG", firstInstall + upgrade));
  auto run = Process::Start(PlaceUninstaller(dir), "/a /r " + dir + "\\INSTALL.LOG");
  ASSERT_TRUE(run);
  ExpectEndsWithZero(*run);
  EXPECT_EQ(ReadFileBytes(dir + "\\DATA.TXT"), "data, before the upgrade");
  EXPECT_FALSE(Exists(dir + "\\NEW.TXT"));
  EXPECT_EQ(ReadFileBytes(dir + "\\FIRST.TXT"), "first, as installed");
  EXPECT_EQ(ReadFileBytes(dir + "\\BAK\\FIRST.TXT"), "first, before");
  EXPECT_TRUE(ReadFileBytes(dir + "\\INSTALL.LOG") == firstInstall) << "the log was not cut back to the first installation";
  RemoveTree(dir);
}

// /s and /S: no window at all, and no instance check against a running one.
TEST(ScrubberUninstall, SilentRunsShowNoWindowBesideARunningInstance) {
  const std::string dir = "C:\\Case33";
  ASSERT_TRUE(FreshDir(dir));
  ASSERT_TRUE(CreateDirectoryA((dir + "\\B").c_str(), nullptr));
  ASSERT_TRUE(WriteFileBytes(dir + "\\B\\B.TXT", "b"));
  ASSERT_TRUE(
      WriteFileBytes(dir + "\\B\\INSTALL.LOG", LogText("Quiet Installation", {"File Copy: " + dir + "\\B\\B.TXT"})));
  const std::string exe = PlaceUninstaller(dir);

  std::optional<Process> interactive;
  HWND wizard = StartToWizard(interactive, exe, dir + "\\B\\INSTALL.LOG");
  ASSERT_NE(wizard, nullptr);
  for (const char* silentSwitch : {"/s ", "/S "}) {
    // Each run deletes its log with the file.
    ASSERT_TRUE(WriteFileBytes(dir + "\\A.TXT", "a"));
    ASSERT_TRUE(WriteFileBytes(dir + "\\INSTALL.LOG", LogText("Quiet Installation", {"File Copy: " + dir + "\\A.TXT"})));
    auto silent = Process::Start(exe, silentSwitch + dir + "\\INSTALL.LOG");
    ASSERT_TRUE(silent);
    bool windowSeen = false;
    WaitUntil([&] {
      windowSeen = windowSeen || !FindTopWindows({"", "", silent->pid(), true}).empty();
      return !silent->Running();
    }, 30000);
    EXPECT_FALSE(windowSeen) << silentSwitch;
    ExpectEndsWithZero(*silent);
    EXPECT_FALSE(Exists(dir + "\\A.TXT")) << silentSwitch;
  }
  EXPECT_TRUE(IsWindowVisible(wizard));
  ASSERT_TRUE(CancelWizard(wizard, interactive->pid(), true));
  ExpectEndsWithZero(*interactive);
  EXPECT_TRUE(Exists(dir + "\\B\\B.TXT"));
  RemoveTree(dir);
}

class ScrubberShared : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FreshDir(dir_));
    ASSERT_TRUE(WriteFileBytes(file_, "shared"));
    ASSERT_TRUE(SetRegDword(HKEY_LOCAL_MACHINE, kSharedDlls, file_, 1));
    // Two counted items before the system files, so that the bar has moved
    // when the question comes.
    ASSERT_TRUE(WriteFileBytes(dir_ + "\\S.INI", "[S]\r\nK=v\r\n"));
    ASSERT_TRUE(WriteFileBytes(dir_ + "\\T.INI", "[S]\r\nK=v\r\n"));
    ASSERT_TRUE(WriteFileBytes(dir_ + "\\INSTALL.LOG",
                               LogText("Shared Installation",
                                       {"INI New: 1", "INI File: " + dir_ + "\\S.INI", "INI File: " + dir_ + "\\T.INI",
                                        "INI Sect: S", "INI Item: K", "INI Val: v", "File Copy: " + file_})));
    exe_ = PlaceUninstaller(dir_);
  }
  void TearDown() override {
    HKEY overrides = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kDllOverrides, 0, KEY_SET_VALUE, &overrides) == ERROR_SUCCESS) {
      RegDeleteValueA(overrides, "ctl3d32");
      RegCloseKey(overrides);
    }
    DeleteFileA(file_.c_str());
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDlls, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      RegDeleteValueA(key, file_.c_str());
      RegCloseKey(key);
    }
    RemoveTree(dir_);
  }

  HWND WaitForQuestion(DWORD pid) {
    HWND dialog = WaitForWindow({"#32770", kSharedCaption, pid});
    EXPECT_NE(dialog, nullptr) << "no shared-component question";
    if (dialog) {
      EXPECT_NE(Text(dialog, kSharedText).find(file_), std::string::npos) << Text(dialog, kSharedText);
      EXPECT_EQ(Text(dialog, kSharedYes), "&Yes");
      EXPECT_EQ(Text(dialog, kSharedNo), "&No");
      EXPECT_EQ(Text(dialog, kSharedNoToAll), "No to &All");
    }
    return dialog;
  }

  static constexpr char kDllOverrides[] = "Software\\Wine\\DllOverrides";
  const std::string dir_ = "C:\\Case34";
  const std::string file_ = "C:\\windows\\system32\\SCRSHARE.DLL";
  std::string exe_;
};

// /A: the Ready page as progress window, the bar drawn behind the question,
// Enter answers No to All.
TEST_F(ScrubberShared, EnterAnswersNoToAllOverTheProgressPage) {
  std::optional<Process> run;
  HWND wizard = StartToWizard(run, exe_, "/A " + dir_ + "\\INSTALL.LOG");
  ASSERT_NE(wizard, nullptr);
  HWND dialog = WaitForQuestion(run->pid());
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Text(wizard, kTitle), kReadyPage);
  EXPECT_FALSE(IsWindowVisible(FindChildById(wizard, kNext)));
  EXPECT_FALSE(IsWindowVisible(FindChildById(wizard, kBack)));
  EXPECT_EQ(Text(wizard, kUpperText),
            "Performing uninstall of the Shared...\n\nPress the Cancel button to stop the uninstall process and exit "
            "this program.");
  Picture(dialog, "shared-question");
  // The question is centred over the bar: moved aside, as a user would drag
  // it, the wizard repaints the bar.
  SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Sleep(300);
  RECT area{};
  HWND bar = FindChildById(wizard, kProgress);
  GetWindowRect(bar, &area);
  MapWindowPoints(nullptr, wizard, reinterpret_cast<POINT*>(&area), 2);
  const Pixels pixels = PixelsOf(wizard);
  Picture(wizard, "wizard-progress");
  int blocks = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) blocks += pixels.At(x, y) == kBlockColour ? 1 : 0;
  EXPECT_GT(blocks, 0) << "no progress blocks inside the progress area; control " << kProgress
                       << (IsWindowVisible(bar) ? " shown over it" : " hidden");
  EXPECT_TRUE(IsWindowVisible(bar)) << "with the control library the bar's own control is shown";

  PressKeyInFocus(dialog, VK_RETURN);
  ExpectEndsWithZero(*run);
  EXPECT_TRUE(Exists(file_)) << "No to All removed the shared file";
  EXPECT_FALSE(Exists(dir_ + "\\S.INI"));
}

// Without the control library (disabled for this run): the bar's control
// stays hidden and the wizard frames the bar itself.
TEST_F(ScrubberShared, EscapeAnswersNoWithoutTheControlLibrary) {
  ASSERT_TRUE(SetRegString(HKEY_CURRENT_USER, kDllOverrides, "ctl3d32", ""));
  std::optional<Process> run;
  HWND wizard = StartToWizard(run, exe_, dir_ + "\\INSTALL.LOG");
  ASSERT_NE(wizard, nullptr);
  ASSERT_TRUE(Turn(wizard, kNext));
  Click(FindChildById(wizard, kNext));
  HWND dialog = WaitForQuestion(run->pid());
  ASSERT_NE(dialog, nullptr);
  SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Sleep(300);
  HWND bar = FindChildById(wizard, kProgress);
  EXPECT_FALSE(IsWindowVisible(bar));
  RECT area{};
  GetWindowRect(bar, &area);
  MapWindowPoints(nullptr, wizard, reinterpret_cast<POINT*>(&area), 2);
  const Pixels pixels = PixelsOf(wizard);
  const int middle = (area.top + area.bottom) / 2;
  EXPECT_EQ(pixels.At(area.left, middle), RGB(0, 0, 0)) << "no frame left of the bar";
  EXPECT_EQ(pixels.At(area.right - 1, middle), RGB(0, 0, 0)) << "no frame right of the bar";
  PressKeyInFocus(dialog, VK_ESCAPE);
  ExpectEndsWithZero(*run);
  EXPECT_TRUE(Exists(file_)) << "No removed the shared file";
}

TEST(ScrubberStatusReport, ReportsBeforeAndAfterTheUninstall) {
  const std::string dir = "C:\\Case35";
  const std::string library = "C:\\windows\\ismif32.dll";
  char system[MAX_PATH];
  GetSystemDirectoryA(system, sizeof system);
  ASSERT_TRUE(Exists(std::string(system) + "\\msvcrt20.dll")) << "the status report needs msvcrt20.dll";
  ASSERT_TRUE(FreshDir(dir));
  ASSERT_TRUE(CopyFileA(E2eFile("ismif32.dll").c_str(), library.c_str(), FALSE));
  const std::string record = dir + "\\MIF.TXT";
  SetEnvironmentVariableA("SCRUBBER_MIF_RECORD", record.c_str());
  ASSERT_TRUE(WriteFileBytes(dir + "\\A.TXT", "a"));
  ASSERT_TRUE(WriteFileBytes(dir + "\\INSTALL.LOG",
                             LogText("Reported Installation",
                                     {"Uninstall MIF: DEMO.MIF", "Manufacturer: Demo Corp", "Product: Demo Application",
                                      "Version Number: 1.0", "Serial Number: 0000-1111",
                                      "File Copy: " + dir + "\\A.TXT"})));
  auto run = Process::Start(PlaceUninstaller(dir), "/A " + dir + "\\INSTALL.LOG");
  ASSERT_TRUE(run);
  ExpectEndsWithZero(*run);
  SetEnvironmentVariableA("SCRUBBER_MIF_RECORD", nullptr);
  EXPECT_EQ(ReadFileBytes(record),
            "DEMO.MIF|Demo Corp|Demo Application|1.0||0000-1111||0\n"
            "DEMO.MIF|Demo Corp|Demo Application|1.0||0000-1111||1\n");
  EXPECT_FALSE(Exists(dir + "\\A.TXT"));
  EXPECT_TRUE(DeleteFileA(library.c_str()));
  RemoveTree(dir);
}

// A program at a KVR name this run did not write, in use and not to be
// overwritten (TouchFile: started with the helper's arguments it would
// write the program path to C:\z), is never started; a copy under a name of
// this run's own removes the uninstaller all the same.
TEST(ScrubberSelfRemoval, RemovesItselfFromADirectoryWithABlankPastAProgramAtTheOldName) {
  const std::string dir = "C:\\Case With Blank";
  ASSERT_TRUE(FreshDir(dir));
  char temp[MAX_PATH];
  ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
  const std::string occupied = std::string(temp) + "KVR1A2B.EXE";
  const std::string mark = "C:\\z";
  DeleteFileA(mark.c_str());
  ASSERT_TRUE(CopyFileA(E2eFile("TouchFile.exe").c_str(), occupied.c_str(), FALSE));
  // Readers and starters are let in, writers not: as a running program is kept.
  HANDLE inUse = CreateFileA(occupied.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(inUse, INVALID_HANDLE_VALUE);

  const std::string exe = PlaceUninstaller(dir);
  ASSERT_TRUE(WriteFileBytes(dir + "\\A.TXT", "a"));
  ASSERT_TRUE(WriteFileBytes(dir + "\\INSTALL.LOG", LogText("Blank Installation", {"Made Dir: " + dir, "File Copy: " + exe,
                                                                                    "File Copy: " + dir + "\\A.TXT"})));
  auto run = Process::Start(exe, "/A \"" + dir + "\\INSTALL.LOG\"");
  ASSERT_TRUE(run);
  ExpectEndsWithZero(*run);
  EXPECT_FALSE(Exists(dir + "\\A.TXT"));
  EXPECT_TRUE(WaitUntil([&] { return !Exists(exe) && !Exists(dir); }, kSelfRemovalMs))
      << "left behind: " << (Exists(exe) ? exe : dir);
  EXPECT_FALSE(WaitUntil([&] { return Exists(mark); }, 1500)) << "the program at the old name was started";
  CloseHandle(inUse);
  DeleteFileA(occupied.c_str());
  DeleteFileA(mark.c_str());
  RemoveTree(dir);
}

// A silent run gives a deleted service's program its time to end: the
// fixture stops two seconds after the stop control and holds its own file
// without delete sharing until then; the file goes with the rest.
TEST(ScrubberUninstall, SilentRunWaitsForADeletedServiceToEnd) {
  const std::string dir = "C:\\Case41";
  const std::string name = "ScrubberE2ESlowService";
  ASSERT_TRUE(FreshDir(dir));
  const std::string program = dir + "\\SLOWSVC.EXE";
  ASSERT_TRUE(CopyFileA(E2eFile("ServiceFixture.exe").c_str(), program.c_str(), FALSE));
  testdriver::WaitForOneServiceManager();
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  ASSERT_TRUE(manager);
  const std::string binary = "\"" + program + "\" /slow";
  SC_HANDLE service = CreateServiceA(manager, name.c_str(), name.c_str(), SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                     SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE, binary.c_str(), nullptr, nullptr,
                                     nullptr, nullptr, nullptr);
  ASSERT_TRUE(service) << GetLastError();
  EXPECT_TRUE(testdriver::StartServiceWhenReady(service)) << GetLastError();
  SERVICE_STATUS status{};
  EXPECT_TRUE(WaitUntil([&] { return QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_RUNNING; },
                        10000));
  CloseServiceHandle(service);
  CloseServiceHandle(manager);
  ASSERT_TRUE(WriteFileBytes(dir + "\\INSTALL.LOG",
                             LogText("Service Installation", {"File Copy: " + program, "Create Service: " + name})));
  auto run = Process::Start(PlaceUninstaller(dir), "/S " + dir + "\\INSTALL.LOG");
  ASSERT_TRUE(run);
  ExpectEndsWithZero(*run);
  EXPECT_FALSE(Exists(program)) << "kept: deleted while its service was still ending";
  RemoveTree(dir);
}

}  // namespace
