// The canvas window-less controls draw themselves on (Control::Paint), and
// the raster operations on it, over a 32-bit RGB surface: a whole source (a
// surface, or an indexed bitmap with its colour table) drawn into a
// rectangle with copy, AND or XOR, stretched when the sizes differ;
// rectangles filled black, white or with a colour. A mono surface holds
// only black and white: what is drawn into it becomes white where it is
// white and black everywhere else, as on a monochrome bitmap.
//
// A surface is a canvas on every platform; the window system's drawing
// surface is another (on Windows a device context,
// toolkit/win32/dc_canvas.cpp), so that the same calls, in the same order,
// draw the same picture on both.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "toolkit/geometry.h"

namespace tessavo::tk {

// 0x00RRGGBB.
using Pixel = std::uint32_t;
inline constexpr Pixel kBlack = 0x000000;
inline constexpr Pixel kWhite = 0xFFFFFF;

class Surface {
 public:
  Surface() = default;
  Surface(int width, int height, bool mono = false);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return pixels_.empty(); }
  bool Mono() const { return mono_; }
  Rect Bounds() const { return {0, 0, width_, height_}; }

  Pixel At(int x, int y) const { return pixels_[Index(x, y)]; }
  // Writes a pixel as the surface keeps it (mono: white or black).
  void Set(int x, int y, Pixel p) {
    pixels_[Index(x, y)] = mono_ ? (p == kWhite ? kWhite : kBlack) : p;
  }
  std::span<const Pixel> Pixels() const { return pixels_; }

  // A new surface of the same kind with the area r (clipped) of this one.
  Surface Copy(Rect r) const;

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  bool mono_ = false;
  std::vector<Pixel> pixels_;
};

// A 1- or 8-bit bitmap held elsewhere, laid out as in a bitmap file, so
// that a platform can hand it to its own bitmap calls unchanged: the
// 40-byte bitmap-info header with its colour table (blue, green, red,
// reserved), and the rows, bottom row first, each padded to four bytes.
class IndexedBitmap {
 public:
  IndexedBitmap(std::span<const std::uint8_t> info, std::span<const std::uint8_t> bits);

  int Width() const { return width_; }
  int Height() const { return height_; }
  int BitsPerPixel() const { return bitsPerPixel_; }
  std::span<const std::uint8_t> Info() const { return info_; }
  std::span<const std::uint8_t> Bits() const { return bits_; }
  // Row y of the picture, y = 0 the top row.
  const std::uint8_t* Row(int y) const;
  int PixelIndex(int x, int y) const;
  // Entry i of the colour table; black beyond its end.
  Pixel ColorAt(int index) const;

 private:
  std::span<const std::uint8_t> info_;
  std::span<const std::uint8_t> bits_;
  int width_ = 0;
  int height_ = 0;
  int bitsPerPixel_ = 0;
  std::size_t stride_ = 0;
};

// What a draw reads: a surface or an indexed bitmap, whole.
class Source {
 public:
  Source(const Surface& surface) : surface_(&surface) {}  // NOLINT: implicit by design
  Source(const IndexedBitmap& bitmap) : bitmap_(bitmap), isBitmap_(true) {}  // NOLINT
  int Width() const { return isBitmap_ ? bitmap_.Width() : surface_->Width(); }
  int Height() const { return isBitmap_ ? bitmap_.Height() : surface_->Height(); }
  bool Mono() const { return isBitmap_ ? bitmap_.BitsPerPixel() == 1 : surface_->Mono(); }
  Pixel At(int x, int y) const {
    return isBitmap_ ? bitmap_.ColorAt(bitmap_.PixelIndex(x, y)) : surface_->At(x, y);
  }
  const Surface* AsSurface() const { return surface_; }
  const IndexedBitmap* AsBitmap() const { return isBitmap_ ? &bitmap_ : nullptr; }

 private:
  const Surface* surface_ = nullptr;
  IndexedBitmap bitmap_{{}, {}};
  bool isBitmap_ = false;
};

enum class Rop { Copy, And, Xor };

class Canvas {
 public:
  virtual ~Canvas() = default;
  // The whole source into dest; a source of another size is stretched
  // (nearest pixel, as colour-on-colour stretching deletes rows and
  // columns).
  virtual void Draw(const Source& source, Rect dest, Rop op) = 0;
  virtual void FillBlack(Rect r) = 0;
  virtual void FillWhite(Rect r) = 0;
  // A solid brush of a toolkit colour (a system colour included).
  virtual void FillColor(Rect r, Color color) = 0;
};

// Draws into a surface; everything is clipped to it.
class SurfaceCanvas final : public Canvas {
 public:
  explicit SurfaceCanvas(Surface& surface) : surface_(surface) {}
  void Draw(const Source& source, Rect dest, Rop op) override;
  void FillBlack(Rect r) override { Fill(r, kBlack); }
  void FillWhite(Rect r) override { Fill(r, kWhite); }
  void FillColor(Rect r, Color color) override;

 private:
  void Fill(Rect r, Pixel p);
  Surface& surface_;
};

// The RGB value a toolkit colour stands for on this platform.
Pixel ResolveColor(Color color);

}  // namespace tessavo::tk
