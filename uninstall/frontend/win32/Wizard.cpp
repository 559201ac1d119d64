#include "Wizard.h"

#include <algorithm>
#include <vector>

#include "FillText.h"
#include "scrubber_ids.h"

namespace scrubber {
namespace {

enum WizardText : int {
  kNextText = 46,
  kBackText = 47,
  kCancelText = 48,
  kSelectAllText = 49,
  kSelectNoneText = 50,
  kUninstallCaption = 25,
  kCancelQuestion = 59,
};

constexpr int kBitmapX = 12, kBitmapY = 12, kBitmapWidth = 122, kBitmapHeight = 262;
constexpr int kCaptionCapacity = 256;
constexpr COLORREF kBlockColour = RGB(0, 0, 0x7F);
constexpr char kProgressLead[] = "\r\n\r\n";

}  // namespace

bool Wizard::Create() {
  HWND dialog = CreateDialogParamA(c_.instance, MAKEINTRESOURCEA(IDD_WIZARD), c_.main.handle(), ItemDlg,
                                   reinterpret_cast<LPARAM>(static_cast<Dialog*>(this)));
  return dialog != nullptr;
}

void Wizard::Destroy() {
  if (window_) DestroyWindow(window_);
}

INT_PTR Wizard::OnInitDialog() {
  c_.appearance.PrepareDialog(window_, c_.controls, c_.globals.isVersion4OrLater != 0);
  SendMessageA(Item(IDC_TITLE), WM_SETFONT, reinterpret_cast<WPARAM>(c_.appearance.titleFont()), FALSE);
  SetDlgItemTextA(window_, IDC_BACK, c_.strings.Get(kBackText).c_str());
  SetDlgItemTextA(window_, IDCANCEL, c_.strings.Get(kCancelText).c_str());
  SetDlgItemTextA(window_, IDC_SELECT_ALL, c_.strings.Get(kSelectAllText).c_str());
  SetDlgItemTextA(window_, IDC_SELECT_NONE, c_.strings.Get(kSelectNoneText).c_str());
  char caption[kCaptionCapacity] = {};
  GetWindowTextA(c_.main.handle(), caption, kCaptionCapacity);
  SetWindowTextA(window_, caption);
  CenterOnScreen(window_, c_.appearance);
  if (page() == kReadyPage) {
    ShowWindow(Item(IDOK), SW_HIDE);
    ShowWindow(Item(IDC_BACK), SW_HIDE);
  }
  ShowPage();
  HWND bar = Item(IDC_PROGRESS);
  ShowWindow(bar, SW_HIDE);
  RECT r{};
  GetWindowRect(bar, &r);
  MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&r), 2);
  progress_ = PixelRect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  SetWindowLongPtrA(bar, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  barProcedure_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Wizard::BarProcedure)));
  return TRUE;
}

// The bar's control, shown when the control library is active, paints after
// the dialog and would cover the blocks: they are drawn again over it.
LRESULT CALLBACK Wizard::BarProcedure(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Wizard*>(GetWindowLongPtrA(bar, GWLP_USERDATA));
  if (!self || !self->barProcedure_) return DefWindowProcA(bar, message, wParam, lParam);
  const LRESULT result = CallWindowProcA(self->barProcedure_, bar, message, wParam, lParam);
  if (message == WM_PAINT && self->window_ && self->c_.globals.progressStarted) {
    win32::ScopedGetDC dc(self->window_);
    self->PaintProgress(dc.get());
  }
  return result;
}

void Wizard::Display(int id, bool shown) {
  HWND control = Item(id);
  ShowWindow(control, shown ? SW_SHOW : SW_HIDE);
  EnableWindow(control, shown);
}

