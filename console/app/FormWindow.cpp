#include "FormWindow.h"

#include <new>
#include <string>

#include "App.h"
#include "logic/Texts.h"

namespace rosterly {

bool FormWindow::RegisterFormClass(HINSTANCE instance, const char* className, HICON icon) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = Procedure;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = className;
  return RegisterClassA(&wc) != 0;
}

bool FormWindow::CreateForm(DWORD exStyle, const char* className, const char* title, DWORD style, RECT frame,
                            HWND owner, HMENU menu) {
  // WM_NCCREATE has set window_ already, for the messages of the creation.
  window_ = CreateWindowExA(exStyle, className, title, style, frame.left, frame.top, frame.right - frame.left,
                            frame.bottom - frame.top, owner, menu, app_.instance(), this);
  return window_ != nullptr;
}

// The form object is the one passed to CreateWindowExA, kept with the window
// from WM_NCCREATE on. Messages before it, and after the form has handled
// WM_DESTROY, get the system's default handling.
LRESULT CALLBACK FormWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  FormWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_ = window;
  } else {
    self = reinterpret_cast<FormWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  }
  if (message == WM_NCDESTROY) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  if (!self || !self->window_) return DefWindowProcA(window, message, wParam, lParam);
  // No exception may unwind through the system's frames: what a handler
  // could not finish (memory for a huge list file, say) is reported and the
  // window goes on.
  try {
    return self->Handle(message, wParam, lParam);
  } catch (const std::bad_alloc&) {
    self->Report(text::kOutOfMemory);
  } catch (...) {
    self->Report(text::kCommandFailed);
  }
  return message == WM_CREATE ? -1 : 0;
}

LRESULT FormWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      app_.WindowOpened();
      return OnCreate();
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_DESTROY:
      OnDestroy();
      window_ = nullptr;
      app_.WindowClosed();
      return 0;
    default:
      return OnMessage(message, wParam, lParam);
  }
}

void FormWindow::Report(std::string_view text) noexcept {
  // The report may fail the same way; it must not throw either.
  try {
    OnFailure(text);
  } catch (...) {
  }
}

void FormWindow::OnFailure(std::string_view what) {
  const std::string text(what), title(text::kAppTitle);
  MessageBoxA(IsWindow(window_) ? window_ : nullptr, text.c_str(), title.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

LRESULT FormWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window_, message, wParam, lParam);
}

}  // namespace rosterly
