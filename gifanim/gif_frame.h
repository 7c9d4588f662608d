// One image of a GIF file as the reader leaves it: position, timing,
// disposal, transparency, its palette and its bitmaps.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "gifanim/gif_bitmap.h"

namespace tessavo::gif {

// 256 RGB triples (red, green, blue).
using GifPalette = std::array<std::uint8_t, 768>;

class TGIFFrame {
 public:
  TGIFFrame() = default;
  ~TGIFFrame();
  TGIFFrame(const TGIFFrame&) = delete;
  TGIFFrame& operator=(const TGIFFrame&) = delete;

  // Gives the frame a table of its own, zero-filled, and points Palette at
  // it.
  GifPalette& AdoptOwnPalette();
  // Points Palette at the picture's table, which the frame does not own.
  void UseSharedPalette(const GifPalette& palette);

  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  // Exponent + 1 of the frame's own colour table, 0 when it has none.
  std::int32_t LocalBits = 0;
  // Milliseconds.
  std::int32_t Delay = 0;
  // 0 and 1 leave the image, 2 restores the background, 3 what was there.
  std::uint8_t Disposal = 0;
  bool OwnsPalette = false;
  bool Interlaced = false;
  bool Transparent = false;
  std::uint8_t TransparentIndex = 0;
  // Red, green, blue of TransparentIndex in Palette.
  std::array<std::uint8_t, 3> TransparentColor{};
  std::string Comment;
  const GifPalette* Palette = nullptr;
  // 8 bits per pixel, Width by Height.
  GifBitmap Image;
  // 1 bit per pixel, only for transparent frames: white (1) where the
  // pixel is transparent.
  std::unique_ptr<GifBitmap> Mask;
  // Only for disposal 3: room for the area the frame covers.
  std::unique_ptr<GifBitmap> SavedImage;
  std::unique_ptr<GifBitmap> SavedMask;

 private:
  std::unique_ptr<GifPalette> ownPalette_;
};

}  // namespace tessavo::gif
