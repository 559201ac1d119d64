// The list action: every local group of every selected computer with its
// members, one "Lookup" row per member.
#include "Form1.h"
#include "Texts.h"

namespace rosterly {

void Form1::DisplayLocalGroups() {
  SetStatus(text::kListing);
  lvGroups.Clear();
  view_.GridChanged();
  Status failure = ListSelectedComputers();
  if (!failure.ok()) services_.messages.Show(failure.description(), text::kAppTitle, MsgIcon::None);
  // Also after an error: the listing has stopped, so the window is idle again.
  SetStatus(text::kReady);
}

Status Form1::ListSelectedComputers() {
  const std::size_t count = lstComps.Count();
  for (std::size_t i = 0; i < count; ++i) {
    view_.ProcessPendingEvents();
    if (cancelled_) break;
    if (!lstComps.Selected(i)) continue;
    Status s = ListComputer(lstComps.Text(i));
    if (!s.ok()) return s;
  }
  return Status::Ok();
}

Status Form1::ListComputer(const std::string& computer) {
  Result<std::unique_ptr<DirObject>> bound = services_.directory.Bind("WinNT://" + computer, BindAs::Container);
  if (!bound.ok()) return bound.status();
  DirObject& object = *bound.value();
  if (Status s = object.SetFilter({"group"}); !s.ok()) return s;
  Result<std::unique_ptr<DirEnumerator>> groups = object.Enumerate();
  if (!groups.ok()) return groups.status();
  for (;;) {
    Result<std::unique_ptr<DirObject>> group = groups.value()->Next();
    if (!group.ok()) return group.status();
    if (!group.value()) break;
    Result<std::unique_ptr<DirEnumerator>> members = group.value()->Members();
    if (!members.ok()) return members.status();
    for (;;) {
      Result<std::unique_ptr<DirObject>> member = members.value()->Next();
      if (!member.ok()) return member.status();
      if (!member.value()) break;
      Result<std::string> groupName = group.value()->Name();
      if (!groupName.ok()) return groupName.status();
      Result<std::string> memberName = member.value()->Name();
      if (!memberName.ok()) return memberName.status();
      Insert(MakeRow(computer, groupName.value(), memberName.value(), std::string(text::kLookup)));
    }
  }
  return Status::Ok();
}

}  // namespace rosterly
