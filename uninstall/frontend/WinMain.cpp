#include <windows.h>

#include "LogonCheck.h"
#include "MainWindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  DisableImeUnlessInteractive();
  if (!scrubber::RegisterMainWindowClass(instance)) return 0;
  HWND main = scrubber::CreateMainWindow(instance, " ");
  if (!main) return 0;
  ShowWindow(main, SW_SHOWMAXIMIZED);
  UpdateWindow(main);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;  // the uninstaller's exit code is always 0
}
