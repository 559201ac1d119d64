// Start-up: which log is opened, the caption, the single-instance rule, the
// background window and the program's own resources.
#include <gtest/gtest.h>

#include "ScrubberSession.h"

using namespace testdriver;
using namespace scrubber_e2e;

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255), kBlack = RGB(0, 0, 0), kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0);

// The top and bottom rows of the background, left of the centred wizard.
std::pair<COLORREF, COLORREF> BackgroundEnds(HWND main) {
  const Pixels pixels = PixelsOf(main);
  return {pixels.At(4, 1), pixels.At(4, pixels.height - 2)};
}

class ScrubberStart : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FreshDir(dir_));
    ASSERT_TRUE(WriteFileBytes(dir_ + "\\KEEP.TXT", "kept"));
    ASSERT_TRUE(WriteFileBytes(log_, LogText("Demo Application Installation", {"File Copy: " + dir_ + "\\KEEP.TXT"})));
    exe_ = PlaceUninstaller(dir_);
  }
  void TearDown() override { RemoveTree(dir_); }

  // Started, with its wizard up and the main window's caption read.
  HWND Open(std::optional<Process>& process, const std::string& exe, const std::string& args) {
    process = Process::Start(exe, args);
    if (!process) return nullptr;
    return WaitForWizard(process->pid());
  }

  const std::string dir_ = "C:\\Case10";
  const std::string log_ = dir_ + "\\INSTALL.LOG";
  std::string exe_;
};

TEST(ScrubberResources, CarriesTheRestartHelperByteForByte) {
  const std::string helper = ReadFileBytes(E2eFile("_QZRSTRT.EXE"));
  ASSERT_GT(helper.size(), 512u);
  ASSERT_EQ(helper.substr(0, 2), "MZ");
  const std::string embedded = ResourceBytes(E2eFile("Scrubber.exe"), 300, 30202);
  EXPECT_EQ(embedded.size(), helper.size());
  EXPECT_TRUE(embedded == helper);
}

// Without a manifest Windows guesses the rights from the program's name, and
// a 32-bit program's denied registry writes land in a per-user store where
// they seem done.
TEST(ScrubberManifests, TheUninstallerAsksForTheHighestRightsAndItsHelperForTheInvokers) {
  const std::string uninstaller = ResourceBytes(E2eFile("Scrubber.exe"), 24, 1);  // RT_MANIFEST
  const std::string helper = ResourceBytes(E2eFile("_QZRSTRT.EXE"), 24, 1);
  EXPECT_NE(uninstaller.find("level=\"highestAvailable\""), std::string::npos) << uninstaller;
  EXPECT_NE(helper.find("level=\"asInvoker\""), std::string::npos) << helper;
  for (const std::string& manifest : {uninstaller, helper}) {
    EXPECT_NE(manifest.find("{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"), std::string::npos) << "Windows 7";
    EXPECT_NE(manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos) << "Windows 10 and 11";
    EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos) << "no visual styles: the layouts are fixed";
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos) << "no DPI scaling: the layouts are fixed";
  }
}

