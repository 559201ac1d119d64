// The three actions against the test directory, with the real probe:
// reachable (loopback) and unreachable (.invalid) computers, an injected bind
// failure, the membership stored in the fixture, and the grid's commands.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include "Driver.h"
#include "RosterlyFixtures.h"
#include "RosterlySession.h"

using namespace testdriver;
using namespace rosterly_e2e;

namespace {

using Rows = std::vector<std::vector<std::string>>;

class RosterlyActions : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(session_.Start());
    ASSERT_TRUE(session_.OpenMain("CORP"));
  }
  HWND Item(int id) const { return session_.Control(id); }
  void Choose(int option, const std::string& localGroup) { ASSERT_TRUE(session_.ChooseAction(option, localGroup)); }
  // The line of that local group in the fixture as the provider stored it.
  std::string FixtureLine(const std::string& computer, const std::string& group) const {
    const std::string text = session_.FixtureText(), head = "localgroup | " + computer + " | " + group;
    size_t at = text.find(head + " ");
    if (at == std::string::npos) at = text.find(head + "\n");
    if (at == std::string::npos) at = text.find(head + "\r");
    if (at == std::string::npos) return {};
    return text.substr(at, text.find_first_of("\r\n", at) - at);
  }
  Session session_{kCorpFixture, "actions-fixture.txt"};
};

TEST_F(RosterlyActions, ListShowsEveryMemberOfEveryLocalGroupNewestFirst) {
  ASSERT_TRUE(session_.SelectOnly(kLstComps, {"127.0.0.2", "localhost"}));
  ASSERT_TRUE(session_.SelectOnly(kLstGroups, {"Helpdesk"}));  // ignored by listing
  ASSERT_TRUE(session_.Execute());
  EXPECT_EQ(session_.Rows(), (Rows{{"localhost", "Users", "Backup Admins", "Lookup"},
                                   {"localhost", "Users", "Helpdesk", "Lookup"},
                                   {"localhost", "Administrators", "Domain Admins", "Lookup"},
                                   {"127.0.0.2", "Administrators", "Domain Admins", "Lookup"}}));
  session_.Picture(session_.main(), "rosterly-main-listed");
}

TEST_F(RosterlyActions, ListStopsAtAFailingComputerWithTheErrorsDescription) {
  ASSERT_TRUE(session_.SelectOnly(kLstComps, {"127.0.0.2", "ghost.invalid", "localhost"}));
  Click(Item(kExecute));
  auto box = WaitForMessageBox(session_.pid(), 60000);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->title, "Rosterly");
  EXPECT_FALSE(box->text.empty());
  EXPECT_FALSE(box->hasIcon);
  ASSERT_TRUE(AnswerMessageBox(*box, IDOK));
  // The rows of the computer before stay; the later one is never visited.
  EXPECT_EQ(session_.Rows(), (Rows{{"127.0.0.2", "Administrators", "Domain Admins", "Lookup"}}));
  // The listing has stopped: the window is idle again.
  EXPECT_EQ(session_.Status(), "Ready");
}

TEST_F(RosterlyActions, AddProbesEachComputerAndStoresTheMembership) {
  ASSERT_TRUE(session_.SelectOnly(kLstComps, {"127.0.0.3", "ghost.invalid", "localhost"}));
  ASSERT_TRUE(session_.SelectOnly(kLstGroups, {"Domain Admins", "Helpdesk"}));
  Choose(kOpt1, "Administrators");
  ASSERT_TRUE(session_.Execute());
  Rows rows = session_.Rows();
  ASSERT_EQ(rows.size(), 5u) << ::testing::PrintToString(rows);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"localhost", "Administrators", "Helpdesk", "Added"}));
  // Already a member: the wanted state holds, so it reads as added.
  EXPECT_EQ(rows[1], (std::vector<std::string>{"localhost", "Administrators", "Domain Admins", "Added"}));
  EXPECT_EQ(rows[2], (std::vector<std::string>{"ghost.invalid", "Administrators", "N/A", "No Connection"}));
  // The bind refused on 127.0.0.3 is a failure, not an addition.
  EXPECT_EQ((std::vector<std::string>{rows[3][0], rows[3][1], rows[3][2]}),
            (std::vector<std::string>{"127.0.0.3", "Administrators", "Helpdesk"}));
  EXPECT_EQ(rows[3][3].rfind("Failed: ", 0), 0u) << rows[3][3];
  EXPECT_EQ(rows[4][2], "Domain Admins");
  EXPECT_EQ(rows[4][3], rows[3][3]);
  EXPECT_EQ(FixtureLine("localhost", "Administrators"),
            "localgroup | localhost | Administrators | WinNT://CORP/Domain Admins | WinNT://CORP/Helpdesk");
  EXPECT_EQ(FixtureLine("127.0.0.3", "Administrators"), "localgroup | 127.0.0.3 | Administrators");
  session_.Picture(session_.main(), "rosterly-main-added");
}

