#include "Controls.h"

#include <string_view>

#include "Handles.h"

namespace rosterly {

const char kFormFontFace[] = "MS Sans Serif";

namespace {

// The forms were drawn for 8-point MS Sans Serif, in which this caption is
// about 150 pixels wide at 96 DPI. A system that substitutes a wider face
// (Wine without the Windows fonts picks DejaVu Sans) gets the face a little
// smaller, so that the captions stay inside their laid-out controls.
constexpr char kReferenceCaption[] = "List Local Groups and Members";
constexpr int kReferenceWidthAt96 = 150;

// The size of a text in that font, measured on the window's device context
// (the screen's without a window).
SIZE TextSize(HWND window, std::string_view text, HFONT font) {
  SIZE size{0, 0};
  ScopedGetDC dc(window);
  if (!dc.get()) return size;
  ScopedSelect selected(dc.get(), font);
  GetTextExtentPoint32A(dc.get(), text.data(), static_cast<int>(text.size()), &size);
  return size;
}

HFONT MakeFont(int height, int weight, bool underline) {
  return CreateFontA(-height, 0, 0, 0, weight, FALSE, underline, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, kFormFontFace);
}

}  // namespace

HFONT CreateFormFont(int dpiY, bool underline, int points, bool bold) {
  const int nominal = MulDiv(points, dpiY, 72);
  const int limit = MulDiv(kReferenceWidthAt96, dpiY, 96);
  int height = nominal;
  for (; height > nominal * 3 / 4; --height) {
    const AutoDeleteFont probe(MakeFont(MulDiv(height, 8, points), FW_NORMAL, false));
    if (TextSize(nullptr, kReferenceCaption, probe.get()).cx <= limit) break;
  }
  return MakeFont(height, bold ? FW_BOLD : FW_NORMAL, underline);
}

HWND AddControl(HWND parent, const char* className, const std::string& text, DWORD style, int id, RECT rect,
                HFONT font, DWORD exStyle) {
  HWND control = CreateWindowExA(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, rect.left,
                                 rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr);
  if (control && font) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

HWND AddLineLabel(HWND parent, const std::string& text, int id, RECT rect, HFONT font) {
  const SIZE size = TextSize(parent, text, font);
  if (rect.right - rect.left < size.cx) rect.right = rect.left + size.cx;
  return AddControl(parent, "STATIC", text, SS_LEFTNOWORDWRAP, id, rect, font);
}

HWND AddAutoSizeLabel(HWND parent, const std::string& text, int id, POINT corner, HFONT font) {
  const SIZE size = TextSize(parent, text, font);
  RECT rect{corner.x, corner.y, corner.x + size.cx, corner.y + size.cy};
  return AddControl(parent, "STATIC", text, SS_LEFTNOWORDWRAP, id, rect, font);
}

std::string WindowText(HWND window) {
  int length = GetWindowTextLengthA(window);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), length + 1)));
  return text;
}

RECT CentredFrame(const Dpi& dpi, int clientWidthTwips, int clientHeightTwips, DWORD style, DWORD exStyle,
                  bool hasMenu) {
  RECT frame{0, 0, TwipsToPixels(clientWidthTwips, dpi.x), TwipsToPixels(clientHeightTwips, dpi.y)};
  AdjustWindowRectEx(&frame, style, hasMenu, exStyle);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  return RECT{x, y, x + width, y + height};
}

}  // namespace rosterly