void Wizard::ShowPage() {
  const PageView view = ViewOf(page(), c_.globals.method, c_.globals.rollback);
  SetDlgItemTextA(window_, IDOK, c_.strings.Get(view.nextText).c_str());
  for (int id : {IDC_ITEM_LIST, IDC_SELECT_ALL, IDC_SELECT_NONE}) Display(id, view.list);
  const bool choices = view.firstChoiceText != 0;
  Display(IDC_FIRST_CHOICE, choices);
  Display(IDC_SECOND_CHOICE, choices);
  if (choices) {
    SetDlgItemTextA(window_, IDC_FIRST_CHOICE, c_.strings.Get(view.firstChoiceText).c_str());
    SetDlgItemTextA(window_, IDC_SECOND_CHOICE, c_.strings.Get(view.secondChoiceText).c_str());
    CheckDlgButton(window_, IDC_FIRST_CHOICE, view.firstChoiceChecked ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(window_, IDC_SECOND_CHOICE, view.firstChoiceChecked ? BST_UNCHECKED : BST_CHECKED);
  }
  Display(IDC_LOWER_TEXT, view.lowerText != 0);
  EnableWindow(Item(IDC_BACK), view.backEnabled);

  const std::string& title = model_.LogHeader.title;
  SetDlgItemTextA(window_, IDC_TITLE, c_.strings.Get(view.titleText).c_str());
  SetDlgItemTextA(window_, IDC_UPPER_TEXT, FillText(c_.strings.Get(view.upperText), title).c_str());
  SetDlgItemTextA(window_, IDC_LOWER_TEXT, view.lowerText ? c_.strings.Get(view.lowerText).c_str() : "");
  if (view.list) FillList();
  SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDOK)), TRUE);
}

// Filled with redrawing off and painted once; the horizontal extent comes
// from the widest row, measured in the list's own font.
void Wizard::FillList() {
  HWND list = Item(IDC_ITEM_LIST);
  const std::vector<std::string> rows = PageRows(model_, page());
  const std::vector<bool> selected = PageSelection(model_, page());
  pageRowCount_ = rows.size();
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_INITSTORAGE, rows.size(), rows.size() * 64);
  int widest = 0;
  {
    win32::ScopedGetDC dc(window_);
    win32::ScopedSelect font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
    for (std::size_t i = 0; i < rows.size(); ++i) {
      SIZE extent{};
      if (GetTextExtentPoint32A(dc.get(), rows[i].c_str(), static_cast<int>(rows[i].size()), &extent)) {
        widest = std::max(widest, static_cast<int>(extent.cx));
      }
      const LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(rows[i].c_str()));
      if (index >= 0 && i < selected.size() && selected[i]) SendMessageA(list, LB_SETSEL, TRUE, index);
    }
  }
  // A few pixels more, so that the last character is not cut by the border.
  SendMessageA(list, LB_SETHORIZONTALEXTENT, widest + 4, 0);
  SendMessageA(list, LB_SETTOPINDEX, 0, 0);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void Wizard::CollectChoices() {
  switch (page()) {
    case kMethodPage:
      c_.globals.method = IsDlgButtonChecked(window_, IDC_FIRST_CHOICE) == BST_CHECKED ? kAutomatic : kCustom;
      return;
    case kRollbackPage:
      c_.globals.rollback = IsDlgButtonChecked(window_, IDC_FIRST_CHOICE) == BST_CHECKED ? 1 : 0;
      return;
    case kReadyPage:
      return;
    default: {
      HWND list = Item(IDC_ITEM_LIST);
      std::vector<bool> selected(pageRowCount_);
      for (std::size_t i = 0; i < pageRowCount_; ++i) {
        selected[i] = SendMessageA(list, LB_GETSEL, i, 0) > 0;
      }
      StoreSelection(model_, page(), selected);
    }
  }
}

void Wizard::ConfirmCancel() {
  const std::string text = c_.strings.Get(kCancelQuestion);
  const std::string caption = c_.strings.Get(kUninstallCaption);
  if (MessageBoxA(window_, text.c_str(), caption.c_str(), MB_YESNO) != IDYES) return;
  c_.globals.cancelRequested = 1;
  ShowWindow(window_, SW_HIDE);
}

