// What the window system made of the program: its windows, fonts and
// beeps, for the few parts outside the toolkit that deal with them
// directly (the animated picture draws into its form; the window tests
// send messages and measure text). Win32: the real ones; headless there
// are none, and repainting does nothing.
#pragma once

#include "toolkit/form.h"
#include "toolkit/geometry.h"

namespace tessavo::tk {

// The hidden window that stands for the whole program and carries its
// taskbar button (an HWND on Windows).
void* NativeApplicationWindow();

// The form's window handle (an HWND on Windows); nullptr while it has no
// window.
void* NativeWindow(const Form& form);

// Draws `area` (client coordinates) of the form now: off screen and copied
// (offScreen) or straight on the window, with the form's background first
// unless erase is false.
void RepaintFormNow(const Form& form, Rect area, bool offScreen, bool erase);

// The font's handle (an HFONT on Windows), made once and kept.
void* NativeFont(const Font& font);

// How often the system's default beep has sounded in this process.
int NativeBeepCount();

}  // namespace tessavo::tk
