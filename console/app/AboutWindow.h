#pragma once
#include <windows.h>

#include "FormWindow.h"
#include "Handles.h"
#include "logic/AboutBox.h"
#include "Win32Dialogs.h"
#include "Win32System.h"

namespace rosterly {

class App;

// frmAbout: modeless; Enter and Escape press OK; the web label opens the
// product's page; System Info starts the system's tool.
class AboutWindow : public FormWindow {
 public:
  static constexpr char kClassName[] = "RosterlyAbout";

  explicit AboutWindow(App& app);
  static bool Register(HINSTANCE instance);
  bool Create(HWND owner);
  bool PreTranslate(MSG& msg);

 private:
  LRESULT OnCreate() override;
  LRESULT OnCommand(WORD id, WORD code) override;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDestroy() override;
  LRESULT OnControlColour(HDC dc, HWND control);
  bool OnSetCursor(HWND over);

  Win32MessageBoxes messages_;
  Win32ProgramStarter starter_;
  AboutBox logic_;
  HWND webLabel_ = nullptr;
  // Live as long as the window.
  AutoDeleteFont font_, linkFont_, titleFont_;
};

}  // namespace rosterly
