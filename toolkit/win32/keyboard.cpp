// Keyboard navigation on a form, done by us rather than by the dialog
// manager: Tab follows the controls' TabOrder, Enter and Esc press the
// default and cancel buttons, arrows move within a group of radio buttons,
// Alt+letter presses the button whose caption has that mnemonic.
#include <windows.h>

#include <algorithm>
#include <cctype>

#include "toolkit/controls.h"
#include "toolkit/win32/control_peers.h"
#include "toolkit/win32/form_peer.h"
#include "toolkit/win32/win32_util.h"

namespace tessavo::tk::win32 {
namespace {

ChildPeer* PeerFor(const Control* control) {
  return control ? dynamic_cast<ChildPeer*>(control->Peer()) : nullptr;
}

bool Focusable(const ChildPeer* peer) {
  HWND window = peer ? peer->FocusWindow() : nullptr;
  return window && IsWindowVisible(window) && IsWindowEnabled(window);
}

bool IsCheckedRadio(const Control* control) {
  return control->Kind() == ControlKind::RadioButton &&
         static_cast<const CheckBox*>(control)->Checked();
}

void CollectStops(const Container& container, std::vector<ChildPeer*>& stops) {
  const std::vector<Control*> controls = container.TabSequence();
  const bool radioChecked = std::any_of(controls.begin(), controls.end(), [](Control* c) {
    return c->Visible() && IsCheckedRadio(c) && Focusable(PeerFor(c));
  });
  bool radioTaken = false;
  for (Control* control : controls) {
    if (!control->Visible()) continue;
    if (auto* inner = dynamic_cast<Container*>(control)) {
      CollectStops(*inner, stops);
      continue;
    }
    ChildPeer* peer = PeerFor(control);
    if (!Focusable(peer)) continue;
    if (control->Kind() == ControlKind::RadioButton) {
      // One stop per group of radio buttons: the checked one, or the
      // first when none is.
      if (radioChecked ? !IsCheckedRadio(control) : radioTaken) continue;
      radioTaken = true;
    }
    stops.push_back(peer);
  }
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

template <class Fn>
void ForEachShowing(const Container& container, Fn&& fn) {
  for (Control* control : container.Children()) {
    if (!control->Visible()) continue;
    fn(*control);
    if (auto* inner = dynamic_cast<Container*>(control)) ForEachShowing(*inner, fn);
  }
}

bool HasMnemonic(const std::string& caption, char key) {
  const auto wanted = std::tolower(static_cast<unsigned char>(key));
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;  // "&&" is a plain ampersand
      continue;
    }
    return std::tolower(static_cast<unsigned char>(caption[i + 1])) == wanted;
  }
  return false;
}

}  // namespace

std::vector<ChildPeer*> FormPeerWin::TabStops() const {
  std::vector<ChildPeer*> stops;
  CollectStops(form_, stops);
  return stops;
}

void FormPeerWin::FocusFirst() {
  if (ChildPeer* peer = PeerFor(form_.FocusedControl()); Focusable(peer)) {
    if (GetFocus() != peer->FocusWindow()) SetFocus(peer->FocusWindow());
    return;
  }
  const std::vector<ChildPeer*> stops = TabStops();
  if (!stops.empty()) {
    FocusOn(*stops.front());
  } else if (GetFocus() != hwnd_) {
    SetFocus(hwnd_);  // the form itself, so that its keys still arrive
  }
}

void FormPeerWin::MoveFocus(bool backwards) {
  const std::vector<ChildPeer*> stops = TabStops();
  if (stops.empty()) return;
  const auto n = static_cast<std::ptrdiff_t>(stops.size());
  const auto found = std::find(stops.begin(), stops.end(), FocusedPeer(*this));
  std::ptrdiff_t next;
  if (found == stops.end()) {
    next = backwards ? n - 1 : 0;
  } else {
    next = ((found - stops.begin()) + (backwards ? n - 1 : 1)) % n;
  }
  FocusOn(*stops[static_cast<std::size_t>(next)]);
}

