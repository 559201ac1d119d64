#include <gtest/gtest.h>

#include "Driver.h"

using namespace testdriver;

namespace {

constexpr int kListView = 100, kListBox = 101, kCombo = 102, kEdit = 103, kAskButton = 104, kOpenButton = 105, kTellButton = 106,
              kMenuCommand = 200;

class DriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string exe = FromHostPath(Env("DRIVER_FIXTURE_EXE"));
    ASSERT_FALSE(exe.empty()) << "DRIVER_FIXTURE_EXE not set";
    fixture_ = Process::Start(exe);
    ASSERT_TRUE(fixture_) << "cannot start " << exe;
    window_ = WaitForWindow({"DriverFixture", "Driver Fixture", fixture_->pid()});
    ASSERT_NE(window_, nullptr);
  }
  HWND Control(int id) { return FindChildById(window_, id); }
  bool EditSays(const std::string& text) {
    return WaitUntil([&] { return TextOf(Control(kEdit)) == text; }, 5000);
  }

  std::optional<Process> fixture_;
  HWND window_ = nullptr;
};

TEST_F(DriverTest, ReadsListViewOfAnotherProcess) {
  HWND listView = Control(kListView);
  EXPECT_EQ(ListViewHeaders(listView), (std::vector<std::string>{"Computer", "Group Name", "Member"}));
  auto rows = ListViewRows(listView);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"PC1", "Administrators", "DOMAIN\\Helpdesk"}));
  EXPECT_EQ(rows[1], (std::vector<std::string>{"PC2", "Users", "a,b \"c\""}));
  ASSERT_TRUE(ListViewClickHeader(listView, 2));
  EXPECT_TRUE(EditSays("column 2"));
}

TEST_F(DriverTest, AnswersMessageBoxAndReadsIt) {
  Click(Control(kAskButton));
  auto box = WaitForMessageBox(fixture_->pid());
  ASSERT_TRUE(box);
  EXPECT_EQ(box->title, "Fixture Question");
  EXPECT_EQ(box->text, "Proceed with the test?");
  EXPECT_TRUE(box->hasIcon);
  ASSERT_EQ(box->buttons.size(), 2u);
  EXPECT_EQ(box->buttons[0].first, IDYES);
  ASSERT_TRUE(AnswerMessageBox(*box, IDNO));
  EXPECT_TRUE(EditSays("no"));

  Click(Control(kAskButton));
  box = WaitForMessageBox(fixture_->pid());
  ASSERT_TRUE(box);
  ASSERT_TRUE(AnswerMessageBox(*box, IDYES));
  EXPECT_TRUE(EditSays("yes"));
}

TEST_F(DriverTest, TellsABoxWithoutAnIconFromOneWithAnIcon) {
  Click(Control(kTellButton));
  auto box = WaitForMessageBox(fixture_->pid());
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, "Done.");
  EXPECT_FALSE(box->hasIcon);
  ASSERT_TRUE(AnswerMessageBox(*box, IDOK));
}

TEST_F(DriverTest, ListBoxComboAndTextRoundTrip) {
  HWND listBox = Control(kListBox);
  EXPECT_EQ(ListBoxItems(listBox), (std::vector<std::string>{"alpha", "beta", "gamma"}));
  ASSERT_TRUE(ListBoxSelect(listBox, 0));
  ASSERT_TRUE(ListBoxSelect(listBox, 2));
  EXPECT_EQ(ListBoxSelection(listBox), (std::vector<int>{0, 2}));
  ASSERT_TRUE(ListBoxSelect(listBox, 0, false));
  EXPECT_EQ(ListBoxSelection(listBox), (std::vector<int>{2}));

  HWND combo = Control(kCombo);
  EXPECT_EQ(ComboItems(combo), (std::vector<std::string>{"CORP", "LAB"}));
  ASSERT_TRUE(ComboSelect(combo, 1));
  EXPECT_EQ(ComboSelection(combo), 1);
  EXPECT_EQ(TextOf(combo), "LAB");
  ASSERT_TRUE(SetText(combo, "typed domain"));
  EXPECT_EQ(TextOf(combo), "typed domain");
  EXPECT_EQ(FindChildByClass(window_, "ComboBox"), combo);
}

TEST_F(DriverTest, AnswersFileDialogByTypingTheName) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  const std::string path = std::string(temp) + "driver-open.txt";
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);

  Click(Control(kOpenButton));
  auto dialog = WaitForFileDialog(fixture_->pid());
  ASSERT_TRUE(dialog);
  EXPECT_EQ(dialog->title, "Fixture Open");
  EXPECT_EQ(dialog->fileTypes, (std::vector<std::string>{"Text Files (*.txt)"}));
  ASSERT_TRUE(AnswerFileDialog(*dialog, path));
  ASSERT_TRUE(WaitUntil([&] { return TextOf(Control(kEdit)) != ""; }, 5000));
  EXPECT_EQ(CharUpperA(TextOf(Control(kEdit)).data()), std::string(CharUpperA(std::string(path).data())));

  Click(Control(kOpenButton));
  dialog = WaitForFileDialog(fixture_->pid());
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(CancelFileDialog(*dialog));
  EXPECT_TRUE(EditSays("cancelled"));
  DeleteFileA(path.c_str());
}

TEST_F(DriverTest, SavesAPictureOfAWindow) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  const std::string path = std::string(temp) + "driver-picture.png";
  ASSERT_TRUE(SaveWindowPicture(window_, path));
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  unsigned char header[24] = {};
  DWORD read = 0;
  ReadFile(file, header, sizeof header, &read, nullptr);
  CloseHandle(file);
  DeleteFileA(path.c_str());
  ASSERT_EQ(read, sizeof header);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(header) + 1, 3), "PNG");
  RECT rect;
  GetWindowRect(window_, &rect);
  const int width = (header[16] << 24) | (header[17] << 16) | (header[18] << 8) | header[19];
  EXPECT_EQ(width, rect.right - rect.left);
}

TEST_F(DriverTest, MenuCommandsKeysAndExit) {
  MenuCommand(window_, kMenuCommand);
  EXPECT_TRUE(EditSays("menu"));
  PressKey(Control(kEdit), VK_RETURN);
  EXPECT_TRUE(EditSays("enter"));
  PostMessageA(window_, WM_CLOSE, 0, 0);
  DWORD exitCode = 0;
  ASSERT_TRUE(fixture_->WaitForExit(5000, &exitCode));
  EXPECT_EQ(exitCode, 7u);
}

}  // namespace
