// Up-down arrows: a native up-down control (UPDOWN_CLASS) with the
// control's range and position, the attached field as its buddy so that
// the arrow keys there step it too, and no alignment flag, so that it
// stays at its own place beside the field. The portable control decides
// each step: the native one is told not to move, then shown the result.
#include <windows.h>

#include <commctrl.h>

#include "toolkit/up_down.h"
#include "toolkit/win32/control_peers.h"
#include "toolkit/win32/win32_util.h"

namespace tessavo::tk::win32 {
namespace {

class UpDownPeer final : public ChildPeer {
 public:
  UpDownPeer(FormPeerWin& form, Control& control)
      : ChildPeer(form, control), upDown_(static_cast<UpDown&>(control)) {
    CreateChild(UPDOWN_CLASSA, "",
                UDS_ARROWKEYS | UDS_HOTTRACK | (upDown_.Wrap() ? UDS_WRAP : 0));
    SendMessageA(Window(), UDM_SETRANGE32, static_cast<WPARAM>(upDown_.Min()), upDown_.Max());
    Refresh(Change::Value);
    // The field's peer exists already: it comes first on the form.
    if (Edit* field = upDown_.Associate()) {
      if (auto* peer = dynamic_cast<ChildPeer*>(field->Peer()); peer && peer->FocusWindow()) {
        SendMessageA(Window(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(peer->FocusWindow()), 0);
        // Attaching makes the native control take its own default width.
        Layout();
      }
    }
  }

  bool Notify(NMHDR& header, LRESULT& result) override {
    if (header.hwndFrom != Window() || header.code != UDN_DELTAPOS) return false;
    const int delta = reinterpret_cast<NMUPDOWN&>(header).iDelta;
    if (delta != 0) Call([this, delta] { upDown_.UserClick(delta > 0 ? 1 : -1); });
    result = 1;  // the native position stays; Refresh shows the control's
    return true;
  }

 protected:
  void Refresh(Change what) override {
    if (what != Change::Value) return;
    if (SendMessageA(Window(), UDM_GETPOS32, 0, 0) != upDown_.Position())
      SendMessageA(Window(), UDM_SETPOS32, 0, upDown_.Position());
  }

 private:
  UpDown& upDown_;
};

}  // namespace

std::unique_ptr<ChildPeer> MakeUpDownPeer(FormPeerWin& form, Control& control) {
  return std::make_unique<UpDownPeer>(form, control);
}

}  // namespace tessavo::tk::win32
