#include "toolkit/picture_controls.h"

#include "toolkit/application.h"

namespace tessavo::tk {

SpeedButton::SpeedButton(Container* parent, const CreateArgs& args)
    : Control(parent, ControlKind::SpeedButton, args.bounds), picture_(args.picture) {
  SetHint(args.hint);
}

void SpeedButton::UserClick() {
  if (!AcceptsInput()) return;
  App().Guard([this] {
    if (OnClick) OnClick();
  });
}

IconImage::IconImage(Container* parent, const CreateArgs& args)
    : Control(parent, ControlKind::Picture, {args.at.x, args.at.y, args.size, args.size}),
      icon_(args.icon) {}

}  // namespace tessavo::tk
