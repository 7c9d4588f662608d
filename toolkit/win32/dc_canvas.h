// The toolkit's canvas on a device context, for window-less controls that
// draw themselves on their form.
#pragma once

#include <windows.h>

#include "toolkit/canvas.h"

namespace tessavo::tk::win32 {

// Draws on dc with the canvas's origin at `origin` of the context, every
// canvas pixel `multiple` pixels wide and high (nearest neighbour, never
// blurred).
class DcCanvas final : public Canvas {
 public:
  DcCanvas(HDC dc, Point origin, int multiple = 1)
      : dc_(dc), origin_(origin), multiple_(multiple) {}
  void Draw(const Source& source, Rect dest, Rop op) override;
  void FillBlack(Rect r) override { Pat(r, BLACKNESS); }
  void FillWhite(Rect r) override { Pat(r, WHITENESS); }
  void FillColor(Rect r, Color color) override;

 private:
  RECT OnDc(const Rect& r) const {
    const int left = origin_.x + r.left * multiple_, top = origin_.y + r.top * multiple_;
    return {left, top, left + r.width * multiple_, top + r.height * multiple_};
  }
  void Pat(Rect r, DWORD rop) {
    const RECT d = OnDc(r);
    PatBlt(dc_, d.left, d.top, d.right - d.left, d.bottom - d.top, rop);
  }

  HDC dc_;
  Point origin_;
  int multiple_;
};

}  // namespace tessavo::tk::win32
