// Filling both target lists from the domain, once per enabling of Timer1.
#include <vector>

#include "Form1.h"
#include "Texts.h"

namespace rosterly {

void Form1::RefreshLists() {
  ListsReplaced();
  SetTimer(true);
}

void Form1::OnTimerTick() {
  // A tick that arrives while the fill lets events through must not start a
  // second fill inside the first.
  if (!timerEnabled_ || filling_) return;
  filling_ = true;
  SetStatus(text::kObtaining);
  view_.ProcessPendingEvents();
  view_.SetBusyPointer(true);
  ListsReplaced();
  lstComps.Clear();
  lstGroups.Clear();
  view_.ListChanged(ListId::Computers);
  view_.ListChanged(ListId::Groups);

  // Every failing step is skipped: the lists keep what was read.
  Result<std::unique_ptr<DirObject>> domain =
      services_.directory.Bind("WinNT://" + globals_.DomainName, BindAs::Container);
  if (domain.ok() && domain.value()) {
    FillList(*domain.value(), "Computer", lstComps);
    view_.ListChanged(ListId::Computers);
    FillList(*domain.value(), "Group", lstGroups);
    view_.ListChanged(ListId::Groups);
  }

  view_.SetBusyPointer(false);
  SetStatus(text::kReady);
  SetTimer(false);
  filling_ = false;
}

void Form1::FillList(DirObject& domain, std::string_view objectClass, SortedList& list) {
  // A filter that cannot be set is skipped too; the enumeration still runs.
  (void)domain.SetFilter({std::string(objectClass)});
  Result<std::unique_ptr<DirEnumerator>> children = domain.Enumerate();
  if (!children.ok() || !children.value()) return;
  // Names go straight into the list's storage, which the last fill left.
  list.AddFrom([&](std::string& text) {
    for (;;) {
      Result<std::unique_ptr<DirObject>> child = children.value()->Next();
      if (!child.ok() || !child.value()) return false;
      Result<std::string> name = child.value()->Name();
      if (name.ok()) {
        text = std::move(name.value());
        return true;
      }
    }
  });
}

}  // namespace rosterly
