// Preview and undo against the test directory, which applies changes at once
// and records every call it receives.
#include <gtest/gtest.h>

#include <windows.h>

#include "Driver.h"
#include "RosterlySession.h"

using namespace testdriver;
using namespace rosterly_e2e;

namespace {

using Rows = std::vector<std::vector<std::string>>;

// A preview changes nothing and says what the add would do; the add then
// changes two computers, and the undo takes back exactly those two. A
// membership taken away between a run and its undo is reported as found.
TEST(RosterlyPreview, PreviewChangesNothingAndUndoTakesBackWhatTheAddChanged) {
  const std::string record = TempPath("preview-calls.txt");
  DeleteFileA(record.c_str());
  Session session("domain | UNDO\nchanges | atonce\nrecord | " + record +
                      "\ngroup | UNDO | Helpdesk\n"
                      "computer | UNDO | localhost | reachable\ncomputer | UNDO | 127.0.0.2 | reachable\n"
                      "computer | UNDO | 127.0.0.3 | reachable\nlocalgroup | localhost | Administrators\n"
                      "localgroup | 127.0.0.2 | Administrators\n"
                      "localgroup | 127.0.0.3 | Administrators | WinNT://UNDO/Helpdesk\n",
                  "preview-fixture.txt");
  ASSERT_TRUE(session.Start());
  ASSERT_TRUE(session.OpenMain("UNDO"));
  ASSERT_TRUE(session.SelectOnly(kLstComps, {"localhost", "127.0.0.2", "127.0.0.3"}));
  ASSERT_TRUE(session.SelectOnly(kLstGroups, {"Helpdesk"}));
  ASSERT_TRUE(session.ChooseAction(kOpt1, "Administrators"));
  auto run = [&](int item) {
    MenuCommand(session.main(), item);
    WaitUntil([&] { return session.Status() != "Ready"; }, 3000);
    return WaitUntil([&] { return session.Status() == "Ready"; }, 60000);
  };
  const std::string before = session.FixtureText();
  ASSERT_TRUE(run(kMnuPreview));
  EXPECT_EQ(session.Rows(), (Rows{{"localhost", "Administrators", "Helpdesk", "Would Add"},
                                  {"127.0.0.3", "Administrators", "Helpdesk", "Already a Member"},
                                  {"127.0.0.2", "Administrators", "Helpdesk", "Would Add"}}));
  session.Picture(session.main(), "rosterly-preview");
  const std::string calls = "\n" + ReadFileBytes(record);
  for (const char* change : {"add ", "remove ", "setinfo "})
    EXPECT_EQ(calls.find(std::string("\n") + change), std::string::npos) << calls;
  EXPECT_NE(calls.find("\nismember "), std::string::npos) << calls;
  EXPECT_EQ(session.FixtureText(), before);

  ASSERT_TRUE(session.Execute());
  ASSERT_TRUE(run(kMnuUndo));
  EXPECT_EQ(session.Rows(), (Rows{{"localhost", "Administrators", "Helpdesk", "Removed"},
                                  {"127.0.0.2", "Administrators", "Helpdesk", "Removed"}}));
  session.Picture(session.main(), "rosterly-undo");
  EXPECT_EQ(session.FixtureText(), before);  // the membership that was there stays

  ASSERT_TRUE(session.Execute());
  std::string text = session.FixtureText();
  const std::string added = "localgroup | localhost | Administrators | WinNT://UNDO/Helpdesk";
  ASSERT_NE(text.find(added), std::string::npos) << text;
  text.replace(text.find(added), added.size(), "localgroup | localhost | Administrators");
  ASSERT_TRUE(WriteFileBytes(session.fixturePath(), text));
  ASSERT_TRUE(run(kMnuUndo));
  EXPECT_EQ(session.Rows(), (Rows{{"localhost", "Administrators", "Helpdesk", "Not a Member"},
                                  {"127.0.0.2", "Administrators", "Helpdesk", "Removed"}}));
}

}  // namespace
