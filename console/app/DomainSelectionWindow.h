#pragma once
#include <windows.h>

#include "FormWindow.h"
#include "Handles.h"
#include "logic/DomainSelection.h"
#include "Win32Dialogs.h"

namespace rosterly {

class App;

// frmdomainlogin: the first window; OK stores the domain name and opens the
// main window, Cancel ends the console.
class DomainSelectionWindow : public FormWindow {
 public:
  static constexpr char kClassName[] = "RosterlyDomainSelection";

  explicit DomainSelectionWindow(App& app);
  static bool Register(HINSTANCE instance);
  bool Create();
  // Enter in Combo1 acts as OK; the message loop asks first.
  bool PreTranslate(MSG& msg);

 private:
  LRESULT OnCreate() override;
  LRESULT OnCommand(WORD id, WORD code) override;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDestroy() override;
  void Act(DomainSelection::Outcome outcome);

  Win32MessageBoxes messages_;
  DomainSelection logic_;
  HWND combo_ = nullptr;
  AutoDeleteFont font_;
};

}  // namespace rosterly
