// What the Windows tests of the programs' main windows share: finding a
// form's native windows, reading them, letting messages run, reading the
// clipboard.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

#include "toolkit/application.h"
#include "toolkit/form.h"
#include "toolkit/win32/form_peer.h"

namespace tessavo::testing {

inline HWND FormWindow(const tk::Form& form) {
  auto* peer = static_cast<tk::win32::FormPeerWin*>(form.GetFormPeer());
  return peer ? peer->Handle() : nullptr;
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

inline POINT CentreOf(const tk::Control& control) {
  const tk::Point origin = control.FormOffset();
  return {origin.x + control.Bounds().width / 2, origin.y + control.Bounds().height / 2};
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

}  // namespace tessavo::testing
