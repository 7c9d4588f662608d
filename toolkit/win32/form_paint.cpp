// The form's own painting: its background and the window-less controls
// (labels, panels, bevels, group boxes) in tree order, containers before
// what they hold. Native controls clip themselves out.
#include <windows.h>

#include "toolkit/win32/control_peers.h"
#include "toolkit/win32/form_peer.h"

namespace tessavo::tk::win32 {
namespace {

// Paints the window-less controls that reach into area. Most repaints are
// of one small control (a label whose text changed), and under Wine every
// drawing call costs, even one the DC clips away entirely.
void PaintTree(const Container& container, HDC dc, const RECT& area) {
  for (Control* control : container.Children()) {
    if (!control->Visible()) continue;
    auto* peer = dynamic_cast<ChildPeer*>(control->Peer());
    RECT own;
    const RECT bounds = peer ? peer->FormRect() : RECT{};
    if (peer && peer->IsPainted() && IntersectRect(&own, &bounds, &area)) {
      const int saved = SaveDC(dc);
      peer->Paint(dc);
      RestoreDC(dc, saved);
    }
    if (auto* inner = dynamic_cast<Container*>(control)) PaintTree(*inner, dc, area);
  }
}

// Paints area of dc by way of a bitmap of its size, copied in at once (or
// straight onto dc when no bitmap can be had); paint draws in dc's
// coordinates.
template <typename Paint>
void PaintThroughBitmap(HDC dc, const RECT& area, Paint&& paint) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = memory ? CreateCompatibleBitmap(dc, width, height) : nullptr;
  if (bitmap) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    SetViewportOrgEx(memory, -area.left, -area.top, nullptr);
    paint(memory);
    SetViewportOrgEx(memory, 0, 0, nullptr);
    BitBlt(dc, area.left, area.top, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
  } else {
    paint(dc);
  }
  if (memory) DeleteDC(memory);
}

}  // namespace

void FormPeerWin::Paint(HDC dc, const RECT& area) {
  FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
  SetBkMode(dc, TRANSPARENT);
  PaintTree(form_, dc, area);
}

void FormPeerWin::PaintBuffered() {
  PAINTSTRUCT ps;
  painting_ = true;
  HDC dc = BeginPaint(hwnd_, &ps);
  painting_ = false;
  const RECT area = ps.rcPaint;
  // Through a bitmap, so that a label being redrawn never flickers.
  if (area.right > area.left && area.bottom > area.top)
    PaintThroughBitmap(dc, area, [&](HDC target) { Paint(target, area); });
  EndPaint(hwnd_, &ps);
}

void FormPeerWin::RepaintNow(const RECT& area, bool offScreen, bool erase) {
  if (!hwnd_ || !IsWindowVisible(hwnd_) || IsIconic(hwnd_)) return;
  RECT client;
  GetClientRect(hwnd_, &client);
  RECT r;
  if (!IntersectRect(&r, &area, &client)) return;
  HDC window = GetDC(hwnd_);
  if (!window) return;
  const auto paint = [&](HDC target) {
    const int saved = SaveDC(target);
    IntersectClipRect(target, r.left, r.top, r.right, r.bottom);
    if (erase) FillRect(target, &r, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(target, TRANSPARENT);
    PaintTree(form_, target, r);
    RestoreDC(target, saved);
  };
  if (offScreen) {
    PaintThroughBitmap(window, r, paint);
  } else {
    paint(window);
  }
  ReleaseDC(hwnd_, window);
}

}  // namespace tessavo::tk::win32
