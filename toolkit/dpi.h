// Display scaling. Every position, size and font of a form is given for a
// screen of 96 dots per inch; a window on a screen of another scale shows
// them multiplied by its dots per inch over 96. These functions are the one
// place where that happens, so that every peer rounds the same way.
#pragma once

#include <cstdint>

#include "toolkit/geometry.h"

namespace tessavo::tk {

inline constexpr int kDesignDpi = 96;

namespace dpi_detail {

constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

}  // namespace dpi_detail

// value * dpi / 96 to the nearest pixel, halves away from zero, as the
// system's MulDiv rounds dialog units.
constexpr int ScaleToDpi(int value, int dpi) {
  const std::int64_t product = std::int64_t{value} * dpi;
  const std::int64_t half = kDesignDpi / 2;
  return static_cast<int>(product >= 0 ? (product + half) / kDesignDpi
                                        : -((-product + half) / kDesignDpi));
}

// A rectangle by its edges: controls that meet at 96 dpi meet at any
// scale, and a control's scaled width may differ by a pixel from its
// scaled neighbour's.
constexpr Rect ScaleToDpi(const Rect& r, int dpi) {
  const int left = ScaleToDpi(r.left, dpi);
  const int top = ScaleToDpi(r.top, dpi);
  return {left, top, ScaleToDpi(r.left + r.width, dpi) - left,
          ScaleToDpi(r.top + r.height, dpi) - top};
}

// The described coordinate whose scaled pixels hold the screen coordinate
// x: ScaleToDpi(v) <= x < ScaleToDpi(v + 1), for points on a window
// (x >= 0) at 96 dpi or more.
constexpr int UnscaleFromDpi(int x, int dpi) {
  return static_cast<int>(
      dpi_detail::FloorDiv(std::int64_t{x} * kDesignDpi + kDesignDpi / 2 - 1, dpi));
}

// The smallest described extent from `at` whose scaled size holds
// `pixels` screen pixels: what a control measured on the screen needs.
constexpr int UnscaleExtent(int at, int pixels, int dpi) {
  if (pixels <= 0) return 0;
  return UnscaleFromDpi(ScaleToDpi(at, dpi) + pixels - 1, dpi) + 1 - at;
}

// A font's character height through its whole point size, since fonts are
// sized in points: 11 pixels (8 points) stays 11 at 96 dpi and is 16 at
// 144, not 16.5 rounded up.
constexpr int ScaleFontHeight(int height, int dpi) {
  const int points = ScaleToDpi(height, 72);  // height * 72 / 96
  const std::int64_t pixels = std::int64_t{points} * dpi;
  return static_cast<int>((pixels + 36) / 72);
}

// Pixel pictures (tool-bar buttons, icons, the animation) are drawn pixel
// for pixel, blown up by the whole multiple nearest to the scale (halves
// up: 2 at 150 %), but no larger than their room holds, and at least 1.
constexpr int PictureMultiple(int dpi, int size, int room) {
  const int nearest = (dpi + kDesignDpi / 2) / kDesignDpi;
  const int fits = size > 0 ? room / size : nearest;
  const int multiple = nearest < fits ? nearest : fits;
  return multiple > 1 ? multiple : 1;
}

// The same for a picture of both sides in a room of both sides.
constexpr int PictureMultiple(int dpi, Size picture, Size room) {
  const int across = PictureMultiple(dpi, picture.width, room.width);
  const int down = PictureMultiple(dpi, picture.height, room.height);
  return across < down ? across : down;
}

}  // namespace tessavo::tk
