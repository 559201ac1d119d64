// Preview and undo against the test directory, which applies changes at once
// and records every call it receives.
#include <gtest/gtest.h>

#include <windows.h>

#include "Driver.h"
#include "RosterlySession.h"

using namespace testdriver;
using namespace rosterly_e2e;

namespace {

using Row = std::vector<std::string>;
using Rows = std::vector<Row>;

class RosterlyPreview : public ::testing::Test {
 protected:
  RosterlyPreview() : record_(TempPath("preview-calls.txt")), session_(Fixture(record_), "preview-fixture.txt") {}
  static std::string Fixture(const std::string& record) {
    return "domain | UNDO\n"
           "changes | atonce\n"
           "record | " + record + "\n"
           "group | UNDO | Helpdesk\n"
           "computer | UNDO | localhost | reachable\n"
           "computer | UNDO | 127.0.0.2 | reachable\n"
           "computer | UNDO | 127.0.0.3 | reachable\n"
           "localgroup | localhost | Administrators\n"
           "localgroup | 127.0.0.2 | Administrators\n"
           "localgroup | 127.0.0.3 | Administrators | WinNT://UNDO/Helpdesk\n";
  }
  void SetUp() override {
    DeleteFileA(record_.c_str());
    ASSERT_TRUE(session_.Start());
    ASSERT_TRUE(session_.OpenMain("UNDO"));
    ASSERT_TRUE(session_.SelectOnly(kLstComps, {"localhost", "127.0.0.2", "127.0.0.3"}));
    ASSERT_TRUE(session_.SelectOnly(kLstGroups, {"Helpdesk"}));
    Click(session_.Control(kOpt1));
    ASSERT_TRUE(WaitUntil([&] { return SendMessageA(session_.Control(kOpt1), BM_GETCHECK, 0, 0) == BST_CHECKED; }, 5000));
    ASSERT_TRUE(SetText(session_.Control(kTxtLocalGroup), "Administrators"));
  }
  bool Run(int item) {
    MenuCommand(session_.main(), item);
    WaitUntil([&] { return session_.Status() != "Ready"; }, 3000);
    return WaitUntil([&] { return session_.Status() == "Ready"; }, 60000);
  }

  std::string record_;
  Session session_;
};

// A preview changes nothing and says what the add would do; the add then
// changes two computers, and the undo takes back exactly those two.
TEST_F(RosterlyPreview, PreviewChangesNothingAndUndoTakesBackWhatTheAddChanged) {
  const std::string before = session_.FixtureText();
  ASSERT_TRUE(Run(kMnuPreview));
  EXPECT_EQ(session_.Rows(), (Rows{{"localhost", "Administrators", "Helpdesk", "Would Add"},
                                   {"127.0.0.3", "Administrators", "Helpdesk", "Already a Member"},
                                   {"127.0.0.2", "Administrators", "Helpdesk", "Would Add"}}));
  session_.Picture(session_.main(), "rosterly-preview");
  const std::string calls = "\n" + ReadFileBytes(record_);
  for (const char* change : {"add ", "remove ", "setinfo "})
    EXPECT_EQ(calls.find(std::string("\n") + change), std::string::npos) << calls;
  EXPECT_NE(calls.find("ismember "), std::string::npos) << calls;
  EXPECT_EQ(session_.FixtureText(), before);

  ASSERT_TRUE(session_.Execute());
  EXPECT_EQ(session_.Rows().size(), 3u);
  ASSERT_TRUE(Run(kMnuUndo));
  EXPECT_EQ(session_.Rows(), (Rows{{"localhost", "Administrators", "Helpdesk", "Removed"},
                                   {"127.0.0.2", "Administrators", "Helpdesk", "Removed"}}));
  session_.Picture(session_.main(), "rosterly-undo");
  EXPECT_EQ(session_.FixtureText(), before);  // the membership that was there stays
}

// A membership taken away between the run and the undo is reported as
// found, and nothing is forced.
TEST_F(RosterlyPreview, UndoReportsAMembershipThatChangedMeanwhile) {
  ASSERT_TRUE(session_.Execute());
  const std::string added = "localgroup | localhost | Administrators | WinNT://UNDO/Helpdesk";
  std::string text = session_.FixtureText();
  const std::size_t at = text.find(added);
  ASSERT_NE(at, std::string::npos) << text;
  text.replace(at, added.size(), "localgroup | localhost | Administrators");
  ASSERT_TRUE(WriteFileBytes(session_.fixturePath(), text));
  ASSERT_TRUE(Run(kMnuUndo));
  EXPECT_EQ(session_.Rows(), (Rows{{"localhost", "Administrators", "Helpdesk", "Not a Member"},
                                   {"127.0.0.2", "Administrators", "Helpdesk", "Removed"}}));
}

}  // namespace
