#include "Gradient.h"

#include <algorithm>

namespace scrubber {
namespace {

constexpr std::int64_t kLastBand = kBandCount - 1;
constexpr std::int64_t kChannelMax = 255;

std::uint8_t Channel(std::int32_t start, std::int32_t delta, int band) {
  // 64 bits: the settings file may hold any 32-bit values.
  const std::int64_t value = start + static_cast<std::int64_t>(delta) * band / kLastBand;
  return static_cast<std::uint8_t>(std::clamp<std::int64_t>(value, 0, kChannelMax));
}

}  // namespace

Rgb BandColour(const GradientSettings& gradient, int band) {
  band = std::clamp(band, 0, kBandCount - 1);
  return Rgb{Channel(gradient.start[0], gradient.delta[0], band), Channel(gradient.start[1], gradient.delta[1], band),
             Channel(gradient.start[2], gradient.delta[2], band)};
}

BandSpan BandExtent(int band, int height) {
  band = std::clamp(band, 0, kBandCount - 1);
  height = std::max(height, 0);
  const auto bottomOf = [height](int k) {
    return static_cast<int>(static_cast<std::int64_t>(k + 1) * height / kBandCount);
  };
  return BandSpan{band == 0 ? -1 : bottomOf(band - 1), bottomOf(band)};
}

}  // namespace scrubber
