// The animated picture control's behaviour: loading and its stored form,
// playing (timer, passes, speed), frame choice, placement on its area,
// painting, assignment.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/gif_image_support.h"

namespace tessavo::gifanim::testing {
namespace {

// N frames of 2 by 1, frame i in colour i mod 4, each disposed to the
// background.
Bytes Frames(int count, int loop = -1, int delay = 0) {
  std::vector<FrameSpec> frames;
  for (int i = 1; i <= count; ++i) {
    frames.push_back({.at = {0, 0, 2, 1}, .pixels = std::string(2, static_cast<char>('0' + i % 4)),
                      .disposal = 2, .delay = delay});
  }
  return MakeGif(2, 1, frames, loop);
}

// Records what is drawn where, in order.
class RecordingTarget final : public Canvas {
 public:
  void Draw(const Source& source, tk::Rect dest, Rop op) override {
    calls.push_back(std::string(source.Mono() ? "mask " : "image ") + Name(op) + At(dest));
  }
  void FillBlack(tk::Rect r) override { calls.push_back("black" + At(r)); }
  void FillWhite(tk::Rect r) override { calls.push_back("white" + At(r)); }
  void FillColor(tk::Rect r, tk::Color) override { calls.push_back("colour" + At(r)); }
  std::vector<std::string> calls;

