#include "toolkit/controls.h"

#include <algorithm>
#include <utility>

#include "toolkit/application.h"

namespace tessavo::tk {

Label::Label(Container* parent, const CreateArgs& args)
    : Control(parent, ControlKind::Label, args.bounds),
      caption_(args.caption),
      autoSize_(args.bounds.width == 0),
      shadow_(args.shadow),
      shadowColor_(args.shadowColor),
      align_(args.align),
      raised_(args.raised) {
  if (args.font) SetFont(*args.font);
  if (autoSize_) FitToCaption();
}

void Label::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Changed(Change::Caption);
  if (autoSize_) FitToCaption();
}

void Label::FitToCaption() {
  // An average character is a little under half the character height wide
  // (5 pixels at 11, 9 at 19); bold adds one. The line is two pixels
  // taller than the characters.
  const Font& font = GetFont();
  const int charWidth = (font.height * 5 + 5) / 11 + (font.bold ? 1 : 0);
  Rect bounds = Bounds();
  bounds.width = static_cast<int>(caption_.size()) * charWidth + (shadow_ ? 1 : 0);
  bounds.height = font.height + 2 + (shadow_ ? 1 : 0);
  SetBounds(bounds);
}

Panel::Panel(Container* parent, const CreateArgs& args)
    : Container(parent, ControlKind::Panel, args.bounds),
      outer_(args.outer),
      inner_(args.inner),
      borderWidth_(args.borderWidth),
      caption_(args.caption),
      alignment_(args.alignment),
      margin_(args.margin) {}

void Panel::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Changed(Change::Caption);
}

Bevel::Bevel(Container* parent, const CreateArgs& args)
    : Control(parent, ControlKind::Bevel, args.bounds) {}

GroupBox::GroupBox(Container* parent, const CreateArgs& args)
    : Container(parent, ControlKind::GroupBox, args.bounds), caption_(args.caption) {}

CheckBox::CheckBox(Container* parent, const CreateArgs& args)
    : CheckBox(parent, ControlKind::CheckBox, args) {}

CheckBox::CheckBox(Container* parent, ControlKind kind, const CreateArgs& args)
    : Control(parent, kind, args.bounds), caption_(args.caption) {
  SetHint(args.hint);
  SetTabOrder(args.tabOrder);
}

void CheckBox::SetCheckedState(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Changed(Change::Value);
}

void CheckBox::SetChecked(bool checked) {
  if (checked == checked_) return;
  SetCheckedState(checked);
  if (OnClick) OnClick();
}

void CheckBox::UserClick() {
  if (!AcceptsInput()) return;
  App().Guard([this] { SetChecked(!Checked()); });
}

RadioButton::RadioButton(Container* parent, const CreateArgs& args)
    : CheckBox(parent, ControlKind::RadioButton, args) {}

void RadioButton::SetChecked(bool checked) {
  if (checked == Checked()) return;
  SetCheckedState(checked);
  if (!checked) return;
  // The group is the parent: one checked button at a time. The others
  // go off quietly; only the newly checked one reports a click.
  if (Parent()) {
    for (Control* sibling : Parent()->Children()) {
      if (sibling != this && sibling->Kind() == ControlKind::RadioButton) {
        static_cast<RadioButton*>(sibling)->SetCheckedState(false);
      }
    }
  }
  if (OnClick) OnClick();
}

void RadioButton::UserClick() {
  if (!AcceptsInput() || Checked()) return;
  App().Guard([this] { SetChecked(true); });
}

Button::Button(Container* parent, const CreateArgs& args)
    : Control(parent, ControlKind::Button, args.bounds),
      caption_(args.caption),
      isDefault_(args.isDefault),
      isCancel_(args.isCancel) {
  SetHint(args.hint);
  SetTabOrder(args.tabOrder);
}

void Button::UserClick() {
  if (!AcceptsInput()) return;
  App().Guard([this] {
    if (OnClick) OnClick();
  });
}

ComboBox::ComboBox(Container* parent, const CreateArgs& args)
    : Control(parent, ControlKind::ComboBox, args.bounds), items_(args.items) {
  SetHint(args.hint);
  SetTabOrder(args.tabOrder);
}

void ComboBox::SetItemIndex(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) index = -1;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  Changed(Change::Value);
}

