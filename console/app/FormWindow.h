#pragma once
// What every form of the console shares: its window class and one window
// procedure. The procedure keeps the form object with its window and hands
// each message to the form's virtual handlers.
#include <windows.h>

#include <string_view>

namespace rosterly {

class App;

class FormWindow {
 public:
  virtual ~FormWindow() = default;
  HWND handle() const { return window_; }

 protected:
  explicit FormWindow(App& app) : app_(app) {}
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  // A form's window class: arrow pointer, button-face background, the icon
  // given; messages go to Procedure.
  static bool RegisterFormClass(HINSTANCE instance, const char* className, HICON icon);
  // CreateWindowExA with this form as the creation parameter.
  bool CreateForm(DWORD exStyle, const char* className, const char* title, DWORD style, RECT frame, HWND owner,
                  HMENU menu);

  // A message for this open window or one of its controls.
  bool IsFor(const MSG& msg) const { return window_ && (msg.hwnd == window_ || IsChild(window_, msg.hwnd)); }

  // The window exists and counts as open.
  virtual LRESULT OnCreate() = 0;
  virtual LRESULT OnCommand(WORD id, WORD code) = 0;
  // The window is going; it stops counting as open right after this.
  virtual void OnDestroy() {}
  // Every other message; the system's default unless the form overrides it.
  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // What a handler could not finish (it threw): told to the user in a
  // message box; the window goes on.
  virtual void OnFailure(std::string_view text);

  App& app_;
  HWND window_ = nullptr;  // null again once WM_DESTROY has been handled

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Report(std::string_view text) noexcept;
};

}  // namespace rosterly
