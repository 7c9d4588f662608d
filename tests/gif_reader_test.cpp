// The reader's behaviour on well-formed files: versions, extensions and
// their scope, colour tables, interlacing, bitmaps and masks, picture size.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "gifanim/gif_reader.h"
#include "tests/gif_builder.h"

namespace tessavo::gif {
namespace {

using testing::Bytes;
using testing::GifBuilder;
using testing::TestImage;
using testing::TestPalette;

Bytes Indexes(const TGIFFrame& frame) {
  Bytes out;
  for (int y = 0; y < frame.Height; ++y) {
    const std::uint8_t* row = frame.Image.Row(y);
    out.insert(out.end(), row, row + frame.Width);
  }
  return out;
}

Bytes Ramp(int count, int colours) {
  Bytes out(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) out[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((i * 7 + i / 5) % colours);
  return out;
}

TestImage Small(int width = 4, int height = 3) {
  return {.width = width, .height = height, .indexes = Ramp(width * height, 4), .lzw = {.minimumCodeSize = 2}};
}

TEST(GifReader, StillImageGivesIndexesBottomUpRowsAndColourTable) {
  GifBuilder gif;
  gif.Header("89a", 5, 3, 2, TestPalette(2)).Image(Small(5, 3)).Trailer();
  const GifAnimation reader = DecodeGif(gif.Data());
  ASSERT_EQ(reader.StatusCode, 0);
  EXPECT_EQ(reader.Version, gvGIF89a);
  EXPECT_EQ(reader.FrameCount, 1);
  EXPECT_EQ(reader.ColorBits, 2);
  const TGIFFrame& frame = reader.Frame(1);
  EXPECT_EQ(Indexes(frame), Ramp(15, 4));

  const GifBitmap& image = frame.Image;
  EXPECT_EQ(image.BitsPerPixel(), 8);
  EXPECT_EQ(image.Stride(), 8u);
  // The file: "BM", size, pixel offset 14 + 40 + 4 * 4, then the bottom row.
  const auto file = image.FileBytes();
  ASSERT_EQ(file.size(), 14u + 40 + 16 + 8 * 3);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(file[2], file.size());
  EXPECT_EQ(file[10], 70);
  EXPECT_EQ(file[14], 40);
  EXPECT_EQ(file[14 + 32], 4) << "colours used";
  EXPECT_EQ(file[70], Ramp(15, 4)[10]) << "first stored row is the bottom one";
  EXPECT_EQ(file[70 + 5], 0) << "row padding";
  ASSERT_EQ(image.ColorTable().size(), 4u);
  EXPECT_EQ(image.ColorTable()[3], (RgbQuad{21, 252, 3, 0})) << "blue, green, red from the file's (3, 252, 21)";
  EXPECT_EQ(frame.Mask, nullptr);
  EXPECT_EQ(frame.SavedImage, nullptr);
}

TEST(GifReader, Gif87aIsNeverTransparent) {
  GifBuilder gif;
  gif.Header("87a", 4, 3, 2, TestPalette(2)).GraphicControl(1, true, 5, 2).Image(Small()).Trailer();
  const GifAnimation reader = DecodeGif(gif.Data());
  ASSERT_EQ(reader.StatusCode, 0);
  EXPECT_EQ(reader.Version, gvGIF87a);
  EXPECT_FALSE(reader.Frame(1).Transparent);
  EXPECT_EQ(reader.Frame(1).Mask, nullptr);
  EXPECT_FALSE(reader.AnyTransparent);
  EXPECT_EQ(reader.Frame(1).Delay, 50) << "the rest of the extension still applies";
}

TEST(GifReader, GraphicControlAppliesToTheNextImageOnly) {
  GifBuilder gif;
  gif.Header("89a", 4, 3, 2, TestPalette(2))
      .GraphicControl(3, true, 7, 2)
      .Image(Small())
      .Image(Small())
      .Trailer();
  const GifAnimation reader = DecodeGif(gif.Data());
  ASSERT_EQ(reader.StatusCode, 0);
  ASSERT_EQ(reader.FrameCount, 2);
  const TGIFFrame& first = reader.Frame(1);
  EXPECT_EQ(first.Disposal, 3);
  EXPECT_EQ(first.Delay, 70);
  EXPECT_TRUE(first.Transparent);
  EXPECT_EQ(first.TransparentIndex, 2);
  EXPECT_EQ(first.TransparentColor, (std::array<std::uint8_t, 3>{2, 253, 14}));
  ASSERT_NE(first.SavedImage, nullptr);
  ASSERT_NE(first.SavedMask, nullptr);
  EXPECT_EQ(first.SavedImage->Width(), 4);
  EXPECT_EQ(first.SavedMask->BitsPerPixel(), 1);
  const TGIFFrame& second = reader.Frame(2);
  EXPECT_EQ(second.Disposal, 0);
  EXPECT_EQ(second.Delay, 0);
  EXPECT_FALSE(second.Transparent);
  EXPECT_EQ(second.SavedImage, nullptr);
  EXPECT_TRUE(reader.AnyTransparent);
}

TEST(GifReader, DisposalFourToSevenReadAsTwo) {
  for (int disposal = 0; disposal < 8; ++disposal) {
    GifBuilder gif;
    gif.Header("89a", 4, 3, 2, TestPalette(2)).GraphicControl(disposal, false, 0, 0).Image(Small()).Trailer();
    const GifAnimation reader = DecodeGif(gif.Data());
    ASSERT_EQ(reader.StatusCode, 0);
    EXPECT_EQ(reader.Frame(1).Disposal, disposal > 3 ? 2 : disposal) << disposal;
  }
}

TEST(GifReader, LoopCountFromTheNetscapeBlockOnly) {
  struct Case {
    const char* name;
    std::function<void(GifBuilder&)> extension;
    int loopCount;
  };
  const Case cases[] = {
      {"none", [](GifBuilder&) {}, 1},
      {"zero", [](GifBuilder& g) { g.Loop(0); }, 0},
      {"1000", [](GifBuilder& g) { g.Loop(1000); }, 1000},
      {"last wins", [](GifBuilder& g) { g.Loop(5).Loop(3); }, 3},
      {"other id", [](GifBuilder& g) { g.Application("ANIMEXTS1.0", {1, 0, 0}); }, 1},
      {"lower case", [](GifBuilder& g) { g.Application("netscape2.0", {1, 0, 0}); }, 1},
      {"short id", [](GifBuilder& g) { g.Application("NETSCAPE", {1, 0, 0}); }, 1},
  };
  for (const Case& c : cases) {
    GifBuilder gif;
    gif.Header("89a", 4, 3, 2, TestPalette(2));
    c.extension(gif);
    gif.Image(Small()).Trailer();
    const GifAnimation reader = DecodeGif(gif.Data());
    ASSERT_EQ(reader.StatusCode, 0) << c.name;
    EXPECT_EQ(reader.LoopCount, c.loopCount) << c.name;
    EXPECT_EQ(reader.FrameCount, 1) << c.name;
  }
}

TEST(GifReader, CommentGoesWithTheNextImage) {
  GifBuilder gif;
  gif.Header("89a", 4, 3, 2, TestPalette(2)).Comment(std::string(300, 'c') + "!").Image(Small()).Image(Small()).Trailer();
  const GifAnimation reader = DecodeGif(gif.Data());
  ASSERT_EQ(reader.StatusCode, 0);
  EXPECT_EQ(reader.Frame(1).Comment, std::string(300, 'c') + "!");
  EXPECT_EQ(reader.Frame(2).Comment, "");
}

TEST(GifReader, InterlacedPassesFillEveryRow) {
  for (int height : {1, 2, 3, 4, 5, 8, 9, 17}) {
    GifBuilder gif;
    TestImage image{.width = 3, .height = height, .interlaced = true, .indexes = Ramp(3 * height, 16),
                    .lzw = {.minimumCodeSize = 4}};
    gif.Header("89a", 3, height, 4, TestPalette(4)).Image(image).Trailer();
    const GifAnimation reader = DecodeGif(gif.Data());
    ASSERT_EQ(reader.StatusCode, 0);
    EXPECT_TRUE(reader.Frame(1).Interlaced);
    EXPECT_TRUE(reader.AnyInterlaced);
    EXPECT_EQ(Indexes(reader.Frame(1)), image.indexes) << "height " << height;
  }
}

TEST(GifReader, TransparentMaskBitsAreWhereTheIndexIs) {
  GifBuilder gif;
  TestImage image{.width = 11, .height = 2, .indexes = Ramp(22, 4), .lzw = {.minimumCodeSize = 2}};
  gif.Header("89a", 11, 2, 2, TestPalette(2)).GraphicControl(0, true, 0, 1).Image(image).Trailer();
  const GifAnimation reader = DecodeGif(gif.Data());
  ASSERT_EQ(reader.StatusCode, 0);
  const TGIFFrame& frame = reader.Frame(1);
  ASSERT_NE(frame.Mask, nullptr);
  EXPECT_EQ(frame.Mask->BitsPerPixel(), 1);
  EXPECT_EQ(frame.Mask->Stride(), 4u);
  ASSERT_EQ(frame.Mask->ColorTable().size(), 2u);
  EXPECT_EQ(frame.Mask->ColorTable()[0], (RgbQuad{0, 0, 0, 0}));
  EXPECT_EQ(frame.Mask->ColorTable()[1], (RgbQuad{255, 255, 255, 0}));
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 11; ++x) {
      const bool transparent = image.indexes[static_cast<std::size_t>(y * 11 + x)] == 1;
      EXPECT_EQ(frame.Mask->PixelIndex(x, y), transparent ? 1 : 0) << x << "," << y;
      const std::uint8_t byte = frame.Mask->Row(y)[x / 8];
      EXPECT_EQ((byte & (0x80 >> (x % 8))) != 0, transparent) << "most significant bit first";
    }
  }
}

TEST(GifReader, ColourTableSizesFollowTheLargestTableSoFar) {
  GifBuilder gif;
  Bytes global = TestPalette(2);
  TestImage local = Small();
  local.localBits = 4;
  local.localPalette = TestPalette(4);
  gif.Header("89a", 4, 3, 2, global).Image(Small()).Image(local).Image(Small()).Trailer();
  const GifAnimation reader = DecodeGif(gif.Data());
  ASSERT_EQ(reader.StatusCode, 0);
  EXPECT_EQ(reader.Frame(1).Image.ColorTable().size(), 4u);
  EXPECT_EQ(reader.Frame(2).Image.ColorTable().size(), 16u);
  EXPECT_TRUE(reader.Frame(2).OwnsPalette);
  EXPECT_EQ(reader.Frame(2).LocalBits, 4);
  EXPECT_EQ(reader.Frame(2).Image.ColorTable()[9], (RgbQuad{63, 246, 9, 0}));
  const auto& third = reader.Frame(3).Image.ColorTable();
  ASSERT_EQ(third.size(), 16u) << "the larger size, taken from the global table";
  EXPECT_EQ(third[3], (RgbQuad{21, 252, 3, 0}));
  for (std::size_t i = 4; i < 16; ++i) EXPECT_EQ(third[i], RgbQuad{}) << "black beyond the file's table";
  EXPECT_EQ(reader.Frame(3).Palette, reader.GlobalPalette.get());
  EXPECT_EQ(reader.ColorBits, 4);
}

TEST(GifReader, NoColourTableAnywhereGivesOneBlackEntry) {
  GifBuilder gif;
  gif.Header("89a", 4, 3).Image(Small()).Trailer();
  const GifAnimation reader = DecodeGif(gif.Data());
  ASSERT_EQ(reader.StatusCode, 0);
  EXPECT_EQ(reader.ColorBits, 0);
  ASSERT_EQ(reader.Frame(1).Image.ColorTable().size(), 1u);
  EXPECT_EQ(reader.Frame(1).Image.ColorTable()[0], RgbQuad{});
}

TEST(GifReader, PictureWidensToCoverEveryFrame) {
  GifBuilder gif;
  TestImage outside = Small(4, 3);
  outside.left = 10;
  outside.top = 1;
  gif.Header("89a", 12, 3, 2, TestPalette(2)).Image(Small()).Image(outside).Trailer();
  const GifAnimation reader = DecodeGif(gif.Data());
  ASSERT_EQ(reader.StatusCode, 0);
  EXPECT_EQ(reader.ScreenWidth, 12);
  EXPECT_EQ(reader.ScreenHeight, 3);
  EXPECT_EQ(reader.PictureWidth, 14);
  EXPECT_EQ(reader.PictureHeight, 4);
}

TEST(GifReader, HeaderAndTrailerOnlyIsAnEmptyPicture) {
  GifBuilder gif;
  gif.Header("89a", 7, 5).Trailer();
  const GifAnimation reader = DecodeGif(gif.Data());
  ASSERT_EQ(reader.StatusCode, 0);
  EXPECT_EQ(reader.FrameCount, 0);
  EXPECT_EQ(reader.PictureWidth, 7);
}

TEST(GifReader, FirstImageOnlyStopsAfterFrameOne) {
  GifBuilder gif;
  gif.Header("89a", 4, 3, 2, TestPalette(2)).Image(Small()).Loop(0).Image(Small()).Raw({0xFF, 0xFF}).Trailer();
  const GifAnimation reader = DecodeGif(gif.Data(), {.firstImageOnly = true});
  ASSERT_EQ(reader.StatusCode, 0);
  EXPECT_EQ(reader.FrameCount, 1);
  EXPECT_EQ(reader.LoopCount, 1) << "nothing after the first image is parsed";
}

TEST(GifReader, ProgressReportsPositionAndRoundedPercentage) {
  GifBuilder gif;
  gif.Header("89a", 4, 3, 2, TestPalette(2)).Image(Small()).Image(Small()).Trailer();
  DecodeOptions options;
  std::vector<std::int64_t> positions;
  options.onProgress = [&](std::int64_t position, std::int64_t size, int percent, bool& keep) {
    EXPECT_TRUE(keep);
    EXPECT_EQ(size, static_cast<std::int64_t>(gif.Data().size()));
    EXPECT_EQ(percent, static_cast<int>((100 * position + size / 2) / size));
    positions.push_back(position);
  };
  ASSERT_EQ(DecodeGif(gif.Data(), options).StatusCode, 0);
  // One report per block (two images, trailer) and one at the end.
  ASSERT_EQ(positions.size(), 4u);
  EXPECT_EQ(positions.front(), 6 + 7 + 12);
  EXPECT_EQ(positions.back(), static_cast<std::int64_t>(gif.Data().size()));
}

TEST(GifReader, LargeFramesReportProgressWhileDecoding) {
  GifBuilder gif;
  const int width = 400, height = 300;
  gif.Header("89a", width, height, 8, TestPalette(8))
      .Image({.width = width, .height = height, .indexes = Ramp(width * height, 256), .lzw = {}})
      .Trailer();
  DecodeOptions options;
  int reports = 0;
  options.onProgress = [&](std::int64_t, std::int64_t, int, bool&) { ++reports; };
  ASSERT_EQ(DecodeGif(gif.Data(), options).StatusCode, 0);
  // Every 32nd row of a frame wider than 320: rows 0, 32, ..., 288.
  EXPECT_EQ(reports, 1 + 10 + 2);
}

TEST(GifReader, ReloadReplacesThePicture) {
  GifBuilder big, small;
  big.Header("89a", 4, 3, 2, TestPalette(2)).Loop(0).Image(Small()).Image(Small()).Trailer();
  small.Header("87a", 2, 1).Image(Small(2, 1)).Trailer();
  GifAnimation reader = DecodeGif(big.Data());
  ASSERT_EQ(reader.StatusCode, 0);
  reader = DecodeGif(small.Data());
  ASSERT_EQ(reader.StatusCode, 0);
  EXPECT_EQ(reader.FrameCount, 1);
  EXPECT_EQ(reader.LoopCount, 1);
  EXPECT_EQ(reader.ColorBits, 0);
  EXPECT_EQ(reader.Frames[1], nullptr);
}

}  // namespace
}  // namespace tessavo::gif
