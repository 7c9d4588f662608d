#include "gifanim/picture_window.h"

namespace tessavo::gifanim {

void RepaintFormArea(tk::Control& /*control*/, tk::Rect /*formArea*/, bool /*offScreen*/, bool /*erase*/) {}

void PostPaletteQuery(tk::Control& /*control*/, bool /*onlyWhenFocused*/) {}

}  // namespace tessavo::gifanim
