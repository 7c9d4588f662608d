// Pictures for the animated picture control's tests: small GIF files made
// in code, a form to put the control on, and the composed picture written
// as text, one character a pixel.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gifanim/gif_image.h"
#include "tests/gif_builder.h"
#include "toolkit/form.h"

namespace tessavo::gifanim::testing {

using gif::testing::Bytes;

// The platform's part (tests/headless/, tests/win32/): a clean state
// before and after a test, and, headless, the check that the peers were
// told of every change.
void ResetPlatform();
void ExpectPeersTold(const tk::Form& form);

struct FrameSpec {
  tk::Rect at;
  // One character a pixel, top row first: '0' to '3' colour indexes.
  std::string pixels;
  int disposal = 0;
  int transparentIndex = -1;  // none
  int delay = 0;              // hundredths of a second
};

// Four colours: index i is (i, 255 - i, 7 i).
inline Pixel Colour(int index) {
  return static_cast<Pixel>(index << 16 | (255 - index) << 8 | (7 * index));
}

// A GIF89a file of that screen size with those frames; loop < 0 leaves
// the looping extension out.
inline Bytes MakeGif(int width, int height, const std::vector<FrameSpec>& frames, int loop = -1) {
  gif::testing::GifBuilder gif;
  gif.Header("89a", width, height, 2, gif::testing::TestPalette(2));
  if (loop >= 0) gif.Loop(loop);
  for (const FrameSpec& frame : frames) {
    gif.GraphicControl(frame.disposal, frame.transparentIndex >= 0, frame.delay,
                       std::max(frame.transparentIndex, 0));
    Bytes indexes;
    for (char c : frame.pixels) indexes.push_back(static_cast<std::uint8_t>(c - '0'));
    gif.Image({.left = frame.at.left, .top = frame.at.top, .width = frame.at.width,
               .height = frame.at.height, .indexes = indexes, .lzw = {.minimumCodeSize = 2}});
  }
  gif.Trailer();
  return gif.Data();
}

// A surface as text: '.' black, 'W' white, '0'-'3' the test colours,
// 'B' the background `background`, '?' anything else; rows end with '/'.
inline std::string Picture(const Surface& surface, Pixel background = 0x123456) {
  std::string out;
  for (int y = 0; y < surface.Height(); ++y) {
    for (int x = 0; x < surface.Width(); ++x) {
      const Pixel p = surface.At(x, y);
      char c = '?';
      if (p == kBlack) c = '.';
      else if (p == kWhite) c = 'W';
      else if (p == background) c = 'B';
      for (int i = 0; i < 4; ++i) {
        if (p == Colour(i)) c = static_cast<char>('0' + i);
      }
      out += c;
    }
    out += '/';
  }
  return out;
}

// A form holding one picture control, with peers; every test ends by
// checking that the peers were told of every change.
class PictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetPlatform();
    form_.CreateHandle();
  }
  void TearDown() override {
    ExpectPeersTold(form_);
    ResetPlatform();
  }

  // Loads and switches the animation on; the first tick only takes the
  // frame the load drew.
  void Play(const Bytes& gif) {
    ASSERT_TRUE(image_.LoadPicture(gif));
    image_.SetAnimate(true);
    image_.TimerTick();
  }
  // What the control paints over a background.
  std::string Painted(Pixel background = 0x123456) {
    Surface surface(image_.Bounds().width, image_.Bounds().height);
    SurfaceCanvas target(surface);
    for (int y = 0; y < surface.Height(); ++y) {
      for (int x = 0; x < surface.Width(); ++x) surface.Set(x, y, background);
    }
    image_.PaintTo(target);
    return Picture(surface, background);
  }

  tk::Form form_{{.caption = "Picture", .clientWidth = 200, .clientHeight = 200}};
  TGIFImage image_{&form_, {.bounds = {10, 10, 4, 2}}};
};

}  // namespace tessavo::gifanim::testing
