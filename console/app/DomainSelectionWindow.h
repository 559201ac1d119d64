#pragma once
#include <windows.h>

namespace rosterly {

// frmdomainlogin: the first window; OK stores the domain name, Cancel ends
// the console.
class DomainSelectionWindow {
 public:
  static constexpr char kClassName[] = "RosterlyDomainSelection";

  static bool Register(HINSTANCE instance);
  bool Create(HINSTANCE instance);
  HWND handle() const { return window_; }
  // Enter in Combo1 acts as OK; the message loop asks first.
  bool PreTranslate(MSG& msg);

 private:
  static LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnCreate();
  LRESULT OnCommand(WORD id, WORD code);
  LRESULT OnDestroy();
  void OnOk();
  HWND AddControl(const char* className, UINT textId, DWORD style, int id, RECT rect);

  HINSTANCE instance_ = nullptr;
  HWND window_ = nullptr;
  HWND combo_ = nullptr;
  HFONT font_ = nullptr;
};

}  // namespace rosterly
