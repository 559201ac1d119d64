#include "ConsoleFixture.h"

#include <random>

namespace rosterly {
namespace {

using Names = std::vector<std::string>;

class Membership : public ConsoleFixture {
 protected:
  Membership() {
    for (const char* pc : {"A", "B", "C"}) {
      dir.AddComputer("CORP", pc);
      dir.AddLocalGroup(pc, "Administrators", {"WinNT://CORP/Domain Admins"});
    }
    for (const char* g : {"G1", "G2", "Domain Admins"}) dir.AddDomainGroup("CORP", g);
    runner.SetReachable("A");
    runner.SetReachable("B");
    runner.SetReachable("C", false);
    Fill(form.lstComps, {"A", "B", "C"}, false);
    Select(form.lstComps, "A");
    Select(form.lstComps, "B");
    Fill(form.lstGroups, {"G1", "G2", "Domain Admins"}, false);
    Select(form.lstGroups, "G1");
    Select(form.lstGroups, "G2");
    form.txtLocalGroup.text = "Administrators";
  }
  Names Members(const std::string& pc) { return dir.MembersOf("WinNT://" + pc + "/Administrators,group"); }
};

TEST_F(Membership, AddWritesOneRowPerPairNewestFirstAndStoresTheChange) {
  form.lvGroups.InsertAtTop(MakeRow("old", "", "", ""));
  form.AddMemberstoGroups();
  EXPECT_EQ(Rows(), (Names{"B|Administrators|G2|Added", "B|Administrators|G1|Added", "A|Administrators|G2|Added",
                           "A|Administrators|G1|Added"}));
  EXPECT_EQ(Members("A"), (Names{"WinNT://CORP/Domain Admins", "WinNT://CORP/G1", "WinNT://CORP/G2"}));
  EXPECT_EQ(view.statusHistory, (Names{"Adding Members to Local Group...", "Ready"}));
  EXPECT_EQ(view.pumps, 3);
  // Unselected C is neither probed nor reported.
  ASSERT_EQ(runner.Calls().size(), 2u);
  EXPECT_EQ(runner.Calls()[0].arguments, (Names{"-n", "1", "-w", "750", "A"}));
  // Each pair binds the member, then the target, adds its ADsPath and stores.
  EXPECT_EQ(Names(dir.Calls().begin(), dir.Calls().begin() + 4),
            (Names{"Bind WinNT://CORP/G1,group", "Bind WinNT://A/Administrators,group",
                   "Add WinNT://CORP/A/Administrators WinNT://CORP/G1", "SetInfo WinNT://CORP/A/Administrators"}));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Membership, RemoveIsTheTwinOfAdd) {
  form.AddMemberstoGroups();
  view.statusHistory.clear();
  form.RemoveMembersFromGroup();
  EXPECT_EQ(Rows(), (Names{"B|Administrators|G2|Removed", "B|Administrators|G1|Removed",
                           "A|Administrators|G2|Removed", "A|Administrators|G1|Removed"}));
  EXPECT_EQ(Members("A"), (Names{"WinNT://CORP/Domain Admins"}));
  EXPECT_EQ(view.statusHistory, (Names{"Removing Members From Local Group...", "Ready"}));
}

TEST_F(Membership, UnreachableComputersGetOneNoConnectionRowWhenAddingAndNoneWhenRemoving) {
  Select(form.lstComps, "C");
  Select(form.lstGroups, "Domain Admins");
  form.AddMemberstoGroups();
  EXPECT_EQ(form.lvGroups.RowCount(), 7u);
  EXPECT_EQ(Rows().front(), "C|Administrators|N/A|No Connection");
  for (const auto& call : dir.Calls()) EXPECT_EQ(call.find("WinNT://C/"), std::string::npos) << call;

  form.RemoveMembersFromGroup();
  EXPECT_EQ(form.lvGroups.RowCount(), 6u);
  for (const auto& row : Rows()) EXPECT_NE(row.front(), 'C');
  EXPECT_EQ(runner.Calls().size(), 6u);  // C was probed both times
}

TEST_F(Membership, NothingSelected) {
  form.lstGroups.SelectAll(false);
  Select(form.lstComps, "C");
  form.AddMemberstoGroups();  // probed; only the unreachable one shows
  EXPECT_EQ(Rows(), (Names{"C|Administrators|N/A|No Connection"}));
  form.RemoveMembersFromGroup();
  EXPECT_TRUE(Rows().empty());
  EXPECT_EQ(runner.Calls().size(), 6u);

  form.lstComps.SelectAll(false);
  form.AddMemberstoGroups();
  EXPECT_TRUE(Rows().empty());
  EXPECT_EQ(runner.Calls().size(), 6u);
  EXPECT_EQ(form.StatusText(), "Ready");
}

// The row tells what happened: done when the membership holds afterwards,
// "Failed: " and the directory's words otherwise.
TEST_F(Membership, AddReportsFailuresTruthfully) {
  form.lstComps.SelectAll(false);
  Select(form.lstComps, "A");
  Select(form.lstGroups, "Domain Admins");  // already a member of A's group
  dir.Fail("WinNT://CORP/G1,group", DirOp::Bind, FakeDirectory::AccessDenied());
  dir.Fail("WinNT://CORP/G2", DirOp::ADsPath, Status::Fail(0x8000500Du, "The directory property cannot be found.\r\n"));
  form.AddMemberstoGroups();
  EXPECT_EQ(Rows(), (Names{"A|Administrators|G2|Failed: The directory property cannot be found.",
                           "A|Administrators|G1|Failed: Access is denied.", "A|Administrators|Domain Admins|Added"}));
}

TEST_F(Membership, AddRefusedOrNotStoredIsAFailure) {
  dir.Fail("WinNT://A/Administrators", DirOp::Add, FakeDirectory::AccessDenied());
  dir.Fail("WinNT://B/Administrators", DirOp::SetInfo, Status::Fail(0x80070035u, "The network path was not found."));
  form.lstGroups.SelectAll(false);
  Select(form.lstGroups, "G1");
  form.AddMemberstoGroups();
  EXPECT_EQ(Rows(), (Names{"B|Administrators|G1|Failed: The network path was not found.",
                           "A|Administrators|G1|Failed: Access is denied."}));
  EXPECT_EQ(Members("B"), (Names{"WinNT://CORP/Domain Admins"}));  // not stored
}

TEST_F(Membership, RemoveReportsFailuresTruthfully) {
  form.lstGroups.SelectAll(false);
  Select(form.lstGroups, "G1");             // not a member: already as wanted
  Select(form.lstGroups, "Domain Admins");  // a member: removed
  dir.Fail("WinNT://B/Administrators,group", DirOp::Bind, FakeDirectory::BindRefused());
  form.RemoveMembersFromGroup();
  EXPECT_EQ(Rows(), (Names{"B|Administrators|G1|Failed: The network path was not found.",
                           "B|Administrators|Domain Admins|Failed: The network path was not found.",
                           "A|Administrators|G1|Removed", "A|Administrators|Domain Admins|Removed"}));
  EXPECT_TRUE(Members("A").empty());
}

TEST_F(Membership, EmptyLocalGroupNameFailsWithAnEmptyGroupCell) {
  form.txtLocalGroup.text = "";
  form.lstComps.SelectAll(false);
  Select(form.lstComps, "A");
  form.RemoveMembersFromGroup();
  EXPECT_EQ(Rows(), (Names{"A||G2|Failed: The group name could not be found.",
                           "A||G1|Failed: The group name could not be found."}));
  EXPECT_EQ(dir.Calls().at(1), "Bind WinNT://A/,group");
}

TEST_F(Membership, AProbeThatFailsLetsTheComputerBeTried) {
  runner.FailFor("A", Status::Fail(0x80070002u, "The system cannot find the file specified."));
  form.lstComps.SelectAll(false);
  Select(form.lstComps, "A");
  form.AddMemberstoGroups();
  EXPECT_EQ(Rows(), (Names{"A|Administrators|G2|Added", "A|Administrators|G1|Added"}));
}

// Shell characters are harmless without a shell: such names are pinged as
// one argument. Only a name that cannot be passed safely is refused, and a
// refused probe lets the computer be tried.
TEST_F(Membership, NamesReachPingAsOneArgumentAndOnlyUnsafeOnesAreRefused) {
  Fill(form.lstComps, {"A&calc", "B | format c:", "%COMSPEC%"});
  form.lstGroups.SelectAll(false);
  Select(form.lstGroups, "G1");
  form.AddMemberstoGroups();
  ASSERT_EQ(runner.Calls().size(), 2u);
  EXPECT_EQ(runner.Calls()[0].arguments.back(), "%COMSPEC%");
  EXPECT_EQ(runner.Calls()[1].arguments.back(), "A&calc");
  const Names rows = Rows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].rfind("B | format c:|Administrators|G1|Failed: ", 0), 0u) << rows[0];
  EXPECT_EQ(rows[1], "A&calc|Administrators|N/A|No Connection");
  EXPECT_EQ(rows[2], "%COMSPEC%|Administrators|N/A|No Connection");
}

