#pragma once
// The three-dimensional control library, used only when it is installed:
// looked up at run time, and counted as absent when it does not register.
#include <windows.h>

#include "Handles.h"

namespace scrubber {

class ControlLibrary {
 public:
  // Loads the library with the system's error boxes suppressed and registers
  // the program; with `autoSubclass` (systems before version 4) every dialog
  // is styled from then on.
  void Load(HINSTANCE instance, bool autoSubclass);
  // Unregisters the program and releases the library.
  void Unload();
  bool active() const { return active_; }
  // Styles one dialog where the library offers it; false when it does not.
  bool SubclassDialog(HWND dialog, DWORD flags) const;

 private:
  using RegisterFn = BOOL(WINAPI*)(HINSTANCE);
  using SubclassFn = BOOL(WINAPI*)(HWND, DWORD);
  win32::Library library_;
  HINSTANCE instance_ = nullptr;
  RegisterFn unregister_ = nullptr;
  SubclassFn subclassDlgEx_ = nullptr;
  bool active_ = false;
};

}  // namespace scrubber