 private:
  static const char* Name(Rop op) { return op == Rop::Copy ? "copy" : op == Rop::And ? "and" : "xor"; }
  static std::string At(tk::Rect r) {
    return " " + std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.width) + "x" +
           std::to_string(r.height);
  }
};

using Loading = PictureTest;

TEST_F(Loading, TheStoredFormIsACountThenTheFileAndReadingAppends) {
  const Bytes gif = Frames(2);
  Bytes stored{static_cast<std::uint8_t>(gif.size()), static_cast<std::uint8_t>(gif.size() >> 8), 0, 0};
  stored.insert(stored.end(), gif.begin(), gif.end());
  EXPECT_TRUE(image_.WritePictureData().empty());
  image_.ReadPictureData(stored);
  EXPECT_TRUE(image_.IsEmpty());  // not read before the form has loaded
  image_.Loaded();
  EXPECT_FALSE(image_.IsEmpty());
  EXPECT_EQ(image_.FrameCount(), 2);
  EXPECT_EQ(image_.WritePictureData(), stored);

  TGIFImage other(&form_, {});
  other.ReadPictureData(Bytes{0, 0, 0, 0});
  other.ReadPictureData(Bytes{0xFF, 0xFF, 0xFF, 0xFF});  // negative: nothing
  EXPECT_TRUE(other.Data().empty());
  EXPECT_THROW(other.ReadPictureData(Bytes{9, 0, 0, 0, 71}), std::runtime_error);
  EXPECT_THROW(other.ReadPictureData(Bytes(stored.begin(), stored.begin() + 14)), std::runtime_error);
  EXPECT_TRUE(other.Data().empty());
}

TEST_F(Loading, ADamagedOrCancelledLoadLeavesNothing) {
  Bytes broken = Frames(2);
  broken.resize(20);
  EXPECT_FALSE(image_.LoadPicture(broken));
  EXPECT_TRUE(image_.IsEmpty());
  EXPECT_TRUE(image_.Data().empty());
  EXPECT_TRUE(image_.Composite().Empty());
  EXPECT_EQ(Painted(), "BBBB/BBBB/");

  std::vector<int> percentages;
  image_.OnProgress = [&](TGIFImage& sender, std::int64_t, std::int64_t, int percent, bool& keepOn) {
    EXPECT_EQ(&sender, &image_);
    percentages.push_back(percent);
    keepOn = percent < 50;
  };
  EXPECT_FALSE(image_.LoadPicture(Frames(3)));
  EXPECT_EQ(image_.StatusCode(), 1);
  EXPECT_TRUE(image_.IsEmpty());
  ASSERT_FALSE(percentages.empty());
  EXPECT_GE(percentages.back(), 50);
}

// Rows of a large frame report progress to the control's handler too, and
// cancelling there ends the load.
TEST_F(Loading, LargeFramesReportProgressWhileTheirRowsDecode) {
  const Bytes gif = MakeGif(400, 300, {{.at = {0, 0, 400, 300}, .pixels = std::string(400 * 300, '1')}});
  int reports = 0;
  image_.OnProgress = [&](TGIFImage&, std::int64_t, std::int64_t, int, bool&) { ++reports; };
  ASSERT_TRUE(image_.LoadPicture(gif));
  EXPECT_EQ(reports, 2 + 10 + 2);  // two blocks, rows 0, 32, ..., 288, the trailer, the end
  reports = 0;
  image_.OnProgress = [&](TGIFImage&, std::int64_t, std::int64_t, int, bool& keepOn) { keepOn = ++reports < 5; };
  EXPECT_FALSE(image_.LoadPicture(gif));
  EXPECT_EQ(reports, 5);
  EXPECT_EQ(image_.StatusCode(), 1);
  EXPECT_TRUE(image_.IsEmpty());
}

// Composing takes 4 bytes a pixel: a picture declared too large for that
// fails to load instead of taking the memory.
TEST_F(Loading, AVastPictureFailsToLoad) {
  EXPECT_FALSE(image_.LoadPicture(MakeGif(65535, 65535, {{.at = {0, 0, 1, 1}, .pixels = "1"}})));
  EXPECT_TRUE(image_.IsEmpty());
  EXPECT_TRUE(image_.Composite().Empty());
}

TEST_F(Loading, AutoSizeTakesThePictureSizeOnLoadAndWhenSwitchedOn) {
  ASSERT_TRUE(image_.LoadPicture(MakeGif(3, 5, {{.at = {0, 0, 3, 5}, .pixels = std::string(15, '1')}})));
  EXPECT_EQ(image_.Bounds(), (tk::Rect{10, 10, 4, 2}));
  image_.SetAutoSize(true);
  EXPECT_EQ(image_.Bounds(), (tk::Rect{10, 10, 3, 5}));
  image_.SetBounds({10, 10, 50, 50});
  ASSERT_TRUE(image_.LoadPicture(Frames(2)));
  EXPECT_EQ(image_.Bounds(), (tk::Rect{10, 10, 2, 1}));
}

TEST_F(Loading, AssignmentCopiesTheStoredPictureOrClears) {
  TGIFImage source(&form_, {});
  ASSERT_TRUE(source.LoadPicture(Frames(3)));
  image_.Assign(&source);
  EXPECT_EQ(image_.FrameCount(), 3);
  EXPECT_EQ(image_.Data(), source.Data());
  EXPECT_EQ(Picture(image_.Composite()), "11/");

  gif::GifBitmap bitmap;
  image_.AssignTo(bitmap);
  EXPECT_EQ(bitmap.Width(), 2);
  EXPECT_EQ(bitmap.PixelIndex(1, 0), 1);
  EXPECT_EQ(image_.GetFirstFrameBitmap(), image_.GetFirstFrameBitmap());  // kept

  TGIFImage empty(&form_, {});
  image_.Assign(&empty);
  EXPECT_TRUE(image_.IsEmpty());
  EXPECT_TRUE(image_.Composite().Empty());
  EXPECT_EQ(image_.GetFirstFrameBitmap(), nullptr);
  image_.AssignTo(bitmap);
  EXPECT_TRUE(bitmap.Empty());
  image_.Assign(&source);
  image_.Assign(nullptr);
  EXPECT_TRUE(image_.IsEmpty());
}

using Playing = PictureTest;

TEST_F(Playing, ASingleFrameNeverStartsTheTimer) {
  ASSERT_TRUE(image_.LoadPicture(Frames(1, 0)));
  image_.SetAnimate(true);
  EXPECT_FALSE(image_.Timer().Enabled());
  image_.PaintMessage(nullptr);
  EXPECT_FALSE(image_.Timer().Enabled());
  image_.SetLoop(true);
  image_.PaintMessage(nullptr);
  EXPECT_FALSE(image_.Timer().Enabled());
}

TEST_F(Playing, TheIntervalIsTheDelayOfAtLeast50msScaledBySpeed) {
  ASSERT_TRUE(image_.LoadPicture(MakeGif(2, 1,
                                         {{.at = {0, 0, 2, 1}, .pixels = "11", .delay = 3},
                                          {.at = {0, 0, 2, 1}, .pixels = "22", .delay = 25}},
                                         0)));
  EXPECT_EQ(image_.Timer().Interval(), 1u);  // the load asks for a tick at once
  image_.SetSpeed(50);
  image_.SetAnimate(true);
  EXPECT_TRUE(image_.Timer().Enabled());
  EXPECT_EQ(image_.Timer().Interval(), 100u);  // 30 ms counts as 50, at half speed
  image_.TimerTick();
  image_.TimerTick();
  EXPECT_EQ(image_.Timer().Interval(), 500u);
  image_.SetSpeed(200);
  EXPECT_EQ(image_.Timer().Interval(), 1u);  // the new speed at once
  image_.TimerTick();
  EXPECT_EQ(image_.Timer().Interval(), 25u);
  image_.SetSpeed(0);
  EXPECT_EQ(image_.Speed(), 1);
  image_.SetSpeed(-20);
  EXPECT_EQ(image_.Speed(), 1);
  image_.TimerTick();
  EXPECT_EQ(image_.Timer().Interval(), 25000u);  // 250 ms a hundred times longer
}

TEST_F(Playing, LoopCountOnePlaysOncePassesCountAndLoopRestarts) {
  ASSERT_TRUE(image_.LoadPicture(Frames(3)));  // no looping extension
  int wraps = 0, changes = 0;
  image_.OnWrapAnimation = [&](TGIFImage&) { ++wraps; };
  image_.OnChange = [&](TGIFImage&) { ++changes; };
  image_.SetAnimate(true);
  for (int tick = 0; tick < 3; ++tick) image_.TimerTick();
  EXPECT_EQ(wraps, 1);
  EXPECT_EQ(changes, 3);
  EXPECT_FALSE(image_.Timer().Enabled());
  EXPECT_EQ(image_.CurrentFrame(), 4);  // the last frame stays
  EXPECT_EQ(Picture(image_.Composite()), "33/");
  image_.PaintMessage(nullptr);  // passes used up: painting does not restart
  EXPECT_FALSE(image_.Timer().Enabled());

  image_.SetLoop(true);
  EXPECT_TRUE(image_.Timer().Enabled());
  EXPECT_EQ(image_.CurrentFrame(), 1);
  for (int tick = 0; tick < 9; ++tick) image_.TimerTick();
  EXPECT_EQ(wraps, 4);
  EXPECT_TRUE(image_.Timer().Enabled());

  image_.SetLoop(false);
  ASSERT_TRUE(image_.LoadPicture(Frames(2, 2)));
  image_.SetAnimate(false);
  image_.SetAnimate(true);
  wraps = 0;
  for (int tick = 0; tick < 6 && image_.Timer().Enabled(); ++tick) image_.TimerTick();
  EXPECT_EQ(wraps, 2);
  EXPECT_EQ(image_.LoopPass(), 3);
}

TEST_F(Playing, SwitchingOffAtFrameThreeOfFourDisposesFrameTwoAndShowsFrameOne) {
  ASSERT_TRUE(image_.LoadPicture(MakeGif(4, 1,
                                         {{.at = {0, 0, 4, 1}, .pixels = "1111", .disposal = 1},
                                          {.at = {2, 0, 2, 1}, .pixels = "22", .disposal = 2},
                                          {.at = {0, 0, 1, 1}, .pixels = "3", .disposal = 1},
                                          {.at = {0, 0, 1, 1}, .pixels = "0"}},
                                         0)));
  image_.SetAnimate(true);
  image_.TimerTick();
  image_.TimerTick();
  EXPECT_EQ(image_.CurrentFrame(), 3);
  EXPECT_EQ(Picture(image_.Composite()), "1122/");
  image_.SetAnimate(false);
  EXPECT_EQ(image_.CurrentFrame(), 1);
  EXPECT_FALSE(image_.Timer().Enabled());
  EXPECT_EQ(Picture(image_.Composite()), "1111/");
}

TEST_F(Playing, APictureLoadedWhileAnimateIsOnStartsAtItsFirstPaint) {
  image_.SetAnimate(true);
  ASSERT_TRUE(image_.LoadPicture(Frames(2, 0)));
  EXPECT_FALSE(image_.Timer().Enabled());
  image_.PaintMessage(nullptr);
  EXPECT_TRUE(image_.Timer().Enabled());
  image_.SetVisible(false);
  image_.TimerTick();
  EXPECT_EQ(image_.CurrentFrame(), 2);  // hidden, it still plays
}

TEST_F(Playing, FramesOutOfRangeSetStatus5AndChangeNothing) {
  image_.SetCurrentFrame(2);
  EXPECT_EQ(image_.StatusCode(), 5);
  ASSERT_TRUE(image_.LoadPicture(Frames(3)));
  const std::string before = Picture(image_.Composite());
  for (int frame : {0, 4, -1}) {
    ASSERT_TRUE(image_.LoadPicture(Frames(3)));  // StatusCode 0 again
    image_.SetCurrentFrame(frame);
    EXPECT_EQ(image_.StatusCode(), 5) << frame;
    EXPECT_EQ(image_.CurrentFrame(), 1);
    EXPECT_EQ(Picture(image_.Composite()), before);
  }
  ASSERT_TRUE(image_.LoadPicture(Frames(3)));
  image_.DisposeFrame(4);
  EXPECT_EQ(image_.StatusCode(), 5);
  image_.SetCurrentFrame(3);
  EXPECT_EQ(image_.StatusCode(), 0);
  EXPECT_EQ(Picture(image_.Composite()), "33/");
}

class Placing : public PictureTest {
 protected:
  void Load(int width, int height) {
    ASSERT_TRUE(image_.LoadPicture(
        MakeGif(width, height, {{.at = {0, 0, width, height}, .pixels = std::string(width * height, '1')}})));
  }
};

TEST_F(Placing, RatioFitsThePictureAndStretchWins) {
  Load(48, 24);
  image_.SetBounds({0, 0, 100, 100});
  image_.SetStretchRatio(true);
  EXPECT_EQ(image_.GetDestRect(), (tk::Rect{0, 25, 100, 50}));
  image_.SetStretch(true);
  EXPECT_EQ(image_.GetDestRect(), (tk::Rect{0, 0, 100, 100}));
  image_.SetStretch(false);
  image_.SetBounds({0, 0, 100, 20});
  EXPECT_EQ(image_.GetDestRect(), (tk::Rect{30, 0, 40, 20}));
}

TEST_F(Placing, RatioMarginsRoundHalvesToEven) {
  Load(4, 4);
  image_.SetStretchRatio(true);
  image_.SetBounds({0, 0, 9, 4});  // margins of 2.5
  EXPECT_EQ(image_.GetDestRect(), (tk::Rect{2, 0, 4, 4}));
  image_.SetBounds({0, 0, 4, 11});  // 3.5
  EXPECT_EQ(image_.GetDestRect(), (tk::Rect{0, 4, 4, 4}));
}

TEST_F(Placing, AtThePictureSizeStretchIsIgnoredAndCenterAndTileApply) {
  Load(4, 2);
  image_.SetStretch(true);
  EXPECT_FALSE(image_.Stretched());
  image_.SetTile(true);
  RecordingTarget target;
  image_.PaintTo(target);
  EXPECT_EQ(target.calls, (std::vector<std::string>{"image copy 0,0 4x2", "image copy 4,0 4x2",
                                                    "image copy 0,2 4x2", "image copy 4,2 4x2"}));
  image_.SetTile(false);
  image_.SetCenter(true);
  EXPECT_EQ(image_.GetDestRect(), (tk::Rect{0, 0, 4, 2}));
  image_.SetStretch(false);
  image_.SetBounds({0, 0, 9, 7});
  EXPECT_EQ(image_.GetDestRect(), (tk::Rect{2, 2, 4, 2}));
}

TEST_F(Placing, TileCoversTheAreaRowByRow) {
  ASSERT_TRUE(image_.LoadPicture(MakeGif(48, 48,
                                         {{.at = {0, 0, 48, 48}, .pixels = std::string(48 * 48, '0'),
                                           .transparentIndex = 0}})));
  image_.SetBounds({0, 0, 100, 50});
  image_.SetTile(true);
  image_.SetOpaque(true);
  RecordingTarget target;
  image_.PaintTo(target);
  std::vector<std::string> expected{"colour 0,0 100x50"};
  for (int y : {0, 48}) {
    for (int x : {0, 48, 96}) {
      const std::string at = " " + std::to_string(x) + "," + std::to_string(y) + " 48x48";
      expected.push_back("mask and" + at);
      expected.push_back("image xor" + at);
    }
  }
  EXPECT_EQ(target.calls, expected);
}

using Painting = PictureTest;

TEST_F(Painting, NothingWhenHiddenOrEmptyAndTheColourWithOpaque) {
  EXPECT_EQ(Painted(), "BBBB/BBBB/");
  image_.SetOpaque(true);
  image_.SetColor(tk::RGB(0, 255, 0));  // colour 0
  EXPECT_EQ(Painted(), "0000/0000/");
  image_.SetVisible(false);
  EXPECT_EQ(Painted(), "BBBB/BBBB/");
}

TEST_F(Painting, TheOpaqueDeclarationFollowsCoverage) {
  ASSERT_TRUE(image_.LoadPicture(MakeGif(4, 2, {{.at = {0, 0, 4, 2}, .pixels = "11111111"}})));
  EXPECT_TRUE(image_.DeclaredOpaque());
  image_.SetCenter(true);
  image_.SetBounds({10, 10, 6, 2});
  RecordingTarget target;
  image_.PaintMessage(&target);  // the declaration changed: nothing drawn now
  EXPECT_FALSE(image_.DeclaredOpaque());
  EXPECT_TRUE(target.calls.empty());
  image_.PaintMessage(&target);
  EXPECT_EQ(target.calls, (std::vector<std::string>{"image copy 1,0 4x2"}));
  image_.SetOpaque(true);
  image_.SetStretch(true);
  image_.UpdateOpaqueStyle();
  EXPECT_TRUE(image_.DeclaredOpaque());
  image_.SetVisible(false);
  image_.UpdateOpaqueStyle();
  EXPECT_FALSE(image_.DeclaredOpaque());
}

TEST_F(Painting, ThePaletteIsTheCurrentFramesWhileShown) {
  EXPECT_TRUE(image_.Palette().empty());
  ASSERT_TRUE(image_.LoadPicture(Frames(2)));
  ASSERT_EQ(image_.Palette().size(), 4u);
  EXPECT_EQ(PixelOf(image_.Palette()[2]), Colour(2));
  image_.SetVisible(false);
  EXPECT_TRUE(image_.Palette().empty());
}

}  // namespace
}  // namespace tessavo::gifanim::testing
