// The raster operations on a device context: every source goes into a DIB
// section in a memory context and is stretch-copied with the raster
// operation (StretchBlt); fills are pattern operations (PatBlt).
#include "toolkit/win32/dc_canvas.h"

#include <cstring>
#include <vector>

namespace tessavo::tk::win32 {
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
  const IndexedBitmap& bitmap = *source.AsBitmap();
  const auto header = bitmap.Info();
  std::vector<std::uint8_t> info(header.begin(), header.end());
  HBITMAP dib = CreateDIBSection(dc, reinterpret_cast<const BITMAPINFO*>(info.data()),
                                 DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib && bits) std::memcpy(bits, bitmap.Bits().data(), bitmap.Bits().size());
  return dib;
}

}  // namespace

void DcCanvas::Draw(const Source& source, Rect dest, Rop op) {
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
    const RECT d = OnDc(dest);
    const int dw = d.right - d.left, dh = d.bottom - d.top;
    if (sw != dw || sh != dh) {
      if (GetDeviceCaps(dc_, BITSPIXEL) <= 8 && !source.Mono()) {
        POINT brush;
        GetBrushOrgEx(dc_, &brush);
        SetStretchBltMode(dc_, HALFTONE);
        SetBrushOrgEx(dc_, brush.x, brush.y, nullptr);
      } else {
        SetStretchBltMode(dc_, source.Mono() ? WHITEONBLACK : COLORONCOLOR);
      }
    }
    StretchBlt(dc_, d.left, d.top, dw, dh, memory, 0, 0, sw, sh, RopCode(op));
    SetTextColor(dc_, text);
    SetBkColor(dc_, back);
    SelectObject(memory, old);
    DeleteObject(dib);
  }
  DeleteDC(memory);
}

void DcCanvas::FillColor(Rect r, Color color) {
  const Pixel rgb = ResolveColor(color);
  HBRUSH brush = CreateSolidBrush(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
  HGDIOBJ old = SelectObject(dc_, brush);
  Pat(r, PATCOPY);
  SelectObject(dc_, old);
  DeleteObject(brush);
}

}  // namespace tessavo::tk::win32

namespace tessavo::tk {

Pixel ResolveColor(Color color) {
  const COLORREF ref =
      (color & kSystemColorFlag) ? GetSysColor(static_cast<int>(color & 0xFF)) : color;
  return (Pixel{GetRValue(ref)} << 16) | (Pixel{GetGValue(ref)} << 8) | GetBValue(ref);
}

}  // namespace tessavo::tk