// An empty command line takes INSTALL.LOG beside the program; a second start
// of the same file is refused, a copy elsewhere is not; the background runs
// from blue to black. Cancel, confirmed, leaves everything in place.
TEST_F(ScrubberStart, OpensTheLogBesideItAndRefusesASecondStart) {
  std::optional<Process> first;
  HWND wizard = Open(first, exe_, "");
  ASSERT_NE(wizard, nullptr) << "no wizard for the log beside the program";
  HWND main = WaitForMainWindow(first->pid());
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(IsZoomed(main));
  EXPECT_EQ(TextOf(main), "Uninstall Demo Application");
  EXPECT_EQ(TextOf(wizard), "Uninstall Demo Application");
  EXPECT_FALSE(IsWindowEnabled(main));
  const auto [top, bottom] = BackgroundEnds(main);
  EXPECT_EQ(top, kBlue);
  EXPECT_EQ(bottom, kBlack);
  Picture(main, "start-background");

  auto second = Process::Start(exe_, log_);
  ASSERT_TRUE(second);
  const auto refused = WaitForMessageBox(second->pid());
  ASSERT_TRUE(refused) << "the second start was not refused";
  EXPECT_EQ(refused->text, "Application is already running - Terminating this instance");
  EXPECT_EQ(refused->title, "Multiple Instance");
  EXPECT_TRUE(refused->hasIcon);
  EXPECT_TRUE(FindTopWindows({kMainClass, "", second->pid()}).empty()) << "refused before any window";
  ASSERT_TRUE(AnswerMessageBox(*refused, IDOK));
  EXPECT_TRUE(EndsWithZero(*second));

  ASSERT_TRUE(CreateDirectoryA((dir_ + "\\COPY").c_str(), nullptr));
  std::optional<Process> copy;
  HWND copyWizard = Open(copy, PlaceUninstaller(dir_ + "\\COPY"), log_);
  ASSERT_NE(copyWizard, nullptr) << "a copy under another path was refused";
  ASSERT_TRUE(CancelWizard(copyWizard, copy->pid(), true));
  EXPECT_TRUE(EndsWithZero(*copy));

  ASSERT_TRUE(CancelWizard(wizard, first->pid(), true));
  EXPECT_TRUE(EndsWithZero(*first));
  EXPECT_TRUE(Exists(dir_ + "\\KEEP.TXT"));
  EXPECT_TRUE(Exists(log_));
}

TEST_F(ScrubberStart, TakesACaptionOfMoreThanOneCharacter) {
  for (const auto& [caption, expected] : {std::pair<std::string, std::string>{"X", "Uninstall Demo Application"},
                                          {"\"Remove Demo Now\"", "Remove Demo Now"}}) {
    std::optional<Process> run;
    HWND wizard = Open(run, exe_, log_ + " " + caption);
    ASSERT_NE(wizard, nullptr) << caption;
    EXPECT_EQ(TextOf(WaitForMainWindow(run->pid())), expected);
    EXPECT_EQ(TextOf(wizard), expected);
    ASSERT_TRUE(CancelWizard(wizard, run->pid(), true));
    EXPECT_TRUE(EndsWithZero(*run));
  }
}

TEST_F(ScrubberStart, RecoloursTheBackgroundFromItsSettingsFile) {
  ASSERT_TRUE(WriteFileBytes(dir_ + "\\UNINST.INI",
                             "[Settings]\r\nStart Red=255\r\nStart Green=0\r\nStart Blue=0\r\n"
                             "End Red=0\r\nEnd Green=255\r\nEnd Blue=0\r\n"));
  std::optional<Process> run;
  HWND wizard = Open(run, exe_, log_);
  ASSERT_NE(wizard, nullptr);
  HWND main = WaitForMainWindow(run->pid());
  const auto [top, bottom] = BackgroundEnds(main);
  EXPECT_EQ(top, kRed);
  EXPECT_EQ(bottom, kGreen);
  Picture(main, "start-background-settings");
  ASSERT_TRUE(CancelWizard(wizard, run->pid(), true));
  EXPECT_TRUE(EndsWithZero(*run));
}

TEST_F(ScrubberStart, AsksForALogWhenNoneIsBesideIt) {
  ASSERT_TRUE(DeleteFileA(log_.c_str()));
  auto run = Process::Start(exe_, "");
  ASSERT_TRUE(run);
  const auto dialog = WaitForFileDialog(run->pid());
  ASSERT_TRUE(dialog) << "no open-file dialog";
  EXPECT_TRUE(WaitForWizard(run->pid(), 0) == nullptr);
  ASSERT_TRUE(CancelFileDialog(*dialog));
  EXPECT_TRUE(EndsWithZero(*run));
  EXPECT_TRUE(Exists(dir_ + "\\KEEP.TXT"));
}

}  // namespace
