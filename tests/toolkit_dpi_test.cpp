// The one set of functions that scales the forms' 96-dpi layout, at the
// scales Windows offers most: 100, 125, 150 and 200 %.
#include <gtest/gtest.h>

#include "toolkit/dpi.h"

namespace tessavo::tk {
namespace {

struct ScaleCase {
  int dpi;
  int three, eleven, hundred, minusThree;  // ScaleToDpi of 3, 11, 100, -3
  int fonts[4];                            // font heights 11, 13, 19, 21
  int roomy, tight;  // a 16-pixel picture's multiple with room to spare, in its own place
};

class DpiTest : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(DpiTest, ValuesRoundAsMulDivAndFontsGoThroughWholePoints) {
  const ScaleCase& c = GetParam();
  EXPECT_EQ(ScaleToDpi(3, c.dpi), c.three);
  EXPECT_EQ(ScaleToDpi(11, c.dpi), c.eleven);
  EXPECT_EQ(ScaleToDpi(100, c.dpi), c.hundred);
  EXPECT_EQ(ScaleToDpi(-3, c.dpi), c.minusThree);
  const int heights[4] = {11, 13, 19, 21};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(ScaleFontHeight(heights[i], c.dpi), c.fonts[i]) << i;
  EXPECT_EQ(PictureMultiple(c.dpi, 16, 100), c.roomy);
  EXPECT_EQ(PictureMultiple(c.dpi, 16, ScaleToDpi(16, c.dpi)), c.tight);
}

TEST_P(DpiTest, NeighboursStillMeetAndMeasuredSizesFit) {
  const int dpi = GetParam().dpi;
  // A row of controls edge to edge, of every width up to 12.
  int left = 5;
  for (int width = 1; width <= 12; ++width) {
    const Rect a = ScaleToDpi(Rect{left, 3, width, 7}, dpi);
    const Rect b = ScaleToDpi(Rect{left + width, 10, 4, 2}, dpi);
    EXPECT_EQ(a.left + a.width, b.left) << width;
    EXPECT_EQ(a.top + a.height, b.top) << width;  // and b below a's bottom edge
    left += width;
  }
  for (int x = 0; x < 400; ++x) {
    // The described point under a screen pixel holds that pixel.
    const int v = UnscaleFromDpi(x, dpi);
    EXPECT_LE(ScaleToDpi(v, dpi), x);
    EXPECT_GT(ScaleToDpi(v + 1, dpi), x);
  }
  for (int at = 0; at < 30; ++at) {
    for (int pixels = 1; pixels < 60; ++pixels) {
      // The smallest described extent whose scaled size holds the pixels.
      const int w = UnscaleExtent(at, pixels, dpi);
      EXPECT_GE(ScaleToDpi(at + w, dpi) - ScaleToDpi(at, dpi), pixels) << at << ' ' << pixels;
      EXPECT_LT(ScaleToDpi(at + w - 1, dpi) - ScaleToDpi(at, dpi), pixels) << at << ' ' << pixels;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Scales, DpiTest,
    ::testing::Values(ScaleCase{96, 3, 11, 100, -3, {11, 13, 19, 21}, 1, 1},
                      ScaleCase{120, 4, 14, 125, -4, {13, 17, 23, 27}, 1, 1},
                      ScaleCase{144, 5, 17, 150, -5, {16, 20, 28, 32}, 2, 1},
                      ScaleCase{192, 6, 22, 200, -6, {21, 27, 37, 43}, 2, 2}),
    [](const auto& info) { return std::to_string(info.param.dpi); });

}  // namespace
}  // namespace tessavo::tk