// An offline computer whose name is no plain ASCII name (legitimate for
// NetBIOS) costs one ping and one row, not a directory wait per group.
TEST_F(Membership, AnOfflineComputerWithAnUnusualNameGetsOneNoConnectionRow) {
  Fill(form.lstComps, {"R\xC9SEAU$", "O'BRIEN!~"});
  form.AddMemberstoGroups();
  EXPECT_EQ(Rows(),
            (Names{"R\xC9SEAU$|Administrators|N/A|No Connection", "O'BRIEN!~|Administrators|N/A|No Connection"}));
  for (const auto& call : dir.Calls()) EXPECT_EQ(call.find("Bind WinNT://R"), std::string::npos) << call;
  EXPECT_EQ(runner.Calls().size(), 2u);
}

// The real provider changes the group at Add and Remove: a SetInfo that
// fails afterwards does not mean nothing changed. The row tells what holds.
TEST_F(Membership, AFailedSetInfoReportsWhatTheGroupHolds) {
  dir.ApplyChangesAtOnce();
  const Status lost = Status::Fail(0x80070035u, "The network path was not found.");
  dir.Fail("WinNT://A/Administrators", DirOp::SetInfo, lost);
  dir.Fail("WinNT://B/Administrators", DirOp::SetInfo, lost);
  dir.Fail("WinNT://B/Administrators", DirOp::IsMember, FakeDirectory::AccessDenied());
  form.lstGroups.SelectAll(false);
  Select(form.lstGroups, "G1");
  form.AddMemberstoGroups();
  EXPECT_EQ(Rows(),
            (Names{"B|Administrators|G1|Failed: The network path was not found.", "A|Administrators|G1|Added"}));
  EXPECT_EQ(Members("A"), (Names{"WinNT://CORP/Domain Admins", "WinNT://CORP/G1"}));
  form.RemoveMembersFromGroup();
  EXPECT_EQ(Rows(),
            (Names{"B|Administrators|G1|Failed: The network path was not found.", "A|Administrators|G1|Removed"}));
  EXPECT_EQ(Members("A"), (Names{"WinNT://CORP/Domain Admins"}));
}

