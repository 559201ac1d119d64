#pragma once
// Layouts of the console's forms in twips (1/1440 inch); the windows convert
// them with the display's DPI.

struct TwipsRect {
  int left, top, width, height;
};

namespace domain_form {
inline constexpr int kClientWidth = 4230;
inline constexpr int kClientHeight = 2460;
inline constexpr TwipsRect kLabel3{240, 240, 3825, 615};
inline constexpr TwipsRect kLabel1{240, 960, 1635, 255};
inline constexpr TwipsRect kCombo1{240, 1230, 3765, 315};
inline constexpr TwipsRect kCommand1{240, 1800, 1875, 375};
inline constexpr TwipsRect kCommand2{2160, 1800, 1845, 375};
}  // namespace domain_form
