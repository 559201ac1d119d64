// The Win32 platform layer on the real system: files, registry, environment,
// process runs and the file dialog's filter.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "Win32Dialogs.h"
#include "Win32ProcessRunner.h"
#include "Win32System.h"

namespace rosterly {
namespace {

std::string TempFile(const char* name) {
  Win32Environment environment;
  Result<std::string> temp = environment.TempDirectory();
  EXPECT_TRUE(temp.ok());
  std::string dir = temp.value();
  if (!dir.empty() && dir.back() != '\\') dir += '\\';
  return dir + name;
}

TEST(Win32Files, WriteTruncatesAndReadReturnsEveryByte) {
  Win32FileStore files;
  const std::string path = TempFile("rosterly-files.bin");
  std::string bytes("a,b\r\n\0\xff end", 12);
  ASSERT_TRUE(files.WriteWholeFile(path, std::string(100000, 'x')).ok());
  ASSERT_TRUE(files.WriteWholeFile(path, bytes).ok());
  Result<std::string> read = files.ReadWholeFile(path);
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read.value(), bytes);
  EXPECT_TRUE(files.FileExists(path));
  EXPECT_FALSE(files.FileExists(TempFile("")));  // a directory is not a file
  DeleteFileA(path.c_str());
  Result<std::string> missing = files.ReadWholeFile(path);
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.status().code(), 0x80070002u);
  EXPECT_FALSE(missing.status().description().empty());
  EXPECT_FALSE(files.WriteWholeFile(TempFile("no-such-dir\\x.csv"), "x").ok());
}

TEST(Win32Registry, ReadsStringsAndRefusesLongValuesAndMissingKeys) {
  const char* key = "Software\\RosterlySystemTest";
  HKEY handle;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(handle, "PATH", 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\x.exe"), 9);
  const std::string longValue(2000, 'v');
  RegSetValueExA(handle, "Long", 0, REG_SZ, reinterpret_cast<const BYTE*>(longValue.c_str()),
                 static_cast<DWORD>(longValue.size() + 1));
  RegCloseKey(handle);

  Win32Registry registry;
  auto opened = registry.OpenKey(RegRoot::CurrentUser, key, kKeyRead);
  ASSERT_TRUE(opened.ok());
  Result<RegData> path = opened.value()->QueryValue("PATH", 1024);
  ASSERT_TRUE(path.ok());
  EXPECT_EQ(path.value().type, kRegSz);
  EXPECT_EQ(path.value().bytes, std::string("C:\\x.exe\0", 9));
  Result<RegData> tooLong = opened.value()->QueryValue("Long", 1024);
  ASSERT_FALSE(tooLong.ok());
  EXPECT_EQ(tooLong.status().code(), 0x800700EAu);  // more data
  EXPECT_FALSE(opened.value()->QueryValue("Missing", 1024).ok());
  EXPECT_FALSE(registry.OpenKey(RegRoot::CurrentUser, "Software\\RosterlyNoSuchKey", kKeyRead).ok());
  RegDeleteTreeA(HKEY_CURRENT_USER, key);
}

TEST(Win32Environment, NamesTempAndTheSystemDirectoryWithPing) {
  Win32Environment environment;
  Win32FileStore files;
  Result<std::string> system = environment.SystemDirectory();
  ASSERT_TRUE(system.ok());
  EXPECT_TRUE(files.FileExists(system.value() + "\\ping.exe"));
  Result<std::string> temp = environment.TempDirectory();
  ASSERT_TRUE(temp.ok());
  EXPECT_NE(GetFileAttributesA(temp.value().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(environment.ProcessId(), GetCurrentProcessId());
}

TEST(Win32ProcessRunner, QuotesArgumentsSoTheProgramSeesThemAsGiven) {
  EXPECT_EQ(BuildCommandLine("C:\\w\\ping.exe", std::vector<std::string>{"-n", "1", "pc1"}),
            "C:\\w\\ping.exe -n 1 pc1");
  EXPECT_EQ(BuildCommandLine("C:\\Program Files\\p.exe", std::vector<std::string>{"a b", "", "q\"x", "d\\\\"}),
            "\"C:\\Program Files\\p.exe\" \"a b\" \"\" \"q\\\"x\" d\\\\");
  EXPECT_EQ(BuildCommandLine("p", std::vector<std::string>{"tail\\ end\\"}), "p \"tail\\ end\\\\\"");
}

TEST(Win32ProcessRunner, CapturesStandardOutputAndWaitsForTheEnd) {
  Win32Environment environment;
  Win32FileStore files;
  Win32ProcessRunner runner;
  const std::string out = TempFile("rosterly-run.tmp");
  ASSERT_TRUE(files.WriteWholeFile(out, std::string(5000, 'o')).ok());  // truncated by the run
  const std::vector<std::string> args = {"-n", "1", "-w", "750", "localhost"};
  auto ping = runner.Start(environment.SystemDirectory().value() + "\\ping.exe", args, out);
  ASSERT_TRUE(ping.ok()) << ping.status().description();
  Result<bool> ended = ping.value()->WaitForExit(30000);
  ASSERT_TRUE(ended.ok() && ended.value());
  Result<std::string> text = files.ReadWholeFile(out);
  ASSERT_TRUE(text.ok());
  EXPECT_NE(text.value().find("TTL="), std::string::npos) << text.value();
  EXPECT_EQ(text.value().find("ooooo"), std::string::npos);
  auto missing = runner.Start("C:\\windows\\system32\\no-such-program.exe", args, out);
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.status().code(), 0x80070002u);
  EXPECT_TRUE(files.RemoveFile(out).ok());
}

TEST(Win32Files, ReplacingAFileAndMakingOneBesideIt) {
  Win32FileStore files;
  const std::string target = TempFile("rosterly-target.csv");
  ASSERT_TRUE(files.WriteWholeFile(target, "old").ok());
  Result<std::string> fresh = files.NewFileBeside(target);
  ASSERT_TRUE(fresh.ok()) << fresh.status().description();
  EXPECT_TRUE(files.FileExists(fresh.value()));
  EXPECT_EQ(fresh.value().substr(0, target.rfind('\\')), target.substr(0, target.rfind('\\')));
  ASSERT_TRUE(files.WriteWholeFile(fresh.value(), "new").ok());
  ASSERT_TRUE(files.MoveReplacing(fresh.value(), target).ok());
  EXPECT_EQ(files.ReadWholeFile(target).value(), "new");
  EXPECT_FALSE(files.FileExists(fresh.value()));
  EXPECT_TRUE(files.RemoveFile(target).ok());
  EXPECT_FALSE(files.RemoveFile(target).ok());
}

TEST(Win32Dialogs, FilterBecomesNulSeparatedPairs) {
  EXPECT_EQ(DialogFilter("CSV Files (*.csv)|*.csv"), std::string("CSV Files (*.csv)\0*.csv\0\0", 25));
}

}  // namespace
}  // namespace rosterly
