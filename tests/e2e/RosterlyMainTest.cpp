// The main window of the real program: layout, the timed fill, loading a
// computer list, Refresh and the action choice.
#include <gtest/gtest.h>

#include "Driver.h"

#include <commctrl.h>
#include "RosterlyFixtures.h"
#include "RosterlySession.h"

using namespace testdriver;
using namespace rosterly_e2e;

namespace {

const std::vector<std::string> kCorpComputers{"127.0.0.2", "127.0.0.3", "ghost.invalid", "localhost"};
const std::vector<std::string> kCorpGroups{"Backup Admins", "Domain Admins", "Helpdesk"};

class RosterlyMain : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(session_.Start()); }
  HWND Item(int id) const { return session_.Control(id); }
  Session session_{kCorpFixture, "main-fixture.txt"};
};

void ExpectAt(HWND control, int left, int top, int width, int height) {
  RECT r = RectInParent(control);
  EXPECT_EQ(r.left, PxX(left)) << TextOf(control);
  EXPECT_EQ(r.top, PxY(top)) << TextOf(control);
  if (width) {
    EXPECT_EQ(r.right - r.left, PxX(width)) << TextOf(control);
  }
  if (height) {
    EXPECT_EQ(r.bottom - r.top, PxY(height)) << TextOf(control);
  }
}

TEST_F(RosterlyMain, ListsAreFilledHalfASecondAfterTheWindowOpens) {
  ASSERT_TRUE(session_.OpenMain("CORP", false));
  const DWORD shown = GetTickCount();
  // Right after opening: empty lists and "Ready".
  EXPECT_EQ(session_.Status(), "Ready");
  EXPECT_TRUE(ListBoxItems(Item(kLstComps)).empty());
  ASSERT_TRUE(session_.WaitForFill());
  std::printf("lists filled %lu ms after the window was seen\n", static_cast<unsigned long>(GetTickCount() - shown));
  EXPECT_EQ(ListBoxItems(Item(kLstComps)), kCorpComputers);
  EXPECT_EQ(ListBoxItems(Item(kLstGroups)), kCorpGroups);
  // One fill per enabling: the lists are not filled again by later ticks.
  ASSERT_TRUE(ListBoxSelect(Item(kLstComps), 1));
  Sleep(1200);
  EXPECT_EQ(ListBoxSelection(Item(kLstComps)), (std::vector<int>{1}));
}

TEST_F(RosterlyMain, WindowHasTheLaidOutControlsMenusAndGrid) {
  ASSERT_TRUE(session_.OpenMain("CORP"));
  HWND main = session_.main();
  SIZE client = ClientSize(main);
  EXPECT_EQ(client.cx, PxX(10950));
  EXPECT_EQ(client.cy, PxY(8475));
  const LONG style = GetWindowLongA(main, GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX));

  EXPECT_EQ(TextOf(Item(kLabel1)), "Computers:");
  EXPECT_EQ(TextOf(Item(kLabel2)), "Available Groups:");
  EXPECT_EQ(TextOf(Item(kLabel3)), "Local Group Name:");
  EXPECT_EQ(TextOf(Item(kFrame)), "Actions");
  EXPECT_EQ(TextOf(Item(kOpt0)), "List Local Groups and Members");
  EXPECT_EQ(TextOf(Item(kOpt1)), "Add Members to Local Group");
  EXPECT_EQ(TextOf(Item(kOpt2)), "Remove Members From Local Group");
  EXPECT_EQ(TextOf(Item(kExecute)), "Execute Command");
  EXPECT_EQ(TextOf(Item(kLabel5)).substr(0, 55), "To begin select the computers you wish to target from t");
  ExpectAt(Item(kLstComps), 390, 1020, 4605, 2010);
  ExpectAt(Item(kLstGroups), 5220, 1020, 5355, 2010);
  ExpectAt(Item(kTxtLocalGroup), 360, 3360, 2925, 315);
  ExpectAt(Item(kFrame), 360, 3750, 8475, 915);
  ExpectAt(Item(kOpt1), 360 + 2850, 3750 + 360, 2445, 285);
  ExpectAt(Item(kExecute), 8940, 3840, 1695, 825);
  ExpectAt(Item(kLvGroups), 360, 4770, 10245, 3225);
  ExpectAt(Item(kSbar), 0, 8220, 10950, 255);

  // Sorted by the program, extended selection, no control-side sorting.
  for (int id : {kLstComps, kLstGroups}) {
    const LONG listStyle = GetWindowLongA(Item(id), GWL_STYLE);
    EXPECT_TRUE(listStyle & LBS_EXTENDEDSEL);
    EXPECT_FALSE(listStyle & LBS_SORT);
  }
  HWND grid = Item(kLvGroups);
  EXPECT_TRUE(GetWindowLongA(grid, GWL_STYLE) & LVS_OWNERDATA);
  EXPECT_EQ(ListViewHeaders(grid), (std::vector<std::string>{"Computer", "Group Name", "Member", "Action"}));
  const int widths[] = {1840, 2540, 4441, 1100};
  for (int c = 0; c < 4; ++c) EXPECT_EQ(SendMessageA(grid, LVM_GETCOLUMNWIDTH, c, 0), PxX(widths[c]));
  EXPECT_EQ(ListViewRowCount(grid), 0);
  EXPECT_EQ(session_.Status(), "Ready");
  EXPECT_TRUE(SendMessageA(Item(kOpt0), BM_GETCHECK, 0, 0) == BST_CHECKED);
  EXPECT_FALSE(IsEnabled(Item(kTxtLocalGroup)));
  session_.Picture(main, "rosterly-main");
}

