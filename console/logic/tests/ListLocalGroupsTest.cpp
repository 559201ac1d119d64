#include "ConsoleFixture.h"

namespace rosterly {
namespace {

using Names = std::vector<std::string>;

class ListAction : public ConsoleFixture {
 protected:
  ListAction() {
    for (const char* pc : {"A", "B", "C"}) {
      dir.AddComputer("CORP", pc);
      dir.AddLocalGroup(pc, "Administrators", {"WinNT://CORP/m1", "WinNT://CORP/m2"});
      dir.AddLocalGroup(pc, "Guests");  // no members, no row
    }
    Fill(form.lstComps, {"A", "B", "C"}, false);
    Select(form.lstComps, "A");
    Select(form.lstComps, "B");
  }
};

TEST_F(ListAction, RowsStandInReverseOrderOfDiscovery) {
  Fill(form.lstGroups, {"Helpdesk"});  // makes no difference
  form.txtLocalGroup.text = "whatever";
  form.lvGroups.InsertAtTop(MakeRow("old", "", "", ""));
  form.DisplayLocalGroups();
  EXPECT_EQ(Rows(), (Names{"B|Administrators|m2|Lookup", "B|Administrators|m1|Lookup", "A|Administrators|m2|Lookup",
                           "A|Administrators|m1|Lookup"}));
  EXPECT_EQ(view.statusHistory, (Names{"Obtaining Local Groups and Members...", "Ready"}));
  EXPECT_EQ(view.pumps, 3);  // once per entry, selected or not
  EXPECT_TRUE(messages.shown.empty());
  // The computer is bound by its name alone and filtered to groups.
  EXPECT_EQ(dir.Calls().at(0), "Bind WinNT://A");
  EXPECT_EQ(dir.Calls().at(1), "SetFilter WinNT://CORP/A group");
}

TEST_F(ListAction, NoSelectionClearsTheGridAndEndsReady) {
  form.lstComps.SelectAll(false);
  form.lvGroups.InsertAtTop(MakeRow("old", "", "", ""));
  form.DisplayLocalGroups();
  EXPECT_EQ(form.lvGroups.RowCount(), 0u);
  EXPECT_EQ(form.StatusText(), "Ready");
}

TEST_F(ListAction, StopsAtTheFirstErrorShowsItAndReturnsToReady) {
  dir.Fail("WinNT://A", DirOp::Bind, FakeDirectory::BindRefused());
  form.DisplayLocalGroups();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "The network path was not found.");
  EXPECT_EQ(messages.shown[0].title, "Rosterly");
  EXPECT_EQ(messages.shown[0].icon, MsgIcon::None);
  EXPECT_EQ(form.lvGroups.RowCount(), 0u);
  EXPECT_EQ(dir.Calls(), (Names{"Bind WinNT://A"}));  // B is never visited
  EXPECT_EQ(form.StatusText(), "Ready");
  EXPECT_EQ(view.statusHistory, (Names{"Obtaining Local Groups and Members...", "Ready"}));
}

TEST_F(ListAction, RowsWrittenBeforeAnErrorStay) {
  dir.BreakEnumeration("WinNT://B/Administrators", DirOp::Members, 1, FakeDirectory::AccessDenied());
  form.DisplayLocalGroups();
  EXPECT_EQ(Rows(), (Names{"B|Administrators|m1|Lookup", "A|Administrators|m2|Lookup", "A|Administrators|m1|Lookup"}));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Access is denied.");
  EXPECT_EQ(form.StatusText(), "Ready");
}

TEST_F(ListAction, EveryKindOfFailureStopsTheRun) {
  const std::vector<std::pair<std::string, DirOp>> failures = {
      {"WinNT://A", DirOp::SetFilter}, {"WinNT://A", DirOp::Enumerate},
      {"WinNT://A/Administrators", DirOp::Members}, {"WinNT://A/Administrators", DirOp::Name},
      {"WinNT://CORP/m1", DirOp::Name}};
  for (const auto& [path, op] : failures) {
    FakeDirectory local;
    local.AddDomain("CORP");
    local.AddComputer("CORP", "A");
    local.AddComputer("CORP", "B");
    local.AddLocalGroup("A", "Administrators", {"WinNT://CORP/m1"});
    local.AddLocalGroup("B", "Administrators", {"WinNT://CORP/m1"});
    local.Fail(path, op, FakeDirectory::AccessDenied());
    FakeMessageBoxes shown;
    FakeDirectoryWorkers localWorkers{local};
    Form1 window{globals, ConsoleServices{local, files, shown, dialogs, probe, localWorkers}, view};
    Fill(window.lstComps, {"A", "B"});
    window.DisplayLocalGroups();
    EXPECT_EQ(window.lvGroups.RowCount(), 0u) << path;
    EXPECT_EQ(shown.shown.size(), 1u) << path;
    EXPECT_EQ(window.StatusText(), "Ready");
  }
}

TEST_F(ListAction, AHeaderClickDuringTheRunKeepsLaterRowsSorted) {
  view.onPump = [&](int pump) {
    if (pump == 2) form.ColumnClick(3);  // "Member", ascending, after A's rows
  };
  form.DisplayLocalGroups();
  EXPECT_EQ(Rows(), (Names{"B|Administrators|m1|Lookup", "A|Administrators|m1|Lookup", "B|Administrators|m2|Lookup",
                           "A|Administrators|m2|Lookup"}));
}

TEST_F(ListAction, ACancelledRunStopsAtTheNextComputerWithoutAMessage) {
  view.onPump = [&](int pump) {
    if (pump == 2) form.CancelRun();
  };
  form.DisplayLocalGroups();
  EXPECT_EQ(Rows(), (Names{"A|Administrators|m2|Lookup", "A|Administrators|m1|Lookup"}));
  EXPECT_EQ(view.pumps, 2);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(view.statusHistory.back(), "Ready");
}

TEST_F(ListAction, AListRefilledDuringTheRunIsWalkedSafely) {
  view.onPump = [&](int pump) {
    if (pump == 1) Fill(form.lstComps, {"C"});  // shrinks the list under the walk
  };
  form.DisplayLocalGroups();
  EXPECT_EQ(Rows(), (Names{"C|Administrators|m2|Lookup", "C|Administrators|m1|Lookup"}));
  EXPECT_EQ(view.pumps, 3);
}

}  // namespace
}  // namespace rosterly
