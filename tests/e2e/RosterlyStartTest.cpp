// Start-up and domain selection of the real program.
#include <gtest/gtest.h>

#include "Driver.h"
#include "RosterlyFixtures.h"
#include "RosterlySession.h"

using namespace testdriver;
using namespace rosterly_e2e;

namespace {

class RosterlyStart : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(session_.Start()) << "no Domain Selection window"; }
  HWND Dialog() const { return session_.domainDialog(); }
  HWND Item(int id) const { return FindChildById(Dialog(), id); }
  Session session_{kCorpFixture, "start-fixture.txt"};
};

TEST_F(RosterlyStart, OffersTheNamespaceDomainsInTheProvidersOrder) {
  EXPECT_EQ(TextOf(Item(kDomainOk)), "OK");
  EXPECT_EQ(TextOf(Item(kDomainCancel)), "Cancel");
  EXPECT_EQ(TextOf(Item(kDomainLabel1)), "Select Domain Name:");
  HWND combo = Item(kCombo1);
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(TextOf(combo), "");
  EXPECT_EQ(ComboItems(combo), (std::vector<std::string>{"CORP", "LAB"}));
  EXPECT_EQ(ComboSelection(combo), CB_ERR);
  // Focus starts in Combo1 (its edit field).
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(Dialog(), nullptr), &gui));
  EXPECT_TRUE(gui.hwndFocus == combo || GetParent(gui.hwndFocus) == combo);

  SIZE client = ClientSize(Dialog());
  EXPECT_EQ(client.cx, PxX(4230));
  EXPECT_EQ(client.cy, PxY(2460));
  const LONG style = GetWindowLongA(Dialog(), GWL_STYLE);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  RECT ok = RectInParent(Item(kDomainOk));
  EXPECT_EQ(ok.left, PxX(240));
  EXPECT_EQ(ok.top, PxY(1800));
  EXPECT_EQ(ok.right - ok.left, PxX(1875));
  session_.Picture(Dialog(), "rosterly-domain-selection");
}

TEST_F(RosterlyStart, EmptyTextGivesTheMessageAndKeepsTheDialog) {
  for (int round = 0; round < 2; ++round) {
    if (round == 0) Click(Item(kDomainOk));
    else PressKey(FindChildByClass(Item(kCombo1), "Edit"), VK_RETURN);
    auto box = WaitForMessageBox(session_.pid());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, "Please choose a Domain and try again!");
    EXPECT_EQ(box->title, "Select Domain");
    EXPECT_TRUE(box->hasIcon);
    ASSERT_EQ(box->buttons.size(), 1u);
    ASSERT_TRUE(AnswerMessageBox(*box, IDOK));
    EXPECT_TRUE(IsWindowVisible(Dialog()));
  }
  EXPECT_TRUE(FindTopWindows({"", "Rosterly", session_.pid()}).empty());
}

TEST_F(RosterlyStart, EnterWithATypedNameOpensTheMainWindowAndClosesTheDialog) {
  HWND combo = Item(kCombo1);
  ASSERT_TRUE(ComboSelect(combo, 1));
  ASSERT_TRUE(SetText(combo, "corp"));  // picked, then edited: stored as edited
  PressKey(FindChildByClass(combo, "Edit"), VK_RETURN);
  HWND main = WaitForWindow({"", "Rosterly", session_.pid()});
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(WaitForWindowGone(Dialog(), 5000));
  // The domain is found whatever its letter case: the lists fill from CORP.
  HWND comps = FindChildById(main, kLstComps);
  EXPECT_TRUE(WaitUntil([&] { return ListBoxItems(comps).size() == 4; }));
}

TEST_F(RosterlyStart, CancelEndsTheProcessWithoutTheMainWindow) {
  Click(Item(kDomainCancel));
  DWORD exitCode = 1;
  ASSERT_TRUE(session_.process().WaitForExit(10000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
}

TEST_F(RosterlyStart, CloseBoxEndsTheProcessToo) {
  PostMessageA(Dialog(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(session_.process().WaitForExit(10000));
}

}  // namespace