// The network management codes for "already a member" and "not a member"
// mean the wanted state holds, as the alias codes do.
TEST_F(Membership, UserInGroupCodesCountAsAlreadyDone) {
  form.lstComps.SelectAll(false);
  Select(form.lstComps, "A");
  form.lstGroups.SelectAll(false);
  Select(form.lstGroups, "G1");
  dir.Fail("WinNT://A/Administrators", DirOp::Add, Status::Fail(kErrUserInGroup, "in group"));
  form.AddMemberstoGroups();
  EXPECT_EQ(Rows(), (Names{"A|Administrators|G1|Added"}));
  dir.Fail("WinNT://A/Administrators", DirOp::Remove, Status::Fail(kErrUserNotInGroup, "not in group"));
  form.RemoveMembersFromGroup();
  EXPECT_EQ(Rows(), (Names{"A|Administrators|G1|Removed"}));
}

TEST_F(Membership, TextTypedDuringARunShowsInLaterRowsOnly) {
  view.onPump = [&](int pump) {
    if (pump == 2) form.txtLocalGroup.text = "Typed Later";
  };
  form.lstGroups.SelectAll(false);
  Select(form.lstGroups, "G1");
  form.AddMemberstoGroups();
  EXPECT_EQ(Rows(), (Names{"B|Typed Later|G1|Added", "A|Administrators|G1|Added"}));
  EXPECT_EQ(Members("B"), (Names{"WinNT://CORP/Domain Admins", "WinNT://CORP/G1"}));  // bound by the first name
}

