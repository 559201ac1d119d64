#include <gtest/gtest.h>

#include "fake/FakeDirectory.h"
#include "fake/FakeUi.h"
#include "logic/DomainSelection.h"

namespace rosterly {
namespace {

using Outcome = DomainSelection::Outcome;

class DomainSelectionTest : public ::testing::Test {
 protected:
  Globals globals;
  FakeDirectory dir;
  FakeMessageBoxes messages;
  DomainSelection dialog{globals, dir, messages};
};

TEST_F(DomainSelectionTest, ListsDomainsInProviderOrderWithNoEmptyEntry) {
  dir.AddDomain("ZETA");
  dir.AddDomain("alpha");
  dir.AddDomain("ZETA");
  dialog.Load();
  EXPECT_EQ(dialog.ComboList(), (std::vector<std::string>{"ZETA", "alpha", "ZETA"}));
  EXPECT_EQ(dialog.Combo1Text, "");
}

TEST_F(DomainSelectionTest, FillFailuresAreQuiet) {
  dir.AddDomain("ONE");
  dir.AddDomain("TWO");
  dir.AddDomain("THREE");
  dir.Fail("WinNT://TWO", DirOp::Name, FakeDirectory::AccessDenied());  // skipped
  dir.BreakEnumeration("WinNT:", DirOp::Enumerate, 2, FakeDirectory::BindRefused());
  dialog.Load();
  EXPECT_EQ(dialog.ComboList(), (std::vector<std::string>{"ONE"}));

  DomainSelection refused{globals, dir, messages};
  dir.Fail("WinNT:", DirOp::Bind, FakeDirectory::BindRefused());
  refused.Load();
  EXPECT_TRUE(refused.ComboList().empty());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DomainSelectionTest, EmptyTextShowsTheMessageEveryTime) {
  EXPECT_EQ(dialog.KeyDown(13), Outcome::Stay);
  EXPECT_EQ(dialog.Ok(), Outcome::Stay);
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[1].text, "Please choose a Domain and try again!");
  EXPECT_EQ(messages.shown[1].title, "Select Domain");
  EXPECT_EQ(messages.shown[1].icon, MsgIcon::Information);
  EXPECT_EQ(globals.DomainName, "");
}

TEST_F(DomainSelectionTest, OkAndEnterStoreTheTextUnchanged) {
  dialog.Combo1Text = " ";
  EXPECT_EQ(dialog.KeyDown(13), Outcome::OpenMainWindow);
  EXPECT_EQ(globals.DomainName, " ");

  DomainSelection typed{globals, dir, messages};
  typed.Combo1Text = "corp-edited ";
  EXPECT_EQ(typed.KeyDown(65), Outcome::Stay);  // other keys do nothing here
  EXPECT_EQ(typed.Ok(), Outcome::OpenMainWindow);
  EXPECT_EQ(globals.DomainName, "corp-edited ");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DomainSelectionTest, CancelEndsWithoutADomain) {
  dialog.Combo1Text = "CORP";
  EXPECT_EQ(dialog.Cancel(), Outcome::EndProcess);
  EXPECT_EQ(globals.DomainName, "");
}

}  // namespace
}  // namespace rosterly
