// Controls that show a picture from the program's resources: the flat
// picture button and the icon picture.
#pragma once

#include <string>

#include "toolkit/control.h"
#include "toolkit/peer_factory.h"

namespace tessavo::tk {

// A flat button with a picture and no text, like a tool-bar button on its
// own: the edge shows while the pointer is over it, and a greyed picture
// (the resource picture + "_DISABLED") while it is disabled. It takes no
// keyboard focus.
class SpeedButton : public Control {
 public:
  struct CreateArgs {
    Rect bounds;
    std::string picture;  // bitmap resource name
    std::string hint;
  };
  SpeedButton(Container* parent, const CreateArgs& args);
  std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) override {
    return factory.MakeSpeedButton(*this);
  }

  const std::string& Picture() const { return picture_; }

  // The user pressed it; nothing while it cannot take input.
  void UserClick();
  Event OnClick;

 private:
  std::string picture_;
};

// The program's icon (or another icon resource) at its own size.
class IconImage : public Control {
 public:
  struct CreateArgs {
    Point at;
    std::string icon = "MAINICON";
    int size = 32;
  };
  IconImage(Container* parent, const CreateArgs& args);
  std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) override {
    return factory.MakePainted(*this);
  }

  const std::string& Icon() const { return icon_; }
  std::string StateText() const override { return "icon=" + icon_; }

 private:
  std::string icon_;
};

}  // namespace tessavo::tk
