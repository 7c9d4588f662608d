#include "toolkit/native.h"

#include <windows.h>

#include "toolkit/win32/form_peer.h"
#include "toolkit/win32/win32_platform.h"
#include "toolkit/win32/win32_util.h"

namespace tessavo::tk {
namespace {

win32::FormPeerWin* PeerOf(const Form& form) {
  return dynamic_cast<win32::FormPeerWin*>(form.GetFormPeer());
}

}  // namespace

void* NativeApplicationWindow() { return win32::ApplicationWindow(); }

void* NativeWindow(const Form& form) {
  win32::FormPeerWin* peer = PeerOf(form);
  return peer ? peer->Handle() : nullptr;
}

int NativeDpi(const Form& form) {
  win32::FormPeerWin* peer = PeerOf(form);
  return peer ? peer->Dpi() : kDesignDpi;
}

void* NativeFont(const Font& font, int dpi) { return win32::FontHandle(font, dpi); }

int NativeBeepCount() { return win32::BeepCount(); }

}  // namespace tessavo::tk
