#pragma once
#include <windows.h>

#include "logic/AboutBox.h"
#include "system/Win32Dialogs.h"
#include "system/Win32System.h"

namespace rosterly {

class App;

// frmAbout: modeless; Enter and Escape press OK; the web label opens the
// product's page; System Info starts the system's tool.
class AboutWindow {
 public:
  static constexpr char kClassName[] = "RosterlyAbout";

  explicit AboutWindow(App& app);
  static bool Register(HINSTANCE instance);
  bool Create(HWND owner);
  HWND handle() const { return window_; }
  bool PreTranslate(MSG& msg);

 private:
  static LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnCreate();
  LRESULT OnCommand(WORD id, WORD code);
  LRESULT OnControlColour(HDC dc, HWND control);
  bool OnSetCursor(HWND over);
  LRESULT OnDestroy();

  App& app_;
  Win32MessageBoxes messages_;
  Win32ProgramStarter starter_;
  AboutBox logic_;
  HWND window_ = nullptr;
  HWND webLabel_ = nullptr;
  HFONT font_ = nullptr, linkFont_ = nullptr, titleFont_ = nullptr;
};

}  // namespace rosterly
