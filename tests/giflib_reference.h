// giflib 5 (test-only reference): what DGifSlurp makes of a file, and a
// check that our reader made the same of it.
#pragma once

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "gifanim/gif_reader.h"

namespace tessavo::gif::testing {

struct ReferenceFrame {
  int left = 0, top = 0, width = 0, height = 0;
  bool interlaced = false;
  int localBits = 0;  // exponent + 1, 0 without a local table
  int disposal = 0, delay = 0, transparentIndex = -1;
  std::vector<std::uint8_t> indexes;  // top row first
};

struct Reference {
  int screenWidth = 0, screenHeight = 0;
  bool gif89 = false;
  int loopCount = 1;
  std::vector<ReferenceFrame> frames;
};

namespace detail {

struct Input {
  std::span<const std::uint8_t> bytes;
  std::size_t position = 0;
};

inline int ReadFromMemory(GifFileType* file, GifByteType* out, int count) {
  auto* input = static_cast<Input*>(file->UserData);
  const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count), input->bytes.size() - input->position);
  std::memcpy(out, input->bytes.data() + input->position, n);
  input->position += n;
  return static_cast<int>(n);
}

inline void NoteLoop(const ExtensionBlock* blocks, int count, int& loop) {
  for (int i = 0; i + 1 < count; ++i) {
    if (blocks[i].Function == APPLICATION_EXT_FUNC_CODE && blocks[i].ByteCount >= 11 &&
        std::memcmp(blocks[i].Bytes, "NETSCAPE2.0", 11) == 0 && blocks[i + 1].Function == CONTINUE_EXT_FUNC_CODE &&
        blocks[i + 1].ByteCount >= 3) {
      loop = blocks[i + 1].Bytes[1] | blocks[i + 1].Bytes[2] << 8;
    }
  }
}

}  // namespace detail

// DGifSlurp over the bytes; nullopt (and the reason in `error`) when giflib
// refuses the file.
inline std::optional<Reference> SlurpWithGiflib(std::span<const std::uint8_t> bytes, std::string& error) {
  detail::Input input{bytes};
  int code = 0;
  GifFileType* file = DGifOpen(&input, detail::ReadFromMemory, &code);
  if (!file) {
    error = GifErrorString(code) ? GifErrorString(code) : "open failed";
    return std::nullopt;
  }
  std::optional<Reference> result;
  if (DGifSlurp(file) != GIF_OK) {
    error = GifErrorString(file->Error) ? GifErrorString(file->Error) : "slurp failed";
  } else {
    Reference ref;
    ref.screenWidth = file->SWidth;
    ref.screenHeight = file->SHeight;
    ref.gif89 = bytes.size() > 4 && bytes[4] == '9';
    for (int i = 0; i < file->ImageCount; ++i) {
      const SavedImage& image = file->SavedImages[i];
      ReferenceFrame frame;
      frame.left = image.ImageDesc.Left;
      frame.top = image.ImageDesc.Top;
      frame.width = image.ImageDesc.Width;
      frame.height = image.ImageDesc.Height;
      frame.interlaced = image.ImageDesc.Interlace;
      if (image.ImageDesc.ColorMap) frame.localBits = image.ImageDesc.ColorMap->BitsPerPixel;
      GraphicsControlBlock gcb{};
      if (DGifSavedExtensionToGCB(file, i, &gcb) == GIF_OK) {
        frame.disposal = gcb.DisposalMode > 3 ? 2 : gcb.DisposalMode;
        frame.delay = gcb.DelayTime * 10;
        frame.transparentIndex = ref.gif89 ? gcb.TransparentColor : NO_TRANSPARENT_COLOR;
      }
      const std::size_t count = static_cast<std::size_t>(frame.width) * static_cast<std::size_t>(frame.height);
      frame.indexes.assign(image.RasterBits, image.RasterBits + count);
      detail::NoteLoop(image.ExtensionBlocks, image.ExtensionBlockCount, ref.loopCount);
      ref.frames.push_back(std::move(frame));
    }
    detail::NoteLoop(file->ExtensionBlocks, file->ExtensionBlockCount, ref.loopCount);
    result = std::move(ref);
  }
  DGifCloseFile(file, &code);
  return result;
}

// Our reader's frames against giflib's, the first `frames` of them.
inline void ExpectSameFrames(const GifAnimation& reader, const Reference& ref, std::size_t frames,
                             const std::string& label) {
  ASSERT_GE(ref.frames.size(), frames) << label;
  ASSERT_EQ(static_cast<std::size_t>(reader.FrameCount), frames) << label;
  EXPECT_EQ(reader.ScreenWidth, ref.screenWidth) << label;
  EXPECT_EQ(reader.ScreenHeight, ref.screenHeight) << label;
  EXPECT_EQ(reader.Version == gvGIF89a, ref.gif89) << label;
  for (std::size_t i = 0; i < frames; ++i) {
    const TGIFFrame& ours = reader.Frame(static_cast<int>(i + 1));
    const ReferenceFrame& theirs = ref.frames[i];
    const std::string where = label + " frame " + std::to_string(i + 1);
    EXPECT_EQ(ours.Left, theirs.left) << where;
    EXPECT_EQ(ours.Top, theirs.top) << where;
    ASSERT_EQ(ours.Width, theirs.width) << where;
    ASSERT_EQ(ours.Height, theirs.height) << where;
    EXPECT_EQ(ours.Interlaced, theirs.interlaced) << where;
    EXPECT_EQ(ours.LocalBits, theirs.localBits) << where;
    EXPECT_EQ(ours.Disposal, theirs.disposal) << where;
    EXPECT_EQ(ours.Delay, theirs.delay) << where;
    EXPECT_EQ(ours.Transparent ? ours.TransparentIndex : -1, theirs.transparentIndex) << where;
    std::size_t mismatches = 0, firstMismatch = 0;
    for (int y = 0; y < ours.Height; ++y) {
      const std::uint8_t* row = ours.Image.Row(y);
      for (int x = 0; x < ours.Width; ++x) {
        const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(ours.Width) + static_cast<std::size_t>(x);
        if (row[x] != theirs.indexes[at] && mismatches++ == 0) firstMismatch = at;
      }
    }
    EXPECT_EQ(mismatches, 0u) << where << ": first at pixel " << firstMismatch;
  }
}

}  // namespace tessavo::gif::testing
