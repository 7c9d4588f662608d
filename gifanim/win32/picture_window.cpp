#include <windows.h>

#include "gifanim/picture_window.h"
#include "toolkit/form.h"
#include "toolkit/native.h"

namespace tessavo::gifanim {

void RepaintFormArea(tk::Control& control, tk::Rect formArea, bool offScreen, bool erase) {
  if (tk::Form* form = control.OwnerForm()) tk::RepaintFormNow(*form, formArea, offScreen, erase);
}

void PostPaletteQuery(tk::Control& control, bool onlyWhenFocused) {
  tk::Form* form = control.OwnerForm();
  HWND hwnd = form ? static_cast<HWND>(tk::NativeWindow(*form)) : nullptr;
  if (!hwnd) return;
  if (onlyWhenFocused && GetFocus() != hwnd) return;
  PostMessageA(hwnd, WM_QUERYNEWPALETTE, 0, 0);
}

}  // namespace tessavo::gifanim
