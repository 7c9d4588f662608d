#include "gifanim/raster.h"

#include <algorithm>

namespace tessavo::gifanim {
namespace {

Pixel Apply(Pixel target, Pixel source, Rop op) {
  switch (op) {
    case Rop::Copy:
      return source;
    case Rop::And:
      return target & source;
    case Rop::Xor:
      return target ^ source;
  }
  return source;
}

// The part of r inside 0..width by 0..height.
tk::Rect Clip(tk::Rect r, int width, int height) {
  const int left = std::max(r.left, 0);
  const int top = std::max(r.top, 0);
  const int right = std::min(r.left + r.width, width);
  const int bottom = std::min(r.top + r.height, height);
  if (right <= left || bottom <= top) return {};
  return {left, top, right - left, bottom - top};
}

}  // namespace

Surface::Surface(int width, int height, bool mono)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      mono_(mono),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), kBlack) {}

Surface Surface::Copy(tk::Rect r) const {
  Surface out(r.width, r.height, mono_);
  const tk::Rect inside = Clip(r, width_, height_);
  for (int y = inside.top; y < inside.top + inside.height; ++y) {
    for (int x = inside.left; x < inside.left + inside.width; ++x) {
      out.pixels_[out.Index(x - r.left, y - r.top)] = At(x, y);
    }
  }
  return out;
}

Pixel Source::At(int x, int y) const {
  if (surface_) return surface_->At(x, y);
  const auto& colors = bitmap_->ColorTable();
  const auto index = static_cast<std::size_t>(bitmap_->PixelIndex(x, y));
  return index < colors.size() ? PixelOf(colors[index]) : kBlack;
}

void SurfaceTarget::Draw(const Source& source, tk::Rect dest, Rop op) {
  const int sw = source.Width();
  const int sh = source.Height();
  if (sw <= 0 || sh <= 0 || dest.width <= 0 || dest.height <= 0) return;
  const tk::Rect inside = Clip(dest, surface_.Width(), surface_.Height());
  const bool stretched = sw != dest.width || sh != dest.height;
  const gif::GifBitmap* bitmap = source.AsBitmap();
  if (!stretched && bitmap && bitmap->BitsPerPixel() == 8) {
    // A frame's image drawn at its size, as every frame is: row by row.
    Pixel colors[256] = {};
    const auto& table = bitmap->ColorTable();
    for (std::size_t i = 0; i < table.size() && i < 256; ++i) colors[i] = PixelOf(table[i]);
    for (int y = inside.top; y < inside.top + inside.height; ++y) {
      const std::uint8_t* row = bitmap->Row(y - dest.top);
      for (int x = inside.left; x < inside.left + inside.width; ++x) {
        surface_.Set(x, y, Apply(surface_.At(x, y), colors[row[x - dest.left]], op));
      }
    }
    return;
  }
  for (int y = inside.top; y < inside.top + inside.height; ++y) {
    const int dy = y - dest.top;
    const int sy = stretched ? static_cast<int>(static_cast<long long>(dy) * sh / dest.height) : dy;
    for (int x = inside.left; x < inside.left + inside.width; ++x) {
      const int dx = x - dest.left;
      const int sx = stretched ? static_cast<int>(static_cast<long long>(dx) * sw / dest.width) : dx;
      surface_.Set(x, y, Apply(surface_.At(x, y), source.At(sx, sy), op));
    }
  }
}

void SurfaceTarget::Fill(tk::Rect r, Pixel p) {
  const tk::Rect inside = Clip(r, surface_.Width(), surface_.Height());
  for (int y = inside.top; y < inside.top + inside.height; ++y) {
    for (int x = inside.left; x < inside.left + inside.width; ++x) surface_.Set(x, y, p);
  }
}

void SurfaceTarget::FillColor(tk::Rect r, tk::Color color) { Fill(r, ResolveColor(color)); }

}  // namespace tessavo::gifanim
