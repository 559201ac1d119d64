#pragma once
// The Remove Shared Component question: Yes, No or No to All.
#include <string>
#include <string_view>

#include "Appearance.h"
#include "Dialog.h"
#include "MsgStrings.h"

namespace scrubber {

class SharedDialog final : public Dialog {
 public:
  SharedDialog(const MsgStrings& strings, Appearance& appearance, const ControlLibrary& controls, bool version4)
      : strings_(strings), appearance_(appearance), controls_(controls), version4_(version4) {}
  // Modal over `owner`; the id of the button that ended it (2 for Escape).
  int Ask(HINSTANCE instance, HWND owner, std::string_view question);

 private:
  INT_PTR OnInitDialog() override;
  bool OnCommand(int id) override;

  const MsgStrings& strings_;
  Appearance& appearance_;
  const ControlLibrary& controls_;
  bool version4_;
  std::string question_;
};

// Places a dialog in the middle of the screen.
void CenterOnScreen(HWND dialog, const Appearance& appearance);

}  // namespace scrubber
