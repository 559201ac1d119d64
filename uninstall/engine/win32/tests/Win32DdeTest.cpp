// Win32DdeClient against the Program Manager stand-in (fixtures/ProgmanFixture):
// the group list, group texts, long replies and execute commands.
//
// Wine's own desktop process also serves "PROGMAN" (it lists the Start menu
// folders and serves no group texts). Every test therefore first checks that
// the group list is exactly the one it gave the fixture.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Fixtures.h"
#include "Progman.h"
#include "Scratch.h"
#include "Win32Dde.h"
#include "run/EngineUi.h"

namespace scrubber {
namespace {


constexpr std::uint32_t kTimeoutMs = 5000;

class Win32DdeTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (standIn_.Running()) Stop();
    conversation_.reset();
    instance_.reset();
  }

  // Starts the fixture with the groups and connects to it.
  void Serve(const std::string& groups) {
    groupsFile_ = scratch_.path() + "\\groups.txt";
    logFile_ = scratch_.path() + "\\commands.txt";
    ASSERT_TRUE(testing::WriteFileForTest(groupsFile_, groups));
    ASSERT_TRUE(standIn_.Start(groupsFile_, logFile_)) << "the fixture did not register its service";
    instance_ = client_.Initialize();
    ASSERT_TRUE(instance_);
    conversation_ = instance_->Connect("PROGMAN", "PROGMAN");
    ASSERT_TRUE(conversation_);
  }

  // Asks the fixture to end and waits for it; it is killed when it does not.
  void Stop() {
    if (!conversation_ && instance_) conversation_ = instance_->Connect("PROGMAN", "PROGMAN");
    if (conversation_) (void)conversation_->Execute("[ExitFixture()]", 1000);
    (void)standIn_.WaitForExit(5000);
    conversation_.reset();
  }

  std::string Groups() { return conversation_->Request("GROUPS", kTimeoutMs).value_or("<no reply>"); }

  testing::ScratchDir scratch_{"scrubber-dde"};
  std::string groupsFile_, logFile_;
  testing::ProgmanStandIn standIn_;
  Win32DdeClient client_;
  std::unique_ptr<DdeInstance> instance_;
  std::unique_ptr<DdeConversation> conversation_;
};

TEST_F(Win32DdeTest, ServesTheGroupListAndEachGroupsText) {
  Serve("[Fixture Apps]\r\nEditor|C:\\APP\\EDIT.EXE /n\r\nViewer|C:\\APP\\VIEW.EXE\r\n[StartUp]\r\n");
  ASSERT_EQ(Groups(), "Fixture Apps\r\nStartUp\r\n") << "not the fixture answering";
  std::string apps = conversation_->Request("fixture apps", kTimeoutMs).value_or("");
  EXPECT_EQ(apps.rfind("\"Fixture Apps\",", 0), 0u) << apps;
  EXPECT_NE(apps.find("\r\n\"Editor\",\"C:\\APP\\EDIT.EXE /n\","), std::string::npos) << apps;
  EXPECT_NE(apps.find("\r\n\"Viewer\",\"C:\\APP\\VIEW.EXE\","), std::string::npos) << apps;
  std::string startUp = conversation_->Request("StartUp", kTimeoutMs).value_or("");
  EXPECT_EQ(startUp.find("\r\n"), startUp.size() - 2) << "only the group's own line: " << startUp;
  EXPECT_FALSE(conversation_->Request("No Such Group", kTimeoutMs));
}

TEST_F(Win32DdeTest, ExecuteCommandsArriveWhole) {
  Serve("[Fixture Apps]\r\nEditor|C:\\APP\\EDIT.EXE\r\nViewer|C:\\APP\\VIEW.EXE\r\n[Other]\r\n");
  ASSERT_EQ(Groups(), "Fixture Apps\r\nOther\r\n") << "not the fixture answering";
  EXPECT_TRUE(conversation_->Execute("[ShowGroup(Fixture Apps,2)]", 1000));
  EXPECT_TRUE(conversation_->Execute("[ShowGroup(Fixture Apps,1)]", 1000));
  EXPECT_TRUE(conversation_->Execute("[DeleteItem(Editor)]", 1000));
  EXPECT_TRUE(conversation_->Execute("[DeleteGroup(Other)]", 1000));
  EXPECT_EQ(testing::ReadFileForTest(logFile_).value_or(""),
            "[ShowGroup(Fixture Apps,2)]\r\n[ShowGroup(Fixture Apps,1)]\r\n[DeleteItem(Editor)]\r\n"
            "[DeleteGroup(Other)]\r\n");
  EXPECT_EQ(Groups(), "Fixture Apps\r\n");
  std::string apps = conversation_->Request("Fixture Apps", kTimeoutMs).value_or("");
  EXPECT_EQ(apps.find("\"Editor\""), std::string::npos) << apps;
  EXPECT_NE(apps.find("\"Viewer\""), std::string::npos) << apps;
}

// A comma in a group's name must not split the command that names it: the
// item of the same name in the group shown before must stay.
TEST_F(Win32DdeTest, TheEngineRemovesOnlyTheItemOfAGroupWhoseNameHoldsAComma) {
  Serve("[Other]\r\nReadme|NOTEPAD.EXE C:\\OTHER\\README.TXT\r\n"
        "[Acme, Inc]\r\nReadme|NOTEPAD.EXE C:\\ACME\\README.TXT\r\nTool (beta)|C:\\ACME\\TOOL.EXE\r\n");
  ASSERT_EQ(Groups(), "Other\r\nAcme, Inc\r\n") << "not the fixture answering";
  ASSERT_TRUE(conversation_->Execute("[ShowGroup(Other,1)]", 1000)) << "the group the user has open";
  conversation_.reset();
  HeadlessUi ui;
  Progman progman(client_, ui);
  progman.OpenProgmanConversation();
  ASSERT_TRUE(progman.IsOpen());
  IconItem readme;
  readme.group = "Acme, Inc";
  readme.name = "Readme";
  readme.command = "WRITE.EXE README.TXT";
  progman.RemoveIcon(readme);
  IconItem tool = readme;
  tool.name = "Tool (beta)";
  progman.RemoveIcon(tool);
  progman.CloseProgmanConversation();
  EXPECT_EQ(testing::ReadFileForTest(groupsFile_).value_or(""),
            "[Other]\r\nReadme|NOTEPAD.EXE C:\\OTHER\\README.TXT\r\n");
}

TEST_F(Win32DdeTest, LongReplyIsCutToTheBuffer) {
  std::string groups = "[Big]\r\n";
  for (int i = 0; i < 400; ++i) groups += "Item " + std::to_string(i) + "|C:\\APP\\PROGRAM" + std::to_string(i) + ".EXE\r\n";
  Serve(groups);
  ASSERT_EQ(Groups(), "Big\r\n") << "not the fixture answering";
  std::string big = conversation_->Request("Big", kTimeoutMs).value_or("");
  EXPECT_EQ(big.size(), kDdeReplyBytes - 1);
  EXPECT_EQ(big.rfind("\"Big\",", 0), 0u);
}

TEST(Win32Dde, NoServerGivesNoConversation) {
  Win32DdeClient client;
  auto instance = client.Initialize();
  ASSERT_TRUE(instance);
  EXPECT_FALSE(instance->Connect("ScrubberNoSuchService", "ScrubberNoSuchTopic"));
}

}  // namespace
}  // namespace scrubber