bool FormPeerWin::PressButton(bool cancel) {
  Button* target = nullptr;
  ForEachShowing(form_, [&](Control& control) {
    if (target || control.Kind() != ControlKind::Button) return;
    auto& button = static_cast<Button&>(control);
    if (cancel ? button.IsCancel() : button.IsDefault()) target = &button;
  });
  if (!target) return false;
  if (ChildPeer* peer = PeerFor(target); peer && !peer->EffectivelyEnabled()) return true;
  Call([target] { target->UserClick(); });
  return true;
}

bool FormPeerWin::HandleMnemonic(char key) {
  Control* target = nullptr;
  ForEachShowing(form_, [&](Control& control) {
    if (target) return;
    const std::string* caption = nullptr;
    switch (control.Kind()) {
      case ControlKind::Button:
        caption = &static_cast<Button&>(control).Caption();
        break;
      case ControlKind::CheckBox:
      case ControlKind::RadioButton:
        caption = &static_cast<CheckBox&>(control).Caption();
        break;
      default:
        return;
    }
    ChildPeer* peer = PeerFor(&control);
    if (Focusable(peer) && HasMnemonic(*caption, key)) target = &control;
  });
  if (!target) return false;
  SetFocus(PeerFor(target)->FocusWindow());
  ClickControl(*target);
  return true;
}

bool FormPeerWin::MoveInRadioGroup(ChildPeer& current, int direction) {
  const Container* parent = current.GetControl().Parent();
  if (!parent) return false;
  std::vector<ChildPeer*> group;
  for (Control* control : parent->TabSequence()) {
    ChildPeer* peer = PeerFor(control);
    if (control->Kind() == ControlKind::RadioButton && control->Visible() && Focusable(peer))
      group.push_back(peer);
  }
  const auto found = std::find(group.begin(), group.end(), &current);
  if (found == group.end()) return false;
  const auto n = static_cast<std::ptrdiff_t>(group.size());
  const auto next = ((found - group.begin()) + direction + n) % n;
  ChildPeer& target = *group[static_cast<std::size_t>(next)];
  SetFocus(target.FocusWindow());
  ClickControl(target.GetControl());
  return true;
}

bool FormPeerWin::PreTranslate(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSCHAR) return false;
  if (!IsWindowEnabled(hwnd_)) return false;
  if (msg.message == WM_SYSCHAR) return HandleMnemonic(static_cast<char>(msg.wParam));

  ChildPeer* focused = FocusedPeer(*this);
  const ControlKind kind = focused ? focused->GetControl().Kind() : ControlKind::Form;
  const bool control = GetKeyState(VK_CONTROL) < 0;
  const bool alt = GetKeyState(VK_MENU) < 0;
  switch (msg.wParam) {
    case VK_TAB:
      if (control || alt) return false;
      MoveFocus(GetKeyState(VK_SHIFT) < 0);
      return true;
    case VK_RETURN:
    case VK_ESCAPE:
      // An open drop-down list takes these keys itself.
      if (kind == ControlKind::ComboBox &&
          SendMessageA(focused->FocusWindow(), CB_GETDROPPEDSTATE, 0, 0)) {
        return false;
      }
      if (msg.wParam == VK_RETURN) {
        // A field one types into gets Enter as a character.
        if (kind == ControlKind::SpinEdit &&
            static_cast<SpinEdit&>(focused->GetControl()).AllowTyping()) {
          return false;
        }
        if (kind == ControlKind::Button) {
          ClickControl(focused->GetControl());
          return true;
        }
      }
      return PressButton(msg.wParam == VK_ESCAPE);
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      if (kind != ControlKind::RadioButton || alt) return false;
      return MoveInRadioGroup(*focused, msg.wParam == VK_LEFT || msg.wParam == VK_UP ? -1 : 1);
    default:
      return false;
  }
}

}  // namespace tessavo::tk::win32
