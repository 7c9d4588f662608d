// Random pictures, encoded by giflib's encoder and by our own (with clear
// codes at random places), decoded by our reader and by giflib's
// DGifSlurp: the same frames, positions, flags and indexes.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "gifanim/gif_reader.h"
#include "tests/gif_builder.h"
#include "tests/giflib_reference.h"

namespace tessavo::gif {
namespace {

using testing::Bytes;

struct RandomFrame {
  int left = 0, top = 0, width = 0, height = 0;
  bool interlaced = false;
  int localBits = 0;  // 0: none
  int disposal = -1;  // -1: no graphic control extension
  int delay = 0;      // hundredths of a second
  int transparentIndex = -2;  // -2: not transparent
  Bytes indexes;
};

struct RandomPicture {
  int width, height, globalBits;
  std::vector<RandomFrame> frames;
};

// Noise, runs and gradients, so that both short and long strings occur.
Bytes RandomIndexes(std::mt19937& random, int count, int colours) {
  Bytes out(static_cast<std::size_t>(count));
  const int style = static_cast<int>(random() % 3);
  int value = 0;
  for (int i = 0; i < count; ++i) {
    if (style == 0 || random() % 16 == 0) value = static_cast<int>(random() % static_cast<unsigned>(colours));
    if (style == 2) value = (i / 7) % colours;
    out[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value);
  }
  return out;
}

RandomPicture MakeRandomPicture(std::mt19937& random) {
  auto pick = [&](int low, int high) { return low + static_cast<int>(random() % static_cast<unsigned>(high - low + 1)); };
  RandomPicture picture;
  picture.width = pick(1, 300);
  picture.height = pick(1, 300);
  picture.globalBits = pick(0, 8);
  const int frames = pick(1, 3);
  for (int i = 0; i < frames; ++i) {
    RandomFrame frame;
    frame.width = pick(1, picture.width);
    frame.height = pick(1, picture.height);
    frame.left = pick(0, picture.width - frame.width);
    frame.top = pick(0, picture.height - frame.height);
    frame.interlaced = random() % 2 == 0;
    frame.localBits = picture.globalBits == 0 || random() % 3 == 0 ? pick(1, 8) : 0;
    const int colours = 1 << (frame.localBits ? frame.localBits : picture.globalBits);
    frame.disposal = -1;
    if (random() % 4 != 0) {
      frame.disposal = pick(0, 3);
      frame.delay = pick(0, 500);
      frame.transparentIndex = random() % 2 ? pick(0, colours - 1) : -2;
    }
    frame.indexes = RandomIndexes(random, frame.width * frame.height, colours);
    picture.frames.push_back(std::move(frame));
  }
  return picture;
}

ColorMapObject* MakeMap(int bits) {
  std::vector<GifColorType> colours(static_cast<std::size_t>(1) << bits);
  for (std::size_t i = 0; i < colours.size(); ++i) {
    colours[i] = {static_cast<GifByteType>(i), static_cast<GifByteType>(255 - i), static_cast<GifByteType>(i * 3)};
  }
  return GifMakeMapObject(1 << bits, colours.data());
}

int WriteToVector(GifFileType* file, const GifByteType* bytes, int count) {
  auto* out = static_cast<Bytes*>(file->UserData);
  out->insert(out->end(), bytes, bytes + count);
  return count;
}

Bytes EncodeWithGiflib(const RandomPicture& picture) {
  Bytes out;
  int error = 0;
  GifFileType* file = EGifOpen(&out, WriteToVector, &error);
  EXPECT_NE(file, nullptr);
  EGifSetGifVersion(file, true);
  ColorMapObject* global = picture.globalBits ? MakeMap(picture.globalBits) : nullptr;
  EXPECT_EQ(EGifPutScreenDesc(file, picture.width, picture.height, 8, 0, global), GIF_OK);
  for (const RandomFrame& frame : picture.frames) {
    if (frame.disposal >= 0) {
      GraphicsControlBlock gcb{frame.disposal, false, frame.delay,
                               frame.transparentIndex >= 0 ? frame.transparentIndex : NO_TRANSPARENT_COLOR};
      GifByteType extension[4];
      EGifGCBToExtension(&gcb, extension);
      EGifPutExtension(file, GRAPHICS_EXT_FUNC_CODE, 4, extension);
    }
    ColorMapObject* local = frame.localBits ? MakeMap(frame.localBits) : nullptr;
    // giflib 5.2 drops, without freeing, the previous image's table when
    // the next image has none.
    if (!local && file->Image.ColorMap) {
      GifFreeMapObject(file->Image.ColorMap);
      file->Image.ColorMap = nullptr;
    }
    EXPECT_EQ(EGifPutImageDesc(file, frame.left, frame.top, frame.width, frame.height, frame.interlaced, local), GIF_OK);
    const Bytes rows = frame.interlaced ? testing::Interlace(frame.indexes, frame.width, frame.height) : frame.indexes;
    for (int y = 0; y < frame.height; ++y) {
      EGifPutLine(file, const_cast<GifPixelType*>(rows.data()) + static_cast<std::ptrdiff_t>(y) * frame.width, frame.width);
    }
    GifFreeMapObject(local);
  }
  EGifCloseFile(file, &error);
  GifFreeMapObject(global);
  return out;
}

Bytes EncodeWithOurs(const RandomPicture& picture, std::mt19937& random, std::set<int>& codeSizes) {
  testing::GifBuilder gif;
  gif.Header("89a", picture.width, picture.height, picture.globalBits, testing::TestPalette(picture.globalBits));
  for (const RandomFrame& frame : picture.frames) {
    if (frame.disposal >= 0) {
      gif.GraphicControl(frame.disposal, frame.transparentIndex >= 0, frame.delay,
                         std::max(frame.transparentIndex, 0));
    }
    const int bits = frame.localBits ? frame.localBits : picture.globalBits;
    testing::LzwOptions lzw;
    // Any minimum code size from the table's up to 8 is valid.
    lzw.minimumCodeSize = std::max(2, bits) + static_cast<int>(random() % static_cast<unsigned>(9 - std::max(2, bits)));
    codeSizes.insert(lzw.minimumCodeSize);
    lzw.blockSize = 1 + random() % 255;
    lzw.clearChance = std::uniform_real_distribution<double>(0, 0.05)(random);
    lzw.deferredClear = random() % 2 == 0;
    lzw.seed = static_cast<std::uint32_t>(random());
    gif.Image({.left = frame.left, .top = frame.top, .width = frame.width, .height = frame.height,
               .interlaced = frame.interlaced, .localBits = frame.localBits,
               .localPalette = testing::TestPalette(frame.localBits), .indexes = frame.indexes, .lzw = lzw});
  }
  gif.Trailer();
  return gif.Data();
}

void CompareBothReaders(const Bytes& bytes, const RandomPicture& picture, const std::string& label) {
  std::string error;
  const auto reference = testing::SlurpWithGiflib(bytes, error);
  ASSERT_TRUE(reference) << label << ": giflib: " << error;
  const GifAnimation reader = DecodeGif(bytes);
  ASSERT_EQ(reader.StatusCode, 0) << label;
  testing::ExpectSameFrames(reader, *reference, picture.frames.size(), label);
  for (std::size_t i = 0; i < picture.frames.size(); ++i) {
    EXPECT_EQ(reference->frames[i].indexes, picture.frames[i].indexes) << label << " giflib round trip";
  }
}

TEST(GifAgainstGiflib, PicturesEncodedByGiflib) {
  std::mt19937 random(20261208);
  std::set<int> tableSizes;
  for (int i = 0; i < 40; ++i) {
    const RandomPicture picture = MakeRandomPicture(random);
    for (const RandomFrame& frame : picture.frames) tableSizes.insert(frame.localBits ? frame.localBits : picture.globalBits);
    CompareBothReaders(EncodeWithGiflib(picture), picture, "giflib-encoded #" + std::to_string(i));
    if (HasFatalFailure()) return;
  }
  EXPECT_EQ(tableSizes, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8})) << "every table size, so every code size 2..8";
}

TEST(GifAgainstGiflib, PicturesWithClearCodesAtRandomPlaces) {
  std::mt19937 random(8122026);
  std::set<int> codeSizes;
  for (int i = 0; i < 40; ++i) {
    const RandomPicture picture = MakeRandomPicture(random);
    CompareBothReaders(EncodeWithOurs(picture, random, codeSizes), picture, "own-encoded #" + std::to_string(i));
    if (HasFatalFailure()) return;
  }
  EXPECT_EQ(codeSizes, (std::set<int>{2, 3, 4, 5, 6, 7, 8}));
}

}  // namespace
}  // namespace tessavo::gif
