// The add and remove actions over a fleet whose computers answer at their
// own pace: directory work runs side by side, and what the administrator
// sees is what one computer after the other would give.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>

#include "Driver.h"
#include "RosterlySession.h"

using namespace testdriver;
using namespace rosterly_e2e;

namespace {

using Row = std::vector<std::string>;
using Rows = std::vector<Row>;

// Slow computers before fast ones, one whose directory service hangs and
// then fails, one that refuses, one without the local group, one that
// already has a member, and two that do not answer ping, in between.
TEST(RosterlyFleet, AMixedFleetGivesTheRowsOfOneComputerAfterTheOther) {
  Session session(
      "domain | FLEET\n"
      "group | FLEET | Helpdesk\n"
      "group | FLEET | Backup Admins\n"
      "computer | FLEET | 127.0.0.10 | reachable\n"
      "computer | FLEET | 127.0.0.11 | reachable\n"
      "computer | FLEET | 127.0.0.11-off.invalid | unreachable\n"
      "computer | FLEET | 127.0.0.12 | reachable\n"
      "computer | FLEET | 127.0.0.13 | reachable\n"
      "computer | FLEET | 127.0.0.14 | reachable\n"
      "computer | FLEET | 127.0.0.15 | reachable\n"
      "computer | FLEET | 127.0.0.15-off.invalid | unreachable\n"
      "computer | FLEET | localhost | reachable\n"
      "localgroup | 127.0.0.10 | Administrators\n"
      "localgroup | 127.0.0.11 | Administrators\n"
      "localgroup | 127.0.0.12 | Administrators\n"
      "localgroup | 127.0.0.13 | Administrators\n"
      "localgroup | 127.0.0.14 | Administrators | WinNT://FLEET/Helpdesk\n"
      "localgroup | localhost | Administrators\n"
      "latency | 127.0.0.10 | 400\n"
      "latency | 127.0.0.14 | 150\n"
      "hang | 127.0.0.11 | 2000\n"
      "fail | WinNT://127.0.0.13/Administrators,group | add | accessdenied\n",
      "fleet-fixture.txt");
  ASSERT_TRUE(session.Start());
  ASSERT_TRUE(session.OpenMain("FLEET"));
  ASSERT_TRUE(session.SelectOnly(kLstComps, {"127.0.0.10", "127.0.0.11", "127.0.0.11-off.invalid", "127.0.0.12",
                                             "127.0.0.13", "127.0.0.14", "127.0.0.15", "127.0.0.15-off.invalid",
                                             "localhost"}));
  ASSERT_TRUE(session.SelectOnly(kLstGroups, {"Backup Admins", "Helpdesk"}));
  ASSERT_TRUE(session.ChooseAction(kOpt1, "Administrators"));
  ASSERT_TRUE(session.Execute());
  // Failure texts are the system's own: each row says "Failed: " and some text.
  Rows rows = session.Rows();
  for (Row& row : rows)
    if (row[3].rfind("Failed: ", 0) == 0 && row[3].size() > 8) row[3] = "Failed: ...";
  session.Picture(session.main(), "rosterly-fleet-added");

  // In list order, each computer's groups in lstGroups order; the grid
  // shows them newest first.
  Rows expected{{"127.0.0.10", "Administrators", "Backup Admins", "Added"},
                {"127.0.0.10", "Administrators", "Helpdesk", "Added"},
                {"127.0.0.11", "Administrators", "Backup Admins", "Failed: ..."},
                {"127.0.0.11", "Administrators", "Helpdesk", "Failed: ..."},
                {"127.0.0.11-off.invalid", "Administrators", "N/A", "No Connection"},
                {"127.0.0.12", "Administrators", "Backup Admins", "Added"},
                {"127.0.0.12", "Administrators", "Helpdesk", "Added"},
                {"127.0.0.13", "Administrators", "Backup Admins", "Failed: ..."},
                {"127.0.0.13", "Administrators", "Helpdesk", "Failed: ..."},
                {"127.0.0.14", "Administrators", "Backup Admins", "Added"},
                {"127.0.0.14", "Administrators", "Helpdesk", "Added"},
                {"127.0.0.15", "Administrators", "Backup Admins", "Failed: ..."},
                {"127.0.0.15", "Administrators", "Helpdesk", "Failed: ..."},
                {"127.0.0.15-off.invalid", "Administrators", "N/A", "No Connection"},
                {"localhost", "Administrators", "Backup Admins", "Added"},
                {"localhost", "Administrators", "Helpdesk", "Added"}};
  EXPECT_EQ(rows, Rows(expected.rbegin(), expected.rend()));

  const std::string text = session.FixtureText();
  EXPECT_NE(text.find("localgroup | 127.0.0.10 | Administrators | WinNT://FLEET/Backup Admins | WinNT://FLEET/Helpdesk"),
            std::string::npos);
  EXPECT_NE(text.find("localgroup | 127.0.0.11 | Administrators\n"), std::string::npos);
  EXPECT_NE(text.find("localgroup | 127.0.0.14 | Administrators | WinNT://FLEET/Helpdesk | WinNT://FLEET/Backup Admins"),
            std::string::npos);
}

// Closing the window while binds hang: the window answers throughout, and
// the process ends at once instead of waiting for them.
TEST(RosterlyFleet, ClosingDuringHangingBindsEndsTheProcessAtOnce) {
  std::string fixture = "domain | HANG\ngroup | HANG | Helpdesk\n";
  for (int i = 0; i < 6; ++i) {
    const std::string name = "127.0.1." + std::to_string(10 + i);
    fixture += "computer | HANG | " + name + " | reachable\nlocalgroup | " + name + " | Users\nhang | " + name +
               " | 60000\n";
  }
  Session session(fixture, "hang-fixture.txt");
  ASSERT_TRUE(session.Start());
  ASSERT_TRUE(session.OpenMain("HANG"));
  HWND comps = session.Control(kLstComps);
  SendMessageA(comps, LB_SETSEL, TRUE, -1);
  SendMessageA(session.main(), WM_COMMAND, MAKEWPARAM(kLstComps, LBN_SELCHANGE), reinterpret_cast<LPARAM>(comps));
  ASSERT_TRUE(session.SelectOnly(kLstGroups, {"Helpdesk"}));
  ASSERT_TRUE(session.ChooseAction(kOpt1, "Users"));
  Click(session.Control(kExecute));
  ASSERT_TRUE(WaitUntil([&] { return session.Status() == "Adding Members to Local Group..."; }, 10000));
  Sleep(3000);  // the pings are answered and every bind hangs
  EXPECT_EQ(session.Status(), "Adding Members to Local Group...");
  DWORD_PTR result = 0;
  EXPECT_NE(SendMessageTimeoutA(session.main(), WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result), 0)
      << "the window does not answer while binds hang";
  EXPECT_EQ(ListViewRowCount(session.Control(kLvGroups)), 0);

  const auto closed = std::chrono::steady_clock::now();
  PostMessageA(session.main(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(session.process().WaitForExit(5000));
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - closed).count();
  EXPECT_LT(ms, 2000) << "the process took " << ms << " ms to end";
}

}  // namespace