TEST_F(Membership, DomainIsReadOnceAtTheStart) {
  view.onPump = [&](int pump) {
    if (pump == 2) globals.DomainName = "OTHER";
  };
  form.AddMemberstoGroups();
  for (const auto& call : dir.Calls()) EXPECT_EQ(call.find("OTHER"), std::string::npos) << call;
}

// The window closed mid-run cancels it: the next computer is neither probed
// nor changed, the lists stay as they are, and the run still ends idle.
TEST_F(Membership, ACancelledRunStopsAtTheNextComputer) {
  view.onPump = [&](int pump) {
    if (pump == 2) form.CancelRun();
  };
  runner.Hang("B");  // started early, still running at the cancel
  form.AddMemberstoGroups();
  EXPECT_EQ(Rows(), (Names{"A|Administrators|G2|Added", "A|Administrators|G1|Added"}));
  EXPECT_EQ(Members("B"), (Names{"WinNT://CORP/Domain Admins"}));
  EXPECT_EQ(runner.Running(), 0);
  EXPECT_EQ(runner.Ended(), 1);
  EXPECT_EQ(files.files.size(), 1u);  // the last output only
  EXPECT_EQ(form.lstComps.Count(), 3u);
  EXPECT_EQ(view.statusHistory, (Names{"Adding Members to Local Group...", "Ready"}));
}

// A provider with a property cache answers IsMember from the object that
// holds the unstored change: only a freshly bound object tells the truth.
TEST_F(Membership, AFailedSetInfoIsCheckedOnAFreshObject) {
  dir.Fail("WinNT://A/Administrators", DirOp::SetInfo, Status::Fail(0x80070035u, "The network path was not found."));
  form.lstComps.SelectAll(false);
  Select(form.lstComps, "A");
  form.lstGroups.SelectAll(false);
  Select(form.lstGroups, "G1");
  form.AddMemberstoGroups();
  EXPECT_EQ(Rows(), (Names{"A|Administrators|G1|Failed: The network path was not found."}));
  EXPECT_EQ(Members("A"), (Names{"WinNT://CORP/Domain Admins"}));
}

