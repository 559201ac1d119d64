#pragma once
// The background's colour bands: 96 horizontal bands from the start colour
// at the top to the end colour at the bottom.
#include <array>
#include <cstdint>

namespace scrubber {

inline constexpr int kBandCount = 96;

struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const Rgb&) const = default;
};

// Start values and end-minus-start differences, as read from the settings
// (any integers; the colours are clamped per band).
struct GradientSettings {
  std::array<std::int32_t, 3> start{0, 0, 255};
  std::array<std::int32_t, 3> delta{0, 0, -255};
};

// Colour of band k (0..95): start + delta * k / 95 per channel, clamped to 0..255.
Rgb BandColour(const GradientSettings& gradient, int band);

// Vertical extent of band k in a client area `height` pixels high: from the
// previous band's bottom (-1 for band 0) to (k + 1) * height / 96.
struct BandSpan {
  int top = 0, bottom = 0;
};
BandSpan BandExtent(int band, int height);

}  // namespace scrubber
