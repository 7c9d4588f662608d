#include "toolkit/browse_edit.h"

#include <utility>

#include "toolkit/application.h"

namespace tessavo::tk {

BrowseEdit::BrowseEdit(Container* parent, const CreateArgs& args)
    : Control(parent, ControlKind::BrowseEdit, args.bounds), picture_(args.picture) {
  SetTabOrder(args.tabOrder);
}

void BrowseEdit::SetText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  Changed(Change::Caption);
}

void BrowseEdit::UserButtonClick() {
  if (!AcceptsInput()) return;
  App().Guard([this] {
    if (OnButtonClick) OnButtonClick();
  });
}

}  // namespace tessavo::tk
