#pragma once
// Modal questions and notices the console shows: message boxes and the common
// open and save dialogs.
#include <string>
#include <string_view>

#include "Status.h"

namespace rosterly {

enum class MsgIcon { None, Information, Exclamation };

// A message box with a single OK button.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual void Show(std::string_view text, std::string_view title, MsgIcon icon) = 0;
};

// The file dialog shared by Load and Save. `filter` uses the "Display|pattern"
// form. Returns the name the user confirmed in this showing, empty when the
// user cancelled; a dialog that failed (a chosen name longer than a path may
// be, say) is a failure, never a cancel.
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  virtual Result<std::string> AskOpenName(std::string_view title, std::string_view filter) = 0;
  virtual Result<std::string> AskSaveName(std::string_view title, std::string_view filter) = 0;
};

}  // namespace rosterly
