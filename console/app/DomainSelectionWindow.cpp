#include "DomainSelectionWindow.h"

#include <string>

#include "App.h"
#include "Controls.h"
#include "FormWindow.h"
#include "ResString.h"
#include "Twips.h"
#include "rosterly_ids.h"

namespace rosterly {
namespace {

// Fixed-size border, no minimize or maximize box.
constexpr DWORD kDomainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kDomainExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int kComboDropHeight = 160;  // pixels of drop-down list below the field

}  // namespace

DomainSelectionWindow::DomainSelectionWindow(App& app)
    : FormWindow(app), logic_(app.globals(), app.services().directory, messages_) {}

bool DomainSelectionWindow::Register(HINSTANCE instance) {
  return RegisterFormClass(instance, kClassName, LoadIconA(instance, MAKEINTRESOURCEA(IDI_ROSTERLY)));
}

bool DomainSelectionWindow::Create() {
  const Dpi dpi = Dpi::OfScreen();
  const RECT frame = CentredFrame(dpi, domain_form::kClientWidth, domain_form::kClientHeight, kDomainStyle, kDomainExStyle, false);
  return CreateForm(kDomainExStyle, kClassName, ResString(IDS_DOMAIN_TITLE).c_str(), kDomainStyle, frame, nullptr, nullptr);
}

LRESULT DomainSelectionWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {  // the close box is Cancel
    Act(logic_.Cancel());
    return 0;
  }
  return FormWindow::OnMessage(message, wParam, lParam);
}

LRESULT DomainSelectionWindow::OnCreate() {
  messages_.SetOwner(window_);
  Dpi dpi = Dpi::OfScreen();
  font_.Reset(CreateFormFont(dpi.y));
  const HFONT font = font_.get();
  RECT comboRect = dpi.ToPixels(domain_form::kCombo1);
  comboRect.bottom += kComboDropHeight;
  // Created in tab order: Combo1, Command1, Label1, Label3, Command2. Combo1
  // keeps the provider's order (no CBS_SORT).
  combo_ = AddControl(window_, "COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                      IDC_DOMAIN_COMBO1, comboRect, font);
  AddControl(window_, "BUTTON", ResString(IDS_DOMAIN_OK), WS_TABSTOP | BS_PUSHBUTTON, IDC_DOMAIN_COMMAND1,
             dpi.ToPixels(domain_form::kCommand1), font);
  AddLineLabel(window_, ResString(IDS_DOMAIN_LABEL1), IDC_DOMAIN_LABEL1, dpi.ToPixels(domain_form::kLabel1), font);
  AddControl(window_, "STATIC", ResString(IDS_DOMAIN_LABEL3), SS_LEFT, IDC_DOMAIN_LABEL3,
             dpi.ToPixels(domain_form::kLabel3), font);
  AddControl(window_, "BUTTON", ResString(IDS_DOMAIN_CANCEL), WS_TABSTOP | BS_PUSHBUTTON, IDC_DOMAIN_COMMAND2,
             dpi.ToPixels(domain_form::kCommand2), font);

  logic_.Load();
  for (const std::string& name : logic_.ComboList())
    SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  SetFocus(combo_);
  return 0;
}

LRESULT DomainSelectionWindow::OnCommand(WORD id, WORD code) {
  if (code != BN_CLICKED) return 0;
  if (id == IDC_DOMAIN_COMMAND1) {
    logic_.Combo1Text = WindowText(combo_);  // typed or picked, as it reads now
    Act(logic_.Ok());
  } else if (id == IDC_DOMAIN_COMMAND2) {
    Act(logic_.Cancel());
  }
  return 0;
}

void DomainSelectionWindow::Act(DomainSelection::Outcome outcome) {
  switch (outcome) {
    case DomainSelection::Outcome::Stay:
      return;
    case DomainSelection::Outcome::OpenMainWindow:
      app_.OpenMainWindow();  // first, so that a window stays open throughout
      DestroyWindow(window_);
      return;
    case DomainSelection::Outcome::EndProcess:
      DestroyWindow(window_);
      return;
  }
}

void DomainSelectionWindow::OnDestroy() { combo_ = nullptr; }

bool DomainSelectionWindow::PreTranslate(MSG& msg) {
  if (!IsFor(msg)) return false;
  bool inCombo = msg.hwnd == combo_ || GetParent(msg.hwnd) == combo_;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && inCombo) {
    // A dropped list closes first, so that the picked entry is the text.
    if (SendMessageA(combo_, CB_GETDROPPEDSTATE, 0, 0)) SendMessageA(combo_, CB_SHOWDROPDOWN, FALSE, 0);
    logic_.Combo1Text = WindowText(combo_);
    Act(logic_.KeyDown(13));
    return true;
  }
  return IsDialogMessageA(window_, &msg) != 0;
}

}  // namespace rosterly
