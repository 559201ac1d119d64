#pragma once
#include <windows.h>

#include "rosterly_layout.h"

namespace rosterly {

// pixels = twips x DPI / 1440, rounded to the nearest pixel.
inline int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

struct Dpi {
  int x = 96, y = 96;
  static Dpi OfScreen() {
    Dpi dpi;
    if (HDC screen = GetDC(nullptr)) {
      dpi.x = GetDeviceCaps(screen, LOGPIXELSX);
      dpi.y = GetDeviceCaps(screen, LOGPIXELSY);
      ReleaseDC(nullptr, screen);
    }
    return dpi;
  }
  RECT ToPixels(const TwipsRect& r) const {
    RECT px{TwipsToPixels(r.left, x), TwipsToPixels(r.top, y), 0, 0};
    px.right = px.left + TwipsToPixels(r.width, x);
    px.bottom = px.top + TwipsToPixels(r.height, y);
    return px;
  }
};

}  // namespace rosterly
