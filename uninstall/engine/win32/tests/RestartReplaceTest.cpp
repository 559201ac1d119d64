// A backup that can only replace a file in use at the next start really
// replaces it: the first run schedules the replacement, the system restarts
// (with_restart.sh), the second run finds the backup's bytes in place.
// Runs only under with_restart.sh, in a prefix of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "FileOperations.h"
#include "Scratch.h"
#include "Win32FileSystem.h"
#include "Win32Profile.h"

namespace scrubber {
namespace {

using testing::ExistsForTest;
using testing::ReadFileForTest;
using testing::WriteFileForTest;

// A fixed place, as the second run must find what the first left.
const std::string kDir = "C:\\restart-case";
const std::string kTarget = kDir + "\\app.dll";
const std::string kBackup = kDir + "\\app.bak";

bool InRestartHarness() { return std::getenv("SCRUBBER_RESTART_PHASE") != nullptr; }

TEST(RestartReplace, ScheduledWhileInUse) {
  if (!InRestartHarness()) GTEST_SKIP() << "needs with_restart.sh";
  ASSERT_TRUE(CreateDirectoryA(kDir.c_str(), nullptr));
  ASSERT_TRUE(WriteFileForTest(kTarget, "installed"));
  ASSERT_TRUE(WriteFileForTest(kBackup, "original"));
  HANDLE inUse = CreateFileA(kTarget.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(inUse, INVALID_HANDLE_VALUE);

  Win32FileSystem fs;
  Win32Profile profile;
  Globals globals;
  FileOperations ops(fs, profile, globals);
  EXPECT_EQ(ops.RestoreBackup(kBackup, kTarget), RestoreResult::AtRestart);
  EXPECT_EQ(globals.rebootNeeded, 1);
  EXPECT_FALSE(ExistsForTest(kBackup));
  CloseHandle(inUse);
  EXPECT_EQ(ReadFileForTest(kTarget), "installed") << "nothing changes before the restart";
}

TEST(RestartReplace, InPlaceAfterTheRestart) {
  if (!InRestartHarness()) GTEST_SKIP() << "needs with_restart.sh";
  EXPECT_EQ(ReadFileForTest(kTarget), "original");
  WIN32_FIND_DATAA found;
  HANDLE scan = FindFirstFileA((kDir + "\\~KVZ*.TMP").c_str(), &found);
  EXPECT_EQ(scan, INVALID_HANDLE_VALUE) << "the temporary copy was left behind: " << found.cFileName;
  if (scan != INVALID_HANDLE_VALUE) FindClose(scan);
}

}  // namespace
}  // namespace scrubber
