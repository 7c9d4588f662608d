// The integer field: an edit with an up-down control at its right edge.
// Every key goes to the portable control first; the edit only inserts what
// the control accepted. A field one may not type into is not read-only in
// the native sense, so it keeps the normal look while enabled.
#include <windows.h>

#include <commctrl.h>

#include "toolkit/application.h"
#include "toolkit/controls.h"
#include "toolkit/win32/control_peers.h"
#include "toolkit/win32/win32_util.h"

namespace tessavo::tk::win32 {
namespace {

class SpinPeer final : public ChildPeer {
 public:
  SpinPeer(FormPeerWin& form, Control& control)
      : ChildPeer(form, control), spin_(static_cast<SpinEdit&>(control)) {
    edit_ = CreateChild(WC_EDITA, spin_.Text(), WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    // The arrows keep no value of their own: each press is one step of the
    // control, and the position stays mid-range so both arrows always work.
    updown_ = CreateChild(UPDOWN_CLASSA, "", UDS_ALIGNRIGHT | UDS_HOTTRACK);
    SendMessageA(updown_, UDM_SETRANGE32, 0, 100);
    SendMessageA(updown_, UDM_SETPOS32, 0, 50);
    UDACCEL accel{0, 1};  // held down: still one step at a time
    SendMessageA(updown_, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    Layout();
  }

  HWND FocusWindow() const override { return edit_; }

  void Command(HWND from, UINT code, UINT) override {
    if (from != edit_ || code != EN_CHANGE || settingText_) return;
    const std::string text = WindowText(edit_);
    Call([this, &text] { spin_.UserSetText(text); });
  }

  bool Notify(NMHDR& header, LRESULT& result) override {
    if (header.hwndFrom != updown_ || header.code != UDN_DELTAPOS) return false;
    const int delta = reinterpret_cast<NMUPDOWN&>(header).iDelta;
    if (delta != 0) Step(delta > 0 ? 1 : -1, false);
    result = 1;  // the up-down's own position does not move
    return true;
  }

  bool Filter(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (hwnd != edit_) return false;
    switch (msg) {
      case WM_CHAR: {
        const char key = static_cast<char>(wParam);
        bool insert = false;
        Call([this, key, &insert] { insert = spin_.UserKeyPress(key); });
        // Enter has done its work once the control saw it: a single-line
        // edit would only beep.
        if (insert && key != '\r') return false;
        result = 0;
        return true;
      }
      case WM_KEYDOWN:
        switch (wParam) {
          case VK_UP:
          case VK_DOWN:
          case VK_PRIOR:
          case VK_NEXT:
            Step(wParam == VK_UP || wParam == VK_PRIOR ? 1 : -1,
                 wParam == VK_PRIOR || wParam == VK_NEXT);
            result = 0;
            return true;
          case VK_DELETE: {
            bool allowed = false;
            Call([this, &allowed] { allowed = spin_.UserDeleteKey(); });
            if (allowed) return false;
            result = 0;
            return true;
          }
          default:
            return false;
        }
      case WM_PASTE:
      case WM_CUT:
      case WM_CLEAR:
      case WM_UNDO:
      case EM_UNDO:
        // Editing by the clipboard or the context menu is typing too.
        if (spin_.AllowTyping()) return false;
        Call([] { App().Beep(); });
        result = 0;
        return true;
      case WM_KILLFOCUS:
        result = DefSubclassProc(hwnd, msg, wParam, lParam);
        Call([this] { spin_.UserFocusLost(); });
        return true;
      default:
        return false;
    }
  }

 protected:
  void Layout() override {
    const RECT r = FormRect();
    MoveWindow(edit_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    // Setting the buddy again puts the arrows inside the edit's right edge
    // and narrows the edit to make room.
    SendMessageA(updown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit_), 0);
  }

  void Refresh(Change what) override {
    if (what != Change::Value && what != Change::Caption) return;
    if (WindowText(edit_) == spin_.Text()) return;
    settingText_ = true;
    SetWindowTextA(edit_, spin_.Text().c_str());
    settingText_ = false;
    // The caret after the new number, where typing would go on.
    if (GetFocus() == edit_) {
      const auto end = spin_.Text().size();
      SendMessageA(edit_, EM_SETSEL, end, static_cast<LPARAM>(end));
    }
  }

 private:
  void Step(int steps, bool page) {
    Call([this, steps, page] { spin_.UserStep(steps, page); });
  }

  SpinEdit& spin_;
  HWND edit_ = nullptr;
  HWND updown_ = nullptr;
  bool settingText_ = false;
};

}  // namespace

std::unique_ptr<ChildPeer> MakeSpinPeer(FormPeerWin& form, Control& control) {
  return std::make_unique<SpinPeer>(form, control);
}

}  // namespace tessavo::tk::win32
