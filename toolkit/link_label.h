// A label that is a link: blue and underlined with the hand pointer over
// it; red while the pointer is on it (a timer checks every 100 ms and puts
// the blue back once the pointer has gone, then stops itself); a click
// opens the target through the shell, and only beeps when that fails.
#pragma once

#include <string>

#include "toolkit/controls.h"

namespace tessavo::tk {

class LinkLabel : public Label {
 public:
  struct CreateArgs {
    Point at;
    std::string caption;
    std::string target;            // opened as it is, at most 1023 characters of it
    Color color = RGB(0, 0, 255);
    Color highlight = RGB(255, 0, 0);
  };
  LinkLabel(Container* parent, const CreateArgs& args);
  ~LinkLabel() override;

  void UserMouseEnter() override;
  void UserMouseClick() override;

 private:
  void SetTextColor(Color color);
  void CheckPointer();

  std::string target_;
  Color color_, highlight_;
  int timer_ = 0;
};

}  // namespace tessavo::tk
