// Composition of the frames: each disposal with and without transparency,
// computed by hand, and what painting makes of the composed picture.
#include <gtest/gtest.h>

#include "tests/gif_image_support.h"

namespace tessavo::gifanim::testing {
namespace {

// Frame 1 covers the 4 by 2 picture, frame 2 (the disposal under test) the
// middle two columns, frame 3 the right half of the bottom row.
struct Case {
  int disposal;
  const char* afterThird;      // Composite after frame 3
  const char* maskAfterThird;  // CompositeMask after frame 3 (transparent case)
  const char* paintedAfterThird;
};

class TransparentDisposal : public PictureTest, public ::testing::WithParamInterface<Case> {};

// Index 0 is transparent in frames 1 and 2; frame 3 is opaque.
Bytes TransparentFrames(int disposal) {
  return MakeGif(4, 2,
                 {{.at = {0, 0, 4, 2}, .pixels = "11001100", .disposal = 1, .transparentIndex = 0},
                  {.at = {1, 0, 2, 2}, .pixels = "2002", .disposal = disposal, .transparentIndex = 0},
                  {.at = {2, 1, 2, 1}, .pixels = "33"}});
}

TEST_P(TransparentDisposal, ComposesAsDrawnByHand) {
  const Case& c = GetParam();
  Play(TransparentFrames(c.disposal));
  EXPECT_EQ(Picture(image_.Composite()), "11../11../");
  ASSERT_NE(image_.CompositeMask(), nullptr);
  EXPECT_EQ(Picture(*image_.CompositeMask()), "..WW/..WW/");

  image_.TimerTick();  // frame 2 over frame 1 (disposal 1 keeps it)
  EXPECT_EQ(Picture(image_.Composite()), "12../112./");
  EXPECT_EQ(Picture(*image_.CompositeMask()), "..WW/...W/");

  image_.TimerTick();  // frame 2 undone by its disposal, frame 3 drawn
  EXPECT_EQ(Picture(image_.Composite()), c.afterThird);
  EXPECT_EQ(Picture(*image_.CompositeMask()), c.maskAfterThird);
  // AND with the mask, then XOR: the background shows where transparent.
  EXPECT_EQ(Painted(), c.paintedAfterThird);
}

INSTANTIATE_TEST_SUITE_P(Disposals, TransparentDisposal,
                         ::testing::Values(Case{0, "12../1133/", "..WW/..../", "12BB/1133/"},
                                           Case{1, "12../1133/", "..WW/..../", "12BB/1133/"},
                                           Case{2, "1.../1.33/", ".WWW/.W../", "1BBB/1B33/"},
                                           Case{3, "11../1133/", "..WW/..../", "11BB/1133/"}));

class OpaqueDisposal : public PictureTest, public ::testing::WithParamInterface<std::pair<int, const char*>> {};

TEST_P(OpaqueDisposal, ComposesWithoutAMask) {
  const auto [disposal, afterThird] = GetParam();
  Play(MakeGif(4, 2,
               {{.at = {0, 0, 4, 2}, .pixels = "11221122", .disposal = 1},
                {.at = {1, 0, 2, 2}, .pixels = "3333", .disposal = disposal},
                {.at = {2, 1, 2, 1}, .pixels = "00"}}));
  EXPECT_EQ(image_.CompositeMask(), nullptr);
  image_.TimerTick();
  EXPECT_EQ(Picture(image_.Composite()), "1332/1332/");
  image_.TimerTick();
  EXPECT_EQ(Picture(image_.Composite()), afterThird);
  EXPECT_EQ(Painted(), afterThird);  // a plain copy covers the background
  EXPECT_TRUE(image_.DeclaredOpaque());
}

INSTANTIATE_TEST_SUITE_P(Disposals, OpaqueDisposal,
                         ::testing::Values(std::pair{0, "1332/1300/"}, std::pair{1, "1332/1300/"},
                                           std::pair{2, "1..2/1.00/"}, std::pair{3, "1122/1100/"}));

using Composition = PictureTest;

// Frame 1 is opaque, but frame 2 is transparent: once frame 1 is disposed
// to the background, that background must show, not black.
TEST_F(Composition, AnOpaqueFirstFrameDisposedLetsTheBackgroundThrough) {
  Play(MakeGif(4, 2,
               {{.at = {0, 0, 4, 2}, .pixels = "11111111", .disposal = 2},
                {.at = {0, 0, 2, 2}, .pixels = "2020", .transparentIndex = 0}}));
  EXPECT_EQ(Painted(), "1111/1111/");
  EXPECT_FALSE(image_.DeclaredOpaque());
  image_.TimerTick();
  EXPECT_EQ(Painted(), "2BBB/2BBB/");
}

// Choosing a frame while the animation plays undoes the frame on screen
// (frame 2, disposed to the background), not the one the next tick would
// have drawn: frame 1's transparent half then shows the background.
TEST_F(Composition, ChoosingAFrameUndoesTheFrameOnScreen) {
  Play(MakeGif(4, 2,
               {{.at = {0, 0, 4, 2}, .pixels = "11001100", .disposal = 1, .transparentIndex = 0},
                {.at = {0, 0, 4, 2}, .pixels = "22222222", .disposal = 2},
                {.at = {0, 0, 4, 2}, .pixels = "33333333", .disposal = 1}},
               0));
  image_.TimerTick();
  EXPECT_EQ(Picture(image_.Composite()), "2222/2222/");
  EXPECT_EQ(image_.CurrentFrame(), 3);
  image_.SetCurrentFrame(1);
  EXPECT_EQ(Picture(image_.Composite()), "11../11../");
  EXPECT_EQ(image_.StatusCode(), 0);
}

// A frame that restores what was under it gets back the area as it was
// when the frame was drawn.
TEST_F(Composition, RestoringTakesTheAreaFromWhenTheFrameWasDrawn) {
  Play(MakeGif(4, 2,
               {{.at = {0, 0, 4, 2}, .pixels = "11111111", .disposal = 1},
                {.at = {0, 0, 2, 2}, .pixels = "2222", .disposal = 3},
                {.at = {2, 0, 2, 2}, .pixels = "3333", .disposal = 1}},
               0));
  image_.TimerTick();
  EXPECT_EQ(Picture(image_.Composite()), "2211/2211/");
  image_.TimerTick();
  EXPECT_EQ(Picture(image_.Composite()), "1133/1133/");
  image_.TimerTick();  // wraps to frame 1
  image_.SetCurrentFrame(2);
  image_.SetCurrentFrame(3);
  EXPECT_EQ(Picture(image_.Composite()), "1133/1133/");
}

// Frames outside the screen and a screen smaller than its frames: the
// picture grows to cover them and nothing is drawn outside.
TEST_F(Composition, FramesBeyondTheScreenWidenThePicture) {
  Play(MakeGif(2, 1, {{.at = {0, 0, 2, 1}, .pixels = "11"}, {.at = {3, 1, 1, 1}, .pixels = "2"}}));
  EXPECT_EQ(image_.Composite().Width(), 4);
  EXPECT_EQ(image_.Composite().Height(), 2);
  image_.TimerTick();
  EXPECT_EQ(Picture(image_.Composite()), "11../...2/");
}

TEST(RasterOps, StretchTakesTheNearestPixelAndClipsToTheTarget) {
  Surface source(2, 1);
  source.Set(0, 0, Colour(1));
  source.Set(1, 0, Colour(2));
  Surface target(5, 2);
  SurfaceCanvas(target).Draw(source, {1, 0, 4, 2}, Rop::Copy);
  EXPECT_EQ(Picture(target), ".1122/.1122/");

  Surface mono(3, 1, true);
  SurfaceCanvas draw(mono);
  draw.FillWhite(mono.Bounds());
  draw.Draw(source, {0, 0, 2, 1}, Rop::Copy);  // colours are not white: black
  EXPECT_EQ(Picture(mono), "..W/");
  draw.FillBlack({-5, -5, 100, 100});
  EXPECT_EQ(Picture(mono), ".../");
}

TEST(RasterOps, XorAndXorLeavesTheTargetWhereTheMaskIsWhite) {
  Surface target(2, 1);
  target.Set(0, 0, 0x123456);
  target.Set(1, 0, 0x123456);
  Surface image(2, 1);
  image.Set(0, 0, Colour(3));
  image.Set(1, 0, Colour(2));
  Surface mask(2, 1, true);
  mask.Set(1, 0, kWhite);
  SurfaceCanvas draw(target);
  draw.Draw(image, target.Bounds(), Rop::Xor);
  draw.Draw(mask, target.Bounds(), Rop::And);
  draw.Draw(image, target.Bounds(), Rop::Xor);
  EXPECT_EQ(Picture(target), "3B/");
}

}  // namespace
}  // namespace tessavo::gifanim::testing
