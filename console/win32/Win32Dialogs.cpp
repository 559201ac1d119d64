#include "Win32Dialogs.h"

#include <commdlg.h>

#include <cstring>

#include "MapError.h"

namespace rosterly {

void Win32MessageBoxes::Show(std::string_view text, std::string_view title, MsgIcon icon) {
  UINT style = MB_OK;
  if (icon == MsgIcon::Information) style |= MB_ICONINFORMATION;
  if (icon == MsgIcon::Exclamation) style |= MB_ICONEXCLAMATION;
  const std::string textZ(text), titleZ(title);
  // A destroyed owner would make the box ownerless and let it fall behind.
  MessageBoxA(IsWindow(owner_) ? owner_ : nullptr, textZ.c_str(), titleZ.c_str(), style);
}

std::string DialogFilter(std::string_view filter) {
  std::string result(filter);
  for (char& c : result)
    if (c == '|') c = '\0';
  result.append(2, '\0');
  return result;
}

Result<std::string> Win32FileDialogs::AskOpenName(std::string_view title, std::string_view filter) {
  return Ask(false, title, filter);
}

Result<std::string> Win32FileDialogs::AskSaveName(std::string_view title, std::string_view filter) {
  return Ask(true, title, filter);
}

Result<std::string> Win32FileDialogs::Ask(bool save, std::string_view title, std::string_view filter) {
  char name[MAX_PATH] = {};
  std::strncpy(name, lastName_.c_str(), sizeof name - 1);
  const std::string filterZ = DialogFilter(filter), titleZ(title);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = IsWindow(owner_) ? owner_ : nullptr;
  ofn.lpstrFilter = filterZ.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = name;
  ofn.nMaxFile = sizeof name;
  ofn.lpstrTitle = titleZ.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR |
              (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  const BOOL confirmed = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
  if (!confirmed) {
    // Cancelled: an old name never counts. A name too long for the buffer
    // is no cancel, though.
    const DWORD error = CommDlgExtendedError();
    if (error == 0) return std::string();
    return StatusFromDialogError(error);
  }
  lastName_ = name;
  return lastName_;
}

}  // namespace rosterly
