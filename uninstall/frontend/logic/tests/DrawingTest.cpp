// The background's bands and the progress bar's blocks.
#include <gtest/gtest.h>

#include <limits>

#include "Gradient.h"
#include "ProgressBlocks.h"

namespace scrubber {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(GradientTest, BandColoursRunFromStartToEndClampedPerChannel) {
  const GradientSettings blueToBlack;
  EXPECT_EQ(BandColour(blueToBlack, 0), (Rgb{0, 0, 255}));
  EXPECT_EQ(BandColour(blueToBlack, 47), (Rgb{0, 0, 129}));
  EXPECT_EQ(BandColour(blueToBlack, 95), (Rgb{0, 0, 0}));

  const GradientSettings fromBelowZero{{-100, 0, 300}, {355, 0, 0}};
  EXPECT_EQ(BandColour(fromBelowZero, 27), (Rgb{0, 0, 255}));
  EXPECT_EQ(BandColour(fromBelowZero, 28), (Rgb{4, 0, 255}));
  EXPECT_EQ(BandColour(fromBelowZero, 95), (Rgb{255, 0, 255}));

  const GradientSettings extreme{{kMax, kMin, kMin}, {kMax, kMax, kMin}};
  EXPECT_EQ(BandColour(extreme, 95), (Rgb{255, 0, 0})) << "no overflow";
}

TEST(GradientTest, BandsCoverTheWholeHeightInOrder) {
  for (int height : {0, 1, 50, 95, 96, 97, 1080}) {
    SCOPED_TRACE(height);
    EXPECT_EQ(BandExtent(0, height).top, -1);
    for (int k = 1; k < kBandCount; ++k) {
      EXPECT_EQ(BandExtent(k, height).top, BandExtent(k - 1, height).bottom);
      EXPECT_GE(BandExtent(k, height).bottom, BandExtent(k, height).top);
    }
    EXPECT_EQ(BandExtent(kBandCount - 1, height).bottom, height);
  }
  EXPECT_EQ(BandExtent(2, 50).bottom - BandExtent(2, 50).top, 0) << "a low window has empty bands";
  EXPECT_EQ(BandExtent(95, 960).top, 950);
}

TEST(ProgressBlocksTest, BlocksCoverTheDoneShareRoundedUp) {
  const PixelRect inner{10, 20, 110, 32};  // 100 wide, steps of 8
  EXPECT_EQ(ProgressBlocks(inner, 1, 100).size(), 1u);
  EXPECT_EQ(ProgressBlocks(inner, 1, 3).size(), 5u);  // 33 pixels
  EXPECT_EQ(ProgressBlocks(inner, 2, 4).size(), 7u);  // 50 pixels
  EXPECT_TRUE(ProgressBlocks(inner, 0, 4).empty());

  const std::vector<PixelRect> full = ProgressBlocks(inner, 4, 4);
  ASSERT_EQ(full.size(), 13u);
  EXPECT_EQ(full.front(), (PixelRect{10, 21, 15, 31}));
  EXPECT_EQ(full[1].left, 18);
  EXPECT_EQ(full.back(), (PixelRect{106, 21, 110, 31})) << "the last block ends at the bar's edge";
}

TEST(ProgressBlocksTest, OddCountsAndSizesStayBounded) {
  const PixelRect inner{0, 0, 1000, 24};  // steps of 16
  EXPECT_EQ(ProgressBlocks(inner, kMax - 1, kMax).size(), 63u) << "999 pixels, no overflow";
  EXPECT_EQ(ProgressBlocks(inner, 5, 0).size(), 63u) << "a total below 1 counts as 1, done is clamped";
  EXPECT_TRUE(ProgressBlocks(inner, -5, 10).empty());
  EXPECT_TRUE(ProgressBlocks({0, 0, 1000, 1}, 1, 1).empty()) << "a step of 0 draws nothing";
  EXPECT_TRUE(ProgressBlocks({0, 10, 1000, 0}, 1, 1).empty());
  EXPECT_TRUE(ProgressBlocks({500, 0, 0, 30}, 1, 1).empty());
}

}  // namespace
}  // namespace scrubber