// Computers that answer, do not answer, cannot be pinged or fail in the
// directory, with work finishing in a random order, N at once: the rows and
// the stored memberships are those of one computer after the other.
TEST(MembershipSideBySide, RowsAndChangesAreThoseOfOneAfterTheOther) {
  struct World : ConsoleWorld {
    explicit World(unsigned seed) {
      std::mt19937 random(seed);
      for (const char* g : {"G1", "G2", "G3"}) dir.AddDomainGroup("CORP", g);
      std::vector<std::string> names;
      for (int i = 0; i < 24; ++i) {
        const std::string pc = "PC" + std::to_string(100 + i);
        names.push_back(pc);
        dir.AddComputer("CORP", pc);
        const unsigned kind = random() % 8;
        if (kind != 5) dir.AddLocalGroup(pc, "Administrators", random() % 2 ? Names{"WinNT://CORP/G2"} : Names{});
        if (kind == 6) dir.Fail("WinNT://" + pc + "/Administrators", DirOp::Add, FakeDirectory::AccessDenied());
        if (kind == 7) dir.Fail("WinNT://" + pc + "/Administrators", DirOp::SetInfo, FakeDirectory::AccessDenied());
        if (kind == 3) runner.FailFor(pc, Status::Fail(2, "no ping"));
        runner.SetReachable(pc, kind != 4);
      }
      form.lstComps.AddMany(names);
      for (std::size_t i = 0; i < names.size(); ++i) form.lstComps.SetSelected(i, random() % 5 != 0);
      form.lstGroups.AddMany({"G1", "G2", "G3"});
      form.lstGroups.SetSelected(0, true);
      form.lstGroups.SetSelected(1, true);
      form.txtLocalGroup.text = "Administrators";
    }
  };

  for (unsigned seed = 1; seed <= 40; ++seed) {
    for (const bool adding : {true, false}) {
      World one(seed), many(seed);
      one.form.SetWorkersInFlight(1);
      many.form.SetWorkersInFlight(1 + seed % 6);
      many.workers.hold = true;
      std::mt19937 order(seed);
      many.view.onWait = [&] {
        if (many.workers.Waiting() > 0) many.workers.RunWaiting(order() % many.workers.Waiting());
      };
      if (adding) {
        one.form.AddMemberstoGroups();
        many.form.AddMemberstoGroups();
      } else {
        one.form.RemoveMembersFromGroup();
        many.form.RemoveMembersFromGroup();
      }
      ASSERT_EQ(many.Rows(), one.Rows()) << "seed " << seed;
      for (std::size_t i = 0; i < one.form.lstComps.Count(); ++i) {
        const std::string group = "WinNT://" + one.form.lstComps.Text(i) + "/Administrators,group";
        EXPECT_EQ(many.dir.MembersOf(group), one.dir.MembersOf(group)) << group;
      }
      EXPECT_LE(many.workers.mostWaiting, 1 + seed % 6);
      EXPECT_EQ(many.view.statusHistory.size(), one.view.statusHistory.size());
    }
  }
}

// Refreshing or loading the lists mid-run starts nothing more: a computer
// whose work is done keeps its rows, one still at work is dropped, one whose
// bind was under way when the stop came makes no change, and once their
// calls return they make no further one; no computer after them is contacted.
class MembershipStop : public Membership, public ::testing::WithParamInterface<bool> {};

