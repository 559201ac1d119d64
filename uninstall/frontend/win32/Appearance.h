#pragma once
// The program's look: the title and dialog fonts, the background palette and
// gradient, and the set-up every dialog runs when it is created.
#include <windows.h>

#include "ControlLibrary.h"
#include "Handles.h"
#include "Shell.h"

namespace scrubber {

class Appearance {
 public:
  // Fonts, screen size and the 96-colour palette (on displays of 8 bits
  // or more), from the settings read at start-up.
  void Init(const AppearanceSettings& settings);
  void DeleteFonts();
  void DeletePalette();

  // Widens the dialog and all its controls by one sixth, styles it with the
  // control library on version 4 systems and gives every control the light
  // dialog font.
  void PrepareDialog(HWND dialog, const ControlLibrary& controls, bool version4OrLater);

  // The main window's background: 96 bands of the gradient.
  void PaintBackground(HWND window);
  // Realises the palette for the window; the number of entries that changed.
  LRESULT RealizePaletteFor(HWND window);

  HFONT titleFont() const { return titleFont_.get(); }
  int screenWidth() const { return screenWidth_; }
  int screenHeight() const { return screenHeight_; }

 private:
  void CreateDialogFont(HWND dialog);

  AppearanceSettings settings_;
  win32::AutoDeleteFont titleFont_;
  win32::AutoDeleteFont dialogFont_;
  win32::AutoDeletePalette palette_;
  int screenWidth_ = 0;
  int screenHeight_ = 0;
};

}  // namespace scrubber