bool Wizard::OnCommand(int id) {
  switch (id) {
    case IDOK:
      if (page() == kReadyPage) {
        c_.globals.uninstallConfirmed = 1;
        return true;
      }
      CollectChoices();
      c_.globals.currentPage = NextPage(model_, c_.globals.method, page());
      ShowPage();
      return true;
    case IDC_BACK:
      CollectChoices();
      c_.globals.currentPage = PreviousPage(model_, c_.globals.method, page());
      ShowPage();
      return true;
    case IDCANCEL:
      ConfirmCancel();
      return true;
    case IDC_SELECT_ALL:
    case IDC_SELECT_NONE:
      SendMessageA(Item(IDC_ITEM_LIST), LB_SETSEL, id == IDC_SELECT_ALL ? TRUE : FALSE, -1);
      return true;
    default:
      return false;
  }
}

bool Wizard::OnPaint() {
  win32::ScopedPaint paint(window_);
  HDC dc = paint.get();
  if (c_.bitmap) {
    win32::ScopedMemoryDC memory(dc);
    win32::ScopedSelect select(memory.get(), c_.bitmap);
    BitBlt(dc, kBitmapX, kBitmapY, kBitmapWidth, kBitmapHeight, memory.get(), 0, 0, SRCCOPY);
  }
  if (c_.globals.progressStarted) PaintProgress(dc);
  return true;
}

void Wizard::PaintProgress(HDC dc) {
  win32::AutoDeleteBrush blue(CreateSolidBrush(kBlockColour));
  for (const PixelRect& b : ProgressBlocks(progress_, c_.globals.progressDone, c_.globals.progressTotal)) {
    RECT r{b.left, b.top, b.right, b.bottom};
    FillRect(dc, &r, blue.get());
  }
  if (!c_.controls.active()) {
    RECT frame{progress_.left - 1, progress_.top - 1, progress_.right + 1, progress_.bottom + 1};
    FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
}

void Wizard::BeginProgress(std::string_view text) {
  if (!window_) return;
  SetDlgItemTextA(window_, IDC_UPPER_TEXT, std::string(text).c_str());
  EnableWindow(Item(IDOK), FALSE);
  EnableWindow(Item(IDC_BACK), FALSE);
  if (c_.controls.active()) ShowWindow(Item(IDC_PROGRESS), SW_SHOW);
  progressDirty_ = true;
}

// Remembered and shown at the next pump: the engine pumps at a bounded
// rate, so thousands of items do not cost thousands of repaints.
void Wizard::ShowProgress(std::optional<std::string_view> text) {
  if (text) pendingText_ = kProgressLead + std::string(*text);
  progressDirty_ = true;
}

void Wizard::FlushProgress() {
  if (!window_) return;
  if (pendingText_) {
    SetDlgItemTextA(window_, IDC_LOWER_TEXT, pendingText_->c_str());
    pendingText_.reset();
  }
  if (progressDirty_) {
    // Only the dialog repaints: the bar's own control (shown with the
    // control library) would otherwise paint over the blocks.
    RECT r{progress_.left - 1, progress_.top - 1, progress_.right + 1, progress_.bottom + 1};
    RedrawWindow(window_, &r, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
    progressDirty_ = false;
  }
}

void Wizard::PumpMessages(std::uint32_t milliseconds) {
  FlushProgress();
  c_.main.Wait(milliseconds, window_);
}

int Wizard::AskRemoveShared(std::string_view text) {
  FlushProgress();
  SharedDialog dialog(c_.strings, c_.appearance, c_.controls, c_.globals.isVersion4OrLater != 0);
  const int answer = dialog.Ask(c_.instance, c_.main.handle(), text);
  // The modal loop gave the main window back its input; the wizard keeps it.
  EnableWindow(c_.main.handle(), FALSE);
  return answer;
}

int Wizard::ShowServerRunning(std::string_view text, std::string_view caption) {
  FlushProgress();
  return MessageBoxA(window_, std::string(text).c_str(), std::string(caption).c_str(), MB_ABORTRETRYIGNORE);
}

void Wizard::FocusWizard() {
  if (window_) SetFocus(window_);
}

}  // namespace scrubber
