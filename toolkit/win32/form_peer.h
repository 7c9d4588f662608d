// The native window of a form. Every control of the form lives in it:
// native controls as direct children (also those inside panels and group
// boxes, at their form coordinates), so that one window procedure receives
// every notification; window-less controls are painted by it.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "toolkit/form.h"

namespace tessavo::tk::win32 {

class ChildPeer;
class MenuPeerWin;

struct WindowStyles {
  DWORD style = 0;
  DWORD exStyle = 0;
};
WindowStyles FormStyles(const Form& form);
// The outer rectangle of a form at its position for its client size, at
// the given dots per inch.
RECT FormOuterRect(const Form& form, int dpi);

class FormPeerWin final : public FormPeer {
 public:
  explicit FormPeerWin(Form& form);
  ~FormPeerWin() override;

  void Update(Change what) override;
  void CreateControls() override;
  void RunModal() override;
  void Minimize() override;
  std::optional<Point> PointerPosition() override;

  Form& GetForm() const { return form_; }
  HWND Handle() const { return hwnd_; }

  // The dots per inch of the screen the window is on, and the form's
  // described 96-dpi positions and sizes at that scale.
  int Dpi() const { return dpi_; }
  int Scale(int value) const;
  RECT Scale(Point at, const Rect& r) const;
  Point Unscale(Point p) const;
  // The described point of a mouse message's client coordinates.
  Point ClientPoint(LPARAM lParam) const;

  // The form peer of a form window or of any window inside it.
  static FormPeerWin* FromWindow(HWND hwnd);
  static const std::vector<FormPeerWin*>& All();

  // Every control peer of the form reports here, and so does each of its
  // native windows so that notifications reach it.
  void AddPeer(ChildPeer* peer) { peers_.push_back(peer); }
  void RemovePeer(ChildPeer* peer);
  int NextControlId() { return nextId_++; }
  void Register(HWND child, ChildPeer* peer);
  void Unregister(HWND child);
  ChildPeer* PeerOf(HWND child) const;
  void AddToolTip(HWND child);
  // Tool-tips of window-less controls: a tool over the control's area on
  // the form (area_tooltips.cpp); the text is asked for each time the tip
  // shows. Moving it to an empty area (a hidden control) turns it off.
  void AddAreaToolTip(ChildPeer* peer, const RECT& area);
  void MoveAreaToolTip(ChildPeer* peer, const RECT& area);
  void RemoveAreaToolTip(ChildPeer* peer);
  ChildPeer* AreaToolPeer(UINT_PTR id) const;
  void SetMenuPeer(MenuPeerWin* menu) { menuPeer_ = menu; }

  // Window-less controls ask for their area (form coordinates) to be drawn
  // again.
  void Invalidate(const RECT& area);
  // Draws the area again now, with the window-less controls in it: through
  // a bitmap of the client size (offScreen) or on the window itself, with
  // the background first unless a control covers the area (erase false).
  // An animated picture repaints its rectangle so after every frame.
  void RepaintNow(const RECT& area, bool offScreen, bool erase);

  // Keyboard navigation and default buttons, before the message is
  // dispatched; true when the message was used up (keyboard.cpp).
  bool PreTranslate(const MSG& msg);
  // Moves the focus to the first control in tab order (or the focused one).
  void FocusFirst();

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnNotify(NMHDR& header);
  void OnActivate(bool active);
  void ApplyBounds();
  // Lays the form out again at a new scale, in the suggested rectangle or
  // where it is.
  void ChangeDpi(int dpi, const RECT* suggested);
  // The title bar's and the task switcher's icons at the window's scale.
  void ApplyIcons();
  void ApplyStayOnTop();
  void UserPlaced();
  void ApplyVisible();
  HWND NextActiveWindow() const;
  void FitClientArea();
  // The window is being destroyed (by us, or by the system with its owner).
  void WindowGone();
  // The form's one tool-tip window, made when the first tool needs it.
  bool EnsureToolTip();

  // form_paint.cpp
  void Paint(HDC dc, const RECT& area);
  void PaintBuffered();

  Form& form_;
  HWND hwnd_ = nullptr;
  int dpi_;
  bool dying_ = false;
  bool painting_ = false;  // inside our BeginPaint
  int placing_ = 0;        // inside our own moves: no report of them
  bool controlsCreated_ = false;
  int nextId_ = 1000;
  HWND toolTip_ = nullptr;
  Control* pressed_ = nullptr;  // under the left button when it went down
  bool pressedValid_ = false;
  MenuPeerWin* menuPeer_ = nullptr;
  std::vector<ChildPeer*> peers_;
  std::unordered_map<HWND, ChildPeer*> children_;
  std::vector<ChildPeer*> areaTools_;
};

}  // namespace tessavo::tk::win32
