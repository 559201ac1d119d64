#include "Driver.h"

namespace testdriver {
namespace {

// The static control that carries a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

BOOL CALLBACK CollectBoxParts(HWND child, LPARAM param) {
  auto* info = reinterpret_cast<MessageBoxInfo*>(param);
  std::string cls = ClassOf(child);
  int id = GetDlgCtrlID(child);
  if (cls == "Button") {
    info->buttons.emplace_back(id, TextOf(child));
  } else if (cls == "Static") {
    if (id == kMessageBoxTextId) info->text = TextOf(child);
    // Wine keeps a hidden icon control in boxes without an icon.
    else if ((GetWindowLongA(child, GWL_STYLE) & SS_ICON) && IsWindowVisible(child) &&
             SendMessageA(child, STM_GETICON, 0, 0) != 0)
      info->hasIcon = true;
  }
  return TRUE;
}

// A dialog's separator line or frame may carry the same id (-1): only a
// text control counts.
bool LooksLikeMessageBox(HWND window) {
  HWND text = GetDlgItem(window, kMessageBoxTextId);
  if (!text || ClassOf(text) != "Static") return false;
  const LONG type = GetWindowLongA(text, GWL_STYLE) & SS_TYPEMASK;
  return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP;
}

}  // namespace

void Click(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

void MenuCommand(HWND window, int commandId) { PostMessageA(window, WM_COMMAND, MAKEWPARAM(commandId, 0), 0); }

void PressKey(HWND target, int virtualKey) {
  UINT scan = MapVirtualKeyA(static_cast<UINT>(virtualKey), 0);
  PostMessageA(target, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 1 | (scan << 16));
  PostMessageA(target, WM_KEYUP, static_cast<WPARAM>(virtualKey), 1 | (scan << 16) | 0xC0000000u);
}

std::optional<MessageBoxInfo> WaitForMessageBox(DWORD pid, DWORD timeoutMs) {
  WindowQuery query{"#32770", "", pid, true};
  std::optional<MessageBoxInfo> result;
  WaitUntil(
      [&] {
        for (HWND window : FindTopWindows(query)) {
          if (!LooksLikeMessageBox(window)) continue;
          MessageBoxInfo info;
          info.window = window;
          info.title = TextOf(window);
          EnumChildWindows(window, CollectBoxParts, reinterpret_cast<LPARAM>(&info));
          result = info;
          return true;
        }
        return false;
      },
      timeoutMs);
  return result;
}

bool AnswerMessageBox(const MessageBoxInfo& box, int buttonId) {
  HWND button = GetDlgItem(box.window, buttonId);
  if (!button) return false;
  PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  return WaitForWindowGone(box.window, 5000);
}

}  // namespace testdriver
