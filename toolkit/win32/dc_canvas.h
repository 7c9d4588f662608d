// The toolkit's canvas on a device context, for window-less controls that
// draw themselves on their form.
#pragma once

#include <windows.h>

#include "toolkit/canvas.h"

namespace tessavo::tk::win32 {

// Draws on dc with the canvas's origin at `origin` of the context.
class DcCanvas final : public Canvas {
 public:
  DcCanvas(HDC dc, Point origin) : dc_(dc), origin_(origin) {}
  void Draw(const Source& source, Rect dest, Rop op) override;
  void FillBlack(Rect r) override { Pat(r, BLACKNESS); }
  void FillWhite(Rect r) override { Pat(r, WHITENESS); }
  void FillColor(Rect r, Color color) override;

 private:
  void Pat(Rect r, DWORD rop) { PatBlt(dc_, origin_.x + r.left, origin_.y + r.top, r.width, r.height, rop); }

  HDC dc_;
  Point origin_;
};

}  // namespace tessavo::tk::win32
