// A file in use during a rollback: its backup goes in place at the restart,
// after the user agreed to restart. The harness runs these in its order:
// Cancel, OK (which restarts Wine), then the checks after the restart.
#include <gtest/gtest.h>

#include <cstdio>

#include "ScrubberSession.h"

using namespace testdriver;
using namespace scrubber_e2e;

namespace {

constexpr char kInstalled[] = "bytes the installation wrote";
constexpr char kOriginal[] = "bytes from before the installation";
constexpr char kHelperInWindows[] = "C:\\windows\\_QZRSTRT.EXE";
constexpr char kCaseDir[] = "C:\\Case41";

// Writes a case whose one file, overwritten with a backup, the returned
// handle holds open (others may read it, no one may replace it).
HANDLE PrepareHeldFile(const std::string& dir) {
  EXPECT_TRUE(FreshDir(dir));
  EXPECT_TRUE(CreateDirectoryA((dir + "\\BAK").c_str(), nullptr));
  EXPECT_TRUE(WriteFileBytes(dir + "\\HELD.TXT", kInstalled));
  EXPECT_TRUE(WriteFileBytes(dir + "\\BAK\\HELD.TXT", kOriginal));
  EXPECT_TRUE(WriteFileBytes(dir + "\\INSTALL.LOG",
                             LogText("Held Installation",
                                     {"File Overwrite: " + dir + "\\HELD.TXT", "Backup Copy: " + dir + "\\BAK\\HELD.TXT"})));
  return CreateFileA((dir + "\\HELD.TXT").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
}

std::optional<MessageBoxInfo> RestartQuestion(Process& run) {
  auto box = WaitForMessageBox(run.pid(), 30000);
  EXPECT_TRUE(box) << "no restart question";
  if (box) {
    EXPECT_EQ(box->text,
              "This uninstall must reboot your computer to replace files that were in use. Press the OK button to "
              "reboot your computer.");
    EXPECT_EQ(box->title, "Uninstall");
    std::vector<int> ids;
    for (const auto& button : box->buttons) ids.push_back(button.first);
    EXPECT_EQ(ids, (std::vector<int>{IDOK, IDCANCEL}));
  }
  return box;
}

TEST(ScrubberRestart, BeforeRestartCancelWritesNoHelper) {
  const std::string dir = "C:\\Case40";
  HANDLE held = PrepareHeldFile(dir);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  auto run = Process::Start(PlaceUninstaller(dir), "/A /R " + dir + "\\INSTALL.LOG");
  ASSERT_TRUE(run);
  auto box = RestartQuestion(*run);
  ASSERT_TRUE(box);
  ASSERT_TRUE(AnswerMessageBox(*box, IDCANCEL));
  EXPECT_TRUE(EndsWithZero(*run, 30000));
  EXPECT_FALSE(Exists(kHelperInWindows));
  EXPECT_EQ(ReadFileBytes(dir + "\\HELD.TXT"), kInstalled) << "replaced while held open";
  CloseHandle(held);
}

// The helper the uninstaller writes is compared as soon as it is complete:
// the restart it asks for may end this program a moment later.
TEST(ScrubberRestart, BeforeRestartOkWritesTheHelper) {
  HANDLE held = PrepareHeldFile(kCaseDir);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const std::string carried = ReadFileBytes(E2eFile("_QZRSTRT.EXE"));
  ASSERT_FALSE(carried.empty());
  auto run = Process::Start(PlaceUninstaller(kCaseDir), std::string("/A /R ") + kCaseDir + "\\INSTALL.LOG");
  ASSERT_TRUE(run);
  auto box = RestartQuestion(*run);
  ASSERT_TRUE(box);
  // A restart ends every program before the replacement; Wine's does not end
  // this one, so the file is let go now that the uninstaller has scheduled it.
  CloseHandle(held);
  Click(FindChildById(box->window, IDOK));
  const bool written = WaitUntil([&] { return ReadFileBytes(kHelperInWindows) == carried; }, 30000);
  EXPECT_TRUE(written) << "no byte-identical " << kHelperInWindows;
  if (written) {
    EXPECT_TRUE(WriteFileBytes(E2eFile("helper-written"), "yes"));
  }
  std::printf("restart helper written: %s\n", written ? "yes" : "no");
  std::fflush(stdout);
  DWORD code = 0;
  const bool ended = run->WaitForExit(30000, &code);
  std::printf("uninstaller ended: %s, exit code %lu\n", ended ? "yes" : "no", static_cast<unsigned long>(code));
  std::fflush(stdout);
  // Still alive: watch what the restart does while this program runs on.
  const std::string heldPath = std::string(kCaseDir) + "\\HELD.TXT";
  const bool helperGone = WaitUntil([] { return !Exists(kHelperInWindows); }, 10000);
  std::printf("within 10 s after the uninstaller: helper %s, held file %s\n", helperGone ? "gone" : "still there",
              ReadFileBytes(heldPath) == kOriginal ? "restored" : "not restored");
  std::fflush(stdout);
}

TEST(ScrubberRestart, AfterRestartTheBackupIsInPlace) {
  WIN32_FIND_DATAA found;
  HANDLE scan = FindFirstFileA((std::string(kCaseDir) + "\\*").c_str(), &found);
  std::printf("%s holds:", kCaseDir);
  for (bool more = scan != INVALID_HANDLE_VALUE; more; more = FindNextFileA(scan, &found)) {
    std::printf(" %s", found.cFileName);
  }
  std::printf("\n");
  if (scan != INVALID_HANDLE_VALUE) FindClose(scan);
  EXPECT_EQ(ReadFileBytes(std::string(kCaseDir) + "\\HELD.TXT"), kOriginal);
  EXPECT_FALSE(Exists(kHelperInWindows)) << "the restart helper did not go at the restart";
}

}  // namespace
