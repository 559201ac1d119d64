#include "MainWindow.h"

#include "scrubber_ids.h"

namespace scrubber {
namespace {

// Caption, system menu, sizing frame and maximise box.
constexpr DWORD kMainWindowStyle = 0x00CD0000;

LRESULT OnDestroy() {
  PostQuitMessage(0);
  return 0;
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.style = 0;
  wc.lpfnWndProc = MainWndProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SCRUBBER));
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kMainWindowClass;
  return RegisterClassA(&wc) != 0;
}

HWND CreateMainWindow(HINSTANCE instance, const char* caption) {
  return CreateWindowExA(0, kMainWindowClass, caption, kMainWindowStyle, 0, 0, 640, 480, nullptr, nullptr,
                         instance, nullptr);
}

}  // namespace scrubber

extern "C" __declspec(dllexport) LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      return scrubber::OnDestroy();
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}
