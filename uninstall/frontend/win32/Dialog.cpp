#include "Dialog.h"

namespace scrubber {

INT_PTR Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    self->window_ = window;
    return self->OnInitDialog();
  }
  if (!self) return FALSE;
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) != 0) return FALSE;
      return self->OnCommand(LOWORD(wParam)) ? TRUE : FALSE;
    case WM_PAINT:
      return self->OnPaint() ? TRUE : FALSE;
    case WM_NCDESTROY:
      self->window_ = nullptr;
      SetWindowLongPtrA(window, DWLP_USER, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace scrubber

extern "C" INT_PTR CALLBACK ItemDlg(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return scrubber::Dialog::Procedure(window, message, wParam, lParam);
}

extern "C" INT_PTR CALLBACK SharedDlg(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return scrubber::Dialog::Procedure(window, message, wParam, lParam);
}
