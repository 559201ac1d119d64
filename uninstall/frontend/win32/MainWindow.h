#pragma once
// The full-screen background window behind the wizard: paints the gradient,
// keeps the palette, and ends the waits of the run with its timer.
#include <windows.h>

#include <cstdint>
#include <string_view>

#include "Appearance.h"

namespace scrubber {

inline constexpr char kMainWindowClass[] = "KVRTUninstall";
inline constexpr UINT_PTR kWaitTimer = 0x206A;  // the one timer of the run's waits

class MainWindow {
 public:
  explicit MainWindow(Appearance& appearance) : appearance_(appearance) {}
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Registers the class and creates the (hidden) window; false on failure.
  bool Create(HINSTANCE instance, std::string_view caption);
  HWND handle() const { return window_; }
  // Destroys the window and dispatches messages until the quit message.
  void Close();

  // Dispatches messages (each offered to `dialog` first) until the timer of
  // `milliseconds` has ticked or that time has passed; with 0, only what is
  // queued now.
  void Wait(std::uint32_t milliseconds, HWND dialog);

  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT OnPaletteChanged(HWND changer);

  Appearance& appearance_;
  HWND window_ = nullptr;
  bool waiting_ = false;
};

// Dispatches one message, offered first to the dialog's keyboard handling.
void DispatchOne(MSG& msg, HWND dialog);

}  // namespace scrubber

extern "C" LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
