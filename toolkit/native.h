// What the window system made of the program: its windows, fonts and
// beeps, for the few parts outside the toolkit that deal with them
// directly (the window tests send messages and measure text). Win32: the
// real ones; headless there are none.
#pragma once

#include "toolkit/dpi.h"
#include "toolkit/form.h"
#include "toolkit/geometry.h"

namespace tessavo::tk {

// The hidden window that stands for the whole program and carries its
// taskbar button (an HWND on Windows).
void* NativeApplicationWindow();

// The form's window handle (an HWND on Windows); nullptr while it has no
// window.
void* NativeWindow(const Form& form);

// The dots per inch the form's window is shown at; 96 while it has none,
// and always headless.
int NativeDpi(const Form& form);

// The font's handle (an HFONT on Windows) at the given dots per inch, made
// once and kept.
void* NativeFont(const Font& font, int dpi = kDesignDpi);

// How often the system's default beep has sounded in this process.
int NativeBeepCount();

}  // namespace tessavo::tk
