#pragma once
#include <windows.h>

#include "logic/DomainSelection.h"
#include "system/Win32Dialogs.h"

namespace rosterly {

class App;

// frmdomainlogin: the first window; OK stores the domain name and opens the
// main window, Cancel ends the console.
class DomainSelectionWindow {
 public:
  static constexpr char kClassName[] = "RosterlyDomainSelection";

  explicit DomainSelectionWindow(App& app);
  static bool Register(HINSTANCE instance);
  bool Create();
  HWND handle() const { return window_; }
  // Enter in Combo1 acts as OK; the message loop asks first.
  bool PreTranslate(MSG& msg);

 private:
  static LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnCreate();
  LRESULT OnCommand(WORD id, WORD code);
  LRESULT OnDestroy();
  void Act(DomainSelection::Outcome outcome);

  App& app_;
  Win32MessageBoxes messages_;
  DomainSelection logic_;
  HWND window_ = nullptr;
  HWND combo_ = nullptr;
  HFONT font_ = nullptr;
};

}  // namespace rosterly
