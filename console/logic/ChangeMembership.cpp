// Adding the selected domain groups to, or removing them from, a local group
// on every selected computer that answers the probe. One implementation; the
// differences between the two actions are the fields of MembershipChange.
#include <array>

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

std::string FailedText(const Status& s) { return std::string(text::kFailedPrefix) + s.description(); }

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

  // Pings still running when the walk ends, also by a cancel, end with it.
  ProbeAhead probes(services_.probe, probesInFlight_);
  const std::size_t computers = lstComps.Count();
  for (std::size_t i = 0; i < computers; ++i) {
    view_.ProcessPendingEvents();
    if (cancelled_) break;
    probes.Forget(lstComps);  // the list may have been refilled meanwhile
    if (!lstComps.Selected(i)) continue;
    const std::string computer = lstComps.Text(i);
    Result<bool> reachable = probes.AnswerFor(lstComps, i);
    // A probe that fails without an answer lets the computer be tried.
    if (reachable.ok() && !reachable.value()) {
      if (how.reportUnreachable)
        Insert(MakeRow(computer, txtLocalGroup.text, std::string(text::kNoMember), std::string(text::kNoConnection)));
      continue;
    }
    const std::size_t groups = lstGroups.Count();
    for (std::size_t j = 0; j < groups; ++j) {
      if (!lstGroups.Selected(j)) continue;
      const std::string group = lstGroups.Text(j);
      std::string outcome = ChangeOne(how, domain, computer, group, localGroup);
      Insert(MakeRow(computer, txtLocalGroup.text, group, std::move(outcome)));
    }
  }
  SetStatus(text::kReady);
}

// Both objects are released before the caller writes the row.
std::string Form1::ChangeOne(const MembershipChange& how, const std::string& domain, const std::string& computer,
                             const std::string& group, const std::string& localGroup) {
  Directory& directory = services_.directory;
  Result<std::unique_ptr<DirObject>> member = directory.Bind("WinNT://" + domain + "/" + group + ",group", BindAs::Group);
  if (!member.ok()) return FailedText(member.status());
  Result<std::unique_ptr<DirObject>> target =
      directory.Bind("WinNT://" + computer + "/" + localGroup + ",group", BindAs::Group);
  if (!target.ok()) return FailedText(target.status());
  Result<std::string> memberPath = member.value()->ADsPath();
  if (!memberPath.ok()) return FailedText(memberPath.status());

  Status changed = ((*target.value()).*how.change)(memberPath.value());
  if (!changed.ok()) {
    for (std::uint32_t code : how.alreadyDone)
      if (changed.code() == code) return std::string(how.doneWord);
    return FailedText(changed);
  }
  if (Status stored = target.value()->SetInfo(); !stored.ok()) {
    // A provider that applies Add and Remove at once has changed the group
    // already: the row tells what holds now.
    Result<bool> member = target.value()->IsMember(memberPath.value());
    if (member.ok() && member.value() == how.member) return std::string(how.doneWord);
    return FailedText(stored);
  }
  return std::string(how.doneWord);
}

}  // namespace rosterly
