#include "toolkit/edit.h"

#include <utility>

#include "toolkit/application.h"

namespace tessavo::tk {

Edit::Edit(Container* parent, const CreateArgs& args)
    : Control(parent, ControlKind::Edit, args.bounds), text_(args.text), readOnly_(args.readOnly) {
  SetHint(args.hint);
  SetTabOrder(args.tabOrder);
}

void Edit::SetText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  Changed(Change::Caption);
}

void Edit::UserSetText(std::string text) {
  if (!AcceptsInput() || text == text_) return;
  if (readOnly_) {
    Changed(Change::Caption);
    return;
  }
  App().Guard([&] {
    text_ = std::move(text);
    if (OnChange) OnChange();
  });
}

std::string Edit::StateText() const {
  return "text=" + text_ + " readonly=" + (readOnly_ ? "1" : "0");
}

}  // namespace tessavo::tk