// Runs with its user's rights, on the Windows versions it names; no visual
// styles or DPI scaling, which would change the fixed layout.
TEST(RosterlyManifest, RunsAsInvokedOnTheVersionsItNames) {
  const std::string manifest = ResourceBytes(FromHostPath(Env("ROSTERLY_EXE")), 24, 1);  // RT_MANIFEST
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos) << manifest;
  EXPECT_NE(manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos) << "Windows 10 and 11";
  EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos);
  EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
}

// The menu as the program's resources define it (menus of another process
// cannot be read under Wine).
TEST(RosterlyMenu, HasTheEntriesAcceleratorsSeparatorAndADisabledContents) {
  HMODULE exe = LoadLibraryExA(FromHostPath(Env("ROSTERLY_EXE")).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(exe, nullptr);
  HMENU menu = LoadMenuA(exe, MAKEINTRESOURCEA(2));
  ASSERT_NE(menu, nullptr);
  auto text = [](HMENU m, int position) {
    char buffer[128] = {};
    GetMenuStringA(m, static_cast<UINT>(position), buffer, sizeof buffer, MF_BYPOSITION);
    return std::string(buffer);
  };
  ASSERT_EQ(GetMenuItemCount(menu), 3);
  EXPECT_EQ(text(menu, 0), "&File");
  EXPECT_EQ(text(menu, 1), "&Edit");
  EXPECT_EQ(text(menu, 2), "&Help");
  HMENU file = GetSubMenu(menu, 0), edit = GetSubMenu(menu, 1), help = GetSubMenu(menu, 2);
  ASSERT_EQ(GetMenuItemCount(file), 5);
  EXPECT_EQ(text(file, 0), "&Load Computers From File");
  EXPECT_EQ(text(file, 1), "&Refresh Computer List");
  EXPECT_EQ(text(file, 2), "&Save Results");
  EXPECT_TRUE(GetMenuState(file, 3, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_EQ(text(file, 4), "E&xit");
  EXPECT_EQ(text(edit, 0), "&Clear Results");
  EXPECT_EQ(text(help, 0), "&Contents");
  EXPECT_TRUE(GetMenuState(help, 0, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_EQ(text(help, 1), "&About");
  EXPECT_FALSE(GetMenuState(help, 1, MF_BYPOSITION) & MF_GRAYED);
  DestroyMenu(menu);
  FreeLibrary(exe);
}

TEST_F(RosterlyMain, LoadReplacesTheComputersFromAFileAndRefreshBringsTheDomainBack) {
  ASSERT_TRUE(session_.OpenMain("CORP"));
  ASSERT_TRUE(ListBoxSelect(Item(kLstGroups), 2));
  const std::string list = TempPath("computers.txt");
  ASSERT_TRUE(WriteFileBytes(list, "PC1\r\nPC2,PC3\r\n\"Lab, B 7\"\r\n"));

  MenuCommand(session_.main(), kMnuLoad);
  auto dialog = WaitForFileDialog(session_.pid());
  ASSERT_TRUE(dialog);
  EXPECT_EQ(dialog->title, "Load Computers");
  EXPECT_EQ(dialog->fileTypes, (std::vector<std::string>{"Text Files (*.txt)"}));
  ASSERT_TRUE(AnswerFileDialog(*dialog, list));
  ASSERT_TRUE(WaitUntil([&] { return ListBoxItems(Item(kLstComps)).size() == 4; }));
  EXPECT_EQ(ListBoxItems(Item(kLstComps)), (std::vector<std::string>{"Lab, B 7", "PC1", "PC2", "PC3"}));
  EXPECT_EQ(ListBoxItems(Item(kLstGroups)), kCorpGroups);
  EXPECT_EQ(ListBoxSelection(Item(kLstGroups)), (std::vector<int>{2}));

  // Cancelling the dialog changes nothing; it still reads "Load Computers".
  MenuCommand(session_.main(), kMnuLoad);
  dialog = WaitForFileDialog(session_.pid());
  ASSERT_TRUE(dialog);
  EXPECT_EQ(dialog->title, "Load Computers");
  ASSERT_TRUE(CancelFileDialog(*dialog));
  EXPECT_EQ(ListBoxItems(Item(kLstComps)).size(), 4u);

  MenuCommand(session_.main(), kMnuRefresh);
  EXPECT_TRUE(WaitUntil([&] { return ListBoxItems(Item(kLstComps)) == kCorpComputers; }));
  EXPECT_EQ(session_.Status(), "Ready");
}

// The field's background as the display shows it, inside its right edge.
COLORREF FieldColour(HWND field) {
  Sleep(300);  // let it repaint
  RECT r;
  GetWindowRect(field, &r);
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, r.right - 6, (r.top + r.bottom) / 2);
  ReleaseDC(nullptr, screen);
  return colour;
}

TEST_F(RosterlyMain, ActionChoiceSwitchesTheLocalGroupField) {
  ASSERT_TRUE(session_.OpenMain("CORP"));
  HWND field = Item(kTxtLocalGroup);
  Click(Item(kOpt1));
  ASSERT_TRUE(WaitUntil([&] { return IsEnabled(field); }, 5000));
  EXPECT_EQ(FieldColour(field), RGB(255, 255, 255));
  ASSERT_TRUE(SetText(field, "Administrators"));
  session_.Picture(session_.main(), "rosterly-main-add-chosen");
  Click(Item(kOpt0));
  ASSERT_TRUE(WaitUntil([&] { return !IsEnabled(field); }, 5000));
  EXPECT_EQ(TextOf(field), "Administrators");
  EXPECT_EQ(FieldColour(field), GetSysColor(COLOR_MENU));
  Click(Item(kOpt2));
  EXPECT_TRUE(WaitUntil([&] { return IsEnabled(field); }, 5000));
}

TEST_F(RosterlyMain, AnUnknownDomainLeavesBothListsEmptyWithoutAMessage) {
  ASSERT_TRUE(session_.OpenMain("NOSUCHDOMAIN", false));
  Sleep(1500);
  EXPECT_EQ(session_.Status(), "Ready");
  EXPECT_TRUE(ListBoxItems(Item(kLstComps)).empty());
  EXPECT_TRUE(ListBoxItems(Item(kLstGroups)).empty());
  EXPECT_FALSE(WaitForMessageBox(session_.pid(), 500));
}

TEST_F(RosterlyMain, ExitEndsTheProcess) {
  ASSERT_TRUE(session_.OpenMain("CORP"));
  MenuCommand(session_.main(), kMnuExit);
  EXPECT_TRUE(session_.process().WaitForExit(10000));
}

}  // namespace
