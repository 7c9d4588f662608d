#include <windows.h>

#include "gifanim/picture_window.h"
#include "toolkit/form.h"
#include "toolkit/win32/form_peer.h"

namespace tessavo::gifanim {
namespace {

tk::win32::FormPeerWin* FormPeerOf(tk::Control& control) {
  tk::Form* form = control.OwnerForm();
  return form ? dynamic_cast<tk::win32::FormPeerWin*>(form->GetFormPeer()) : nullptr;
}

}  // namespace

void RepaintFormArea(tk::Control& control, tk::Rect formArea, bool offScreen, bool erase) {
  if (tk::win32::FormPeerWin* peer = FormPeerOf(control)) {
    const RECT area{formArea.left, formArea.top, formArea.left + formArea.width, formArea.top + formArea.height};
    peer->RepaintNow(area, offScreen, erase);
  }
}

void PostPaletteQuery(tk::Control& control, bool onlyWhenFocused) {
  tk::win32::FormPeerWin* peer = FormPeerOf(control);
  HWND hwnd = peer ? peer->Handle() : nullptr;
  if (!hwnd) return;
  if (onlyWhenFocused && GetFocus() != hwnd) return;
  PostMessageA(hwnd, WM_QUERYNEWPALETTE, 0, 0);
}

}  // namespace tessavo::gifanim
