// The hint follows the pointer: every mouse move over one of our windows,
// disabled controls and window-less ones included, asks the portable form
// what lies under it.
#include <windows.h>

#include "toolkit/application.h"
#include "toolkit/win32/form_peer.h"
#include "toolkit/win32/win32_platform.h"
#include "toolkit/win32/win32_util.h"

namespace tessavo::tk::win32 {

void TrackHint(const MSG& msg) {
  switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE: {
      // A disabled child gets no mouse messages: its form does, and the
      // portable tree knows which control lies at the point.
      FormPeerWin* form = FormPeerWin::FromWindow(msg.hwnd);
      if (!form) return;
      TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT),
                            TME_LEAVE | (msg.message == WM_NCMOUSEMOVE ? TME_NONCLIENT : 0u),
                            msg.hwnd, 0};
      TrackMouseEvent(&track);
      POINT p = msg.pt;
      ScreenToClient(form->Handle(), &p);
      Call([&] { form->GetForm().UserPointerAt({p.x, p.y}); });
      return;
    }
    case WM_MOUSELEAVE:
    case WM_NCMOUSELEAVE: {
      // Leaving a window for one of its siblings is no leaving: the next
      // move there sets the hint anyway.
      POINT p;
      GetCursorPos(&p);
      FormPeerWin* form = FormPeerWin::FromWindow(msg.hwnd);
      FormPeerWin* now = FormPeerWin::FromWindow(WindowFromPoint(p));
      if (form && form != now) Call([form] { form->GetForm().UserPointerLeft(); });
      if (!now) Call([] { App().SetHint(""); });
      return;
    }
    default:
      return;
  }
}

}  // namespace tessavo::tk::win32
