// Adding the selected domain groups to, or removing them from, a local group
// on every selected computer that answers the probe; previewing either; and
// taking back what the last one changed. One implementation; the
// differences are the fields of MembershipChange and of Targets.
//
// The walk over lstComps, the probes and every row stay on the window's
// thread; each reachable computer's directory work goes to a worker of a
// ComputerPipeline, and its rows are written in list order as their turn
// comes.
#include <array>
#include <atomic>
#include <functional>
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
  std::string_view doneWord;     // the change was made (a preview: it would be)
  std::string_view alreadyWord;  // the membership already was as wanted
  bool reportUnreachable;        // a "No Connection" row, or no row at all
  bool preview;                  // membership is read, nothing is changed
};

// What a run works on: the computers to walk, each one's groups, the local
// group and domain to bind, and where the pairs it changes are kept.
struct Form1::Targets {
  const SortedList& computers;
  std::function<std::vector<std::string>(std::size_t index)> groupsOf;
  std::string localGroup;
  std::string domain;
  const std::string* groupCell;  // the "Group Name" cell, null: the field as it reads
  LastChange* changed;           // null: nothing is kept
};

namespace {

using MembershipChange = Form1::MembershipChange;

std::string FailedText(const Status& s) { return std::string(text::kFailedPrefix) + s.description(); }

std::string TargetPath(const std::string& computer, const std::string& localGroup) {
  return "WinNT://" + computer + "/" + localGroup + ",group";
}

Outcome Failed(const std::string& group, const Status& s) { return Outcome{group, FailedText(s), false}; }

// One pair, on whichever thread its directory belongs to. Both objects are
// released before the caller writes the row. Nothing, and no change, when
// the run stopped while the binds took their time.
std::optional<Outcome> ChangeOne(Directory& directory, const MembershipChange& how, const std::string& domain,
                                 const std::string& computer, const std::string& group,
                                 const std::string& localGroup, const std::atomic<bool>& stopped) {
  Result<std::unique_ptr<DirObject>> member = directory.Bind("WinNT://" + domain + "/" + group + ",group", BindAs::Group);
  if (!member.ok()) return Failed(group, member.status());
  Result<std::unique_ptr<DirObject>> target = directory.Bind(TargetPath(computer, localGroup), BindAs::Group);
  if (!target.ok()) return Failed(group, target.status());
  Result<std::string> memberPath = member.value()->ADsPath();
  if (!memberPath.ok()) return Failed(group, memberPath.status());
  if (stopped.load()) return std::nullopt;
  const Outcome done{group, std::string(how.doneWord), !how.preview};
  const Outcome already{group, std::string(how.alreadyWord), false};

  if (how.preview) {
    Result<bool> holds = target.value()->IsMember(memberPath.value());
    if (!holds.ok()) return Failed(group, holds.status());
    return holds.value() == how.member ? already : done;
  }
  Status changed = ((*target.value()).*how.change)(memberPath.value());
  if (!changed.ok()) {
    for (std::uint32_t code : how.alreadyDone)
      if (changed.code() == code) return already;
    return Failed(group, changed);
  }
  Status stored = target.value()->SetInfo();
  if (stored.ok()) return done;
  // A provider that applies Add and Remove at once has changed the group
  // already: the row tells what holds now. The object that holds the
  // unstored change would answer from its own cache, so a fresh one is asked.
  target.value().reset();
  Result<std::unique_ptr<DirObject>> fresh = directory.Bind(TargetPath(computer, localGroup), BindAs::Group);
  if (!fresh.ok()) return Failed(group, stored);
  Result<bool> holds = fresh.value()->IsMember(memberPath.value());
  if (holds.ok() && holds.value() == how.member) return done;
  return Failed(group, stored);
}

std::vector<std::string> SelectedTexts(const SortedList& list) {
  std::vector<std::string> texts;
  const std::size_t count = list.Count();
  for (std::size_t j = 0; j < count; ++j)
    if (list.Selected(j)) texts.push_back(list.Text(j));
  return texts;
}

// A computer's pairs, in the order given. Everything is held by value: the
// work may outlive the run that entered it.
ComputerPipeline::Work PairsOf(const MembershipChange& how, std::string domain, std::string computer,
                               std::string localGroup, std::vector<std::string> groups) {
  return [how, domain = std::move(domain), computer = std::move(computer), localGroup = std::move(localGroup),
          groups = std::move(groups)](Directory& directory, const std::atomic<bool>& stopped) {
    std::vector<Outcome> outcomes;
    outcomes.reserve(groups.size());
    for (const std::string& group : groups) {
      if (stopped.load()) break;
      std::optional<Outcome> outcome;
      try {
        outcome = ChangeOne(directory, how, domain, computer, group, localGroup, stopped);
      } catch (const std::bad_alloc&) {
        outcome = Outcome{group, std::string(text::kFailedPrefix) + std::string(text::kOutOfMemory), false};
      }
      if (!outcome) break;
      outcomes.push_back(std::move(*outcome));
    }
    return outcomes;
  };
}

constexpr std::array<std::uint32_t, 3> kAlreadyIn{kErrMemberInAlias, kErrMemberInGroup, kErrUserInGroup};
constexpr std::array<std::uint32_t, 3> kAlreadyOut{kErrMemberNotInAlias, kErrMemberNotInGroup, kErrUserNotInGroup};

const MembershipChange kAdd{text::kAdding, &DirObject::Add, kAlreadyIn, true, text::kAdded, text::kAdded, true, false};
const MembershipChange kRemove{text::kRemoving, &DirObject::Remove, kAlreadyOut, false, text::kRemoved,
                               text::kRemoved, false, false};
const MembershipChange kPreviewAdd{text::kAdding,    &DirObject::Add, kAlreadyIn, true, text::kWouldAdd,
                                   text::kAlreadyMember, true, true};
const MembershipChange kPreviewRemove{text::kRemoving,  &DirObject::Remove, kAlreadyOut, false, text::kWouldRemove,
                                      text::kNotMember, false, true};
// Taking back an addition removes, taking back a removal adds; a membership
// found as wanted is reported, never forced, and a computer that does not
// answer is reported either way, as its change stays.
const MembershipChange kUndoAdd{text::kRemoving, &DirObject::Remove, kAlreadyOut, false, text::kRemoved,
                                text::kNotMember, true, false};
const MembershipChange kUndoRemove{text::kAdding, &DirObject::Add, kAlreadyIn, true, text::kAdded,
                                   text::kAlreadyMember, true, false};

}  // namespace

