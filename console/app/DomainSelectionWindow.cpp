#include "DomainSelectionWindow.h"

#include <string>

#include "ResString.h"
#include "Twips.h"
#include "rosterly_ids.h"

namespace rosterly {
namespace {

// Fixed-size border, no minimize or maximize box.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr int kComboDropHeight = 160;  // pixels of drop-down list below the field

std::string WindowText(HWND window) {
  int length = GetWindowTextLengthA(window);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), length + 1)));
  return text;
}

}  // namespace

bool DomainSelectionWindow::Register(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  return RegisterClassA(&wc) != 0;
}

bool DomainSelectionWindow::Create(HINSTANCE instance) {
  instance_ = instance;
  Dpi dpi = Dpi::OfScreen();
  RECT frame{0, 0, TwipsToPixels(domain_form::kClientWidth, dpi.x),
             TwipsToPixels(domain_form::kClientHeight, dpi.y)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  window_ = CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kClassName,
                            ResString(IDS_DOMAIN_TITLE).c_str(), kStyle, x, y, width, height, nullptr, nullptr,
                            instance, this);
  return window_ != nullptr;
}

LRESULT CALLBACK DomainSelectionWindow::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<DomainSelectionWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<DomainSelectionWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_CREATE:
      return self->OnCreate();
    case WM_COMMAND:
      return self->OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_DESTROY:
      return self->OnDestroy();
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

HWND DomainSelectionWindow::AddControl(const char* className, UINT textId, DWORD style, int id, RECT rect) {
  std::string text = textId ? ResString(textId) : std::string();
  HWND control = CreateWindowExA(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                                 rect.right - rect.left, rect.bottom - rect.top, window_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  return control;
}

LRESULT DomainSelectionWindow::OnCreate() {
  Dpi dpi = Dpi::OfScreen();
  // The forms' layouts were drawn for 8-point MS Sans Serif.
  font_ = CreateFontA(-MulDiv(8, dpi.y, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
  RECT comboRect = dpi.ToPixels(domain_form::kCombo1);
  comboRect.bottom += kComboDropHeight;
  // Created in tab order: Combo1, Command1, Label1, Label3, Command2.
  combo_ = AddControl("COMBOBOX", 0, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, IDC_DOMAIN_COMBO1,
                      comboRect);
  AddControl("BUTTON", IDS_DOMAIN_OK, WS_TABSTOP | BS_PUSHBUTTON, IDC_DOMAIN_COMMAND1,
             dpi.ToPixels(domain_form::kCommand1));
  AddControl("STATIC", IDS_DOMAIN_LABEL1, SS_LEFTNOWORDWRAP, IDC_DOMAIN_LABEL1, dpi.ToPixels(domain_form::kLabel1));
  AddControl("STATIC", IDS_DOMAIN_LABEL3, SS_LEFT, IDC_DOMAIN_LABEL3, dpi.ToPixels(domain_form::kLabel3));
  AddControl("BUTTON", IDS_DOMAIN_CANCEL, WS_TABSTOP | BS_PUSHBUTTON, IDC_DOMAIN_COMMAND2,
             dpi.ToPixels(domain_form::kCommand2));
  SetFocus(combo_);
  return 0;
}

LRESULT DomainSelectionWindow::OnCommand(WORD id, WORD code) {
  if (id == IDC_DOMAIN_COMMAND1 && code == BN_CLICKED) OnOk();
  if (id == IDC_DOMAIN_COMMAND2 && code == BN_CLICKED) DestroyWindow(window_);
  return 0;
}

LRESULT DomainSelectionWindow::OnDestroy() {
  if (font_) DeleteObject(font_);
  font_ = nullptr;
  PostQuitMessage(0);
  return 0;
}

void DomainSelectionWindow::OnOk() {
  if (WindowText(combo_).empty()) {
    MessageBoxA(window_, ResString(IDS_DOMAIN_EMPTY_TEXT).c_str(), ResString(IDS_DOMAIN_EMPTY_TITLE).c_str(),
                MB_OK | MB_ICONINFORMATION);
    return;
  }
  DestroyWindow(window_);
}

bool DomainSelectionWindow::PreTranslate(MSG& msg) {
  bool inCombo = msg.hwnd == combo_ || GetParent(msg.hwnd) == combo_;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && inCombo) {
    OnOk();
    return true;
  }
  return IsDialogMessageA(window_, &msg) != 0;
}

}  // namespace rosterly
