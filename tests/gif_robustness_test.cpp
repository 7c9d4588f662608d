// The reader on damaged, hostile and limit-crossing files: every failure
// leaves an empty picture and the right StatusCode, nothing reads or
// allocates beyond its bounds.
#include <gtest/gtest.h>

#include "gifanim/gif_reader.h"
#include "tests/gif_builder.h"

namespace tessavo::gif {
namespace {

using testing::Bytes;
using testing::CodeWriter;
using testing::GifBuilder;
using testing::TestImage;
using testing::TestPalette;

TestImage Plain(int width, int height, std::uint8_t value = 1) {
  return {.width = width, .height = height, .indexes = Bytes(static_cast<std::size_t>(width * height), value),
          .lzw = {.minimumCodeSize = 2}};
}

Bytes Descriptor(int width, int height) {
  return {0x2C, 0, 0, 0, 0, static_cast<std::uint8_t>(width), static_cast<std::uint8_t>(width >> 8),
          static_cast<std::uint8_t>(height), static_cast<std::uint8_t>(height >> 8), 0};
}

void ExpectFailed(const Bytes& bytes, int status, const char* what, const DecodeOptions& options = {}) {
  const GifAnimation reader = DecodeGif(bytes, options);
  EXPECT_EQ(reader.StatusCode, status) << what;
  EXPECT_EQ(reader.FrameCount, 0) << what;
}

TEST(GifReaderFailures, EmptyForeignAndTruncatedFilesFail) {
  ExpectFailed({}, 2, "no data");
  ExpectFailed({'G', 'I', 'X', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B}, 3, "not GIF");

  GifBuilder gif;
  gif.Header("89a", 4, 3, 8, TestPalette(8)).Image(Plain(4, 3)).Trailer();
  const Bytes& whole = gif.Data();
  // Cut inside the header, the screen, the global table and the image
  // descriptor and the minimum code size: each a fixed-size field.
  for (std::size_t cut : {3u, 6u, 10u, 13u, 400u, 13u + 768u + 5u, 13u + 768u + 10u}) {
    ExpectFailed(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut)), 3, "cut");
  }
  ASSERT_EQ(DecodeGif(whole).StatusCode, 0);
}

TEST(GifReaderFailures, PixelDataThatEndsEarlyLeavesRowsZero) {
  GifBuilder gif;
  gif.Header("89a", 20, 20, 2, TestPalette(2)).Image(Plain(20, 20, 3));
  Bytes bytes = gif.Data();
  // Only the minimum code size and a few codes, and no terminator.
  CodeWriter codes;
  codes.Put(4, 3);
  for (int i = 0; i < 3; ++i) codes.Put(3, 3);
  Bytes image = codes.ImageData(2);
  image.pop_back();
  GifBuilder cut;
  cut.Header("89a", 20, 20, 2, TestPalette(2)).Raw(Descriptor(20, 20)).Raw(image);
  const GifAnimation reader = DecodeGif(cut.Data());
  ASSERT_EQ(reader.StatusCode, 0);
  const TGIFFrame& frame = reader.Frame(1);
  EXPECT_EQ(frame.Image.PixelIndex(0, 0), 3);
  EXPECT_EQ(frame.Image.PixelIndex(2, 0), 3);
  EXPECT_EQ(frame.Image.PixelIndex(3, 0), 0);
  EXPECT_EQ(frame.Image.PixelIndex(19, 19), 0);
}

TEST(GifReaderFailures, ExtraCodesAfterTheLastRowAreSkipped) {
  CodeWriter codes;
  codes.Put(4, 3);
  for (int i = 0; i < 40; ++i) codes.Put(2, 3 + (i > 1));  // entries 6, 7 then 4-bit codes
  codes.Put(5, 4);
  GifBuilder gif;
  gif.Header("89a", 2, 1, 2, TestPalette(2)).Raw(Descriptor(2, 1)).Raw(codes.ImageData(2, 7));
  gif.Image(Plain(2, 1, 1)).Trailer();
  const GifAnimation reader = DecodeGif(gif.Data());
  ASSERT_EQ(reader.StatusCode, 0);
  ASSERT_EQ(reader.FrameCount, 2) << "parsing goes on after the first image's data";
  EXPECT_EQ(reader.Frame(2).Image.PixelIndex(1, 0), 1);
}

