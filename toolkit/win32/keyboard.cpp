// Keyboard navigation on a form, done by us rather than by the dialog
// manager: the keys are translated here and the decisions made by the
// portable toolkit (toolkit/keyboard.h); this side moves the focus and
// clicks.
#include "toolkit/keyboard.h"

#include <windows.h>

#include "toolkit/controls.h"
#include "toolkit/win32/control_peers.h"
#include "toolkit/win32/form_peer.h"
#include "toolkit/win32/win32_util.h"

namespace tessavo::tk::win32 {
namespace {

ChildPeer* PeerFor(const Control* control) {
  return control ? dynamic_cast<ChildPeer*>(control->Peer()) : nullptr;
}

// A control takes the focus when its peer has a window for it, shown and
// enabled.
bool Focusable(const Control& control) {
  const ChildPeer* peer = PeerFor(&control);
  HWND window = peer ? peer->FocusWindow() : nullptr;
  return window && IsWindowVisible(window) && IsWindowEnabled(window);
}

void FocusOn(ChildPeer& peer) {
  HWND window = peer.FocusWindow();
  SetFocus(window);
  // Tabbing into a field selects its text, ready to be typed over.
  if (peer.GetControl().Kind() == ControlKind::SpinEdit) SendMessageA(window, EM_SETSEL, 0, -1);
}

// The peer whose window has the focus, if it is one of this form's.
ChildPeer* FocusedPeer(const FormPeerWin& form) {
  HWND focus = GetFocus();
  while (focus && GetParent(focus) && GetParent(focus) != form.Handle()) focus = GetParent(focus);
  return focus ? form.PeerOf(focus) : nullptr;
}

bool CarryOut(const KeyAction& action) {
  ChildPeer* peer = PeerFor(action.target);
  switch (action.kind) {
    case KeyAction::Kind::None:
      return false;
    case KeyAction::Kind::Swallow:
      return true;
    case KeyAction::Kind::Focus:
      if (peer) FocusOn(*peer);
      return true;
    case KeyAction::Kind::FocusClick:
      if (peer) SetFocus(peer->FocusWindow());
      ClickControl(*action.target);
      return true;
    case KeyAction::Kind::Click:
      ClickControl(*action.target);
      return true;
  }
  return false;
}

}  // namespace

void FormPeerWin::FocusFirst() {
  if (const Control* focused = form_.FocusedControl(); focused && Focusable(*focused)) {
    HWND window = PeerFor(focused)->FocusWindow();
    if (GetFocus() != window) SetFocus(window);
    return;
  }
  const std::vector<Control*> stops = TabStops(form_, Focusable);
  if (!stops.empty()) {
    FocusOn(*PeerFor(stops.front()));
  } else if (GetFocus() != hwnd_) {
    SetFocus(hwnd_);  // the form itself, so that its keys still arrive
  }
}

bool FormPeerWin::PreTranslate(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSCHAR) return false;
  if (!IsWindowEnabled(hwnd_)) return false;
  if (msg.message == WM_SYSCHAR) {
    return CarryOut(DecideMnemonic(form_, static_cast<char>(msg.wParam), Focusable));
  }

  NavigationKey key;
  switch (msg.wParam) {
    case VK_TAB:
      key = NavigationKey::Tab;
      break;
    case VK_RETURN:
      key = NavigationKey::Enter;
      break;
    case VK_ESCAPE:
      key = NavigationKey::Escape;
      break;
    case VK_LEFT:
      key = NavigationKey::Left;
      break;
    case VK_UP:
      key = NavigationKey::Up;
      break;
    case VK_RIGHT:
      key = NavigationKey::Right;
      break;
    case VK_DOWN:
      key = NavigationKey::Down;
      break;
    default:
      return false;
  }
  ChildPeer* focused = FocusedPeer(*this);
  Control* control = focused ? &focused->GetControl() : nullptr;
  const KeyModifiers mods{.shift = GetKeyState(VK_SHIFT) < 0,
                          .control = GetKeyState(VK_CONTROL) < 0,
                          .alt = GetKeyState(VK_MENU) < 0};
  const bool dropDownOpen = control && control->Kind() == ControlKind::ComboBox &&
                            SendMessageA(focused->FocusWindow(), CB_GETDROPPEDSTATE, 0, 0);
  return CarryOut(DecideKey(form_, control, key, mods, dropDownOpen, Focusable));
}

}  // namespace tessavo::tk::win32
