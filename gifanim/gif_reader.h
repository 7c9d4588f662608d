// The GIF reader: DecodeGif turns the bytes of a GIF87a or GIF89a file into
// a GifAnimation of up to 256 frames (TGIFFrame), each with an 8-bit
// bottom-up bitmap, a 1-bit mask for transparent frames, and its timing
// and disposal. Standard library only.
//
// No input makes the reader read or write outside its buffers, run without
// end or allocate without bound: a decoding holds at most kFrameByteLimit
// bytes of bitmaps per frame and kLoadByteLimit in all, and fails beyond
// that.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "gifanim/gif_animation.h"

namespace tessavo::gif {

struct DecodeOptions {
  // Only the first image is read; the rest of the file is not parsed.
  bool firstImageOnly = false;
  // Called before every block, at the end, and every few rows of a large
  // image: BytesProcessed, BytesToProcess, PercentageProcessed (rounded to
  // the nearest), KeepOnProcessing (clear it to cancel the decoding).
  std::function<void(std::int64_t, std::int64_t, int, bool&)> onProgress;
};

// Never throws: a file that does not decode, for whatever reason, gives an
// animation without frames whose StatusCode says why.
GifAnimation DecodeGif(std::span<const std::uint8_t> bytes, const DecodeOptions& options = {});

}  // namespace tessavo::gif
