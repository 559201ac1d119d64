#include "Settings.h"

#include <cstdint>
#include <limits>
#include <string>

namespace scrubber {
namespace {

constexpr char kSettings[] = "Settings";
constexpr int kTitleFontText = 71;
constexpr int kCharsetText = 75;

// Digits after optional blanks and a sign; the value saturates instead of
// overflowing, so a settings file cannot make the colours undefined.
std::int32_t ParseLeadingInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > std::numeric_limits<std::int32_t>::max()) {
      value = std::numeric_limits<std::int32_t>::max();
      break;
    }
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace

std::int32_t ReadProfileInt(Profile& profile, std::string_view file, std::string_view section, std::string_view key,
                            std::int32_t fallback) {
  // A marker no settings value can hold tells a missing entry from an empty one.
  static constexpr char kMissing[] = "\x7f";
  const std::string text = profile.ReadString(file, section, key, kMissing, 32);
  if (text == kMissing) return fallback;
  return ParseLeadingInt(text);
}

AppearanceSettings ReadAppearanceSettings(Profile& profile, std::string_view settingsFile, const MsgStrings& strings) {
  AppearanceSettings s;
  static constexpr const char* kStart[3] = {"Start Red", "Start Green", "Start Blue"};
  static constexpr const char* kEnd[3] = {"End Red", "End Green", "End Blue"};
  static constexpr std::int32_t kStartDefault[3] = {0, 0, 255};
  for (int c = 0; c < 3; ++c) {
    const std::int64_t start = ReadProfileInt(profile, settingsFile, kSettings, kStart[c], kStartDefault[c]);
    const std::int64_t end = ReadProfileInt(profile, settingsFile, kSettings, kEnd[c], 0);
    s.gradient.start[c] = static_cast<std::int32_t>(start);
    // Kept within 32 bits: the bands clamp anyway.
    const std::int64_t delta = end - start;
    s.gradient.delta[c] = static_cast<std::int32_t>(
        delta > std::numeric_limits<std::int32_t>::max()   ? std::numeric_limits<std::int32_t>::max()
        : delta < std::numeric_limits<std::int32_t>::min() ? std::numeric_limits<std::int32_t>::min()
                                                           : delta);
  }
  s.noBackground = ReadProfileInt(profile, settingsFile, kSettings, "No Background", 0);
  const std::string defaultFace = strings.Get(kTitleFontText, 256);
  const std::string defaultCharset = strings.Get(kCharsetText, 10);
  s.titleFace = profile.ReadString(settingsFile, kSettings, "TitleFont", defaultFace, 256);
  const std::int32_t charset =
      ReadProfileInt(profile, settingsFile, kSettings, "Font Character Set", ParseLeadingInt(defaultCharset));
  s.charset = static_cast<std::uint8_t>(charset & 0xFF);
  return s;
}

}  // namespace scrubber
