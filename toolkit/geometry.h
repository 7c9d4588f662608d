// Plain value types shared by the toolkit's controls and their peers.
#pragma once

#include <cstdint>
#include <string>

namespace tessavo::tk {

struct Point {
  int x = 0;
  int y = 0;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// Left, top, width, height in pixels, relative to the parent's client area.
struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool Contains(Point p) const {
    return p.x >= left && p.y >= top && p.x < left + width && p.y < top + height;
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// 0x00BBGGRR like a Win32 COLORREF, or one of the system colours below.
using Color = std::uint32_t;
// The name in parentheses: <windows.h> has a function-like RGB macro (with
// the same result), which must not expand here.
inline constexpr Color (RGB)(int r, int g, int b) {
  return static_cast<Color>(r | (g << 8) | (b << 16));
}
// System colours: the high byte marks them; the low byte is the Win32
// COLOR_* index.
inline constexpr Color kSystemColorFlag = 0xFF000000u;
inline constexpr Color ClWindowText = kSystemColorFlag | 8;   // COLOR_WINDOWTEXT
inline constexpr Color ClBtnFace = kSystemColorFlag | 15;     // COLOR_BTNFACE
inline constexpr Color ClBtnShadow = kSystemColorFlag | 16;   // COLOR_BTNSHADOW
inline constexpr Color ClGrayText = kSystemColorFlag | 17;    // COLOR_GRAYTEXT
inline constexpr Color ClBtnHighlight = kSystemColorFlag | 20;  // COLOR_BTNHIGHLIGHT
inline constexpr Color ClWindow = kSystemColorFlag | 5;       // COLOR_WINDOW
inline constexpr Color ClHighlight = kSystemColorFlag | 13;   // COLOR_HIGHLIGHT
inline constexpr Color ClHighlightText = kSystemColorFlag | 14;  // COLOR_HIGHLIGHTTEXT

// The pointer's shape: the program's own (Default, HourGlass) or a
// control's over it (HandPoint over a link).
enum class Cursor { Default, HourGlass, HandPoint };

struct Font {
  std::string name = "MS Sans Serif";
  int height = 11;     // character height in pixels (8 points at 96 dpi)
  bool bold = false;
  bool italic = false;
  bool underline = false;
  Color color = ClWindowText;
  friend bool operator==(const Font&, const Font&) = default;
};

}  // namespace tessavo::tk
