#include "toolkit/canvas.h"

#include <algorithm>

namespace tessavo::tk {
namespace {

constexpr std::size_t kInfoSize = 40;

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
Rect Clip(Rect r, int width, int height) {
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

Surface Surface::Copy(Rect r) const {
  Surface out(r.width, r.height, mono_);
  const Rect inside = Clip(r, width_, height_);
  for (int y = inside.top; y < inside.top + inside.height; ++y) {
    for (int x = inside.left; x < inside.left + inside.width; ++x) {
      out.pixels_[out.Index(x - r.left, y - r.top)] = At(x, y);
    }
  }
  return out;
}

IndexedBitmap::IndexedBitmap(std::span<const std::uint8_t> info, std::span<const std::uint8_t> bits)
    : info_(info), bits_(bits) {
  if (info.size() < kInfoSize) return;
  const auto get = [&info](std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | info[at + static_cast<std::size_t>(i)];
    return value;
  };
  width_ = static_cast<int>(get(4, 4));
  height_ = static_cast<int>(get(8, 4));
  bitsPerPixel_ = static_cast<int>(get(14, 2));
  stride_ = (static_cast<std::size_t>(width_) * static_cast<std::size_t>(bitsPerPixel_) + 31) / 32 * 4;
}

const std::uint8_t* IndexedBitmap::Row(int y) const {
  return bits_.data() + static_cast<std::size_t>(height_ - 1 - y) * stride_;
}

int IndexedBitmap::PixelIndex(int x, int y) const {
  const std::uint8_t* row = Row(y);
  if (bitsPerPixel_ == 8) return row[x];
  return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

Pixel IndexedBitmap::ColorAt(int index) const {
  const std::size_t at = kInfoSize + 4 * static_cast<std::size_t>(index);
  if (index < 0 || at + 4 > info_.size()) return kBlack;
  return Pixel{info_[at + 2]} << 16 | Pixel{info_[at + 1]} << 8 | info_[at];
}

void SurfaceCanvas::Draw(const Source& source, Rect dest, Rop op) {
  const int sw = source.Width();
  const int sh = source.Height();
  if (sw <= 0 || sh <= 0 || dest.width <= 0 || dest.height <= 0) return;
  const Rect inside = Clip(dest, surface_.Width(), surface_.Height());
  const bool stretched = sw != dest.width || sh != dest.height;
  const IndexedBitmap* bitmap = source.AsBitmap();
  if (!stretched && bitmap && bitmap->BitsPerPixel() == 8) {
    // A picture's frame drawn at its size, as every frame is: row by row.
    Pixel colors[256] = {};
    for (int i = 0; i < 256; ++i) colors[i] = bitmap->ColorAt(i);
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

void SurfaceCanvas::Fill(Rect r, Pixel p) {
  const Rect inside = Clip(r, surface_.Width(), surface_.Height());
  for (int y = inside.top; y < inside.top + inside.height; ++y) {
    for (int x = inside.left; x < inside.left + inside.width; ++x) surface_.Set(x, y, p);
  }
}

void SurfaceCanvas::FillColor(Rect r, Color color) { Fill(r, ResolveColor(color)); }

}  // namespace tessavo::tk
