#include <gtest/gtest.h>

#include "fake/FakeFiles.h"
#include "fake/FakeRegistry.h"
#include "fake/FakeUi.h"
#include "logic/AboutBox.h"

namespace rosterly {
namespace {

const std::string kMsinfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

class About : public ::testing::Test {
 protected:
  FakeRegistry registry;
  FakeFileStore files;
  FakeProgramStarter starter;
  FakeMessageBoxes messages;
  AboutBox about{registry, files, starter, messages};

  void ExpectUnavailable() {
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "System Information Is Unavailable At This Time");
    EXPECT_EQ(messages.shown[0].title, "Rosterly");
    EXPECT_EQ(messages.shown[0].icon, MsgIcon::None);
    EXPECT_TRUE(starter.started.empty());
  }
};

TEST_F(About, Texts) {
  EXPECT_EQ(about.Caption(), "About Rosterly");
  EXPECT_EQ(about.TitleText(), "Rosterly");
  EXPECT_EQ(about.VersionText(), "Version 1.1.0");
  AboutBox later{registry, files, starter, messages, {2, 10, 7}};
  EXPECT_EQ(later.VersionText(), "Version 2.10.7");
  EXPECT_EQ(about.WebText().rfind("Web: ", 0), 0u);
}

TEST_F(About, StartsTheProgramNamedByPath) {
  registry.SetString(RegRoot::LocalMachine, kMsinfoKey, "PATH", "C:\\Tools\\msinfo32.exe");
  about.StartSysInfo();
  EXPECT_EQ(starter.started, (std::vector<std::string>{"C:\\Tools\\msinfo32.exe"}));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(About, FallsBackToTheToolsFolder) {
  registry.SetString(RegRoot::LocalMachine, kLocationKey, "MSINFO", "C:\\MSINFO");
  files.files["C:\\MSINFO\\MSINFO32.EXE"] = "MZ";
  about.StartSysInfo();
  EXPECT_EQ(starter.started, (std::vector<std::string>{"C:\\MSINFO\\MSINFO32.EXE"}));
}

TEST_F(About, UnavailableWhenNothingIsFoundOrStarts) {
  about.StartSysInfo();  // neither value
  ExpectUnavailable();

  messages.shown.clear();
  registry.SetString(RegRoot::LocalMachine, kLocationKey, "MSINFO", "C:\\MSINFO");  // folder without the file
  about.StartSysInfo();
  ExpectUnavailable();

  messages.shown.clear();
  registry.SetString(RegRoot::LocalMachine, kMsinfoKey, "PATH", "C:\\gone.exe");
  starter.startFailure = Status::Fail(0x80070002u, "The system cannot find the file specified.");
  about.StartSysInfo();
  ExpectUnavailable();
}

TEST_F(About, GetKeyValueRules) {
  std::string value = "stale";
  EXPECT_FALSE(about.GetKeyValue(RegRoot::LocalMachine, "NoSuchKey", "x", value));
  EXPECT_EQ(value, "");

  registry.SetString(RegRoot::CurrentUser, "K", "s", "text");
  registry.SetValue(RegRoot::CurrentUser, "K", "raw", kRegSz, "no terminator");
  registry.SetValue(RegRoot::CurrentUser, "K", "max", kRegSz, std::string(1023, 'x') + '\0');
  registry.SetValue(RegRoot::CurrentUser, "K", "long", kRegSz, std::string(1024, 'x') + '\0');
  registry.SetValue(RegRoot::CurrentUser, "K", "dword", 4, std::string("\x01\0\0\0", 4));
  EXPECT_TRUE(about.GetKeyValue(RegRoot::CurrentUser, "K", "s", value));
  EXPECT_EQ(value, "text");
  EXPECT_TRUE(about.GetKeyValue(RegRoot::CurrentUser, "K", "raw", value));
  EXPECT_EQ(value, "no terminator");
  EXPECT_TRUE(about.GetKeyValue(RegRoot::CurrentUser, "K", "max", value));  // exactly the buffer
  EXPECT_EQ(value.size(), 1023u);
  EXPECT_FALSE(about.GetKeyValue(RegRoot::CurrentUser, "K", "long", value));  // one byte too many
  EXPECT_EQ(value, "");
  EXPECT_FALSE(about.GetKeyValue(RegRoot::CurrentUser, "K", "dword", value));
  EXPECT_FALSE(about.GetKeyValue(RegRoot::CurrentUser, "K", "missing", value));
}

TEST_F(About, ReadOnlyKeysCanStillBeRead) {
  registry.SetString(RegRoot::LocalMachine, kMsinfoKey, "PATH", "C:\\Tools\\msinfo32.exe");
  registry.SetReadOnly(RegRoot::LocalMachine, kMsinfoKey);
  about.StartSysInfo();
  EXPECT_EQ(starter.started.size(), 1u);
  for (std::uint32_t access : registry.AccessRequested()) EXPECT_EQ(access, kKeyRead);
}

TEST_F(About, WebLabelOpensTheAddress) {
  about.WebLabelClicked();
  ASSERT_EQ(starter.opened.size(), 1u);
  EXPECT_EQ(starter.opened[0].first, "OPEN");
  EXPECT_EQ(about.WebText(), "Web: " + starter.opened[0].second);
}

}  // namespace
}  // namespace rosterly
