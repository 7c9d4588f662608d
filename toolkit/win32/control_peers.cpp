#include "toolkit/win32/control_peers.h"

#include <commctrl.h>

#include <stdexcept>

#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/peer_factory.h"
#include "toolkit/win32/win32_util.h"

namespace tessavo::tk::win32 {

ChildPeer::ChildPeer(FormPeerWin& form, Control& control) : form_(&form), control_(control) {
  form.AddPeer(this);
}

ChildPeer::~ChildPeer() {
  if (!form_) return;
  form_->RemovePeer(this);
  for (HWND window : windows_) {
    form_->Unregister(window);
    // No more calls into the control, which is being destroyed: a focused
    // field would otherwise report losing the focus to it.
    RemoveWindowSubclass(window, SubclassProc, 1);
    DestroyWindow(window);
  }
}

void ChildPeer::Detach() {
  // The form window and its children are destroyed with it.
  form_ = nullptr;
  windows_.clear();
}

bool ChildPeer::EffectivelyEnabled() const {
  for (const Control* c = &control_; c && c->Kind() != ControlKind::Form; c = c->Parent()) {
    if (!c->Enabled()) return false;
  }
  return true;
}

bool ChildPeer::EffectivelyVisible() const {
  for (const Control* c = &control_; c && c->Kind() != ControlKind::Form; c = c->Parent()) {
    if (!c->Visible()) return false;
  }
  return true;
}

RECT ChildPeer::FormRect() const {
  const Rect& bounds = control_.Bounds();
  return form_->Scale(control_.FormOffset(), {0, 0, bounds.width, bounds.height});
}

HFONT ChildPeer::Font() const { return FontHandle(control_.GetFont(), form_->Dpi()); }

void ChildPeer::DpiChanged() {
  const auto font = reinterpret_cast<WPARAM>(Font());
  for (HWND window : windows_) SendMessageA(window, WM_SETFONT, font, FALSE);
  Layout();
}

HWND ChildPeer::CreateChild(const char* windowClass, const std::string& text, DWORD style,
                            DWORD exStyle, bool toolTip) {
  const RECT r = FormRect();
  style |= WS_CHILD | WS_CLIPSIBLINGS;
  if (EffectivelyVisible()) style |= WS_VISIBLE;
  if (!EffectivelyEnabled()) style |= WS_DISABLED;
  const int id = form_->NextControlId();
  HWND window = CreateWindowExA(exStyle, windowClass, text.c_str(), style, r.left, r.top,
                                r.right - r.left, r.bottom - r.top, form_->Handle(),
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(),
                                nullptr);
  if (!window) {
    throw std::runtime_error(std::string("Cannot create a window of class ") + windowClass);
  }
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  SetWindowSubclass(window, SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
  form_->Register(window, this);
  if (toolTip) form_->AddToolTip(window);
  windows_.push_back(window);
  return window;
}

LRESULT CALLBACK ChildPeer::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR data) {
  auto* peer = reinterpret_cast<ChildPeer*>(data);
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, SubclassProc, 1);
    return DefSubclassProc(hwnd, msg, wParam, lParam);
  }
  if (!peer->form_) return DefSubclassProc(hwnd, msg, wParam, lParam);
  LRESULT result = 0;
  if (peer->Filter(hwnd, msg, wParam, lParam, result)) return result;
  if (msg == WM_SETFOCUS) {
    result = DefSubclassProc(hwnd, msg, wParam, lParam);
    Control* control = &peer->control_;
    if (Form* form = control->OwnerForm(); form && form->FocusedControl() != control)
      Call([form, control] { form->SetFocusedControl(control); });
    return result;
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

void ChildPeer::Update(Change what) {
  if (!form_) return;
  switch (what) {
    case Change::Bounds:
      Layout();
      PropagateToChildren(what);
      break;
    case Change::Visible: {
      const bool showing = EffectivelyVisible();
      for (HWND window : windows_) ShowWindow(window, showing ? SW_SHOWNA : SW_HIDE);
      PropagateToChildren(what);
      break;
    }
    case Change::Enabled: {
      const bool enabled = EffectivelyEnabled();
      for (HWND window : windows_) EnableWindow(window, enabled);
      PropagateToChildren(what);
      break;
    }
    case Change::Font: {
      // Children with an inherited font hear of it from their control.
      const auto font = reinterpret_cast<WPARAM>(Font());
      for (HWND window : windows_) SendMessageA(window, WM_SETFONT, font, TRUE);
      break;
    }
    case Change::Focus:
      if (HWND window = FocusWindow(); window && GetFocus() != window) SetFocus(window);
      break;
    default:
      Refresh(what);
      break;
  }
}

void ChildPeer::RepaintNow(Rect area, bool offScreen, bool erase) {
  if (!form_) return;
  form_->RepaintNow(form_->Scale(control_.FormOffset(), area), offScreen, erase);
}

void ChildPeer::AskForPalette(bool onlyWhenFocused) {
  HWND window = form_ ? form_->Handle() : nullptr;
  if (!window || (onlyWhenFocused && GetFocus() != window)) return;
  PostMessageA(window, WM_QUERYNEWPALETTE, 0, 0);
}

void ChildPeer::Layout() {
  if (HWND window = Window()) {
    const RECT r = FormRect();
    MoveWindow(window, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  }
}

void ChildPeer::PropagateToChildren(Change what) {
  const auto* container = dynamic_cast<const Container*>(&control_);
  if (!container) return;
  for (Control* child : container->Children()) {
    if (auto* peer = dynamic_cast<ChildPeer*>(child->Peer())) peer->Update(what);
  }
}

void ClickControl(Control& control) {
  switch (control.Kind()) {
    case ControlKind::Button:
      Call([&control] { static_cast<Button&>(control).UserClick(); });
      break;
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:  // UserClick is virtual: a radio button checks itself
      Call([&control] { static_cast<CheckBox&>(control).UserClick(); });
      break;
    default:
      break;
  }
}

}  // namespace tessavo::tk::win32

namespace tessavo::tk {
namespace {

// Every form peer on Windows is a FormPeerWin.
win32::FormPeerWin& Win(FormPeer& form) { return static_cast<win32::FormPeerWin&>(form); }

}  // namespace

std::unique_ptr<ControlPeer> PeerFactory::MakePainted(Control& c) {
  return win32::MakePaintedPeer(Win(form_), c);
}
std::unique_ptr<ControlPeer> PeerFactory::MakeSelfPainted(Control& c) {
  return win32::MakeSelfPaintedPeer(Win(form_), c);
}
std::unique_ptr<ControlPeer> PeerFactory::MakeButton(Control& c) {
  return win32::MakeButtonPeer(Win(form_), c);
}
std::unique_ptr<ControlPeer> PeerFactory::MakeComboBox(Control& c) {
  return win32::MakeComboPeer(Win(form_), c);
}
std::unique_ptr<ControlPeer> PeerFactory::MakeSpinEdit(Control& c) {
  return win32::MakeSpinPeer(Win(form_), c);
}
std::unique_ptr<ControlPeer> PeerFactory::MakeVirtualList(Control& c) {
  return win32::MakeListPeer(Win(form_), c);
}
std::unique_ptr<ControlPeer> PeerFactory::MakeStatusBar(Control& c) {
  return win32::MakeStatusBarPeer(Win(form_), c);
}
std::unique_ptr<ControlPeer> PeerFactory::MakeProgressBar(Control& c) {
  return win32::MakeProgressPeer(Win(form_), c);
}
std::unique_ptr<ControlPeer> PeerFactory::MakeToolBar(Control& c) {
  return win32::MakeToolBarPeer(Win(form_), c);
}
std::unique_ptr<ControlPeer> PeerFactory::MakeSpeedButton(Control& c) {
  return win32::MakeSpeedButtonPeer(Win(form_), c);
}
std::unique_ptr<ControlPeer> PeerFactory::MakeBrowseEdit(Control& c) {
  return win32::MakeBrowseEditPeer(Win(form_), c);
}
std::unique_ptr<ControlPeer> PeerFactory::MakeEdit(Control& c) {
  return win32::MakeEditPeer(Win(form_), c);
}
std::unique_ptr<ControlPeer> PeerFactory::MakeUpDown(Control& c) {
  return win32::MakeUpDownPeer(Win(form_), c);
}
std::unique_ptr<ControlPeer> PeerFactory::MakeColorBox(Control& c) {
  return win32::MakeColorBoxPeer(Win(form_), c);
}

}  // namespace tessavo::tk
