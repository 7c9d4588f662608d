// The peers of the controls on a form. A peer mirrors its control's state
// onto native windows (children of the form window) or, for window-less
// controls, onto the form's painting, and turns user input into calls of
// the control's User* methods.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "toolkit/control.h"
#include "toolkit/win32/form_peer.h"

namespace tessavo::tk::win32 {

class ChildPeer : public ControlPeer {
 public:
  ChildPeer(FormPeerWin& form, Control& control);
  ~ChildPeer() override;

  Control& GetControl() const { return control_; }
  FormPeerWin& Owner() const { return *form_; }
  // The form window is going away first: forget its windows.
  void Detach();
  bool Attached() const { return form_ != nullptr; }

  void Update(Change what) override;
  void RepaintNow(Rect area, bool offScreen, bool erase) override;
  void AskForPalette(bool onlyWhenFocused) override;

  // The native window that takes the keyboard focus; nullptr when the
  // control takes none.
  virtual HWND FocusWindow() const { return nullptr; }
  // Window-less controls are drawn on the form (form coordinates).
  virtual bool IsPainted() const { return false; }
  virtual void Paint(HDC /*dc*/) {}

  // Notifications from the windows this peer created.
  virtual void Command(HWND /*from*/, UINT /*code*/, UINT /*id*/) {}
  virtual bool Notify(NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
  virtual void DrawItem(const DRAWITEMSTRUCT& /*item*/) {}
  // Messages to those windows before their own window procedure; true
  // when used up, with the result to return.
  virtual bool Filter(HWND /*hwnd*/, UINT /*msg*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                      LRESULT& /*result*/) {
    return false;
  }

  // The control and every container above it enabled (visible): the form
  // itself does not count, its window shows that for all of them.
  bool EffectivelyEnabled() const;
  bool EffectivelyVisible() const;
  // Bounds in the form's client coordinates, scaled to its window's dots
  // per inch, and the control's font at that scale.
  RECT FormRect() const;
  HFONT Font() const;
  // The form's window went to another scale: fonts, places and whatever
  // else the peer sized in pixels follow.
  virtual void DpiChanged();

 protected:
  // A child window of the form at the control's place, created visible
  // as the control is showing, with the control's font, registered for
  // notifications and subclassed so Filter sees its messages.
  HWND CreateChild(const char* windowClass, const std::string& text, DWORD style,
                   DWORD exStyle = 0, bool toolTip = true);
  // Places the native windows after a change of bounds (default: the
  // first window over the whole bounds).
  virtual void Layout();
  // Changes other than bounds, visibility, enabled state, font and focus.
  virtual void Refresh(Change /*what*/) {}
  // Passes a change of a container on to the peers of its children.
  void PropagateToChildren(Change what);

  const std::vector<HWND>& Windows() const { return windows_; }
  HWND Window() const { return windows_.empty() ? nullptr : windows_.front(); }

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data);

  FormPeerWin* form_;
  Control& control_;
  std::vector<HWND> windows_;
};

// Presses a button, check box or radio button as the user would.
void ClickControl(Control& control);

// One maker per family of controls, behind the platform's PeerFactory.
std::unique_ptr<ChildPeer> MakePaintedPeer(FormPeerWin& form, Control& control);
std::unique_ptr<ChildPeer> MakeSelfPaintedPeer(FormPeerWin& form, Control& control);
std::unique_ptr<ChildPeer> MakeButtonPeer(FormPeerWin& form, Control& control);
std::unique_ptr<ChildPeer> MakeComboPeer(FormPeerWin& form, Control& control);
std::unique_ptr<ChildPeer> MakeStatusBarPeer(FormPeerWin& form, Control& control);
std::unique_ptr<ChildPeer> MakeProgressPeer(FormPeerWin& form, Control& control);
std::unique_ptr<ChildPeer> MakeSpinPeer(FormPeerWin& form, Control& control);
std::unique_ptr<ChildPeer> MakeListPeer(FormPeerWin& form, Control& control);
std::unique_ptr<ChildPeer> MakeToolBarPeer(FormPeerWin& form, Control& control);
std::unique_ptr<ChildPeer> MakeSpeedButtonPeer(FormPeerWin& form, Control& control);
std::unique_ptr<ChildPeer> MakeBrowseEditPeer(FormPeerWin& form, Control& control);
std::unique_ptr<ChildPeer> MakeEditPeer(FormPeerWin& form, Control& control);
std::unique_ptr<ChildPeer> MakeUpDownPeer(FormPeerWin& form, Control& control);
std::unique_ptr<ChildPeer> MakeColorBoxPeer(FormPeerWin& form, Control& control);

}  // namespace tessavo::tk::win32
