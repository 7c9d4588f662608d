// The window system's side of the animated picture, one file per platform:
// drawing one rectangle of the control's form again at once, and asking the
// form to realise the picture's palette. Headless both do nothing: the
// peer's record of the change is all there is to see.
#pragma once

#include "toolkit/control.h"

namespace tessavo::gifanim {

// Draws `formArea` (the form's client coordinates) of the control's form
// now: off screen and copied (offScreen) or straight on the window, with
// the form's background first unless the control covers the area (erase
// false).
void RepaintFormArea(tk::Control& control, tk::Rect formArea, bool offScreen, bool erase);

// Posts the query-new-palette message to the control's form when its
// window exists (and, with onlyWhenFocused, holds the focus).
void PostPaletteQuery(tk::Control& control, bool onlyWhenFocused);

}  // namespace tessavo::gifanim
