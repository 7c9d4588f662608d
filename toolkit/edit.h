// A one-line text field. Read-only, it shows a value that other controls
// set (the length beside its up-down arrows): the user can select and copy
// the text but not change it.
#pragma once

#include <string>

#include "toolkit/control.h"
#include "toolkit/peer_factory.h"

namespace tessavo::tk {

class Edit : public Control {
 public:
  struct CreateArgs {
    Rect bounds;
    std::string text;
    bool readOnly = false;
    std::string hint;
    int tabOrder = -1;
  };
  Edit(Container* parent, const CreateArgs& args);
  std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) override {
    return factory.MakeEdit(*this);
  }

  const std::string& Text() const { return text_; }
  // From code: raises nothing.
  void SetText(std::string text);
  bool ReadOnly() const { return readOnly_; }

  // The edit's text after the user typed. A read-only field keeps its own
  // text, which the peer shows again; otherwise OnChange runs.
  void UserSetText(std::string text);
  Event OnChange;

  std::string StateText() const override;

 private:
  std::string text_;
  bool readOnly_;
};

}  // namespace tessavo::tk
