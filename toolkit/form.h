// A top-level window: the container every control lives in.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/control.h"
#include "toolkit/menu.h"

namespace tessavo::tk {

enum class BorderStyle { Sizeable, Single, Dialog, None };

struct BorderIcons {
  bool systemMenu = true;
  bool minimize = true;
  bool maximize = true;
};

enum class ModalResult { None = 0, Ok = 1, Cancel = 2 };

// Hidden: not shown (Visible off). Minimized: shown, but minimised on its
// own or with the whole program. Normal: on the screen.
enum class WindowState { Normal, Minimized, Hidden };

class FormPeer : public virtual ControlPeer {
 public:
  // Creates the peers of every control on the form.
  virtual void CreateControls() = 0;
  // Processes messages until the form's ModalResult is set or it hides.
  virtual void RunModal() = 0;
  virtual void Minimize() = 0;
  // Where the pointer is, in client coordinates; nothing when unknown.
  virtual std::optional<Point> PointerPosition() = 0;
};

class Form : public Container {
 public:
  struct CreateArgs {
    std::string caption;
    int clientWidth = 300;
    int clientHeight = 200;
    BorderStyle borderStyle = BorderStyle::Sizeable;
    BorderIcons borderIcons;
    Font font;
    Form* owner = nullptr;
  };
  explicit Form(const CreateArgs& args);
  ~Form() override;

  // Makes the form's peer and those of its controls. Called by the
  // application before the form is first shown; window classes call it at
  // the end of their constructor, once every control exists.
  void CreateHandle();

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  Form* Owner() const { return owner_; }
  BorderStyle GetBorderStyle() const { return borderStyle_; }
  const BorderIcons& GetBorderIcons() const { return borderIcons_; }

  // The client area's size as the form describes it, at 96 dots per inch.
  int ClientWidth() const { return Bounds().width; }
  int ClientHeight() const { return Bounds().height; }
  void SetClientHeight(int height);

  // Outer position and size on the screen, frame included: the position in
  // screen pixels, the size from the platform (the client area scaled to
  // the window's screen and the frame around it; headless the classic
  // Windows metrics at 96 dpi).
  int Left() const { return left_; }
  int Top() const { return top_; }
  void SetLeft(int left);
  void SetTop(int top);
  int Width() const;
  int Height() const;
  // The outer height; the client area takes the difference (in its own
  // units, which are the screen's at 96 dpi).
  void SetHeight(int height);

  MainMenu* Menu() const { return menu_; }
  void SetMenu(MainMenu* menu) { menu_ = menu; }

  // Above every window that is not itself on top (other programs' too).
  bool StayOnTop() const { return stayOnTop_; }
  void SetStayOnTop(bool onTop);

  // Shows the form (OnShow first) and activates it; a shown form is
  // brought forward and activated again.
  void Show();
  void Hide();
  // Shows the form modally: every other form of the program is disabled
  // (a ModalScope) until ModalResult is set or the form closes (closing
  // without a result gives Cancel); then they are enabled again, the form
  // hides and the window that was active is active again.
  ModalResult ShowModal();
  ModalResult GetModalResult() const { return modalResult_; }
  void SetModalResult(ModalResult result);
  bool Modal() const { return modal_; }

  // The can-close query: a handler may refuse the close (canClose false).
  std::function<void(bool& canClose)> OnCloseQuery;
  // Runs OnCloseQuery; true when the form may close.
  bool CloseQuery();

  // Every close goes here: Close from code, the close box, Alt+F4, the
  // system menu, the taskbar button, the end of the session. OnCloseQuery
  // may refuse it. A modal form then ends its loop (OnClose runs, Cancel
  // unless a result is set). Any other form closes at once, unless a
  // handler further up the stack is still running (a run, a sort, a modal
  // window): then it closes as soon as the outermost handler has returned,
  // so that nothing is freed under it. Closing: OnClose runs, the form
  // hides, and closing the main form ends the program's message loop.
  void Close();
  bool Closed() const { return closed_; }
  bool ClosePending() const { return closePending_; }
  // Close asked for by the user (close box, system menu, Alt+F4), in the
  // error guard. A disabled form cannot be closed so, except the main form
  // when no modal window is up: that close comes from another program and
  // counts as the taskbar's.
  void UserClose();

  // The main form minimises the whole program; another form only itself.
  void Minimize();
  WindowState GetWindowState() const;
  // Reported by the peer: the user minimised or restored this form alone.
  void UserMinimized();
  void UserRestored();

  bool Active() const { return active_; }
  void UserActivated(bool active);

  Control* FocusedControl() const { return focused_; }
  void SetFocusedControl(Control* control);  // the peer or SetFocus report it
  // A control of the form is going away: no pointer to it may stay.
  void ForgetControl(const Control* control);

  // The hint under a point of the client area: the long hint of the
  // deepest control there or of the nearest enclosing one that has a hint.
  std::string HintAt(Point p);
  // The pointer moved to a point of the client area: the application's
  // hint becomes HintAt(p), and window-less controls hear the pointer
  // enter and leave them.
  void UserPointerAt(Point p);
  // The pointer left the form.
  void UserPointerLeft();
  // A click at a point of the client area (button down and up there): the
  // control under it gets UserMouseClick.
  void UserClickAt(Point p);
  // The cursor to show at a point: that of the deepest control there with
  // one of its own, else Default.
  Cursor CursorAt(Point p);
  // The control the pointer is over (nullptr when none or outside).
  Control* ControlUnderPointer() const { return hovered_; }
  // Where the pointer is now, in client coordinates, as the peer knows it.
  std::optional<Point> PointerPosition();

  Event OnClose;
  Event OnShow;
  Event OnActivate;

  FormPeer* GetFormPeer() const;

 private:
  friend class Application;
  void CloseNow();

  std::string caption_;
  Form* owner_;
  BorderStyle borderStyle_;
  BorderIcons borderIcons_;
  int left_ = 0, top_ = 0;
  MainMenu* menu_ = nullptr;
  ModalResult modalResult_ = ModalResult::None;
  bool modal_ = false;
  bool closed_ = false;
  bool closePending_ = false;
  bool active_ = false;
  bool minimized_ = false;
  bool stayOnTop_ = false;
  bool handleCreated_ = false;
  Control* focused_ = nullptr;
  Control* hovered_ = nullptr;
};

// While it lives, every other shown form of the program is disabled, so
// that only the forms made or shown meanwhile take input (a modal form, or
// a progress window beside a long run). When it ends those forms are
// enabled again and the activation goes back to the form that was active
// when it began (or to returnTo), if that can still take it.
class ModalScope {
 public:
  explicit ModalScope(const Form* except);
  ModalScope(const Form* except, Form* returnTo);
  ~ModalScope();
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;

  // Enables the forms again now; the activation still goes back at the end.
  void EnableAgain();

 private:
  std::vector<Form*> disabled_;
  Form* returnTo_;
  bool enabledAgain_ = false;
};

}  // namespace tessavo::tk