TEST_P(MembershipStop, ReplacingTheListsStopsTheRunAndDropsWorkStillRunning) {
  const bool load = GetParam();
  for (const char* pc : {"C", "D"}) runner.SetReachable(pc);
  dir.AddComputer("CORP", "D");
  dir.AddLocalGroup("D", "Administrators");
  files.files["other.txt"] = "X\r\n";
  Fill(form.lstComps, {"A", "B", "C", "D"});
  form.SetWorkersInFlight(3);
  workers.hold = true;
  dir.whileBinding = [&](std::string_view path) {
    if (path != "WinNT://B/Administrators,group") return;
    if (load) {
      dialogs.answers = {"other.txt"};
      form.LoadComputers();
    } else {
      form.RefreshLists();
    }
  };
  view.onWait = [&] {
    // A, B and C are at work and D waits its turn; C finishes, then the stop
    // comes while B binds, and A still hangs.
    workers.RunWaiting(2);
    workers.RunWaiting(1);
  };
  form.AddMemberstoGroups();
  EXPECT_EQ(Rows(), (Names{"C|Administrators|G2|Added", "C|Administrators|G1|Added"}));
  EXPECT_EQ(view.statusHistory.back(), "Ready");
  ASSERT_EQ(workers.Waiting(), 1u);
  const std::size_t calls = dir.Calls().size();
  workers.RunWaiting(0);  // A's work, run late, stops before its first pair
  EXPECT_EQ(dir.Calls().size(), calls);
  for (const char* pc : {"A", "B"}) EXPECT_EQ(Members(pc), (Names{"WinNT://CORP/Domain Admins"})) << pc;
  EXPECT_EQ(Members("D"), Names{});
  EXPECT_EQ(Rows().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(RefreshOrLoad, MembershipStop, ::testing::Bool());

// An action started from a run's wait begins once the computers that run has
// started are done: a remove started during an add finds what the add stored.
TEST_F(Membership, AnActionStartedDuringARunWaitsForTheWorkAlreadyStarted) {
  form.SetWorkersInFlight(2);
  workers.hold = true;
  bool removing = false;
  view.onWait = [&] {
    if (!removing) {
      removing = true;
      form.ChooseAction(2);
      form.Execute();
    } else if (workers.Waiting() > 0) {
      workers.RunWaiting(workers.Waiting() - 1);
    }
  };
  form.AddMemberstoGroups();
  EXPECT_EQ(Rows(), (Names{"B|Administrators|G2|Removed", "B|Administrators|G1|Removed",
                           "A|Administrators|G2|Removed", "A|Administrators|G1|Removed"}));
  for (const char* pc : {"A", "B"}) EXPECT_EQ(Members(pc), (Names{"WinNT://CORP/Domain Admins"})) << pc;
  EXPECT_EQ(view.statusHistory.back(), "Ready");
}

// An undo takes back the pairs whose change the last add or remove made, and
// only those; a preview, a list run and Clear Results keep it, and it is
// over once run. A preview is offered for adding and removing only.
TEST_F(Membership, UndoTakesBackExactlyWhatTheLastRunChanged) {
  dir.ApplyChangesAtOnce();
  Select(form.lstGroups, "Domain Admins");  // A and B have it already
  form.ChooseAction(1);
  EXPECT_TRUE(form.PreviewOffered());
  EXPECT_FALSE(form.UndoOffered());
  form.AddMemberstoGroups();
  form.PreviewCommand();
  EXPECT_EQ(Rows().front(), "B|Administrators|G2|Already a Member");
  form.ClearResults();
  form.DisplayLocalGroups();
  ASSERT_TRUE(form.UndoOffered());
  form.UndoLastRun();
  EXPECT_EQ(Rows(), (Names{"B|Administrators|G2|Removed", "B|Administrators|G1|Removed",
                           "A|Administrators|G2|Removed", "A|Administrators|G1|Removed"}));
  for (const char* pc : {"A", "B"}) EXPECT_EQ(Members(pc), (Names{"WinNT://CORP/Domain Admins"})) << pc;
  EXPECT_FALSE(form.UndoOffered());

  form.RemoveMembersFromGroup();  // only Domain Admins was there to remove
  form.UndoLastRun();
  EXPECT_EQ(Rows(), (Names{"B|Administrators|Domain Admins|Added", "A|Administrators|Domain Admins|Added"}));
  form.ChooseAction(0);
  EXPECT_FALSE(form.PreviewOffered());
  form.PreviewCommand();  // not offered: nothing runs
  EXPECT_EQ(Rows().size(), 2u);
}

// Without a thread to be had the work is done at once on the window's thread.
TEST_F(Membership, WorkThatNoWorkerTakesIsDoneHere) {
  workers.failure = Status::Fail(8, "Not enough memory resources are available to process this command.");
  form.AddMemberstoGroups();
  EXPECT_EQ(Rows(), (Names{"B|Administrators|G2|Added", "B|Administrators|G1|Added", "A|Administrators|G2|Added",
                           "A|Administrators|G1|Added"}));
}

TEST_F(Membership, RowsSaveAsTheGridShowsThem) {
  dir.Fail("WinNT://A/Administrators", DirOp::Add, Status::Fail(kErrAccessDenied, "Access is denied, really."));
  form.lstGroups.SelectAll(false);
  Select(form.lstGroups, "G1");
  form.AddMemberstoGroups();
  dialogs.answers = {"r.csv"};
  form.SaveResults();
  EXPECT_EQ(files.files["r.csv"],
            "Computer Name,Group Name,Group Memebers,Action\r\n"
            "B,Administrators,G1,Added\r\n"
            "A,Administrators,G1,\"Failed: Access is denied, really.\"\r\n");
}

}  // namespace
}  // namespace rosterly
