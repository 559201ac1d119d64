#include "DomainSelection.h"

#include "Texts.h"

namespace rosterly {

void DomainSelection::Load() {
  Result<std::unique_ptr<DirObject>> ns = directory_.Bind("WinNT:", BindAs::Container);
  if (!ns.ok() || !ns.value()) return;
  Result<std::unique_ptr<DirEnumerator>> domains = ns.value()->Enumerate();
  if (!domains.ok() || !domains.value()) return;
  for (;;) {
    Result<std::unique_ptr<DirObject>> domain = domains.value()->Next();
    if (!domain.ok() || !domain.value()) return;
    Result<std::string> name = domain.value()->Name();
    if (name.ok()) list_.push_back(std::move(name.value()));
  }
}

DomainSelection::Outcome DomainSelection::Ok() {
  if (Combo1Text.empty()) {
    messages_.Show(text::kChooseDomain, text::kChooseDomainTitle, MsgIcon::Information);
    return Outcome::Stay;
  }
  globals_.DomainName = Combo1Text;
  return Outcome::OpenMainWindow;
}

DomainSelection::Outcome DomainSelection::KeyDown(int keyCode) {
  return keyCode == 13 ? Ok() : Outcome::Stay;
}

DomainSelection::Outcome DomainSelection::Cancel() { return Outcome::EndProcess; }

}  // namespace rosterly
