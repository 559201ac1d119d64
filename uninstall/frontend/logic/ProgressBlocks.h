#pragma once
// The wizard's progress bar as blocks: each block is two thirds of the bar's
// inner height wide, with a 3-pixel gap after it; a partly reached block is
// drawn whole, though never past the bar's right edge. A bar less than two
// pixels high has no room for blocks.
#include <cstdint>
#include <vector>

namespace scrubber {

struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const PixelRect&) const = default;
};

// The blocks to fill inside `inner` (the progress rectangle) for `done` of
// `total` items. A total below 1 counts as 1; done is clamped to 0..total.
std::vector<PixelRect> ProgressBlocks(const PixelRect& inner, std::int32_t done, std::int32_t total);

}  // namespace scrubber
