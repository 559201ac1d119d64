// The common open and save dialogs of another process: read their title and
// filter list, type a file name and confirm, or cancel.
#include "Driver.h"

namespace testdriver {
namespace {

// Control ids of the common dialog template.
constexpr int kFileTypeCombo = 0x470;  // cmb1
constexpr int kFileNameCombo = 0x47c;  // cmb13
constexpr int kFileNameEdit = 0x480;   // edt1

bool LooksLikeFileDialog(HWND window) {
  return GetDlgItem(window, kFileTypeCombo) != nullptr &&
         (GetDlgItem(window, kFileNameCombo) != nullptr || GetDlgItem(window, kFileNameEdit) != nullptr);
}

}  // namespace

std::optional<FileDialogInfo> WaitForFileDialog(DWORD pid, DWORD timeoutMs) {
  std::optional<FileDialogInfo> result;
  WaitUntil(
      [&] {
        for (HWND window : FindTopWindows({"#32770", "", pid, true})) {
          if (!LooksLikeFileDialog(window)) continue;
          FileDialogInfo info;
          info.window = window;
          info.title = TextOf(window);
          info.fileTypes = ComboItems(GetDlgItem(window, kFileTypeCombo));
          result = info;
          return true;
        }
        return false;
      },
      timeoutMs);
  return result;
}

bool AnswerFileDialog(const FileDialogInfo& dialog, const std::string& windowsPath) {
  HWND name = GetDlgItem(dialog.window, kFileNameCombo);
  if (!name) name = GetDlgItem(dialog.window, kFileNameEdit);
  if (!name || !SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(windowsPath.c_str()))) return false;
  PostMessageA(dialog.window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog.window, IDOK)));
  return WaitForWindowGone(dialog.window, 10000);
}

bool CancelFileDialog(const FileDialogInfo& dialog) {
  PostMessageA(dialog.window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog.window, IDCANCEL)));
  return WaitForWindowGone(dialog.window, 10000);
}

}  // namespace testdriver
