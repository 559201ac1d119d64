#include "ProgressBlocks.h"

#include <algorithm>

namespace scrubber {
namespace {

constexpr int kGap = 3;  // pixels left free after each block

}  // namespace

std::vector<PixelRect> ProgressBlocks(const PixelRect& inner, std::int32_t done, std::int32_t total) {
  std::vector<PixelRect> blocks;
  total = std::max(total, 1);
  done = std::clamp(done, 0, total);
  const std::int64_t width = static_cast<std::int64_t>(inner.right) - inner.left;
  const std::int64_t step = (static_cast<std::int64_t>(inner.bottom) - inner.top) * 2 / 3;
  if (step <= 0 || width <= 0) return blocks;  // a bar too small to hold a block
  const std::int64_t filled = width * done / total;
  for (std::int64_t drawn = 0; drawn < filled; drawn += step) {
    const std::int64_t left = inner.left + drawn;
    // The last block is drawn whole but never past the bar's right edge.
    const std::int64_t right = std::min<std::int64_t>(left + step - kGap, inner.right);
    blocks.push_back(PixelRect{static_cast<int>(left), inner.top + 1, static_cast<int>(right), inner.bottom - 1});
  }
  return blocks;
}

}  // namespace scrubber
