// ScrubLog.exe on real files: the log, the files it names, an INI file and
// the settings file, under a temporary directory with a long name.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ScrubLogRun.h"

namespace {

using namespace scrubber::testing;

// As the JSON spells it.
std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string ShortOf(const std::string& path) {
  char buffer[MAX_PATH];
  const DWORD n = GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(buffer, n) : path;
}

class InspectorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    root_ = LongOf(temp) + "ScrubLog Test " + std::to_string(GetCurrentProcessId());
    appDir_ = root_ + "\\Demo Application Folder";
    ASSERT_TRUE(CreateDirectoryA(root_.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(appDir_.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((appDir_ + "\\Data Files").c_str(), nullptr));
  }

  void TearDown() override {
    for (const char* name : {"\\APP.EXE", "\\DEMO.INI", "\\INSTALL.LOG", "\\Data Files\\x"})
      DeleteFileA((appDir_ + name).c_str());
    DeleteFileA((root_ + "\\Scrub.INI").c_str());
    RemoveDirectoryA((appDir_ + "\\Data Files").c_str());
    RemoveDirectoryA(appDir_.c_str());
    RemoveDirectoryA(root_.c_str());
  }

  RunResult Run(const std::string& args) { return RunScrubLog(args, root_ + "\\", 60000); }

  std::string root_;
  std::string appDir_;
};

TEST_F(InspectorTest, PrintsTheModelOfALogOverRealFiles) {
  WriteFile(appDir_ + "\\APP.EXE", "MZ");
  WritePrivateProfileStringA("Main", "Key", "now", (appDir_ + "\\DEMO.INI").c_str());
  const std::string first = "*** Installation started\r\n"
                            "Title: Demo Application Installation\r\n"
                            "Product: Demo\r\n"
                            "Made Dir: " + appDir_ + "\r\n"
                            "File Copy: " + appDir_ + "\\APP.EXE\r\n"
                            "File Copy: " + appDir_ + "\\GONE.EXE\r\n"
                            "INI File: " + appDir_ + "\\DEMO.INI\r\nINI Sect: Main\r\nINI Item: Key\r\n"
                            "INI Val: now\r\nINI Old: before\r\n"
                            "RegDB Key: Software\\Demo\r\nRegDB Val: x\r\nRegDB Root: 2\r\n"
                            "RegDB Old: a\r\nRegDB Old: b\r\n"
                            "Create Service: DemoSvc\r\n"
                            "SubSystem: BDE\r\n";
  const std::string second = "***  Upgrade\r\nFile Tree: " + appDir_ + "\\Data Files\\*.*\r\n";
  const std::string logPath = appDir_ + "\\INSTALL.LOG";
  WriteFile(logPath, first + second);

  const RunResult run = Run("\"" + ShortOf(logPath) + "\"");
  ASSERT_EQ(run.exitCode, 0u) << run.err;
  const std::string& json = run.out;
  auto has = [&](const std::string& part) { return json.find(part) != std::string::npos; };
  EXPECT_TRUE(has("\"title\": \"Demo Application\"")) << json;
  EXPECT_TRUE(has("\"product\": \"Demo\""));
  EXPECT_TRUE(has("\"installCount\": 2"));
  EXPECT_TRUE(has("\"lastInstallOffset\": " + std::to_string(first.size())));
  EXPECT_TRUE(has("\"ansiText\": 1"));
  EXPECT_TRUE(has("\"hasBackups\": 0"));
  EXPECT_TRUE(has("\"uninstallDir\": " + Quoted(ShortOf(appDir_) + "\\"))) << json;
  EXPECT_TRUE(has("\"path\": " + Quoted(appDir_ + "\\APP.EXE")));
  EXPECT_FALSE(has("GONE.EXE"));
  // The made directory is the log's own, which the reader seeded in long form.
  EXPECT_TRUE(has("\"path\": " + Quoted(appDir_ + "\\") + ",\n      \"selected\": 0,\n      \"treeInstall\": 0,\n"
                  "      \"lastInstall\": 1"))
      << json;
  EXPECT_TRUE(has("\"path\": " + Quoted(appDir_ + "\\Data Files\\") + ",\n      \"selected\": 0,\n"
                  "      \"treeInstall\": 2"));
  EXPECT_TRUE(has("\"oldValue\": \"before\""));
  EXPECT_TRUE(has("\"oldData\": [\n        \"a\",\n        \"b\"\n      ]"));
  EXPECT_TRUE(has("\"rootName\": \"HKEY_LOCAL_MACHINE\""));
  EXPECT_TRUE(has("\"name\": \"DemoSvc\""));
  EXPECT_TRUE(has("\"text\": \"BDE\""));
}

TEST_F(InspectorTest, UnusableLogReportsOnStderrInTheSettingsLanguage) {
  RunResult run = Run("\"" + appDir_ + "\\MISSING.LOG\"");
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("Packwright Uninstall: Could not open INSTALL.LOG file."), std::string::npos) << run.err;

  const std::string settings = root_ + "\\Scrub.INI";
  WritePrivateProfileStringA("Language", "Msg4", "Kein|Protokoll", settings.c_str());
  WriteFile(appDir_ + "\\INSTALL.LOG", "*** Installation\r\nNo title here\r\n");
  run = Run("/settings \"" + settings + "\" \"" + appDir_ + "\\INSTALL.LOG\"");
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_NE(run.err.find("Packwright Uninstall: Kein\r\nProtokoll"), std::string::npos) << run.err;

  EXPECT_EQ(Run("").exitCode, 2u);
}

}  // namespace
