#include "AboutWindow.h"

#include <string>

#include "App.h"
#include "Controls.h"
#include "FormWindow.h"
#include "ResString.h"
#include "Twips.h"
#include "logic/Texts.h"
#include "rosterly_ids.h"

namespace rosterly {
namespace {

// Fixed dialog border, no minimize or maximize box.
constexpr DWORD kAboutStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kAboutExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr COLORREF kLinkColour = RGB(0, 0, 192);

}  // namespace

AboutWindow::AboutWindow(App& app)
    : FormWindow(app), logic_(app.services().registry, app.services().files, starter_, messages_) {}

bool AboutWindow::Register(HINSTANCE instance) {
  return RegisterFormClass(instance, kClassName, nullptr);
}

bool AboutWindow::Create(HWND owner) {
  const Dpi dpi = Dpi::OfScreen();
  const RECT frame = CentredFrame(dpi, about_form::kClientWidth, about_form::kClientHeight, kAboutStyle, kAboutExStyle, false);
  return CreateForm(kAboutExStyle, kClassName, logic_.Caption().c_str(), kAboutStyle, frame, owner, nullptr);
}

LRESULT AboutWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case DM_GETDEFID:  // cmdOK is the default button
      return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_CTLCOLORSTATIC:
      return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
      if (OnSetCursor(reinterpret_cast<HWND>(wParam))) return TRUE;
      break;
  }
  return FormWindow::OnMessage(message, wParam, lParam);
}

LRESULT AboutWindow::OnCreate() {
  messages_.SetOwner(window_);
  starter_.SetOwner(window_);
  Dpi dpi = Dpi::OfScreen();
  font_.Reset(CreateFormFont(dpi.y));
  linkFont_.Reset(CreateFormFont(dpi.y, true));
  titleFont_.Reset(CreateFormFont(dpi.y, false, 12, true));
  const HFONT font = font_.get();
  auto px = [&](const TwipsRect& r) { return dpi.ToPixels(r); };
  // Created in tab order: cmdOK, cmdSysInfo, then what takes no focus.
  HWND ok = AddControl(window_, "BUTTON", ResString(IDS_ABOUT_OK), WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK,
                       px(about_form::kCmdOK), font);
  AddControl(window_, "BUTTON", ResString(IDS_ABOUT_SYSINFO), WS_TABSTOP | BS_PUSHBUTTON, IDC_ABOUT_CMDSYSINFO,
             px(about_form::kCmdSysInfo), font);
  HWND icon = AddControl(window_, "STATIC", "", SS_ICON, IDC_ABOUT_PICICON, px(about_form::kPicIcon), nullptr);
  SendMessageA(icon, STM_SETICON,
               reinterpret_cast<WPARAM>(LoadIconA(app_.instance(), MAKEINTRESOURCEA(IDI_ROSTERLY))), 0);
  AddControl(window_, "STATIC", logic_.TitleText(), SS_LEFT, IDC_ABOUT_LBLTITLE, px(about_form::kLblTitle),
             titleFont_.get());
  AddControl(window_, "STATIC", logic_.VersionText(), SS_LEFT, IDC_ABOUT_LBLVERSION, px(about_form::kLblVersion),
             font);
  AddControl(window_, "STATIC", std::string(text::kDescription), SS_LEFT, IDC_ABOUT_LBLDESCRIPTION,
             px(about_form::kLblDescription), font);
  AddControl(window_, "STATIC", "", SS_ETCHEDHORZ, IDC_ABOUT_LINE1, px(about_form::kLine1), nullptr);
  AddControl(window_, "STATIC", ResString(IDS_ABOUT_DISCLAIMER), SS_LEFT, IDC_ABOUT_LBLDISCLAIMER,
             px(about_form::kLblDisclaimer), font);
  webLabel_ = AddControl(window_, "STATIC", logic_.WebText(), SS_LEFTNOWORDWRAP | SS_NOTIFY, IDC_ABOUT_LABEL1,
                         px(about_form::kLabel1), linkFont_.get());
  SetFocus(ok);
  return 0;
}

LRESULT AboutWindow::OnCommand(WORD id, WORD code) {
  switch (id) {
    case IDOK:
    case IDCANCEL:  // Escape
      DestroyWindow(window_);
      break;
    case IDC_ABOUT_CMDSYSINFO:
      if (code == BN_CLICKED) logic_.StartSysInfo();
      break;
    case IDC_ABOUT_LABEL1:
      if (code == STN_CLICKED) logic_.WebLabelClicked();
      break;
    default:
      break;
  }
  return 0;
}

LRESULT AboutWindow::OnControlColour(HDC dc, HWND control) {
  if (control == webLabel_) SetTextColor(dc, kLinkColour);
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

bool AboutWindow::OnSetCursor(HWND over) {
  if (over != webLabel_) return false;
  SetCursor(LoadCursorA(nullptr, IDC_HAND));
  return true;
}

bool AboutWindow::PreTranslate(MSG& msg) {
  if (!IsFor(msg)) return false;
  return IsDialogMessageA(window_, &msg) != 0;
}

void AboutWindow::OnDestroy() {
  webLabel_ = nullptr;
  // An About box closed is kept until the process ends: its fonts go now.
  font_.Reset();
  linkFont_.Reset();
  titleFont_.Reset();
}

}  // namespace rosterly
