// Headless there is no window system to draw on: controls draw on
// surfaces only, and system colours have fixed values.
#include "toolkit/canvas.h"

namespace tessavo::tk {

Pixel ResolveColor(Color color) {
  if (color & kSystemColorFlag) {
    // The classic scheme: window white, window text black, faces grey.
    switch (color & 0xFF) {
      case 5:
        return kWhite;
      case 8:
        return kBlack;
      default:
        return 0xC0C0C0;
    }
  }
  // 0x00BBGGRR to 0x00RRGGBB.
  return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

}  // namespace tessavo::tk
