#include "ConsoleFixture.h"

namespace rosterly {
namespace {

using Names = std::vector<std::string>;

class MainWindow : public ConsoleFixture {
 protected:
  void MakeDomain() {
    dir.AddComputer("CORP", "ws02");
    dir.AddComputer("CORP", "WS01");
    dir.AddComputer("CORP", "ws01");
    dir.AddDomainGroup("CORP", "Helpdesk");
    dir.AddDomainGroup("CORP", "Domain Admins");
    dir.AddDomainUser("CORP", "alice");
  }
};

TEST_F(MainWindow, StartsReadyWithTheTimerOnAndTheNameFieldDisabled) {
  EXPECT_EQ(form.StatusText(), "Ready");
  EXPECT_TRUE(form.TimerEnabled());
  EXPECT_EQ(form.optGroups(), 0);
  EXPECT_FALSE(form.txtLocalGroup.enabled);
  EXPECT_EQ(form.txtLocalGroup.background, FieldBackground::MenuColour);
}

TEST_F(MainWindow, TimerTickFillsBothListsOnce) {
  MakeDomain();
  form.lstComps.Add("stale");
  form.OnTimerTick();
  EXPECT_EQ(Texts(form.lstComps), (Names{"WS01", "ws01", "ws02"}));
  EXPECT_EQ(Texts(form.lstGroups), (Names{"Domain Admins", "Helpdesk"}));
  EXPECT_EQ(view.statusHistory, (Names{"Obtaining Available Computers and Groups...", "Ready"}));
  EXPECT_EQ(view.pumps, 1);
  EXPECT_EQ(view.pointerHistory, (std::vector<bool>{true, false}));
  EXPECT_FALSE(form.TimerEnabled());
  EXPECT_EQ(dir.Calls(), (Names{"Bind WinNT://CORP", "SetFilter WinNT://CORP Computer", "Enumerate WinNT://CORP",
                                "SetFilter WinNT://CORP Group", "Enumerate WinNT://CORP"}));

  form.OnTimerTick();  // switched off: nothing happens
  EXPECT_EQ(view.pumps, 1);
  form.RefreshLists();
  EXPECT_TRUE(form.TimerEnabled());
  form.OnTimerTick();
  EXPECT_EQ(form.lstComps.Count(), 3u);
  EXPECT_FALSE(form.TimerEnabled());
}

TEST_F(MainWindow, ANestedTickDuringTheFillDoesNotFillAgain) {
  MakeDomain();
  view.onPump = [&](int) { form.OnTimerTick(); };
  form.OnTimerTick();
  EXPECT_EQ(view.pumps, 1);
  EXPECT_EQ(form.lstComps.Count(), 3u);
}

TEST_F(MainWindow, FillFailuresLeaveWhatWasReadAndEndReady) {
  MakeDomain();
  dir.AddComputer("CORP", "ws03");
  dir.Fail("WinNT://CORP/WS01", DirOp::Name, FakeDirectory::AccessDenied());  // skipped
  dir.BreakEnumeration("WinNT://CORP", DirOp::Enumerate, 3, FakeDirectory::BindRefused());
  form.OnTimerTick();
  // Enumeration of computers stops after three; the group enumeration breaks
  // at the same point of its own, filtered, sequence and keeps both groups.
  EXPECT_EQ(Texts(form.lstComps), (Names{"ws01", "ws02"}));
  EXPECT_EQ(Texts(form.lstGroups), (Names{"Domain Admins", "Helpdesk"}));
  EXPECT_EQ(form.StatusText(), "Ready");
  EXPECT_FALSE(form.TimerEnabled());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainWindow, AnUnknownDomainLeavesBothListsEmpty) {
  MakeDomain();
  globals.DomainName = "NOSUCH";
  form.lstGroups.Add("old");
  form.OnTimerTick();
  EXPECT_EQ(form.lstComps.Count(), 0u);
  EXPECT_EQ(form.lstGroups.Count(), 0u);
  EXPECT_EQ(form.StatusText(), "Ready");
  EXPECT_EQ(view.pointerHistory, (std::vector<bool>{true, false}));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainWindow, AFilterThatCannotBeSetIsSkipped) {
  MakeDomain();
  dir.Fail("WinNT://CORP", DirOp::SetFilter, FakeDirectory::AccessDenied());
  form.OnTimerTick();
  // Without a filter the enumeration returns every child of the domain.
  EXPECT_EQ(Texts(form.lstComps), (Names{"alice", "Domain Admins", "Helpdesk", "WS01", "ws01", "ws02"}));
}

TEST_F(MainWindow, LoadReplacesOnlyTheComputerList) {
  Fill(form.lstComps, {"old1", "old2"});
  Fill(form.lstGroups, {"Helpdesk"});
  files.files["C:\\lists\\pcs.txt"] = "PC1\r\nPC2,PC3\r\n\"Lab, Room 4\"\r\n";
  dialogs.answers = {"C:\\lists\\pcs.txt"};
  form.LoadComputers();
  EXPECT_EQ(dialogs.asked.at(0).title, "Load Computers");
  EXPECT_EQ(dialogs.asked.at(0).filter, "Text Files (*.txt)|*.txt");
  EXPECT_FALSE(dialogs.asked.at(0).save);
  EXPECT_EQ(Texts(form.lstComps), (Names{"Lab, Room 4", "PC1", "PC2", "PC3"}));
  EXPECT_FALSE(form.lstComps.Selected(0));
  EXPECT_EQ(Texts(form.lstGroups), (Names{"Helpdesk"}));
  EXPECT_TRUE(form.lstGroups.Selected(0));
}

TEST_F(MainWindow, LoadCancelledChangesNothing) {
  Fill(form.lstComps, {"old1"});
  form.LoadComputers();
  EXPECT_EQ(Texts(form.lstComps), (Names{"old1"}));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainWindow, AFileThatCannotBeReadKeepsTheListAndSaysWhy) {
  Fill(form.lstComps, {"old1", "old2"});
  dialogs.answers = {"C:\\missing.txt", "C:\\locked.txt"};
  files.FailRead("C:\\locked.txt", FakeFileStore::Denied());
  form.LoadComputers();
  form.LoadComputers();
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_NE(messages.shown[0].text.find("C:\\missing.txt"), std::string::npos);
  EXPECT_NE(messages.shown[0].text.find("The system cannot find the file specified."), std::string::npos);
  EXPECT_NE(messages.shown[1].text.find("Access is denied."), std::string::npos);
  EXPECT_EQ(messages.shown[1].title, "Rosterly");
  EXPECT_EQ(Texts(form.lstComps), (Names{"old1", "old2"}));
  EXPECT_TRUE(form.lstComps.Selected(1));
}

TEST_F(MainWindow, RefreshAfterALoadBringsTheDomainBack) {
  MakeDomain();
  files.files["a.txt"] = "X1";
  dialogs.answers = {"a.txt"};
  form.LoadComputers();
  form.RefreshLists();
  form.OnTimerTick();
  EXPECT_EQ(Texts(form.lstComps), (Names{"WS01", "ws01", "ws02"}));
}

TEST_F(MainWindow, ActionChoiceSetsTheNameFieldAndKeepsItsText) {
  form.ChooseAction(1);
  EXPECT_TRUE(form.txtLocalGroup.enabled);
  EXPECT_EQ(form.txtLocalGroup.background, FieldBackground::White);
  form.txtLocalGroup.text = "Administrators";
  form.ChooseAction(2);
  EXPECT_TRUE(form.txtLocalGroup.enabled);
  form.ChooseAction(0);
  EXPECT_FALSE(form.txtLocalGroup.enabled);
  EXPECT_EQ(form.txtLocalGroup.background, FieldBackground::MenuColour);
  EXPECT_EQ(form.txtLocalGroup.text, "Administrators");
}

TEST_F(MainWindow, ExecuteRunsTheChosenAction) {
  dir.AddComputer("CORP", "PC1");
  Fill(form.lstComps, {"PC1"});
  form.Execute();
  form.ChooseAction(1);
  form.Execute();
  form.ChooseAction(2);
  form.Execute();
  EXPECT_EQ(view.statusHistory,
            (Names{"Obtaining Local Groups and Members...", "Ready", "Adding Members to Local Group...", "Ready",
                   "Removing Members From Local Group...", "Ready"}));
}

}  // namespace
}  // namespace rosterly