void Form1::AddMemberstoGroups() { ChangeSelected(kAdd, true); }

void Form1::RemoveMembersFromGroup() { ChangeSelected(kRemove, true); }

void Form1::PreviewCommand() {
  if (!PreviewOffered()) return;
  FinishStartedWork();  // what a run below has started is part of what the preview reads
  ChangeSelected(optGroups_ == 1 ? kPreviewAdd : kPreviewRemove, false);
}

void Form1::ChangeSelected(const MembershipChange& how, bool keepChanges) {
  // The group to bind and the domain are read once; the "Group Name" cell of
  // each row shows the field as it reads when the row is written.
  LastChange changed;
  changed.added = how.member;
  changed.localGroup = txtLocalGroup.text;
  changed.domain = globals_.DomainName;
  if (keepChanges) {
    // A new run replaces what an earlier one changed.
    lastChange_ = LastChange();
    view_.CommandsChanged();
  }
  ChangeMembership(how, Targets{lstComps, [this](std::size_t) { return SelectedTexts(lstGroups); },
                                changed.localGroup, changed.domain, nullptr, keepChanges ? &changed : nullptr});
  if (keepChanges && !changed.computers.empty()) {
    lastChange_ = std::move(changed);
    view_.CommandsChanged();
  }
}

void Form1::UndoLastRun() {
  if (!UndoOffered()) return;
  FinishStartedWork();
  // Taken now: an undo is over once started, however far it gets.
  LastChange last = std::move(lastChange_);
  lastChange_ = LastChange();
  view_.CommandsChanged();
  SortedList computers;
  computers.AddMany(last.computers);
  computers.SelectAll(true);
  ChangeMembership(last.added ? kUndoAdd : kUndoRemove,
                   Targets{computers, [&](std::size_t i) { return last.groups[i]; }, last.localGroup, last.domain,
                           &last.localGroup, nullptr});
}

void Form1::ChangeMembership(const MembershipChange& how, const Targets& targets) {
  const SortedList& list = targets.computers;
  SetStatus(how.statusText);
  lvGroups.Clear();
  view_.GridChanged();

  // Closing the window or replacing the lists stops the run.
  const unsigned long long lists = listsReplaced_;
  auto stopped = [&] { return cancelled_ || listsReplaced_ != lists; };
  auto write = [&](ComputerOutcomes& done) {
    std::vector<std::string> changedGroups;
    for (Outcome& o : done.outcomes) {
      if (o.changed) changedGroups.push_back(o.member);
      Insert(MakeRow(done.computer, targets.groupCell ? *targets.groupCell : txtLocalGroup.text, std::move(o.member),
                     std::move(o.action)));
    }
    if (targets.changed && !changedGroups.empty()) {
      targets.changed->computers.push_back(done.computer);
      targets.changed->groups.push_back(std::move(changedGroups));
    }
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
  const std::size_t computers = list.Count();
  for (std::size_t i = 0; i < computers; ++i) {
    pipeline.TakeFinished(write);
    view_.ProcessPendingEvents();
    if (stopped()) break;
    probes.Forget(list);  // the list may have been refilled meanwhile
    if (!list.Selected(i)) continue;
    std::string computer = list.Text(i);
    Result<bool> reachable = probes.AnswerFor(list, i);
    // A probe that fails without an answer lets the computer be tried.
    if (reachable.ok() && !reachable.value()) {
      if (how.reportUnreachable)
        pipeline.Enter(std::move(computer),
                       {Outcome{std::string(text::kNoMember), std::string(text::kNoConnection), false}});
      continue;
    }
    std::vector<std::string> groups = targets.groupsOf(i);
    if (groups.empty()) continue;
    while (pipeline.Full() && !stopped()) {
      view_.WaitForEvents();
      pipeline.TakeFinished(write);
    }
    if (stopped()) break;
    pipeline.Enter(computer, PairsOf(how, targets.domain, computer, targets.localGroup, std::move(groups)));
  }
  while (!pipeline.Drained() && !stopped()) {
    pipeline.TakeFinished(write);
    if (!pipeline.Drained()) view_.WaitForEvents();
  }
  pipeline.Stop(write);
  SetStatus(text::kReady);
}

}  // namespace rosterly
