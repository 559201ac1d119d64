#pragma once
// One dialog procedure for every dialog of the program: the object is handed
// over at creation, kept in the dialog's user data, and each message goes to
// a small virtual handler.
#include <windows.h>

namespace scrubber {

class Dialog {
 public:
  virtual ~Dialog() = default;
  HWND handle() const { return window_; }

  static INT_PTR Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // TRUE lets the system set the default focus.
  virtual INT_PTR OnInitDialog() = 0;
  // Button presses (notification code 0); true when handled.
  virtual bool OnCommand(int id) = 0;
  // true when the dialog painted itself.
  virtual bool OnPaint() { return false; }

  HWND Item(int id) const { return GetDlgItem(window_, id); }

  HWND window_ = nullptr;
};

}  // namespace scrubber

// The exported names of the two dialogs' procedures; both are Dialog::Procedure.
extern "C" INT_PTR CALLBACK ItemDlg(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
extern "C" INT_PTR CALLBACK SharedDlg(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
