// libFuzzer target: any bytes through the reader, then every pixel of
// every bitmap it kept is read back.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>

#include "gifanim/gif_reader.h"

using tessavo::gif::GifBitmap;
using tessavo::gif::DecodeGif;
using tessavo::gif::DecodeOptions;
using tessavo::gif::GifAnimation;

namespace {

// Reads the first and last row and every pixel of up to 64 rows between,
// so that frames of tens of millions of pixels (which the limits allow)
// do not turn into timeouts of the target itself.
unsigned Touch(const GifBitmap& bitmap, std::int32_t width, std::int32_t height, int bits) {
  if (bitmap.Width() != width || bitmap.Height() != height || bitmap.BitsPerPixel() != bits) std::abort();
  if (bitmap.Bits().size() != bitmap.Stride() * static_cast<std::size_t>(height)) std::abort();
  unsigned sum = 0;
  const std::int32_t step = height / 64 + 1;
  for (std::int32_t y = 0; y < height; y += (y == height - 1 ? 1 : std::min(step, height - 1 - y))) {
    for (std::int32_t x = 0; x < width; ++x) sum += static_cast<unsigned>(bitmap.PixelIndex(x, y));
  }
  return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  DecodeOptions options;
  // The last byte picks the options, so both ways are explored.
  if (size > 0) options.firstImageOnly = (data[size - 1] & 1) != 0;
  int calls = 0;
  if (size > 0 && (data[size - 1] & 2)) {
    options.onProgress = [&](std::int64_t position, std::int64_t total, int percent, bool& keep) {
      if (position < 0 || position > total || percent < 0 || percent > 100) std::abort();
      if (++calls == 40) keep = false;
    };
  }
  const GifAnimation reader = DecodeGif({data, size}, options);
  if (reader.StatusCode != 0) {
    if (reader.FrameCount != 0) std::abort();
    return 0;
  }
  if (reader.FrameCount > GifAnimation::kMaxFrames) std::abort();
  volatile unsigned sink = 0;
  for (int i = 1; i <= reader.FrameCount; ++i) {
    const auto& frame = reader.Frame(i);
    if (frame.Disposal > 3) std::abort();
    if (frame.Left + frame.Width > reader.PictureWidth || frame.Top + frame.Height > reader.PictureHeight) {
      std::abort();
    }
    sink = sink + Touch(frame.Image, frame.Width, frame.Height, 8);
    if (frame.Transparent != (frame.Mask != nullptr)) std::abort();
    if (frame.Mask) sink = sink + Touch(*frame.Mask, frame.Width, frame.Height, 1);
    if ((frame.Disposal == 3) != (frame.SavedImage != nullptr)) std::abort();
    for (std::size_t c = 0; c < frame.Image.ColorTable().size(); ++c) sink = sink + frame.Image.ColorTable()[c].red;
  }
  (void)sink;
  return 0;
}