TEST_F(RosterlyActions, RemovePassesOverUnreachableComputersSilently) {
  ASSERT_TRUE(session_.SelectOnly(kLstComps, {"ghost.invalid", "localhost"}));
  ASSERT_TRUE(session_.SelectOnly(kLstGroups, {"Helpdesk"}));
  Choose(kOpt2, "Users");
  ASSERT_TRUE(session_.Execute());
  EXPECT_EQ(session_.Rows(), (Rows{{"localhost", "Users", "Helpdesk", "Removed"}}));
  EXPECT_EQ(FixtureLine("localhost", "Users"), "localgroup | localhost | Users | WinNT://CORP/Backup Admins");
}

TEST_F(RosterlyActions, HeaderClicksSortClearEmptiesAndSaveWritesTheGridAsShown) {
  ASSERT_TRUE(session_.SelectOnly(kLstComps, {"127.0.0.2", "localhost"}));
  ASSERT_TRUE(session_.Execute());
  HWND grid = Item(kLvGroups);
  ASSERT_EQ(ListViewRowCount(grid), 4);

  ASSERT_TRUE(ListViewClickHeader(grid, 2));  // "Member", ascending first
  // The first row reads the same before the sort: wait for the whole grid.
  const Rows byMember{{"localhost", "Users", "Backup Admins", "Lookup"},
                      {"localhost", "Administrators", "Domain Admins", "Lookup"},
                      {"127.0.0.2", "Administrators", "Domain Admins", "Lookup"},
                      {"localhost", "Users", "Helpdesk", "Lookup"}};
  (void)WaitUntil([&] { return session_.Rows() == byMember; }, 5000);
  EXPECT_EQ(session_.Rows(), byMember);
  ASSERT_TRUE(ListViewClickHeader(grid, 0));  // "Computer", now descending
  ASSERT_TRUE(WaitUntil([&] { return session_.Rows()[0][0] == "localhost" && session_.Rows()[3][0] == "127.0.0.2"; },
                        5000));

  const std::string saved = TempPath("results.csv");
  DeleteFileA(saved.c_str());
  MenuCommand(session_.main(), kMnuResults);
  auto dialog = WaitForFileDialog(session_.pid());
  ASSERT_TRUE(dialog);
  EXPECT_EQ(dialog->title, "Save Results");
  EXPECT_EQ(dialog->fileTypes, (std::vector<std::string>{"CSV Files (*.csv)"}));
  ASSERT_TRUE(AnswerFileDialog(*dialog, saved));
  auto box = WaitForMessageBox(session_.pid());
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, "Save Complete");
  EXPECT_EQ(box->title, "Complete");
  EXPECT_TRUE(box->hasIcon);
  ASSERT_TRUE(AnswerMessageBox(*box, IDOK));
  std::string expected = "Computer Name,Group Name,Group Memebers,Action\r\n";
  for (const auto& row : session_.Rows()) expected += row[0] + "," + row[1] + "," + row[2] + "," + row[3] + "\r\n";
  EXPECT_EQ(ReadFileBytes(saved), expected);

  MenuCommand(session_.main(), kMnuClearResults);
  ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(grid) == 0; }, 5000));
  // Sorted mode stays on: a new run comes out in the sort order.
  ASSERT_TRUE(session_.Execute());
  EXPECT_EQ(session_.Rows().front()[0], "localhost");
  EXPECT_EQ(session_.Rows().back()[0], "127.0.0.2");
}

