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

namespace main_form {
inline constexpr int kClientWidth = 10950;
inline constexpr int kClientHeight = 8475;
inline constexpr TwipsRect kLabel5{390, 120, 10155, 585};
// Labels sized to their text: only the corner is fixed.
inline constexpr TwipsRect kLabel1{390, 810, 0, 0};
inline constexpr TwipsRect kLabel2{5250, 810, 0, 0};
inline constexpr TwipsRect kLstComps{390, 1020, 4605, 2010};
inline constexpr TwipsRect kLstGroups{5220, 1020, 5355, 2010};
inline constexpr TwipsRect kLabel3{390, 3120, 0, 0};
inline constexpr TwipsRect kTxtLocalGroup{360, 3360, 2925, 315};
inline constexpr TwipsRect kLabel4{3360, 3420, 5265, 255};
inline constexpr TwipsRect kFrame{360, 3750, 8475, 915};
// Option buttons, relative to the frame.
inline constexpr TwipsRect kOptGroups[3] = {{180, 360, 2775, 285}, {2850, 360, 2445, 285}, {5340, 360, 3045, 285}};
inline constexpr TwipsRect kCommand1{8940, 3840, 1695, 825};
inline constexpr TwipsRect kLvGroups{360, 4770, 10245, 3225};
inline constexpr TwipsRect kSbar{0, 8220, 10950, 255};
// "Computer", "Group Name", "Member", "Action".
inline constexpr int kColumnWidths[4] = {1840, 2540, 4441, 1100};
}  // namespace main_form

namespace about_form {
inline constexpr int kClientWidth = 5730;
inline constexpr int kClientHeight = 3555;
inline constexpr TwipsRect kPicIcon{240, 240, 480, 480};
inline constexpr TwipsRect kLblTitle{1050, 240, 3885, 480};
inline constexpr TwipsRect kLblVersion{1050, 780, 3885, 225};
inline constexpr TwipsRect kLblDescription{1050, 1125, 3885, 1170};
// The sunken rule between the description and the disclaimer.
inline constexpr TwipsRect kLine1{84, 2430, 5309, 30};
inline constexpr TwipsRect kLblDisclaimer{135, 2595, 3990, 465};
inline constexpr TwipsRect kLabel1{150, 3120, 3975, 315};
inline constexpr TwipsRect kCmdOK{4245, 2625, 1260, 345};
inline constexpr TwipsRect kCmdSysInfo{4260, 3075, 1245, 345};
}  // namespace about_form
