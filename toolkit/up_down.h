// Up and down arrows that step a whole number within a range and show it
// in the field they are attached to (a read-only Edit beside them).
#pragma once

#include <string>

#include "toolkit/control.h"
#include "toolkit/edit.h"
#include "toolkit/peer_factory.h"

namespace tessavo::tk {

// The position always lies within min..max. Setting it from code raises
// nothing; a click on an arrow (or an arrow key in the attached field)
// moves it one step, at the ends wrapping round only with wrap set, and
// then raises OnClick, also when an end held it where it was.
class UpDown : public Control {
 public:
  struct CreateArgs {
    Rect bounds;
    Edit* associate = nullptr;  // shows the position as decimal text
    int min = 0;
    int max = 100;
    int position = 0;
    bool wrap = false;
    int tabOrder = -1;
  };
  UpDown(Container* parent, const CreateArgs& args);
  std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) override {
    return factory.MakeUpDown(*this);
  }

  int Min() const { return min_; }
  int Max() const { return max_; }
  bool Wrap() const { return wrap_; }
  Edit* Associate() const { return associate_; }

  int Position() const { return position_; }
  // Values outside the range are brought to its nearer end.
  void SetPosition(int position);

  // +1: the up arrow, -1: the down arrow.
  void UserClick(int direction);
  Event OnClick;

  std::string StateText() const override;

 private:
  Edit* associate_;
  int min_, max_;
  int position_;
  bool wrap_;
};

}  // namespace tessavo::tk
