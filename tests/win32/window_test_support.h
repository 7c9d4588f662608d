// What the Windows tests of the programs' main windows share: finding a
// form's native windows, reading them, letting messages run, reading the
// clipboard.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "toolkit/application.h"
#include "toolkit/form.h"
#include "toolkit/native.h"

namespace tessavo::testing {

inline HWND FormWindow(const tk::Form& form) {
  return static_cast<HWND>(tk::NativeWindow(form));
}

inline std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

inline std::string TextOf(HWND hwnd) {
  char text[256] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

// The middle of a control on its form's window, at the window's scale.
inline POINT CentreOf(const tk::Control& control) {
  const tk::Point origin = control.FormOffset();
  const tk::Form* form = control.OwnerForm();
  const int dpi = form ? tk::NativeDpi(*form) : tk::kDesignDpi;
  return {tk::ScaleToDpi(origin.x + control.Bounds().width / 2, dpi),
          tk::ScaleToDpi(origin.y + control.Bounds().height / 2, dpi)};
}

// The form's child window of a class that covers the middle of a control.
inline HWND NativeOf(const tk::Form& form, const tk::Control& control, const char* windowClass) {
  struct Search {
    HWND form;
    POINT point;
    const char* windowClass;
    HWND found;
  } search{FormWindow(form), CentreOf(control), windowClass, nullptr};
  EnumChildWindows(
      search.form,
      [](HWND child, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(data);
        if (GetParent(child) != s.form || lstrcmpiA(ClassOf(child).c_str(), s.windowClass) != 0) {
          return TRUE;
        }
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(HWND_DESKTOP, s.form, reinterpret_cast<POINT*>(&rect), 2);
        if (!PtInRect(&rect, s.point)) return TRUE;
        s.found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

inline RECT RectInForm(HWND form, HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(HWND_DESKTOP, form, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

inline bool PumpUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds limit = std::chrono::seconds(5)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    tk::App().WaitAndProcess(std::chrono::milliseconds(10));
  }
  return true;
}

inline void Pump() {
  PumpUntil([] { return false; }, std::chrono::milliseconds(150));
}

inline std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return "<clipboard busy>";
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const auto* chars = static_cast<const char*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// Runs fn, answering OK to every message box that comes up meanwhile (a
// timer does it from within the box's own loop); returns their texts.
inline std::vector<std::string> AnsweringBoxes(const std::function<void()>& fn) {
  struct Boxes {
    std::set<HWND> seen;
    std::vector<std::string> texts;
  } boxes;
  const int timer = tk::App().StartTimer(std::chrono::milliseconds(20), [&boxes] {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
          auto& found = *reinterpret_cast<Boxes*>(param);
          char name[16] = {};
          GetClassNameA(window, name, sizeof name);
          if (std::string(name) != "#32770" || !IsWindowVisible(window) ||
              !found.seen.insert(window).second) {
            return TRUE;
          }
          std::string text;
          EnumChildWindows(
              window,
              [](HWND child, LPARAM textParam) -> BOOL {
                char childClass[16] = {};
                GetClassNameA(child, childClass, sizeof childClass);
                if (lstrcmpiA(childClass, "Static") == 0)
                  *reinterpret_cast<std::string*>(textParam) += TextOf(child);
                return TRUE;
              },
              reinterpret_cast<LPARAM>(&text));
          found.texts.push_back(text);
          PostMessageA(window, WM_COMMAND, IDOK, 0);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&boxes));
  });
  fn();
  tk::App().StopTimer(timer);
  return boxes.texts;
}

}  // namespace tessavo::testing

// Rectangles compare and print whole in expectations.
inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline void PrintTo(const RECT& r, std::ostream* os) {
  *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
