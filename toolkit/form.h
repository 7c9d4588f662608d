// A top-level window: the container every control lives in.
#pragma once

#include <functional>
#include <memory>
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

class FormPeer : public ControlPeer {
 public:
  // Creates the native controls of every control on the form.
  virtual void CreateControls() = 0;
  virtual void RunModal() = 0;  // returns once the form's ModalResult is set
  virtual void Minimize() = 0;
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

  // Makes the native window and its controls (no-op headless). Called by
  // the application before the form is first shown; window classes call it
  // at the end of their constructor, once every control exists.
  void CreateHandle();

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  Form* Owner() const { return owner_; }
  BorderStyle GetBorderStyle() const { return borderStyle_; }
  const BorderIcons& GetBorderIcons() const { return borderIcons_; }

  int ClientWidth() const { return Bounds().width; }
  int ClientHeight() const { return Bounds().height; }

  // Outer position and size, frame included. The frame's size comes from
  // the platform (headless: the classic Windows metrics).
  int Left() const { return left_; }
  int Top() const { return top_; }
  void SetLeft(int left);
  void SetTop(int top);
  int Width() const;
  int Height() const;

  MainMenu* Menu() const { return menu_; }
  void SetMenu(MainMenu* menu) { menu_ = menu; }

  void Show();
  void Hide();
  // Shows the form modally: every other form of the program is disabled
  // until ModalResult is set or the form closes (closing without a result
  // gives Cancel); then they are enabled again and the form hides.
  ModalResult ShowModal();
  ModalResult GetModalResult() const { return modalResult_; }
  void SetModalResult(ModalResult result);
  bool Modal() const { return modal_; }

  // Closes the form whatever asks for it (Close, the system menu, Alt+F4):
  // OnClose runs, then the form hides; closing the main form ends the
  // program's message loop.
  void Close();
  bool Closed() const { return closed_; }
  // Close asked for by the user (system menu, Alt+F4), in the error guard.
  void UserClose();

  // The main form minimises the whole program; another form only itself.
  void Minimize();
  bool Active() const { return active_; }
  void UserActivated(bool active);

  Control* FocusedControl() const { return focused_; }
  void SetFocusedControl(Control* control);  // the peer or SetFocus report it

  // The hint under a point of the client area: the long hint of the
  // deepest control there or of the nearest enclosing one that has a hint.
  std::string HintAt(Point p);
  // The pointer moved to a point of the client area: the application's
  // hint becomes HintAt(p).
  void UserPointerAt(Point p);

  Event OnClose;
  Event OnShow;
  Event OnActivate;

  FormPeer* GetFormPeer() const;

 private:
  void RestoreAfterModal(const std::vector<Form*>& disabled);

  std::string caption_;
  Form* owner_;
  BorderStyle borderStyle_;
  BorderIcons borderIcons_;
  int left_ = 0, top_ = 0;
  MainMenu* menu_ = nullptr;
  ModalResult modalResult_ = ModalResult::None;
  bool modal_ = false;
  bool closed_ = false;
  bool active_ = false;
  bool handleCreated_ = false;
  Control* focused_ = nullptr;
};

}  // namespace tessavo::tk