void ComboBox::UserSelect(int index) {
  if (!AcceptsInput()) return;
  App().Guard([this, index] {
    SetItemIndex(index);
    if (OnChange) OnChange();
  });
}

VirtualList::VirtualList(Container* parent, const CreateArgs& args)
    : Control(parent, ControlKind::VirtualList, args.bounds), rowHeight_(args.rowHeight) {
  if (args.font) SetFont(*args.font);
  SetTabOrder(args.tabOrder);
}

void VirtualList::SetItemCount(int count) {
  count = std::max(count, 0);
  // Both are settled before the peer hears of either: a native list that
  // repaints its old selection at once must find no row beyond the count.
  const bool countChanged = count != itemCount_;
  const bool selectionGone = itemIndex_ >= count;
  itemCount_ = count;
  if (selectionGone) itemIndex_ = -1;
  if (countChanged) Changed(Change::Items);
  if (selectionGone) Changed(Change::Value);
}

void VirtualList::SetItemIndex(int index) {
  if (index < -1 || index >= itemCount_) index = -1;
  if (index == itemIndex_) return;
  itemIndex_ = index;
  Changed(Change::Value);
}

std::string VirtualList::ItemText(int index) {
  std::string text;
  FetchItemText(index, text);
  return text;
}

bool VirtualList::FetchItemText(int index, std::string& text) {
  text.clear();
  if (index < 0 || index >= itemCount_ || !OnGetItem) return true;
  // Asked while drawing: a failure must not unwind through the window
  // system, so it is shown like any other handler's.
  return App().Guard([&] { OnGetItem(index, text); });
}

void VirtualList::UserSelect(int index) {
  if (!AcceptsInput() || index < -1 || index >= itemCount_ || index == itemIndex_) return;
  App().Guard([this, index] {
    SetItemIndex(index);
    if (OnChange) OnChange();
  });
}

namespace {

Rect AlongParent(Container* parent, int height, bool bottom) {
  const Rect area = parent ? parent->Bounds() : Rect{};
  return Rect{0, bottom ? area.height - height : 0, area.width, height};
}

}  // namespace

StatusBar::StatusBar(Container* parent, const CreateArgs& args)
    : Control(parent, ControlKind::StatusBar, AlongParent(parent, args.height, true)) {}

void StatusBar::SetSimpleText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  Changed(Change::Caption);
}

ProgressBar::ProgressBar(Container* parent, const CreateArgs& args)
    : Control(parent, ControlKind::ProgressBar, args.bounds),
      min_(args.min),
      max_(args.max),
      position_(args.min) {
  SetTabOrder(args.tabOrder);
}

void ProgressBar::SetPosition(int position) {
  position = std::max(std::min(position, max_), min_);
  if (position == position_) return;
  position_ = position;
  Changed(Change::Value);
}

void ProgressBar::SetRange(int min, int max) {
  if (min != min_ || max != max_) {
    min_ = min;
    max_ = max;
    Changed(Change::Limits);
  }
  SetPosition(position_);
}

ToolBar::ToolBar(Container* parent, const CreateArgs& args)
    : Control(parent, ControlKind::ToolBar, AlongParent(parent, args.height, false)),
      buttonWidth_(args.buttonWidth),
      buttonHeight_(args.buttonHeight) {}

ToolBar::~ToolBar() = default;

ToolBar::ToolButton& ToolBar::AddButton(ButtonArgs args) {
  buttons_.push_back(std::unique_ptr<ToolButton>(new ToolButton(this, std::move(args))));
  Changed(Change::Items);
  return *buttons_.back();
}

ToolBar::ToolButton* ToolBar::ButtonAt(Point p) {
  if (p.y < 0 || p.y >= buttonHeight_ || p.x < 0) return nullptr;
  int left = 0;
  for (const auto& button : buttons_) {
    const int width = button->IsSeparator() ? button->Width() : buttonWidth_;
    if (p.x < left + width) return button->IsSeparator() ? nullptr : button.get();
    left += width;
  }
  return nullptr;
}

void ToolBar::ToolButton::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  bar_->Changed(Change::Enabled);
}

void ToolBar::ToolButton::UserClick() {
  if (!enabled_ || IsSeparator() || !bar_->AcceptsInput()) return;
  App().Guard([this] {
    if (OnClick) OnClick();
  });
}

}  // namespace tessavo::tk
