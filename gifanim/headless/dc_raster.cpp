// Headless there is no window system to draw on: pictures are painted
// into surfaces only, and system colours have fixed values.
#include "gifanim/raster.h"

namespace tessavo::gifanim {

std::unique_ptr<RasterTarget> MakeDeviceTarget(void* /*nativeDc*/, tk::Point /*origin*/) { return nullptr; }

Pixel ResolveColor(tk::Color color) {
  if (color & tk::kSystemColorFlag) {
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

}  // namespace tessavo::gifanim
