// The raster operations the animated picture draws with, over a 32-bit RGB
// surface: a whole source (a surface, or a frame's 8- or 1-bit bitmap with
// its colour table) drawn into a rectangle of a target with copy, AND or
// XOR, stretched when the sizes differ; rectangles filled black, white or
// with a colour. A mono surface holds only black and white: what is drawn
// into it becomes white where it is white and black everywhere else, as on
// a monochrome bitmap.
//
// The composed picture and its mask are surfaces on every platform. The
// window system's own drawing surface is another RasterTarget (on Windows
// a device context, gifanim/win32/dc_raster.cpp), so that the same calls,
// in the same order, paint the picture there.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "gifanim/gif_bitmap.h"
#include "toolkit/geometry.h"

namespace tessavo::gifanim {

// 0x00RRGGBB.
using Pixel = std::uint32_t;
inline constexpr Pixel kBlack = 0x000000;
inline constexpr Pixel kWhite = 0xFFFFFF;

constexpr Pixel PixelOf(const gif::RgbQuad& q) {
  return (Pixel{q.red} << 16) | (Pixel{q.green} << 8) | q.blue;
}

class Surface {
 public:
  Surface() = default;
  Surface(int width, int height, bool mono = false);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return pixels_.empty(); }
  bool Mono() const { return mono_; }
  tk::Rect Bounds() const { return {0, 0, width_, height_}; }

  Pixel At(int x, int y) const { return pixels_[Index(x, y)]; }
  // Writes a pixel as the surface keeps it (mono: white or black).
  void Set(int x, int y, Pixel p) { pixels_[Index(x, y)] = mono_ ? (p == kWhite ? kWhite : kBlack) : p; }
  std::span<const Pixel> Pixels() const { return pixels_; }

  // A new surface of the same kind with the area r (clipped) of this one.
  Surface Copy(tk::Rect r) const;

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  bool mono_ = false;
  std::vector<Pixel> pixels_;
};

// What a draw reads: a surface or a GIF bitmap, whole.
class Source {
 public:
  Source(const Surface& surface) : surface_(&surface) {}  // NOLINT: implicit by design
  Source(const gif::GifBitmap& bitmap) : bitmap_(&bitmap) {}  // NOLINT
  int Width() const { return surface_ ? surface_->Width() : bitmap_->Width(); }
  int Height() const { return surface_ ? surface_->Height() : bitmap_->Height(); }
  bool Mono() const { return surface_ ? surface_->Mono() : bitmap_->BitsPerPixel() == 1; }
  Pixel At(int x, int y) const;
  const Surface* AsSurface() const { return surface_; }
  const gif::GifBitmap* AsBitmap() const { return bitmap_; }

 private:
  const Surface* surface_ = nullptr;
  const gif::GifBitmap* bitmap_ = nullptr;
};

enum class Rop { Copy, And, Xor };

class RasterTarget {
 public:
  virtual ~RasterTarget() = default;
  // The whole source into dest; a source of another size is stretched
  // (nearest pixel, as colour-on-colour stretching deletes rows and
  // columns).
  virtual void Draw(const Source& source, tk::Rect dest, Rop op) = 0;
  virtual void FillBlack(tk::Rect r) = 0;
  virtual void FillWhite(tk::Rect r) = 0;
  // A solid brush of a toolkit colour (a system colour included).
  virtual void FillColor(tk::Rect r, tk::Color color) = 0;
};

// Draws into a surface; everything is clipped to it.
class SurfaceTarget final : public RasterTarget {
 public:
  explicit SurfaceTarget(Surface& surface) : surface_(surface) {}
  void Draw(const Source& source, tk::Rect dest, Rop op) override;
  void FillBlack(tk::Rect r) override { Fill(r, kBlack); }
  void FillWhite(tk::Rect r) override { Fill(r, kWhite); }
  void FillColor(tk::Rect r, tk::Color color) override;

 private:
  void Fill(tk::Rect r, Pixel p);
  Surface& surface_;
};

// The platform's drawing surface for a native device context with the
// control's top-left at `origin`; none where the platform has no such
// thing (headless).
std::unique_ptr<RasterTarget> MakeDeviceTarget(void* nativeDc, tk::Point origin);

// The RGB value a toolkit colour stands for on this platform.
Pixel ResolveColor(tk::Color color);

}  // namespace tessavo::gifanim
