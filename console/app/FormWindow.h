#pragma once
// What every form's window class and procedure share.
#include <windows.h>

namespace rosterly {

// A form's window class: arrow pointer, button-face background, the icon given.
inline bool RegisterFormClass(HINSTANCE instance, const char* className, WNDPROC procedure, HICON icon) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = className;
  return RegisterClassA(&wc) != 0;
}

// The form object behind a window: the one passed to CreateWindowEx, kept
// with the window from WM_NCCREATE on; null for messages that come earlier.
template <class Form>
Form* FormOf(HWND window, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    return form;
  }
  return reinterpret_cast<Form*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

}  // namespace rosterly
