// The add and remove actions with their pings run ahead of the walk: the
// same rows in the same order as one ping after the other, a bounded number
// of pings at once, and none left running or on disk when the walk ends.
#include <algorithm>

#include "ConsoleFixture.h"
#include "logic/ProbeAhead.h"

namespace rosterly {
namespace {

using Names = std::vector<std::string>;

class ProbesAhead : public ConsoleFixture {
 protected:
  ProbesAhead() {
    dir.AddDomainGroup("CORP", "G1");
    Names computers;
    for (int i = 0; i < 100; ++i) {
      const std::string name = "PC" + std::to_string(100 + i);
      computers.push_back(name);
      if (i % 3 == 0) {
        dir.AddComputer("CORP", name);
        dir.AddLocalGroup(name, "Users");
        runner.SetReachable(name);
      }
    }
    Fill(form.lstComps, computers);
    for (int i = 0; i < 100; i += 7) form.lstComps.SetSelected(static_cast<std::size_t>(i), false);
    Fill(form.lstGroups, {"G1"});
    form.txtLocalGroup.text = "Users";
  }
  Names ProbedHosts() const {
    Names hosts;
    for (const auto& call : runner.Calls()) hosts.push_back(call.arguments.back());
    return hosts;
  }
};

TEST_F(ProbesAhead, SameRowsAndOrderAsOnePingAfterTheOther) {
  form.SetProbesInFlight(1);
  form.AddMemberstoGroups();
  const Names sequentialRows = Rows();
  const Names sequentialHosts = ProbedHosts();
  EXPECT_EQ(runner.MostRunning(), 1);
  const int pumps = view.pumps;

  dir.ApplyChangesAtOnce();  // already members now: still "Added"
  form.SetProbesInFlight(kProbesInFlight);
  form.AddMemberstoGroups();
  EXPECT_EQ(Rows(), sequentialRows);
  EXPECT_EQ(view.pumps, 2 * pumps);  // once per entry, as before
  Names parallelHosts = ProbedHosts();
  parallelHosts.erase(parallelHosts.begin(), parallelHosts.begin() + static_cast<long>(sequentialHosts.size()));
  EXPECT_EQ(parallelHosts, sequentialHosts);  // each selected entry once, unselected never
  EXPECT_EQ(runner.MostRunning(), static_cast<int>(kProbesInFlight));
  EXPECT_EQ(runner.Running(), 0);
  EXPECT_EQ(files.files.size(), 1u);  // "RunResult.tmp" only
}

// The list refilled in the middle of a run: pings started for the old texts
// are ended at once, and each entry is probed for the text it has when the
// walk reaches it.
TEST_F(ProbesAhead, AnEntryWhoseTextChangedIsProbedAgain) {
  Names renamed;
  for (int i = 0; i < 100; ++i) renamed.push_back("PC" + std::to_string(100 + i) + "X");
  for (int i = 0; i < 100; ++i) runner.Hang("PC" + std::to_string(100 + i));  // the old names never answer
  view.onPump = [&](int pump) {
    if (pump == 3) Fill(form.lstComps, renamed);
  };
  form.lstGroups.SelectAll(false);
  form.AddMemberstoGroups();
  const Names hosts = ProbedHosts();
  // Entries 0 and 1 were answered under their old names; every later one
  // under its new name, after its early ping for the old one was ended.
  EXPECT_EQ(std::count(hosts.begin(), hosts.end(), "PC102X"), 1);
  EXPECT_EQ(std::count(hosts.begin(), hosts.end(), "PC199X"), 1);
  EXPECT_EQ(std::count(hosts.begin(), hosts.end(), "PC101X"), 0);
  const Names rows = Rows();
  ASSERT_EQ(rows.size(), 99u);  // entry 0 was not selected when the walk passed it
  EXPECT_EQ(rows.front(), "PC199X|Users|N/A|No Connection");
  EXPECT_EQ(runner.Running(), 0);
  EXPECT_EQ(files.files.size(), 1u);
}

// Closing the window mid-run ends the pings that were running ahead.
TEST_F(ProbesAhead, ACancelEndsEveryPingStillRunning) {
  for (int i = 0; i < 100; ++i) runner.Hang("PC" + std::to_string(100 + i));
  view.onPump = [&](int pump) {
    if (pump == 3) form.CancelRun();
  };
  form.AddMemberstoGroups();
  EXPECT_EQ(runner.Calls().size(), kProbesInFlight);
  EXPECT_EQ(runner.Running(), 0);
  EXPECT_EQ(runner.Ended(), static_cast<int>(kProbesInFlight));
  EXPECT_EQ(files.files.size(), 1u);
}

}  // namespace
}  // namespace rosterly
