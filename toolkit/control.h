// The toolkit's control model.
//
// Conventions:
// - A control object owns all of its state (caption, bounds, enabled and
//   visible flags, values, hint). Window code reads and writes that state;
//   nothing is kept only in a native window.
// - A control has a peer once its form's window exists, of the kind it
//   asks the platform's PeerFactory for (CreatePeer): on Windows
//   (toolkit/win32/) a native window that mirrors the state and reports
//   user input back by calling the control's User* methods; headless
//   (toolkit/headless/) a recorder of what it was told, while tests call
//   the User* methods themselves. Every change of state is reported to
//   the peer (Changed); the headless peers let tests check that.
// - Events are typed std::function members named On<Event>, set once by the
//   form that holds the control. Setting state from code raises no event,
//   except where a control says so (a check box or radio button checked
//   from code runs its OnClick). User* methods raise the events, inside the
//   application's error guard (an exception shows an error box and the
//   program carries on).
// - Controls are members of their form, constructed with their parent
//   (the form or a container control on it), which lists but does not own
//   them.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/geometry.h"

namespace tessavo::tk {

class Canvas;
class Container;
class Form;
class PeerFactory;

using Event = std::function<void()>;

// What a peer must bring up to date after a state change.
enum class Change {
  Bounds,
  Visible,
  Enabled,
  Caption,    // caption or text
  Font,
  Color,
  Value,      // checked state, spin text, item index, position
  Items,      // list contents or item count
  Repaint,    // contents unchanged but must be drawn again
  Focus,      // the control asks for the keyboard focus
  Picture,
  Limits,     // spin limits, progress range
  StayOnTop,  // a form's place above other programs' windows
  Cursor,     // the pointer's shape over the control
};

class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  virtual void Update(Change what) = 0;
  // Draws `area` (the control's coordinates) at once instead of when the
  // window system next asks: off screen and copied (offScreen) or straight
  // on the window, with what lies behind first unless erase is false.
  virtual void RepaintNow(Rect /*area*/, bool /*offScreen*/, bool /*erase*/) {}
  // The control shows colours of its own: its form should have the window
  // system realise them (only while the form has the focus, with
  // onlyWhenFocused).
  virtual void AskForPalette(bool /*onlyWhenFocused*/) {}
};

// The two parts of a "short|long" hint; a hint without a bar is both.
std::string ShortHintOf(std::string_view hint);
std::string LongHintOf(std::string_view hint);

// The kind, for keyboard handling and painting; Custom is any control the
// toolkit does not know, which draws itself.
enum class ControlKind {
  Label, Panel, Bevel, GroupBox, RadioButton, CheckBox, Button, SpinEdit,
  ComboBox, VirtualList, StatusBar, ToolBar, ProgressBar, Picture, Form,
  SpeedButton, BrowseEdit,
  // The single generator's controls.
  Edit, UpDown, ColorBox,
  Custom,
};

class Control {
 public:
  Control(Container* parent, ControlKind kind, Rect bounds);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  ControlKind Kind() const { return kind_; }
  Container* Parent() const { return parent_; }
  Form* OwnerForm() const;

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  // Bounds relative to the parent's client area; FormOffset gives the
  // control's top-left in its form's client area.
  const Rect& Bounds() const { return bounds_; }
  void SetBounds(Rect bounds);
  Point FormOffset() const;

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // Visible and every container above it visible too.
  bool Showing() const;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Enabled and every container above it (the form included) enabled too:
  // only then does the control take user input.
  bool AcceptsInput() const;

  // "short|long": the short part is the tool-tip, the long part goes to the
  // application's hint event. A hint without a bar is both.
  const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint) { hint_ = std::move(hint); }
  std::string ShortHint() const;
  std::string LongHint() const;

  // Font and colour; a control without its own font uses its parent's.
  const Font& GetFont() const;
  void SetFont(const Font& font);
  bool HasOwnFont() const { return ownFont_ != nullptr; }

  int TabOrder() const { return tabOrder_; }
  void SetTabOrder(int order) { tabOrder_ = order; }

  // Asks for the keyboard focus; FocusedControl of the form tracks it. A
  // hidden or disabled control cannot take it; on a form it activates it.
  void SetFocus();

  // The pointer's shape over the control (Default: the program's own).
  Cursor GetCursor() const { return cursor_; }
  void SetCursor(Cursor cursor);

  // Pointer input for controls without a window of their own (labels,
  // pictures, links): their form finds the control under the pointer and
  // calls these. Native controls get their clicks themselves.
  virtual void UserMouseEnter() {}
  virtual void UserMouseLeave() {}
  virtual void UserMouseClick() {}

  // The state of a kind of control that the toolkit does not know, in
  // words, for peers that mirror controls they were not written for (the
  // headless ones compare it to see that every change was reported).
  virtual std::string StateText() const { return {}; }

  // Asks the factory for this control's kind of peer. By default a
  // window-less area that the control draws itself (Paint).
  virtual std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory);
  // Draws a control that draws itself, when the window system asks: the
  // canvas has the control's top-left at its origin and is clipped to the
  // control and to the area being drawn.
  virtual void Paint(Canvas& /*canvas*/) {}

  ControlPeer* Peer() const { return peer_.get(); }
  void AttachPeer(std::unique_ptr<ControlPeer> peer) { peer_ = std::move(peer); }

 protected:
  void Changed(Change what) {
    if (peer_) peer_->Update(what);
  }
  // The focus moved from this control to another one of its form.
  virtual void FocusLeft() {}

 private:
  friend class Form;
  Container* parent_;
  ControlKind kind_;
  std::string name_;
  Rect bounds_;
  bool visible_ = true;
  bool enabled_ = true;
  std::string hint_;
  std::unique_ptr<Font> ownFont_;
  int tabOrder_ = -1;
  Cursor cursor_ = Cursor::Default;
  std::unique_ptr<ControlPeer> peer_;
};

// A control that holds others (the form itself, panels, group boxes).
class Container : public Control {
 public:
  using Control::Control;

  const std::vector<Control*>& Children() const { return children_; }

  // The deepest visible control at a point of this container's client
  // area, disabled ones included; nullptr when none (the container itself).
  Control* ControlAt(Point p);

  // The children in the order the Tab key visits them: those with a tab
  // order by that order, then the others in the order they were made.
  std::vector<Control*> TabSequence() const;

 private:
  friend class Control;
  std::vector<Control*> children_;
};

}  // namespace tessavo::tk
