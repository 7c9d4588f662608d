// The animated picture composes its frames and draws itself with the
// toolkit's raster operations (toolkit/canvas.h); a frame's bitmap is one
// of their sources as it stands.
#pragma once

#include "gifanim/gif_bitmap.h"
#include "toolkit/canvas.h"

namespace tessavo::gifanim {

using tk::Canvas;
using tk::kBlack;
using tk::kWhite;
using tk::Pixel;
using tk::ResolveColor;
using tk::Rop;
using tk::Source;
using tk::Surface;
using tk::SurfaceCanvas;

constexpr Pixel PixelOf(const gif::RgbQuad& q) {
  return (Pixel{q.red} << 16) | (Pixel{q.green} << 8) | q.blue;
}

// The bitmap as a source to draw; it must outlive the draw.
inline tk::IndexedBitmap SourceOf(const gif::GifBitmap& bitmap) {
  return tk::IndexedBitmap(bitmap.InfoBytes(), bitmap.Bits());
}

}  // namespace tessavo::gifanim
