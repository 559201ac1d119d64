#pragma once
// The Domain Selection dialog (frmdomainlogin): offers the domains of the
// WinNT namespace and stores the chosen name in DomainName.
#include <string>
#include <vector>

#include "Globals.h"
#include "platform/Dialogs.h"
#include "platform/Directory.h"

namespace rosterly {

class DomainSelection {
 public:
  enum class Outcome {
    Stay,            // the dialog stays open
    OpenMainWindow,  // DomainName is set: show Form1, close this dialog
    EndProcess,      // closed without a choice
  };

  DomainSelection(Globals& globals, Directory& directory, MessageBoxes& messages)
      : globals_(globals), directory_(directory), messages_(messages) {}

  // Fills Combo1's list in the provider's order; failures end the fill quietly.
  void Load();
  const std::vector<std::string>& ComboList() const { return list_; }

  // Combo1's text field, typed or picked; the window keeps it current.
  std::string Combo1Text;

  Outcome Ok();                   // Command1
  Outcome KeyDown(int keyCode);   // in Combo1: Enter (13) runs OK
  Outcome Cancel();               // Command2 or the close box

 private:
  Globals& globals_;
  Directory& directory_;
  MessageBoxes& messages_;
  std::vector<std::string> list_;
};

}  // namespace rosterly
