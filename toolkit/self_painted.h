// A window-less control that draws itself: its form's painting hands it the
// platform's drawing context instead of drawing the control by kind.
#pragma once

#include "toolkit/geometry.h"

namespace tessavo::tk {

class SelfPainted {
 public:
  virtual ~SelfPainted() = default;
  // `nativeDc` is the platform's device context (an HDC on Windows), with
  // the form's client area at its origin; `at` is the control's top-left
  // there. Its clipping is the area being drawn.
  virtual void PaintOn(void* nativeDc, Point at) = 0;
};

}  // namespace tessavo::tk