TEST(GifReaderFailures, EndOfDataInsideSubBlockChainsEndsTheChain) {
  GifBuilder gif;
  gif.Header("89a", 4, 3, 2, TestPalette(2)).Image(Plain(4, 3)).Raw({0x21, 0xFE, 200, 'a', 'b'});
  EXPECT_EQ(DecodeGif(gif.Data()).StatusCode, 0);
  gif.Header("89a", 4, 3, 2, TestPalette(2)).Image(Plain(4, 3)).Raw({0x21, 0x99, 10, 1});
  EXPECT_EQ(DecodeGif(gif.Data()).StatusCode, 0);
  // A graphic control extension's fields are fixed: cut, the load fails.
  gif.Header("89a", 4, 3, 2, TestPalette(2)).Image(Plain(4, 3)).Raw({0x21, 0xF9, 4, 1});
  ExpectFailed(gif.Data(), 3, "cut graphic control");
}

TEST(GifReaderFailures, ZeroSizedImageFails) {
  GifBuilder gif;
  gif.Header("89a", 4, 3, 2, TestPalette(2)).Raw(Descriptor(0, 3)).Raw({2, 0}).Trailer();
  ExpectFailed(gif.Data(), 3, "zero width");
}

TEST(GifReaderFailures, MinimumCodeSizeAboveElevenFails) {
  for (int size : {12, 15, 16, 255}) {
    GifBuilder gif;
    gif.Header("89a", 2, 2).Raw(Descriptor(2, 2)).Raw({static_cast<std::uint8_t>(size), 1, 0, 0}).Trailer();
    ExpectFailed(gif.Data(), 3, "large code size");
  }
  // 11 is the largest that fits 12-bit codes.
  GifBuilder gif;
  gif.Header("89a", 3, 1).Image({.width = 3, .height = 1, .indexes = {1, 2, 200}, .lzw = {.minimumCodeSize = 11}}).Trailer();
  const GifAnimation reader = DecodeGif(gif.Data());
  ASSERT_EQ(reader.StatusCode, 0);
  EXPECT_EQ(reader.Frame(1).Image.PixelIndex(2, 0), 200);
}

TEST(GifReaderFailures, LoopingPrefixChainFailsTheLoad) {
  // Code 7 arrives before it is defined, so entry 7 gets itself as prefix.
  CodeWriter codes;
  codes.Put(4, 3);
  codes.Put(0, 3);
  codes.Put(7, 3);
  codes.Put(6, 3);
  codes.Put(7, 4);
  codes.Put(5, 4);
  GifBuilder gif;
  gif.Header("89a", 100, 100, 2, TestPalette(2)).Raw(Descriptor(100, 100)).Raw(codes.ImageData(2)).Trailer();
  ExpectFailed(gif.Data(), 3, "looping chain");
}

TEST(GifReaderFailures, HugeDeclaredSizesWithTinyDataFailWithoutAllocating) {
  GifBuilder gif;
  gif.Header("89a", 65535, 65535).Raw(Descriptor(65535, 65535)).Raw({2, 2, 0x44, 0x01, 0}).Trailer();
  ExpectFailed(gif.Data(), 3, "4 GiB frame");

  // Frames just under the per-frame limit add up to the per-load limit.
  GifBuilder many;
  many.Header("89a", 8000, 8000);
  for (int i = 0; i < 5; ++i) many.Raw(Descriptor(8000, 8000)).Raw({2, 2, 0x44, 0x01, 0});
  many.Trailer();
  ExpectFailed(many.Data(), 3, "five 61 MiB frames");
}

