// A read-only text field with a browse button at its right end: the text
// is set by the program (a stored path, a chosen file), never typed; the
// button says the user wants to choose. Enabling it enables both parts,
// and a disabled field shows its text greyed.
#pragma once

#include <string>

#include "toolkit/control.h"
#include "toolkit/peer_factory.h"

namespace tessavo::tk {

class BrowseEdit : public Control {
 public:
  struct CreateArgs {
    Rect bounds;
    std::string picture = "BROWSE";  // the button's bitmap resource ("..." without one)
    int tabOrder = -1;
  };
  BrowseEdit(Container* parent, const CreateArgs& args);
  std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) override {
    return factory.MakeBrowseEdit(*this);
  }

  const std::string& Text() const { return text_; }
  void SetText(std::string text);
  const std::string& Picture() const { return picture_; }
  std::string StateText() const override { return "text=" + text_; }

  // The user pressed the browse button.
  void UserButtonClick();
  Event OnButtonClick;

 private:
  std::string text_;
  std::string picture_;
};

}  // namespace tessavo::tk
