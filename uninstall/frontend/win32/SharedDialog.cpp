#include "SharedDialog.h"

#include "scrubber_ids.h"

namespace scrubber {
namespace {

enum SharedDialogText : int { kYesText = 51, kNoText = 52, kNoToAllText = 53, kSharedCaption = 62 };

}  // namespace

void CenterOnScreen(HWND dialog, const Appearance& appearance) {
  RECT r;
  if (!GetWindowRect(dialog, &r)) return;
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  SetWindowPos(dialog, nullptr, (appearance.screenWidth() - width) / 2, (appearance.screenHeight() - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int SharedDialog::Ask(HINSTANCE instance, HWND owner, std::string_view question) {
  question_ = question;
  const INT_PTR result =
      DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SHARED), owner, SharedDlg, reinterpret_cast<LPARAM>(this));
  // A dialog that cannot be shown keeps the file, as an unanswered one does.
  return result <= 0 ? IDCANCEL : static_cast<int>(result);
}

INT_PTR SharedDialog::OnInitDialog() {
  appearance_.PrepareDialog(window_, controls_, version4_);
  SetDlgItemTextA(window_, IDC_UPPER_TEXT, question_.c_str());
  SetWindowTextA(window_, strings_.Get(kSharedCaption).c_str());
  SetDlgItemTextA(window_, IDC_SHARED_YES, strings_.Get(kYesText).c_str());
  SetDlgItemTextA(window_, IDC_SHARED_NO, strings_.Get(kNoText).c_str());
  SetDlgItemTextA(window_, IDOK, strings_.Get(kNoToAllText).c_str());
  CenterOnScreen(window_, appearance_);
  return TRUE;
}

bool SharedDialog::OnCommand(int id) {
  EndDialog(window_, id);
  return true;
}

}  // namespace scrubber
