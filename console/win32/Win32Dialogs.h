#pragma once
// Message boxes and the shared open/save dialog, owned by a window.
#include <windows.h>

#include <string>

#include "platform/Dialogs.h"

namespace rosterly {

class Win32MessageBoxes : public MessageBoxes {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  void Show(std::string_view text, std::string_view title, MsgIcon icon) override;

 private:
  HWND owner_ = nullptr;
};

// One dialog for Load and Save: it keeps the last file name between showings,
// as the window's single common dialog does.
class Win32FileDialogs : public FileDialogs {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  Result<std::string> AskOpenName(std::string_view title, std::string_view filter) override;
  Result<std::string> AskSaveName(std::string_view title, std::string_view filter) override;

 private:
  Result<std::string> Ask(bool save, std::string_view title, std::string_view filter);
  HWND owner_ = nullptr;
  std::string lastName_;
};

// "Display|pattern|..." as the dialog wants it: pairs separated by NULs,
// ending with two NULs.
std::string DialogFilter(std::string_view filter);

}  // namespace rosterly
