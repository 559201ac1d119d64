#include <windows.h>
#include <commctrl.h>

#include "DomainSelectionWindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  if (!rosterly::DomainSelectionWindow::Register(instance)) return 1;

  rosterly::DomainSelectionWindow domain;
  if (!domain.Create(instance)) return 1;
  ShowWindow(domain.handle(), SW_SHOW);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (IsWindow(domain.handle()) && domain.PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
