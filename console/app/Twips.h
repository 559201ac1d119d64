#pragma once
#include <windows.h>

#include "Handles.h"
#include "rosterly_layout.h"

namespace rosterly {

// pixels = twips x DPI / 1440, rounded to the nearest pixel.
inline constexpr int kTwipsPerInch = 1440;
inline int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, kTwipsPerInch); }

struct Dpi {
  int x = 96, y = 96;
  static Dpi OfScreen() {
    Dpi dpi;
    ScopedGetDC screen(nullptr);
    if (screen.get()) {
      dpi.x = GetDeviceCaps(screen.get(), LOGPIXELSX);
      dpi.y = GetDeviceCaps(screen.get(), LOGPIXELSY);
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