// The same rows, in the same order, as one probe after the other would give
// for reachable (loopback), unreachable (.invalid, one with a '$' in its
// name) and refused names (a blank, a leading '-'), which are tried in the
// directory. The provider applies changes at once, as the real one does: a
// failing SetInfo after a stored Add still reads "Added".
TEST(RosterlyActionsMixed, AddGivesEveryKindOfNameItsRowInListOrder) {
  Session session(
      "domain | MIX\n"
      "changes | atonce\n"
      "computer | MIX | localhost | reachable\n"
      "computer | MIX | 127.0.0.2 | reachable\n"
      "computer | MIX | ghost.invalid | unreachable\n"
      "computer | MIX | pc$1.invalid | unreachable\n"
      "computer | MIX | bad name | reachable\n"
      "computer | MIX | -t | reachable\n"
      "group | MIX | Helpdesk\n"
      "localgroup | localhost | Administrators\n"
      "localgroup | 127.0.0.2 | Administrators\n"
      "fail | WinNT://127.0.0.2/Administrators,group | setinfo | badnetpath\n",
      "mixed-fixture.txt");
  ASSERT_TRUE(session.Start());
  ASSERT_TRUE(session.OpenMain("MIX"));
  ASSERT_TRUE(
      session.SelectOnly(kLstComps, {"localhost", "127.0.0.2", "ghost.invalid", "pc$1.invalid", "bad name", "-t"}));
  ASSERT_TRUE(session.SelectOnly(kLstGroups, {"Helpdesk"}));
  Click(session.Control(kOpt1));
  ASSERT_TRUE(SetText(session.Control(kTxtLocalGroup), "Administrators"));
  ASSERT_TRUE(session.Execute());
  const Rows rows = session.Rows();
  ASSERT_EQ(rows.size(), 6u) << ::testing::PrintToString(rows);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"pc$1.invalid", "Administrators", "N/A", "No Connection"}));
  EXPECT_EQ(rows[1], (std::vector<std::string>{"localhost", "Administrators", "Helpdesk", "Added"}));
  EXPECT_EQ(rows[2], (std::vector<std::string>{"ghost.invalid", "Administrators", "N/A", "No Connection"}));
  EXPECT_EQ(rows[3][0], "bad name");
  EXPECT_EQ(rows[3][3], "Failed: The group name could not be found.");
  EXPECT_EQ(rows[4], (std::vector<std::string>{"127.0.0.2", "Administrators", "Helpdesk", "Added"}));
  EXPECT_EQ(rows[5][0], "-t");
  EXPECT_EQ(rows[5][3], "Failed: The group name could not be found.");
}

}  // namespace

namespace {

// Processes named ping.exe started by `parent`.
int PingsOf(DWORD parent) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    if (entry.th32ParentProcessID == parent && lstrcmpiA(entry.szExeFile, "ping.exe") == 0) ++count;
  CloseHandle(snapshot);
  return count;
}

// Closing the window in the middle of a run ends the process without
// visiting the remaining computers (each bind here waits one second).
TEST(RosterlyActionsClose, ExitDuringARunEndsTheProcessPromptly) {
  std::string fixture = "domain | SLOW\ndelay | * | 1000\n";
  for (int i = 0; i < 20; ++i) {
    const std::string name = "slow" + std::to_string(10 + i);
    fixture += "computer | SLOW | " + name + " | reachable\nlocalgroup | " + name + " | Users | WinNT://SLOW/g\n";
  }
  fixture += "group | SLOW | g\n";
  Session session(fixture, "slow-fixture.txt");
  ASSERT_TRUE(session.Start());
  ASSERT_TRUE(session.OpenMain("SLOW"));
  HWND comps = session.Control(kLstComps);
  SendMessageA(comps, LB_SETSEL, TRUE, -1);
  SendMessageA(session.main(), WM_COMMAND, MAKEWPARAM(kLstComps, LBN_SELCHANGE), reinterpret_cast<LPARAM>(comps));
  Click(session.Control(kExecute));
  ASSERT_TRUE(WaitUntil([&] { return ListViewRowCount(session.Control(kLvGroups)) > 0; }, 15000));
  const DWORD pid = session.pid();
  MenuCommand(session.main(), kMnuExit);
  // Far less than the 18 or more seconds the rest of the run would take.
  EXPECT_TRUE(session.process().WaitForExit(8000));
  // The pings it ran ahead are gone, and so are their files.
  EXPECT_EQ(PingsOf(pid), 0);
  WIN32_FIND_DATAA found;
  HANDLE left = FindFirstFileA(TempPath("RunResult-" + std::to_string(pid) + "-*.tmp").c_str(), &found);
  EXPECT_EQ(left, INVALID_HANDLE_VALUE) << found.cFileName;
  if (left != INVALID_HANDLE_VALUE) FindClose(left);
}

}  // namespace
