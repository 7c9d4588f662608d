#include "toolkit/color_box.h"

#include <string>

#include "toolkit/application.h"

namespace tessavo::tk {

ColorBox::ColorBox(Container* parent, const CreateArgs& args)
    : Control(parent, ControlKind::ColorBox, args.bounds),
      colors_(args.colors),
      dropDownCount_(args.dropDownCount < 1 ? 1 : args.dropDownCount) {
  SetHint(args.hint);
  SetTabOrder(args.tabOrder);
}

void ColorBox::SetItemIndex(int index) {
  if (index < 0 || index >= static_cast<int>(colors_.size())) index = -1;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  Changed(Change::Value);
}

Color ColorBox::SelectedColor() const { return itemIndex_ < 0 ? 0 : colors_[itemIndex_].color; }

void ColorBox::SelectColor(Color color) {
  for (std::size_t i = 0; i < colors_.size(); ++i) {
    if (colors_[i].color == color) {
      SetItemIndex(static_cast<int>(i));
      return;
    }
  }
}

void ColorBox::UserSelect(int index) {
  if (!AcceptsInput()) return;
  App().Guard([this, index] {
    SetItemIndex(index);
    if (OnClick) OnClick();
  });
}

std::string ColorBox::StateText() const {
  return "colors=" + std::to_string(colors_.size()) + " index=" + std::to_string(itemIndex_) +
         " rows=" + std::to_string(dropDownCount_);
}

}  // namespace tessavo::tk
