// The wizard's pages as a user walks them with Next and Back, and Cancel.
#include <gtest/gtest.h>

#include "ScrubberSession.h"

using namespace testdriver;
using namespace scrubber_e2e;

namespace {

using Rows = std::vector<std::string>;

bool Checked(HWND wizard, int id) {
  return SendMessageA(FindChildById(wizard, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void ChooseCustom(HWND wizard) {
  // As a click on the second radio button would leave them.
  SendMessageA(FindChildById(wizard, kFirstChoice), BM_SETCHECK, BST_UNCHECKED, 0);
  SendMessageA(FindChildById(wizard, kSecondChoice), BM_SETCHECK, BST_CHECKED, 0);
}

class ScrubberWizard : public ::testing::Test {
 protected:
  void TearDown() override {
    if (run_ && run_->Running() && wizard_) {
      (void)CancelWizard(wizard_, run_->pid(), true);
      EXPECT_TRUE(EndsWithZero(*run_));
    }
  }

  void Open(const std::string& dir, const std::string& logText) {
    ASSERT_TRUE(WriteFileBytes(dir + "\\INSTALL.LOG", logText));
    run_ = Process::Start(PlaceUninstaller(dir), dir + "\\INSTALL.LOG");
    ASSERT_TRUE(run_);
    wizard_ = WaitForWizard(run_->pid());
    ASSERT_NE(wizard_, nullptr);
    ASSERT_EQ(Text(wizard_, kTitle), kMethodPage);
  }

  // Next (or Back) and the title of the page it leads to.
  std::string Go(int button) {
    EXPECT_TRUE(Turn(wizard_, button)) << "still on " << Text(wizard_, kTitle);
    return Text(wizard_, kTitle);
  }

  std::optional<Process> run_;
  HWND wizard_ = nullptr;
};

TEST_F(ScrubberWizard, AutomaticSkipsTheRollbackPageWithoutBackups) {
  const std::string dir = "C:\\Case20";
  ASSERT_TRUE(FreshDir(dir));
  ASSERT_TRUE(WriteFileBytes(dir + "\\A.TXT", "a"));
  Open(dir, LogText("Plain Installation", {"File Copy: " + dir + "\\A.TXT"}));
  EXPECT_TRUE(Checked(wizard_, kFirstChoice));
  EXPECT_FALSE(Checked(wizard_, kSecondChoice));
  EXPECT_EQ(Text(wizard_, kFirstChoice), "&Automatic");
  EXPECT_EQ(Text(wizard_, kSecondChoice), "&Custom");
  EXPECT_EQ(Text(wizard_, kUpperText),
            "Welcome to the Plain uninstall program.\n\nYou can choose to automatically uninstall this software or "
            "to choose exactly which changes will be made to your system.");
  EXPECT_FALSE(IsEnabled(FindChildById(wizard_, kBack)));
  EXPECT_FALSE(IsWindowVisible(FindChildById(wizard_, kItemList)));
  EXPECT_EQ(Text(wizard_, kNext), "&Next >");
  Picture(wizard_, "wizard-00-method");

  EXPECT_EQ(Go(kNext), kReadyPage);
  EXPECT_EQ(Text(wizard_, kNext), "&Finish");
  EXPECT_EQ(Text(wizard_, kUpperText), "You are now ready to uninstall the Plain from your system.");
  EXPECT_TRUE(Shown(wizard_, kBack));
  EXPECT_TRUE(Shown(wizard_, kLowerText));
  EXPECT_FALSE(IsWindowVisible(FindChildById(wizard_, kFirstChoice)));
  Picture(wizard_, "wizard-11-ready");
  EXPECT_EQ(Go(kBack), kMethodPage);

  // Cancel declined keeps the wizard where it was.
  ASSERT_TRUE(CancelWizard(wizard_, run_->pid(), false));
  EXPECT_TRUE(IsWindowVisible(wizard_));
  EXPECT_EQ(Text(wizard_, kTitle), kMethodPage);
  EXPECT_TRUE(run_->Running());
  ASSERT_TRUE(CancelWizard(wizard_, run_->pid(), true));
  EXPECT_TRUE(EndsWithZero(*run_));
  EXPECT_TRUE(Exists(dir + "\\A.TXT"));
  EXPECT_TRUE(Exists(dir + "\\INSTALL.LOG"));
  RemoveTree(dir);
}

TEST_F(ScrubberWizard, AutomaticOffersTheRollbackWhenTheLogHasBackups) {
  const std::string dir = "C:\\Case21";
  ASSERT_TRUE(FreshDir(dir));
  ASSERT_TRUE(WriteFileBytes(dir + "\\A.TXT", "new"));
  ASSERT_TRUE(WriteFileBytes(dir + "\\A.BAK", "old"));
  Open(dir, LogText("Backed Up Install", {"File Overwrite: " + dir + "\\A.TXT", "Backup Copy: " + dir + "\\A.BAK"}));
  EXPECT_EQ(Go(kNext), kRollbackPage);
  EXPECT_EQ(Text(wizard_, kFirstChoice), "&Yes");
  EXPECT_EQ(Text(wizard_, kSecondChoice), "&No");
  EXPECT_FALSE(Checked(wizard_, kFirstChoice));
  EXPECT_TRUE(Checked(wizard_, kSecondChoice));
  EXPECT_TRUE(Shown(wizard_, kBack));
  Picture(wizard_, "wizard-12-rollback");
  EXPECT_EQ(Go(kNext), kReadyPage);
  EXPECT_EQ(Go(kBack), kRollbackPage);
  EXPECT_EQ(Go(kBack), kMethodPage);
  ASSERT_TRUE(CancelWizard(wizard_, run_->pid(), true));
  EXPECT_TRUE(EndsWithZero(*run_));
  EXPECT_EQ(ReadFileBytes(dir + "\\A.TXT"), "new");
  EXPECT_EQ(ReadFileBytes(dir + "\\A.BAK"), "old");
  RemoveTree(dir);
}

// Custom shows one page per non-empty list, rows as the user reads them.
// The log names programs and a service that Finish would run and delete, so
// the walk ends with Cancel.
TEST_F(ScrubberWizard, CustomWalksEveryListPage) {
  const std::string dir = "C:\\Case22";
  const std::string systemFile = "C:\\windows\\system32\\CASEWALK.DLL";
  ASSERT_TRUE(FreshDir(dir));
  ASSERT_TRUE(WriteFileBytes(dir + "\\APP.EXE", "app"));
  ASSERT_TRUE(WriteFileBytes(systemFile, "dll"));
  ASSERT_TRUE(WriteFileBytes(dir + "\\NEW.INI", "[New]\r\nA=1\r\n"));
  ASSERT_TRUE(WriteFileBytes(dir + "\\WALK.INI", "[Main]\r\nKey=now\r\n"));
  Open(dir, LogText("Walk Through Installation",
                    {"Made Dir: C:\\WalkData",
                     "File Copy: " + dir + "\\APP.EXE",
                     "File Copy: " + systemFile,
                     "INI New: 1",
                     "INI File: " + dir + "\\NEW.INI",
                     "INI File: " + dir + "\\WALK.INI",
                     "INI Sect: Main",
                     "INI Item: Key",
                     "INI Val: now",
                     "INI Old: before",
                     "RegDB Key: Software\\ScrubberWalk",
                     "RegDB Val: 1",
                     "RegDB Name: Path",
                     "RegDB Root: 1",
                     "RegDB Tree: Software\\ScrubberWalk\\Tree",
                     "RegDB Root: 1",
                     "RegDB Key: Software\\ScrubberWalk\\List",
                     "RegDB Val: 1",
                     "RegDB Name: Items",
                     "RegDB Type: 2",
                     "RegDB Root: 1",
                     "RegDB Old: first",
                     "RegDB Old: second",
                     "Icon Group: Walk",
                     "Icon Name: Walk App",
                     "Icon Cmd: " + dir + "\\APP.EXE",
                     "SubSystem: BDE",
                     "Execute Path: " + dir + "\\SETUP.EXE /remove",
                     "Execute Name: Remove settings",
                     "Execute Path: " + dir + "\\CLEAN.EXE /q",
                     "Create Service: WalkSvc"}));
  EXPECT_EQ(Text(wizard_, kTitle), kMethodPage);
  ChooseCustom(wizard_);

  struct Page {
    const char* title;
    Rows rows;
  };
  const std::vector<Page> pages = {
      {"Select Private Files to Remove", {dir + "\\APP.EXE"}},
      {"Select System Files to Remove", {systemFile}},
      {"Select Directories to Remove", {dir, "C:\\WalkData"}},
      {"Select INI Files to Remove", {dir + "\\NEW.INI"}},
      {"Select INI Items to Edit", {dir + "\\WALK.INI: [Main] Key=before"}},
      {"Select Registry Keys to Remove", {"Software\\ScrubberWalk Value Name: Path"}},
      {"Select Registry Trees to Remove", {"Software\\ScrubberWalk\\Tree"}},
      {"Select Registry Keys to Edit", {"Software\\ScrubberWalk\\List Value Name: Items=first"}},
      {"Select Icons to Remove", {"Walk App"}},
      {"Select Sub-Systems to Remove", {"BDE", "Remove settings", dir + "\\CLEAN.EXE /q", "WalkSvc"}},
  };
  HWND list = FindChildById(wizard_, kItemList);
  int number = 1;
  for (const Page& page : pages) {
    ASSERT_EQ(Go(kNext), page.title);
    EXPECT_TRUE(Shown(wizard_, kItemList));
    EXPECT_TRUE(Shown(wizard_, kSelectAll));
    EXPECT_TRUE(Shown(wizard_, kSelectNone));
    EXPECT_FALSE(IsWindowVisible(FindChildById(wizard_, kLowerText)));
    EXPECT_EQ(ListBoxItems(list), page.rows) << page.title;
    EXPECT_TRUE(ListBoxSelection(list).empty()) << page.title;
    Picture(wizard_, "wizard-" + std::string(number < 10 ? "0" : "") + std::to_string(number) + "-list");
    ++number;
  }

  // Select All / Select None on the last list, and what Back brings back.
  Click(FindChildById(wizard_, kSelectAll));
  EXPECT_TRUE(WaitUntil([&] { return ListBoxSelection(list) == std::vector<int>{0, 1, 2, 3}; }, 3000));
  Click(FindChildById(wizard_, kSelectNone));
  EXPECT_TRUE(WaitUntil([&] { return ListBoxSelection(list).empty(); }, 3000));
  ASSERT_TRUE(ListBoxSelect(list, 2));
  EXPECT_EQ(Go(kNext), kReadyPage);
  EXPECT_EQ(Go(kBack), "Select Sub-Systems to Remove");
  EXPECT_EQ(ListBoxSelection(list), std::vector<int>{2});
  for (size_t i = pages.size() - 1; i > 0; --i) ASSERT_EQ(Go(kBack), pages[i - 1].title);
  EXPECT_EQ(Go(kBack), kMethodPage);
  EXPECT_TRUE(Checked(wizard_, kSecondChoice)) << "Custom forgotten after Back";
  EXPECT_FALSE(Checked(wizard_, kFirstChoice));

  ASSERT_TRUE(CancelWizard(wizard_, run_->pid(), true));
  EXPECT_TRUE(EndsWithZero(*run_));
  EXPECT_TRUE(Exists(dir + "\\APP.EXE"));
  EXPECT_TRUE(Exists(systemFile));
  EXPECT_EQ(ReadFileBytes(dir + "\\WALK.INI"), "[Main]\r\nKey=now\r\n");
  DeleteFileA(systemFile.c_str());
  RemoveTree(dir);
}

}  // namespace
