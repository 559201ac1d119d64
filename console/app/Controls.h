#pragma once
// Small helpers shared by the console's windows: the forms' font, child
// controls at twips positions, window texts and centred frames.
#include <windows.h>

#include <string>

#include "Twips.h"

namespace rosterly {

extern const char kFormFontFace[];
// The forms' font (8 point unless told), sized to keep the forms' captions
// inside their controls whatever face the system substitutes.
HFONT CreateFormFont(int dpiY, bool underline = false, int points = 8, bool bold = false);

HWND AddControl(HWND parent, const char* className, const std::string& text, DWORD style, int id, RECT rect,
                HFONT font, DWORD exStyle = 0);

// A label whose size follows its text (only the corner is laid out).
HWND AddAutoSizeLabel(HWND parent, const std::string& text, int id, POINT corner, HFONT font);

// A one-line label at its laid-out place, widened when the display's font
// draws the text wider than the layout allowed for (so it is never cut).
HWND AddLineLabel(HWND parent, const std::string& text, int id, RECT rect, HFONT font);

std::string WindowText(HWND window);

// The frame for a client area of that size (twips), centred on the screen.
RECT CentredFrame(const Dpi& dpi, int clientWidthTwips, int clientHeightTwips, DWORD style, DWORD exStyle,
                  bool hasMenu);

}  // namespace rosterly
