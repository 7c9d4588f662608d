// Peers are chosen when the program is linked: toolkit/win32/ defines the
// factory to make native windows, toolkit/headless/ to make recorders.
// Each control asks for its own kind (Control::CreatePeer), so a control
// made outside the toolkit gets a peer without the toolkit knowing it.
#pragma once

#include <memory>

#include "toolkit/control.h"

namespace tessavo::tk {

class FormPeer;

// The native window of a form, or nullptr where there is no window system.
std::unique_ptr<FormPeer> CreateFormPeer(Form& form);

// The peers of the controls on one form, by family.
class PeerFactory {
 public:
  explicit PeerFactory(FormPeer& form) : form_(form) {}

  // Window-less controls the form draws by their kind (labels, panels,
  // bevels, group boxes, icons).
  std::unique_ptr<ControlPeer> MakePainted(Control& control);
  // Window-less controls that draw themselves (Control::Paint).
  std::unique_ptr<ControlPeer> MakeSelfPainted(Control& control);
  // Push buttons, check boxes and radio buttons.
  std::unique_ptr<ControlPeer> MakeButton(Control& control);
  std::unique_ptr<ControlPeer> MakeComboBox(Control& control);
  std::unique_ptr<ControlPeer> MakeSpinEdit(Control& control);
  std::unique_ptr<ControlPeer> MakeVirtualList(Control& control);
  std::unique_ptr<ControlPeer> MakeStatusBar(Control& control);
  std::unique_ptr<ControlPeer> MakeProgressBar(Control& control);
  std::unique_ptr<ControlPeer> MakeToolBar(Control& control);
  std::unique_ptr<ControlPeer> MakeSpeedButton(Control& control);
  std::unique_ptr<ControlPeer> MakeBrowseEdit(Control& control);
  std::unique_ptr<ControlPeer> MakeEdit(Control& control);
  std::unique_ptr<ControlPeer> MakeUpDown(Control& control);
  std::unique_ptr<ControlPeer> MakeColorBox(Control& control);

 private:
  FormPeer& form_;
};

}  // namespace tessavo::tk
