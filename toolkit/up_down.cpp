#include "toolkit/up_down.h"

#include <algorithm>
#include <string>

#include "toolkit/application.h"

namespace tessavo::tk {

UpDown::UpDown(Container* parent, const CreateArgs& args)
    : Control(parent, ControlKind::UpDown, args.bounds),
      associate_(args.associate),
      min_(std::min(args.min, args.max)),
      max_(std::max(args.min, args.max)),
      position_(min_),
      wrap_(args.wrap) {
  SetTabOrder(args.tabOrder);
  SetPosition(args.position);
  // The field shows the position from the start, whatever it was made with.
  if (associate_) associate_->SetText(std::to_string(position_));
}

void UpDown::SetPosition(int position) {
  position = std::clamp(position, min_, max_);
  if (associate_) associate_->SetText(std::to_string(position));
  if (position == position_) return;
  position_ = position;
  Changed(Change::Value);
}

void UpDown::UserClick(int direction) {
  if (!AcceptsInput() || direction == 0) return;
  App().Guard([this, direction] {
    int next = position_ + (direction > 0 ? 1 : -1);
    if (next > max_) next = wrap_ ? min_ : max_;
    if (next < min_) next = wrap_ ? max_ : min_;
    SetPosition(next);
    if (OnClick) OnClick();
  });
}

std::string UpDown::StateText() const {
  return "position=" + std::to_string(position_) + " range=" + std::to_string(min_) + ',' +
         std::to_string(max_) + " wrap=" + (wrap_ ? "1" : "0");
}

}  // namespace tessavo::tk
