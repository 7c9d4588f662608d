// A GIF file as the reader leaves it (gif_reader.h): the frames in file
// order with their bitmaps, delays and disposal, the loop count, the
// picture's size, and how the decoding went. A plain value: whoever holds
// it owns the frames.
//
// Frames are numbered from 1 as in the file: Frame(1) .. Frame(FrameCount).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "gifanim/gif_frame.h"

namespace tessavo::gif {

enum TGIFVersion { gvGIF87a, gvGIF89a };

// What one decoding may hold: bitmap bytes per frame and in all. A file
// beyond them does not decode.
inline constexpr std::size_t kFrameByteLimit = std::size_t{64} << 20;
inline constexpr std::size_t kLoadByteLimit = std::size_t{256} << 20;

struct GifAnimation {
  static constexpr int kMaxFrames = 256;

  // Frame i, 1-based; i must be 1..FrameCount.
  TGIFFrame& Frame(int i) { return *Frames[static_cast<std::size_t>(i - 1)]; }
  const TGIFFrame& Frame(int i) const { return *Frames[static_cast<std::size_t>(i - 1)]; }

  // 0 decoded; 1 cancelled by the progress handler; 2 no data; 3 not a
  // picture (damaged, foreign, or beyond the limits). Anything but 0 comes
  // with no frames.
  std::uint8_t StatusCode = 0;
  TGIFVersion Version = gvGIF87a;
  // The logical screen as the file declares it.
  std::int32_t ScreenWidth = 0;
  std::int32_t ScreenHeight = 0;
  // The screen widened to cover every frame.
  std::int32_t PictureWidth = 0;
  std::int32_t PictureHeight = 0;
  // The largest colour table exponent seen (global and local tables).
  std::int32_t ColorBits = 0;
  // Frames without a table of their own point at this one, so it keeps its
  // address when the value moves.
  std::unique_ptr<GifPalette> GlobalPalette;
  // Passes to play; 0 endless, 1 without a looping extension.
  std::int32_t LoopCount = 1;
  std::int32_t FrameCount = 0;
  std::array<std::unique_ptr<TGIFFrame>, kMaxFrames> Frames;
  bool AnyTransparent = false;
  bool AnyInterlaced = false;
};

}  // namespace tessavo::gif
