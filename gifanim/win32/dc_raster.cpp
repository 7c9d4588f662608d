// The raster operations on a device context: every source goes into a DIB
// section in a memory context and is stretch-copied with the raster
// operation (StretchBlt); fills are pattern operations (PatBlt).
#include <windows.h>

#include <cstring>
#include <vector>

#include "gifanim/raster.h"

namespace tessavo::gifanim {
namespace {

DWORD RopCode(Rop op) {
  switch (op) {
    case Rop::Copy:
      return SRCCOPY;
    case Rop::And:
      return SRCAND;
    case Rop::Xor:
      return SRCINVERT;
  }
  return SRCCOPY;
}

// A source as a DIB section: a surface as 32-bit top-down rows (0x00RRGGBB
// is the DIB's byte order), a GIF bitmap as the bitmap file it is.
HBITMAP MakeDib(HDC dc, const Source& source) {
  void* bits = nullptr;
  if (const Surface* surface = source.AsSurface()) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = surface->Width();
    info.bmiHeader.biHeight = -surface->Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib && bits) std::memcpy(bits, surface->Pixels().data(), surface->Pixels().size_bytes());
    return dib;
  }
  const gif::GifBitmap& bitmap = *source.AsBitmap();
  const auto header = bitmap.InfoBytes();
  std::vector<std::uint8_t> info(header.begin(), header.end());
  HBITMAP dib = CreateDIBSection(dc, reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &bits,
                                 nullptr, 0);
  if (dib && bits) std::memcpy(bits, bitmap.Bits().data(), bitmap.Bits().size());
  return dib;
}

class DcTarget final : public RasterTarget {
 public:
  DcTarget(HDC dc, tk::Point origin) : dc_(dc), origin_(origin) {}

  void Draw(const Source& source, tk::Rect dest, Rop op) override {
    const int sw = source.Width();
    const int sh = source.Height();
    if (sw <= 0 || sh <= 0 || dest.width <= 0 || dest.height <= 0) return;
    HDC memory = CreateCompatibleDC(dc_);
    if (!memory) return;
    HBITMAP dib = MakeDib(memory, source);
    if (dib) {
      HGDIOBJ old = SelectObject(memory, dib);
      // A monochrome source draws black as the text colour and white as
      // the background: keep them black and white.
      const COLORREF text = SetTextColor(dc_, RGB(0, 0, 0));
      const COLORREF back = SetBkColor(dc_, RGB(255, 255, 255));
      if (sw != dest.width || sh != dest.height) {
        if (GetDeviceCaps(dc_, BITSPIXEL) <= 8 && !source.Mono()) {
          POINT brush;
          GetBrushOrgEx(dc_, &brush);
          SetStretchBltMode(dc_, HALFTONE);
          SetBrushOrgEx(dc_, brush.x, brush.y, nullptr);
        } else {
          SetStretchBltMode(dc_, source.Mono() ? WHITEONBLACK : COLORONCOLOR);
        }
      }
      StretchBlt(dc_, origin_.x + dest.left, origin_.y + dest.top, dest.width, dest.height, memory, 0, 0, sw,
                 sh, RopCode(op));
      SetTextColor(dc_, text);
      SetBkColor(dc_, back);
      SelectObject(memory, old);
      DeleteObject(dib);
    }
    DeleteDC(memory);
  }

  void FillBlack(tk::Rect r) override { Pat(r, BLACKNESS); }
  void FillWhite(tk::Rect r) override { Pat(r, WHITENESS); }
  void FillColor(tk::Rect r, tk::Color color) override {
    const Pixel rgb = ResolveColor(color);
    HBRUSH brush = CreateSolidBrush(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    HGDIOBJ old = SelectObject(dc_, brush);
    Pat(r, PATCOPY);
    SelectObject(dc_, old);
    DeleteObject(brush);
  }

 private:
  void Pat(tk::Rect r, DWORD rop) { PatBlt(dc_, origin_.x + r.left, origin_.y + r.top, r.width, r.height, rop); }

  HDC dc_;
  tk::Point origin_;
};

}  // namespace

std::unique_ptr<RasterTarget> MakeDeviceTarget(void* nativeDc, tk::Point origin) {
  if (!nativeDc) return nullptr;
  return std::make_unique<DcTarget>(static_cast<HDC>(nativeDc), origin);
}

Pixel ResolveColor(tk::Color color) {
  const COLORREF ref = (color & tk::kSystemColorFlag) ? GetSysColor(static_cast<int>(color & 0xFF)) : color;
  return (Pixel{GetRValue(ref)} << 16) | (Pixel{GetGValue(ref)} << 8) | GetBValue(ref);
}

}  // namespace tessavo::gifanim
