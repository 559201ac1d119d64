#include <gtest/gtest.h>

#include "Driver.h"

using namespace testdriver;

namespace {

constexpr int kCombo1 = 1003, kCommand1 = 1004, kCommand2 = 1005;

class RosterlyStart : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string exe = FromHostPath(Env("ROSTERLY_EXE"));
    console_ = Process::Start(exe);
    ASSERT_TRUE(console_) << "cannot start " << exe;
    dialog_ = WaitForWindow({"", "Domain Selection", console_->pid()});
    ASSERT_NE(dialog_, nullptr) << "no Domain Selection window";
  }
  std::optional<Process> console_;
  HWND dialog_ = nullptr;
};

TEST_F(RosterlyStart, OpensDomainSelectionWithItsControls) {
  EXPECT_EQ(TextOf(FindChildById(dialog_, kCommand1)), "OK");
  EXPECT_EQ(TextOf(FindChildById(dialog_, kCommand2)), "Cancel");
  HWND combo = FindChildById(dialog_, kCombo1);
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(TextOf(combo), "");
  // 4230 x 2460 twips at the display's DPI.
  HDC screen = GetDC(nullptr);
  int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  SIZE client = ClientSize(dialog_);
  EXPECT_EQ(client.cx, MulDiv(4230, dpiX, 1440));
  EXPECT_EQ(client.cy, MulDiv(2460, dpiY, 1440));
}

TEST_F(RosterlyStart, EmptyTextGivesMessageAndKeepsDialog) {
  Click(FindChildById(dialog_, kCommand1));
  auto box = WaitForMessageBox(console_->pid());
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, "Please choose a Domain and try again!");
  EXPECT_EQ(box->title, "Select Domain");
  ASSERT_TRUE(AnswerMessageBox(*box, IDOK));
  EXPECT_TRUE(IsWindow(dialog_));
}

TEST_F(RosterlyStart, CancelEndsTheProcess) {
  Click(FindChildById(dialog_, kCommand2));
  DWORD exitCode = 1;
  ASSERT_TRUE(console_->WaitForExit(10000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace
