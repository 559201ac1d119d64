#include "MainWindow.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "App.h"
#include "Controls.h"
#include "FormWindow.h"
#include "ResString.h"
#include "Twips.h"
#include "rosterly_ids.h"

namespace rosterly {
namespace {

// Fixed-size border, a minimize box, no maximize box.
// No WS_CLIPCHILDREN: the Actions frame is transparent and relies on the
// window painting the background behind it.
constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kMainExStyle = WS_EX_CONTROLPARENT;
constexpr DWORD kListStyle = WS_TABSTOP | WS_VSCROLL | WS_BORDER | LBS_NOTIFY | LBS_EXTENDEDSEL |
                             LBS_NOINTEGRALHEIGHT;  // no LBS_SORT: the logic gives each entry its index
constexpr int kOptionIds[3] = {IDC_MAIN_OPTGROUPS0, IDC_MAIN_OPTGROUPS1, IDC_MAIN_OPTGROUPS2};
constexpr UINT kOptionTexts[3] = {IDS_MAIN_OPT0, IDS_MAIN_OPT1, IDS_MAIN_OPT2};
constexpr UINT kColumnTexts[4] = {IDS_MAIN_COL0, IDS_MAIN_COL1, IDS_MAIN_COL2, IDS_MAIN_COL3};
constexpr COLORREF kWhite = RGB(255, 255, 255);
// txtLocalGroup's background when disabled is system colour 4, the menu's.
static_assert(COLOR_MENU == 4);

RECT Offset(RECT r, POINT by) {
  OffsetRect(&r, by.x, by.y);
  return r;
}

}  // namespace

MainWindow::MainWindow(App& app) : FormWindow(app) {}

bool MainWindow::Register(HINSTANCE instance) {
  return RegisterFormClass(instance, kClassName, LoadIconA(instance, MAKEINTRESOURCEA(IDI_ROSTERLY)));
}

bool MainWindow::Create() {
  const Dpi dpi = Dpi::OfScreen();
  const RECT frame = CentredFrame(dpi, main_form::kClientWidth, main_form::kClientHeight, kMainStyle, kMainExStyle, true);
  HMENU menu = LoadMenuA(app_.instance(), MAKEINTRESOURCEA(IDM_FORM1));
  if (!CreateForm(kMainExStyle, kClassName, ResString(IDS_MAIN_TITLE).c_str(), kMainStyle, frame, nullptr, menu))
    return false;
  // The menu bar may wrap at another height than AdjustWindowRectEx assumed:
  // correct the frame so that the client area has exactly the laid-out size.
  RECT client;
  GetClientRect(window_, &client);
  const int wantHeight = TwipsToPixels(main_form::kClientHeight, dpi.y);
  if (client.bottom != wantHeight) {
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left,
                 frame.bottom - frame.top + wantHeight - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
  }
  return true;
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_TIMER:
      if (wParam == IDT_MAIN_TIMER1) logic_->OnTimerTick();
      if (wParam == kGridTimer) UpdateGrid();
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message);
    case WM_SETCURSOR:
      if (OnSetCursor(LOWORD(lParam))) return TRUE;
      break;
  }
  return FormWindow::OnMessage(message, wParam, lParam);
}

LRESULT MainWindow::OnCreate() {
  messages_.SetOwner(window_);
  dialogs_.SetOwner(window_);
  AppServices& services = app_.services();
  logic_ = std::make_unique<Form1>(
      app_.globals(), ConsoleServices{services.directory, services.files, messages_, dialogs_, services.probe, services.workers}, *this);
  white_.Reset(CreateSolidBrush(kWhite));
  CreateControls();
  LocalGroupFieldChanged();
  StatusTextChanged();
  TimerChanged();  // Timer1 is enabled at start: the first fill follows in 500 ms
  return 0;
}

void MainWindow::CreateControls() {
  Dpi dpi = Dpi::OfScreen();
  font_.Reset(CreateFormFont(dpi.y));
  const HFONT font = font_.get();
  auto px = [&](const TwipsRect& r) { return dpi.ToPixels(r); };
  auto corner = [&](const TwipsRect& r) { RECT p = px(r); return POINT{p.left, p.top}; };
  // Created in tab order: lstComps, lvGroups (tab index 1), lstGroups, the
  // name field, the options, Command1; labels between them take no focus.
  AddControl(window_, "STATIC", ResString(IDS_MAIN_LABEL5), SS_LEFT, IDC_MAIN_LABEL5, px(main_form::kLabel5), font);
  AddAutoSizeLabel(window_, ResString(IDS_MAIN_LABEL1), IDC_MAIN_LABEL1, corner(main_form::kLabel1), font);
  lstComps_ = AddControl(window_, "LISTBOX", "", kListStyle, IDC_MAIN_LSTCOMPS, px(main_form::kLstComps), font,
                         WS_EX_CLIENTEDGE);
  CreateGrid();
  AddAutoSizeLabel(window_, ResString(IDS_MAIN_LABEL2), IDC_MAIN_LABEL2, corner(main_form::kLabel2), font);
  lstGroups_ = AddControl(window_, "LISTBOX", "", kListStyle, IDC_MAIN_LSTGROUPS, px(main_form::kLstGroups), font,
                          WS_EX_CLIENTEDGE);
  AddAutoSizeLabel(window_, ResString(IDS_MAIN_LABEL3), IDC_MAIN_LABEL3, corner(main_form::kLabel3), font);
  txtLocalGroup_ = AddControl(window_, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, IDC_MAIN_TXTLOCALGROUP,
                              px(main_form::kTxtLocalGroup), font, WS_EX_CLIENTEDGE);
  AddLineLabel(window_, ResString(IDS_MAIN_LABEL4), IDC_MAIN_LABEL4, px(main_form::kLabel4), font);
  RECT frame = px(main_form::kFrame);
  AddControl(window_, "BUTTON", ResString(IDS_MAIN_FRAME), BS_GROUPBOX, IDC_MAIN_FRAME, frame, font);
  for (int n = 0; n < 3; ++n) {
    HWND option = AddControl(window_, "BUTTON", ResString(kOptionTexts[n]),
                             BS_AUTORADIOBUTTON | (n == 0 ? WS_GROUP | WS_TABSTOP : 0), kOptionIds[n],
                             Offset(px(main_form::kOptGroups[n]), POINT{frame.left, frame.top}), font);
    if (n == logic_->optGroups()) SendMessageA(option, BM_SETCHECK, BST_CHECKED, 0);
  }
  AddControl(window_, "BUTTON", ResString(IDS_MAIN_COMMAND1), WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON,
             IDC_MAIN_COMMAND1, px(main_form::kCommand1), font);
  // Placed exactly where the layout says, not docked by the control itself.
  sbar_ = AddControl(window_, STATUSCLASSNAMEA, "", CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, IDC_MAIN_SBAR,
                     px(main_form::kSbar), font);
}

void MainWindow::CreateGrid() {
  Dpi dpi = Dpi::OfScreen();
  // A virtual list: the rows stay in the logic's grid, the control asks for
  // the cells it paints, so 100,000 rows cost nothing to show.
  lvGroups_ = AddControl(window_, WC_LISTVIEWA, "",
                         WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, IDC_MAIN_LVGROUPS,
                         dpi.ToPixels(main_form::kLvGroups), font_.get(), WS_EX_CLIENTEDGE);
  SendMessageA(lvGroups_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  for (int column = 0; column < 4; ++column) {
    std::string text = ResString(kColumnTexts[column]);
    LVCOLUMNA c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    c.pszText = text.data();
    c.cx = TwipsToPixels(main_form::kColumnWidths[column], dpi.x);
    c.iSubItem = column;
    SendMessageA(lvGroups_, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&c));
  }
}

LRESULT MainWindow::OnCommand(WORD id, WORD code) {
  switch (id) {
    case IDC_MAIN_LSTCOMPS:
      if (code == LBN_SELCHANGE) ReadSelection(ListId::Computers);
      return 0;
    case IDC_MAIN_LSTGROUPS:
      if (code == LBN_SELCHANGE) ReadSelection(ListId::Groups);
      return 0;
    case IDC_MAIN_TXTLOCALGROUP:
      if (code == EN_CHANGE) logic_->txtLocalGroup.text = WindowText(txtLocalGroup_);
      return 0;
    case IDC_MAIN_OPTGROUPS0:
    case IDC_MAIN_OPTGROUPS1:
    case IDC_MAIN_OPTGROUPS2:
      if (code == BN_CLICKED) logic_->ChooseAction(id - IDC_MAIN_OPTGROUPS0);
      return 0;
    case IDC_MAIN_COMMAND1:
      if (code == BN_CLICKED) logic_->Execute();
      return 0;
    default:
      if (code == 0) OnMenu(id);
      return 0;
  }
}

void MainWindow::OnMenu(WORD id) {
  switch (id) {
    case IDM_LOAD:
      logic_->LoadComputers();
      break;
    case IDM_REFRESH:
      logic_->RefreshLists();
      break;
    case IDM_RESULTS:
      logic_->SaveResults();
      break;
    case IDM_EXIT:
      DestroyWindow(window_);
      break;
    case IDM_CLEARRESULTS:
      logic_->ClearResults();
      break;
    case IDM_PREVIEW:
      logic_->PreviewCommand();
      break;
    case IDM_UNDO:
      logic_->UndoLastRun();
      break;
    case IDM_ABOUT:
      app_.ShowAbout();
      break;
    default:
      break;  // Help > Contents stays switched off
  }
}

LRESULT MainWindow::OnNotify(NMHDR& header) {
  if (header.hwndFrom != lvGroups_) return 0;
  if (header.code == LVN_GETDISPINFOA) OnGetDispInfo(reinterpret_cast<NMLVDISPINFOA&>(header));
  if (header.code == LVN_COLUMNCLICK) logic_->ColumnClick(reinterpret_cast<NMLISTVIEW&>(header).iSubItem + 1);
  return 0;
}

void MainWindow::OnGetDispInfo(NMLVDISPINFOA& info) {
  LVITEMA& item = info.item;
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
  const auto row = static_cast<std::size_t>(item.iItem);
  if (item.iItem < 0 || row >= logic_->lvGroups.RowCount() || item.iSubItem < 0 || item.iSubItem >= 4) {
    item.pszText[0] = '\0';
    return;
  }
  // Cut to the control's buffer: a cell may be of any length.
  lstrcpynA(item.pszText, logic_->lvGroups.RowAt(row + 1).cells[static_cast<std::size_t>(item.iSubItem)].c_str(),
            item.cchTextMax);
}

LRESULT MainWindow::OnControlColour(HDC dc, HWND control, UINT message) {
  if (control == txtLocalGroup_) {
    const bool white = logic_->txtLocalGroup.background == FieldBackground::White;
    SetBkColor(dc, white ? kWhite : GetSysColor(COLOR_MENU));
    return reinterpret_cast<LRESULT>(white ? white_.get() : GetSysColorBrush(COLOR_MENU));
  }
  return DefWindowProcA(window_, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
}

bool MainWindow::OnSetCursor(WORD hitTest) {
  if (!busy_ || hitTest != HTCLIENT) return false;
  SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  return true;
}

void MainWindow::ReadSelection(ListId list) {
  HWND box = list == ListId::Computers ? lstComps_ : lstGroups_;
  SortedList& model = list == ListId::Computers ? logic_->lstComps : logic_->lstGroups;
  const LRESULT count = SendMessageA(box, LB_GETSELCOUNT, 0, 0);
  std::vector<int> selected(count > 0 ? static_cast<std::size_t>(count) : 0);
  if (!selected.empty())
    SendMessageA(box, LB_GETSELITEMS, selected.size(), reinterpret_cast<LPARAM>(selected.data()));
  model.SelectAll(false);
  for (int index : selected) model.SetSelected(static_cast<std::size_t>(index), true);
}

// MainView: the logic changed something, the window shows it.

void MainWindow::StatusTextChanged() {
  if (gridUpdatePending_) UpdateGrid();  // the grid is complete when the status says so
  if (sbar_) SendMessageA(sbar_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(logic_->StatusText().c_str()));
  if (sbar_) UpdateWindow(sbar_);
}

void MainWindow::ListChanged(ListId list) {
  HWND box = list == ListId::Computers ? lstComps_ : lstGroups_;
  if (!box) return;
  const SortedList& model = list == ListId::Computers ? logic_->lstComps : logic_->lstGroups;
  const std::size_t count = model.Count();
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < count; ++i) bytes += model.Text(i).size() + 1;
  SendMessageA(box, WM_SETREDRAW, FALSE, 0);
  SendMessageA(box, LB_RESETCONTENT, 0, 0);
  SendMessageA(box, LB_INITSTORAGE, count, bytes);
  for (std::size_t i = 0; i < count; ++i) {
    SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(model.Text(i).c_str()));
    if (model.Selected(i)) SendMessageA(box, LB_SETSEL, TRUE, static_cast<LPARAM>(i));
  }
  SendMessageA(box, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(box, nullptr, TRUE);
}

void MainWindow::LocalGroupFieldChanged() {
  if (!txtLocalGroup_) return;
  EnableWindow(txtLocalGroup_, logic_->txtLocalGroup.enabled);
  InvalidateRect(txtLocalGroup_, nullptr, TRUE);
}

void MainWindow::GridChanged() {
  // An action inserts rows one by one, and both setting the list view's item
  // count and repainting it cost time in proportion to what it shows: the
  // view catches up with the rows a few times a second instead, and at once
  // when a run ends (see StatusTextChanged).
  if (!lvGroups_ || gridUpdatePending_) return;
  gridUpdatePending_ = SetTimer(window_, kGridTimer, kGridRefreshMs, nullptr) != 0;
  if (!gridUpdatePending_) UpdateGrid();
}

void MainWindow::UpdateGrid() {
  if (gridUpdatePending_) KillTimer(window_, kGridTimer);
  gridUpdatePending_ = false;
  if (!lvGroups_) return;
  SendMessageA(lvGroups_, LVM_SETITEMCOUNT, logic_->lvGroups.RowCount(), LVSICF_NOSCROLL);
  // Rows move down when one is inserted at the top: everything shown changes.
  InvalidateRect(lvGroups_, nullptr, FALSE);
}

void MainWindow::TimerChanged() {
  if (!window_) return;
  if (logic_->TimerEnabled())
    SetTimer(window_, IDT_MAIN_TIMER1, kFillDelayMs, nullptr);
  else
    KillTimer(window_, IDT_MAIN_TIMER1);
}

void MainWindow::CommandsChanged() {
  HMENU menu = window_ ? GetMenu(window_) : nullptr;
  if (!menu) return;
  EnableMenuItem(menu, IDM_PREVIEW, MF_BYCOMMAND | (logic_->PreviewOffered() ? MF_ENABLED : MF_GRAYED));
  EnableMenuItem(menu, IDM_UNDO, MF_BYCOMMAND | (logic_->UndoOffered() ? MF_ENABLED : MF_GRAYED));
}

void MainWindow::SetBusyPointer(bool busy) {
  busy_ = busy;
  POINT cursor;
  RECT client;
  if (!window_ || !GetCursorPos(&cursor) || !GetClientRect(window_, &client)) return;
  ScreenToClient(window_, &cursor);
  if (PtInRect(&client, cursor)) SetCursor(LoadCursorA(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void MainWindow::ProcessPendingEvents() { app_.ProcessPendingEvents(); }

void MainWindow::WaitForEvents() {
  // A worker's wake is a posted message; the time-out only bounds what a
  // lost one could cost.
  MsgWaitForMultipleObjectsEx(0, nullptr, kWakeCheckMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  app_.ProcessPendingEvents();
}

std::function<void()> MainWindow::Waker() {
  // The handle, not the object: a worker may finish after the window is gone,
  // and posting to a destroyed window only fails.
  const HWND window = window_;
  return [window] { PostMessageA(window, WM_NULL, 0, 0); };
}

bool MainWindow::PreTranslate(MSG& msg) {
  if (!IsFor(msg)) return false;
  // Alt keys belong to the menu bar.
  if (msg.message == WM_SYSKEYDOWN || msg.message == WM_SYSCHAR || msg.message == WM_SYSKEYUP) return false;
  return IsDialogMessageA(window_, &msg) != 0;
}

void MainWindow::OnDestroy() {
  KillTimer(window_, IDT_MAIN_TIMER1);
  // An action may still be on the stack below a message dispatch: it stops
  // at its next computer, and the process can end.
  logic_->CancelRun();
  lstComps_ = lstGroups_ = txtLocalGroup_ = lvGroups_ = sbar_ = nullptr;
}

}  // namespace rosterly
