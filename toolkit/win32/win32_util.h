// Small pieces every Win32 peer needs: the module handle, fonts and
// colours made from the toolkit's values, and the one way window
// procedures call into portable code.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "toolkit/geometry.h"

namespace tessavo::tk::win32 {

// Private messages; none carries a pointer. kCallOnMainThread tells the
// main thread that calls from other threads wait for it.
inline constexpr UINT kCallOnMainThread = WM_APP + 1;
inline constexpr UINT kActivateLastForm = WM_APP + 2;

HINSTANCE Instance();

// Loads the common controls once (list of classes we use).
void InitControls();

// Runs portable code from a window procedure or callback: the
// application's guard shows what it throws, and nothing gets past here,
// since an exception must never unwind through user32. True when fn
// returned normally.
bool Call(const std::function<void()>& fn) noexcept;

// Font handles live as long as the program; a form uses a handful. The
// font's height is scaled to dpi.
HFONT FontHandle(const Font& font, int dpi);
COLORREF ColorRef(Color color);

// Display scaling. The process is per-monitor aware (its manifest says so;
// DeclareDpiAwareness asks again where no manifest did). Windows before
// 10 know only the system's dots per inch, which is then every window's.
void DeclareDpiAwareness();
int SystemDpi();
int WindowDpi(HWND hwnd);
// AdjustWindowRectEx with the frame, caption and menu bar at dpi.
void AdjustWindowRectForDpi(RECT& r, DWORD style, bool menu, DWORD exStyle, int dpi);

// The program's own icon (the first icon group of the executable), or
// the stock application icon when it has none, at the size the system
// draws small or large icons at dpi (the system's by default).
HICON ProgramIcon(bool small, int dpi = 0);

std::string WindowText(HWND hwnd);

// Answers a tool-tip's request for its text (TTN_GETDISPINFOA or W) with
// text; storage keeps the answer alive until the tip has taken it.
struct ToolTipText {
  std::string narrow;
  std::wstring wide;
};
bool AnswerToolTip(NMHDR& header, const std::string& text, ToolTipText& storage);

}  // namespace tessavo::tk::win32
