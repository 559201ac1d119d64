// Adding the selected domain groups to, or removing them from, a local group
// on every selected computer that answers the probe. One implementation; the
// differences between the two actions are the fields of MembershipChange.
//
// The walk over lstComps, the probes and every row stay on the window's
// thread; each reachable computer's directory work goes to a worker of a
// ComputerPipeline, and its rows are written in list order as their turn
// comes.
#include <array>
#include <atomic>
#include <new>
#include <optional>

#include "ComputerPipeline.h"
#include "Form1.h"
#include "ProbeAhead.h"
#include "Texts.h"

namespace rosterly {

struct Form1::MembershipChange {
  std::string_view statusText;
  Status (DirObject::*change)(std::string_view memberADsPath);
  // Codes meaning the membership already is as wanted.
  std::array<std::uint32_t, 3> alreadyDone;
  bool member;  // whether the member belongs to the group once done
  std::string_view doneWord;
  bool reportUnreachable;  // a "No Connection" row, or no row at all
};

namespace {

using MembershipChange = Form1::MembershipChange;

std::string FailedText(const Status& s) { return std::string(text::kFailedPrefix) + s.description(); }

std::string TargetPath(const std::string& computer, const std::string& localGroup) {
  return "WinNT://" + computer + "/" + localGroup + ",group";
}

// One pair, on whichever thread its directory belongs to. Both objects are
// released before the caller writes the row. Nothing, and no change, when
// the run stopped while the binds took their time.
std::optional<std::string> ChangeOne(Directory& directory, const MembershipChange& how, const std::string& domain,
                                     const std::string& computer, const std::string& group,
                                     const std::string& localGroup, const std::atomic<bool>& stopped) {
  Result<std::unique_ptr<DirObject>> member = directory.Bind("WinNT://" + domain + "/" + group + ",group", BindAs::Group);
  if (!member.ok()) return FailedText(member.status());
  Result<std::unique_ptr<DirObject>> target = directory.Bind(TargetPath(computer, localGroup), BindAs::Group);
  if (!target.ok()) return FailedText(target.status());
  Result<std::string> memberPath = member.value()->ADsPath();
  if (!memberPath.ok()) return FailedText(memberPath.status());
  if (stopped.load()) return std::nullopt;

  Status changed = ((*target.value()).*how.change)(memberPath.value());
  if (!changed.ok()) {
    for (std::uint32_t code : how.alreadyDone)
      if (changed.code() == code) return std::string(how.doneWord);
    return FailedText(changed);
  }
  Status stored = target.value()->SetInfo();
  if (stored.ok()) return std::string(how.doneWord);
  // A provider that applies Add and Remove at once has changed the group
  // already: the row tells what holds now. The object that holds the
  // unstored change would answer from its own cache, so a fresh one is asked.
  target.value().reset();
  Result<std::unique_ptr<DirObject>> fresh = directory.Bind(TargetPath(computer, localGroup), BindAs::Group);
  if (!fresh.ok()) return FailedText(stored);
  Result<bool> holds = fresh.value()->IsMember(memberPath.value());
  if (holds.ok() && holds.value() == how.member) return std::string(how.doneWord);
  return FailedText(stored);
}

std::vector<std::string> SelectedTexts(const SortedList& list) {
  std::vector<std::string> texts;
  const std::size_t count = list.Count();
  for (std::size_t j = 0; j < count; ++j)
    if (list.Selected(j)) texts.push_back(list.Text(j));
  return texts;
}

// A computer's pairs, in lstGroups order. Everything is held by value: the
// work may outlive the run that entered it.
ComputerPipeline::Work PairsOf(const MembershipChange& how, std::string domain, std::string computer,
                               std::string localGroup, std::vector<std::string> groups) {
  return [how, domain = std::move(domain), computer = std::move(computer), localGroup = std::move(localGroup),
          groups = std::move(groups)](Directory& directory, const std::atomic<bool>& stopped) {
    std::vector<Outcome> outcomes;
    outcomes.reserve(groups.size());
    for (const std::string& group : groups) {
      if (stopped.load()) break;
      std::optional<std::string> outcome;
      try {
        outcome = ChangeOne(directory, how, domain, computer, group, localGroup, stopped);
      } catch (const std::bad_alloc&) {
        outcome = std::string(text::kFailedPrefix) + std::string(text::kOutOfMemory);
      }
      if (!outcome) break;
      outcomes.push_back(Outcome{group, std::move(*outcome)});
    }
    return outcomes;
  };
}

}  // namespace

void Form1::AddMemberstoGroups() {
  ChangeMembership({text::kAdding,
                    &DirObject::Add,
                    {kErrMemberInAlias, kErrMemberInGroup, kErrUserInGroup},
                    true,
                    text::kAdded,
                    true});
}

void Form1::RemoveMembersFromGroup() {
  ChangeMembership({text::kRemoving,
                    &DirObject::Remove,
                    {kErrMemberNotInAlias, kErrMemberNotInGroup, kErrUserNotInGroup},
                    false,
                    text::kRemoved,
                    false});
}

void Form1::ChangeMembership(const MembershipChange& how) {
  // The group to bind and the domain are read once; the "Group Name" cell of
  // each row shows the field as it reads when the row is written.
  const std::string localGroup = txtLocalGroup.text;
  const std::string domain = globals_.DomainName;
  SetStatus(how.statusText);
  lvGroups.Clear();
  view_.GridChanged();

  // Closing the window or replacing the lists stops the run.
  const unsigned long long lists = listsReplaced_;
  auto stopped = [&] { return cancelled_ || listsReplaced_ != lists; };
  auto write = [&](ComputerOutcomes& done) {
    for (Outcome& o : done.outcomes) Insert(MakeRow(done.computer, txtLocalGroup.text, std::move(o.member), std::move(o.action)));
  };

  // Pings still running when the walk ends, also by a stop, end with it;
  // directory work still running is left to finish unseen.
  ProbeAhead probes(services_.probe, probesInFlight_);
  ComputerPipeline pipeline(services_.workers, services_.directory, workersInFlight_, view_.Waker());
  // An action started from one of this run's waits begins once the work
  // started here is done, as it would one computer after the other.
  const RunningWork running(
      *this,
      [&] {
        while (!pipeline.Idle() && !stopped()) {
          view_.WaitForEvents();
          pipeline.TakeFinished(write);
        }
        pipeline.TakeFinished(write);
      },
      [&] { pipeline.Halt(); });
  const std::size_t computers = lstComps.Count();
  for (std::size_t i = 0; i < computers; ++i) {
    pipeline.TakeFinished(write);
    view_.ProcessPendingEvents();
    if (stopped()) break;
    probes.Forget(lstComps);  // the list may have been refilled meanwhile
    if (!lstComps.Selected(i)) continue;
    std::string computer = lstComps.Text(i);
    Result<bool> reachable = probes.AnswerFor(lstComps, i);
    // A probe that fails without an answer lets the computer be tried.
    if (reachable.ok() && !reachable.value()) {
      if (how.reportUnreachable)
        pipeline.Enter(std::move(computer), {Outcome{std::string(text::kNoMember), std::string(text::kNoConnection)}});
      continue;
    }
    std::vector<std::string> groups = SelectedTexts(lstGroups);
    if (groups.empty()) continue;
    while (pipeline.Full() && !stopped()) {
      view_.WaitForEvents();
      pipeline.TakeFinished(write);
    }
    if (stopped()) break;
    pipeline.Enter(computer, PairsOf(how, domain, computer, localGroup, std::move(groups)));
  }
  while (!pipeline.Drained() && !stopped()) {
    pipeline.TakeFinished(write);
    if (!pipeline.Drained()) view_.WaitForEvents();
  }
  pipeline.Stop(write);
  SetStatus(text::kReady);
}

}  // namespace rosterly
