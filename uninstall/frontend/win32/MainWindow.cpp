#include "MainWindow.h"

#include <string>

#include "scrubber_ids.h"

namespace scrubber {
namespace {

constexpr DWORD kMainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX;
static_assert(kMainWindowStyle == 0x00CD0000);
constexpr int kInitialWidth = 640;
constexpr int kInitialHeight = 480;

}  // namespace

bool MainWindow::Create(HINSTANCE instance, std::string_view caption) {
  WNDCLASSA wc{};
  wc.style = 0;
  wc.lpfnWndProc = MainWndProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SCRUBBER));
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kMainWindowClass;
  if (!RegisterClassA(&wc)) return false;
  const std::string text(caption);
  window_ = CreateWindowExA(0, kMainWindowClass, text.c_str(), kMainWindowStyle, 0, 0, kInitialWidth, kInitialHeight,
                            nullptr, nullptr, instance, this);
  return window_ != nullptr;
}

void MainWindow::Close() {
  if (!window_) return;
  DestroyWindow(window_);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchOne(msg, nullptr);
}

void MainWindow::Wait(std::uint32_t milliseconds, HWND dialog) {
  MSG msg;
  if (milliseconds == 0 || !window_) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the loop that ends the run
        return;
      }
      DispatchOne(msg, dialog);
    }
    return;
  }
  // The timer ends the wait; the clock ends it too, for a timer that could
  // not be set or never ticks, so that no wait lasts for ever.
  const DWORD start = GetTickCount();
  waiting_ = true;
  const bool timed = SetTimer(window_, kWaitTimer, milliseconds, nullptr) != 0;
  while (waiting_) {
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= milliseconds) break;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      (void)MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds - elapsed, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
      continue;
    }
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    DispatchOne(msg, dialog);
  }
  if (timed) (void)KillTimer(window_, kWaitTimer);
  waiting_ = false;
}

LRESULT MainWindow::OnPaletteChanged(HWND changer) {
  if (changer == window_) return 0;
  return appearance_.RealizePaletteFor(window_);
}

LRESULT MainWindow::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      window_ = window;
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      window_ = nullptr;
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_ERASEBKGND:
      return 1;  // the bands cover everything
    case WM_PAINT:
      appearance_.PaintBackground(window_);
      return 0;
    case WM_TIMER:
      waiting_ = false;
      return 0;
    case WM_QUERYNEWPALETTE:
      return appearance_.RealizePaletteFor(window_);
    case WM_PALETTECHANGED:
      return OnPaletteChanged(reinterpret_cast<HWND>(wParam));
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

void DispatchOne(MSG& msg, HWND dialog) {
  if (dialog && IsWindow(dialog) && IsDialogMessageA(dialog, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

}  // namespace scrubber

// The class's procedure: the object travels in the creation parameters and
// stays in the window's user data.
extern "C" LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<scrubber::MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<scrubber::MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  return self->Handle(window, message, wParam, lParam);
}
