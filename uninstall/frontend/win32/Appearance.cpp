#include "Appearance.h"

#include <cstring>
#include <vector>

#include "Gradient.h"

namespace scrubber {
namespace {

constexpr int kTitlePoints = 16;
constexpr LONG kLightWeight = FW_LIGHT;
static_assert(FW_LIGHT == 300 && FW_BOLD == 700);
static_assert((FF_ROMAN | DEFAULT_PITCH) == 16);
constexpr WORD kPaletteVersion = 0x300;
// Ctl3dSubclassDlgEx flags: combo boxes, static texts and static frames.
constexpr DWORD kDialogStyling = 0x38;

// left += left / 6, right += right / 6: the template's width becomes 7/6.
void Widen(RECT& r) {
  r.left += r.left / 6;
  r.right += r.right / 6;
}

COLORREF BandRgb(const AppearanceSettings& s, int band) {
  const Rgb c = BandColour(s.gradient, band);
  return RGB(c.red, c.green, c.blue);
}

BOOL CALLBACK PrepareChild(HWND child, LPARAM fontParam) {
  HWND parent = GetParent(child);
  RECT r;
  if (GetWindowRect(child, &r)) {
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    const int height = r.bottom - r.top;
    Widen(r);
    MoveWindow(child, r.left, r.top, r.right - r.left, height, FALSE);
  }
  SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(fontParam), FALSE);
  return TRUE;
}

}  // namespace

void Appearance::Init(const AppearanceSettings& settings) {
  settings_ = settings;
  win32::ScopedGetDC screen(nullptr);  // the main window does not exist yet
  HDC dc = screen.get();
  LOGFONTA lf{};
  lf.lfHeight = -MulDiv(kTitlePoints, GetDeviceCaps(dc, LOGPIXELSY), 72);
  lf.lfWeight = FW_BOLD;
  lf.lfItalic = TRUE;
  lf.lfCharSet = settings.charset;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = FF_ROMAN | DEFAULT_PITCH;
  lstrcpynA(lf.lfFaceName, settings.titleFace.c_str(), LF_FACESIZE);
  titleFont_.Reset(CreateFontIndirectA(&lf));

  screenWidth_ = GetDeviceCaps(dc, HORZRES);
  screenHeight_ = GetDeviceCaps(dc, VERTRES);
  const short depth = static_cast<short>(GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES));
  if (depth < 8) return;
  std::vector<char> storage(sizeof(LOGPALETTE) + (kBandCount - 1) * sizeof(PALETTEENTRY));
  auto* palette = reinterpret_cast<LOGPALETTE*>(storage.data());
  palette->palVersion = kPaletteVersion;
  palette->palNumEntries = kBandCount;
  for (int k = 0; k < kBandCount; ++k) {
    const Rgb c = BandColour(settings.gradient, k);
    palette->palPalEntry[k] = PALETTEENTRY{c.red, c.green, c.blue, 0};
  }
  palette_.Reset(CreatePalette(palette));
  if (palette_.valid()) {
    HPALETTE previous = SelectPalette(dc, palette_.get(), FALSE);
    RealizePalette(dc);
    SelectPalette(dc, previous, FALSE);
  }
}

void Appearance::DeleteFonts() {
  titleFont_.Reset();
  dialogFont_.Reset();
}

void Appearance::DeletePalette() { palette_.Reset(); }

void Appearance::CreateDialogFont(HWND dialog) {
  HFONT own = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
  if (!own) return;
  LOGFONTA lf{};
  if (GetObjectA(own, sizeof(lf), &lf) == 0) return;
  lf.lfWeight = kLightWeight;
  lf.lfCharSet = settings_.charset;
  dialogFont_.Reset(CreateFontIndirectA(&lf));
}

void Appearance::PrepareDialog(HWND dialog, const ControlLibrary& controls, bool version4OrLater) {
  RECT r;
  if (GetWindowRect(dialog, &r)) {
    const int height = r.bottom - r.top;
    Widen(r);
    MoveWindow(dialog, r.left, r.top, r.right - r.left, height, FALSE);
  }
  if (version4OrLater) (void)controls.SubclassDialog(dialog, kDialogStyling);
  if (!dialogFont_.valid()) CreateDialogFont(dialog);
  if (dialogFont_.valid()) {
    EnumChildWindows(dialog, PrepareChild, reinterpret_cast<LPARAM>(dialogFont_.get()));
  }
}

void Appearance::PaintBackground(HWND window) {
  win32::ScopedPaint paint(window);
  HDC dc = paint.get();
  RECT client;
  GetClientRect(window, &client);
  HPALETTE previous = nullptr;
  if (palette_.valid()) {
    previous = SelectPalette(dc, palette_.get(), FALSE);
    RealizePalette(dc);
  }
  const int height = client.bottom - client.top;
  for (int k = 0; k < kBandCount; ++k) {
    const BandSpan span = BandExtent(k, height);
    const COLORREF colour = palette_.valid() ? PALETTEINDEX(k) : BandRgb(settings_, k);
    win32::AutoDeleteBrush brush(CreateSolidBrush(colour));
    win32::ScopedSelect select(dc, brush.get());
    PatBlt(dc, client.left, span.top, client.right - client.left, span.bottom - span.top, PATCOPY);
  }
  if (previous) SelectPalette(dc, previous, FALSE);
}

LRESULT Appearance::RealizePaletteFor(HWND window) {
  if (!palette_.valid()) return 0;
  win32::ScopedGetDC dc(window);
  HPALETTE previous = SelectPalette(dc.get(), palette_.get(), FALSE);
  const UINT changed = RealizePalette(dc.get());
  if (changed) InvalidateRect(window, nullptr, TRUE);
  SelectPalette(dc.get(), previous, TRUE);
  RealizePalette(dc.get());
  return changed;
}

}  // namespace scrubber
