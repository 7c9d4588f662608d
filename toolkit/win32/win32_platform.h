// What the Win32 application platform offers the form and control peers:
// the application window, the message pump and the process-wide cursor.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "toolkit/application.h"
#include "toolkit/services.h"

namespace tessavo::tk::win32 {

// The hidden top-level window that stands for the whole program: it owns
// every form, so that only it has a taskbar button, and it carries the
// application title there. Minimising it hides every form at once.
HWND ApplicationWindow();
// Gives the program its taskbar button (a zero-size window, shown without
// activation) once the first form appears.
void ShowApplicationWindow();
// Hides every form and minimises the application window.
void MinimizeAll();
bool ProgramMinimized();
// The form window to give back the activation to (restore, end of a modal
// loop); forms report themselves here when they are activated.
void NoteActiveForm(HWND form);
void ForgetForm(HWND form);

// Takes one message (waiting for it when wait is set) and handles it as
// the program's loops do: hints, keyboard navigation, dispatch. Returns
// false when there was none or WM_QUIT arrived (see QuitReceived).
bool PumpOne(bool wait);
bool QuitReceived();

// The cursor the program asked for, and its handle.
Cursor CurrentCursor();
HCURSOR CursorHandle();

// How often Beep ran in this process: lets the tests see that a refused
// key was answered.
int BeepCount();

// Pieces of the platform kept in files of their own.
std::optional<std::string> RunSaveDialog(const SaveDialogOptions& options);
std::optional<std::string> RunOpenDialog(const OpenDialogOptions& options);
// The pointer moved or left: the application hint follows the control
// under it (message_pump.cpp).
void TrackHint(const MSG& msg);

}  // namespace tessavo::tk::win32