TEST(GifReaderFailures, HugeFramesWithTinyDataStayCheap) {
  // Found by fuzzing: dozens of frames of millions of pixels from a few
  // bytes each, within the limits, used to zero a quarter of a gigabyte.
  // Rows that no data reaches are now untouched zero pages.
  GifBuilder gif;
  gif.Header("89a", 178, 45824, 1, TestPalette(1));
  for (int i = 0; i < 30; ++i) gif.Raw(Descriptor(178, 45824)).Raw({2, 2, 0x4C, 0x01, 0});
  gif.Trailer();
  const GifAnimation reader = DecodeGif(gif.Data());
  ASSERT_EQ(reader.StatusCode, 0);
  ASSERT_EQ(reader.FrameCount, 30);
  const TGIFFrame& last = reader.Frame(30);
  EXPECT_EQ(last.Image.PixelIndex(0, 0), 1);
  EXPECT_EQ(last.Image.PixelIndex(1, 0), 0);
  EXPECT_EQ(last.Image.PixelIndex(177, 45823), 0);
}

TEST(GifReaderFailures, CancellingFromProgressGivesStatusOne) {
  GifBuilder gif;
  gif.Header("89a", 4, 3, 2, TestPalette(2)).Image(Plain(4, 3)).Image(Plain(4, 3)).Trailer();
  for (int cancelAt = 1; cancelAt <= 4; ++cancelAt) {
    DecodeOptions options;
    int calls = 0;
    options.onProgress = [&](std::int64_t, std::int64_t, int, bool& keep) { keep = ++calls < cancelAt; };
    ExpectFailed(gif.Data(), 1, "cancelled", options);
    EXPECT_EQ(calls, cancelAt);
  }
}

TEST(GifReaderFailures, MoreThan256ImagesKeepTheFirst256) {
  GifBuilder gif;
  gif.Header("89a", 2, 2, 1, TestPalette(1));
  for (int i = 0; i < 257; ++i) gif.GraphicControl(0, false, i, 0).Image(Plain(2, 2, i % 2));
  gif.Trailer();
  const GifAnimation reader = DecodeGif(gif.Data());
  ASSERT_EQ(reader.StatusCode, 0);
  EXPECT_EQ(reader.FrameCount, 256);
  EXPECT_EQ(reader.Frame(256).Delay, 2550);
}

TEST(GifReaderFailures, CodeStreamOddities) {
  // Clear codes in a row, one-byte sub-blocks under 12-bit codes, and a
  // table left full without a clear: all decode to the image.
  Bytes noise(64 * 64);
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>((i * 2654435761u) >> 24);
  struct Case {
    const char* name;
    testing::LzwOptions lzw;
  };
  const Case cases[] = {
      {"many clears", {.minimumCodeSize = 8, .clearChance = 0.5}},
      {"one-byte blocks", {.minimumCodeSize = 8, .blockSize = 1}},
      {"deferred clear", {.minimumCodeSize = 8, .deferredClear = true}},
      {"no initial clear, no end code", {.minimumCodeSize = 8, .initialClear = false, .endCode = false}},
  };
  for (const Case& c : cases) {
    GifBuilder gif;
    gif.Header("89a", 64, 64, 8, TestPalette(8)).Image({.width = 64, .height = 64, .indexes = noise, .lzw = c.lzw}).Trailer();
    const GifAnimation reader = DecodeGif(gif.Data());
    ASSERT_EQ(reader.StatusCode, 0) << c.name;
    const TGIFFrame& frame = reader.Frame(1);
    for (int y = 0; y < 64; ++y) {
      ASSERT_TRUE(std::equal(noise.begin() + y * 64, noise.begin() + y * 64 + 64, frame.Image.Row(y))) << c.name << " row " << y;
    }
  }

  CodeWriter doubled;
  for (int i = 0; i < 3; ++i) {
    doubled.Put(4, 3);
    doubled.Put(4, 3);
    doubled.Put(i, 3);
  }
  doubled.Put(5, 3);
  GifBuilder gif;
  gif.Header("89a", 3, 1, 2, TestPalette(2)).Raw(Descriptor(3, 1)).Raw(doubled.ImageData(2)).Trailer();
  const GifAnimation reader = DecodeGif(gif.Data());
  ASSERT_EQ(reader.StatusCode, 0);
  EXPECT_EQ(reader.Frame(1).Image.PixelIndex(1, 0), 1) << "a clear after a clear is not a pixel";
  EXPECT_EQ(reader.Frame(1).Image.PixelIndex(2, 0), 2);
}

}  // namespace
}  // namespace tessavo::gif
