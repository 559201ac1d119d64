// The About box of the real program: one instance, its texts, OK by Enter
// and Escape, System Info without the tool, and the process kept alive by it.
#include <gtest/gtest.h>

#include "Driver.h"
#include "RosterlyFixtures.h"
#include "RosterlySession.h"

using namespace testdriver;
using namespace rosterly_e2e;

namespace {

class RosterlyAbout : public ::testing::Test {
 protected:
  void SetUp() override {
    // No System Information tool registered in this prefix.
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location");
    ASSERT_TRUE(session_.Start());
    ASSERT_TRUE(session_.OpenMain("CORP"));
  }
  HWND OpenAbout() {
    MenuCommand(session_.main(), kMnuAbout);
    return WaitForWindow({"", "About Rosterly", session_.pid()});
  }
  size_t AboutCount() const { return FindTopWindows({"", "About Rosterly", session_.pid()}).size(); }
  Session session_{kCorpFixture, "about-fixture.txt"};
};

TEST_F(RosterlyAbout, ShowsOneBoxWithItsTextsAndLayout) {
  HWND about = OpenAbout();
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(TextOf(FindChildById(about, kLblTitle)), "Rosterly");
  EXPECT_EQ(TextOf(FindChildById(about, kLblVersion)), "Version 1.1.0");
  EXPECT_EQ(TextOf(FindChildById(about, kLblDescription)).substr(0, 30), "The Rosterly will give you the");
  EXPECT_EQ(TextOf(FindChildById(about, kWebLabel)), "Web: https://rosterly.example.org/");
  EXPECT_EQ(TextOf(FindChildById(about, kCmdOK)), "OK");
  EXPECT_EQ(TextOf(FindChildById(about, kCmdSysInfo)), "&System Info...");
  SIZE client = ClientSize(about);
  EXPECT_EQ(client.cx, PxX(5730));
  EXPECT_EQ(client.cy, PxY(3555));
  EXPECT_FALSE(GetWindowLongA(about, GWL_STYLE) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  // Owned by a hidden window: no task bar button, and not closed with Form1.
  EXPECT_NE(GetWindow(about, GW_OWNER), session_.main());
  session_.Picture(about, "rosterly-about");

  MenuCommand(session_.main(), kMnuAbout);
  Sleep(500);
  EXPECT_EQ(AboutCount(), 1u);
}

TEST_F(RosterlyAbout, SystemInfoWithoutTheToolSaysItIsUnavailable) {
  HWND about = OpenAbout();
  ASSERT_NE(about, nullptr);
  Click(FindChildById(about, kCmdSysInfo));
  auto box = WaitForMessageBox(session_.pid());
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, "System Information Is Unavailable At This Time");
  EXPECT_EQ(box->title, "Rosterly");
  EXPECT_FALSE(box->hasIcon);
  ASSERT_EQ(box->buttons.size(), 1u);
  ASSERT_TRUE(AnswerMessageBox(*box, IDOK));
  EXPECT_TRUE(IsWindowVisible(about));
}

TEST_F(RosterlyAbout, EnterAndEscapePressOk) {
  for (int key : {VK_RETURN, VK_ESCAPE}) {
    HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);
    PressKey(FindChildById(about, kCmdOK), key);
    EXPECT_TRUE(WaitForWindowGone(about, 5000)) << key;
  }
}

TEST_F(RosterlyAbout, KeepsTheProcessAliveAfterExitUntilItCloses) {
  HWND about = OpenAbout();
  ASSERT_NE(about, nullptr);
  MenuCommand(session_.main(), kMnuExit);
  ASSERT_TRUE(WaitForWindowGone(session_.main(), 5000));
  EXPECT_FALSE(session_.process().WaitForExit(1000));
  EXPECT_TRUE(IsWindowVisible(about));
  Click(FindChildById(about, kCmdOK));
  EXPECT_TRUE(session_.process().WaitForExit(10000));
}

}  // namespace
