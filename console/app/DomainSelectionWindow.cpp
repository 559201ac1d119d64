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
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int kComboDropHeight = 160;  // pixels of drop-down list below the field

}  // namespace

DomainSelectionWindow::DomainSelectionWindow(App& app)
    : app_(app), logic_(app.globals(), app.services().directory, messages_) {}

bool DomainSelectionWindow::Register(HINSTANCE instance) {
  return RegisterFormClass(instance, kClassName, WndProc, LoadIconA(instance, MAKEINTRESOURCEA(IDI_ROSTERLY)));
}

bool DomainSelectionWindow::Create() {
  Dpi dpi = Dpi::OfScreen();
  RECT frame = CentredFrame(TwipsToPixels(domain_form::kClientWidth, dpi.x),
                            TwipsToPixels(domain_form::kClientHeight, dpi.y), kStyle, kExStyle, false);
  window_ = CreateWindowExA(kExStyle, kClassName, ResString(IDS_DOMAIN_TITLE).c_str(), kStyle, frame.left, frame.top,
                            frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, app_.instance(),
                            this);
  return window_ != nullptr;
}

LRESULT CALLBACK DomainSelectionWindow::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = FormOf<DomainSelectionWindow>(window, message, lParam);
  if (message == WM_NCCREATE) self->window_ = window;
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_CREATE:
      return self->OnCreate();
    case WM_COMMAND:
      return self->OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_CLOSE:
      self->Act(self->logic_.Cancel());
      return 0;
    case WM_DESTROY:
      return self->OnDestroy();
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

LRESULT DomainSelectionWindow::OnCreate() {
  app_.WindowOpened();
  messages_.SetOwner(window_);
  Dpi dpi = Dpi::OfScreen();
  font_ = CreateFormFont(dpi.y);
  RECT comboRect = dpi.ToPixels(domain_form::kCombo1);
  comboRect.bottom += kComboDropHeight;
  // Created in tab order: Combo1, Command1, Label1, Label3, Command2. Combo1
  // keeps the provider's order (no CBS_SORT).
  combo_ = AddControl(window_, "COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                      IDC_DOMAIN_COMBO1, comboRect, font_);
  AddControl(window_, "BUTTON", ResString(IDS_DOMAIN_OK), WS_TABSTOP | BS_PUSHBUTTON, IDC_DOMAIN_COMMAND1,
             dpi.ToPixels(domain_form::kCommand1), font_);
  AddLineLabel(window_, ResString(IDS_DOMAIN_LABEL1), IDC_DOMAIN_LABEL1, dpi.ToPixels(domain_form::kLabel1), font_);
  AddControl(window_, "STATIC", ResString(IDS_DOMAIN_LABEL3), SS_LEFT, IDC_DOMAIN_LABEL3,
             dpi.ToPixels(domain_form::kLabel3), font_);
  AddControl(window_, "BUTTON", ResString(IDS_DOMAIN_CANCEL), WS_TABSTOP | BS_PUSHBUTTON, IDC_DOMAIN_COMMAND2,
             dpi.ToPixels(domain_form::kCommand2), font_);

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

LRESULT DomainSelectionWindow::OnDestroy() {
  if (font_) DeleteObject(font_);
  font_ = nullptr;
  combo_ = nullptr;
  window_ = nullptr;
  app_.WindowClosed();
  return 0;
}

bool DomainSelectionWindow::PreTranslate(MSG& msg) {
  if (!window_ || (msg.hwnd != window_ && !IsChild(window_, msg.hwnd))) return false;
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
