#include "toolkit/control.h"

#include <algorithm>
#include <utility>

#include "toolkit/form.h"
#include "toolkit/peer_factory.h"

namespace tessavo::tk {

std::string ShortHintOf(std::string_view hint) {
  return std::string(hint.substr(0, hint.find('|')));
}

std::string LongHintOf(std::string_view hint) {
  const auto bar = hint.find('|');
  return std::string(bar == std::string_view::npos ? hint : hint.substr(bar + 1));
}

Control::Control(Container* parent, ControlKind kind, Rect bounds)
    : parent_(parent), kind_(kind), bounds_(bounds) {
  if (parent_) parent_->children_.push_back(this);
}

Control::~Control() {
  if (!parent_) return;
  // Controls die before their form (they are its members), so the form is
  // still whole here; it must not keep pointing at us. (Only the base's
  // FocusLeft can run now, which does nothing.)
  if (Form* form = OwnerForm()) form->ForgetControl(this);
  auto& siblings = parent_->children_;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
}

Form* Control::OwnerForm() const {
  const Control* top = this;
  while (top->parent_) top = top->parent_;
  if (top->kind_ != ControlKind::Form) return nullptr;
  return static_cast<Form*>(const_cast<Control*>(top));
}

void Control::SetBounds(Rect bounds) {
  if (bounds == bounds_) return;
  bounds_ = bounds;
  Changed(Change::Bounds);
}

Point Control::FormOffset() const {
  Point offset;
  for (const Control* c = this; c->parent_; c = c->parent_) {
    offset.x += c->bounds_.left;
    offset.y += c->bounds_.top;
  }
  return offset;
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Changed(Change::Visible);
}

bool Control::Showing() const {
  for (const Control* c = this; c; c = c->parent_) {
    if (!c->visible_) return false;
  }
  return true;
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed(Change::Enabled);
}

bool Control::AcceptsInput() const {
  for (const Control* c = this; c; c = c->parent_) {
    if (!c->enabled_) return false;
  }
  return true;
}

std::string Control::ShortHint() const { return ShortHintOf(hint_); }
std::string Control::LongHint() const { return LongHintOf(hint_); }

const Font& Control::GetFont() const {
  if (ownFont_) return *ownFont_;
  if (parent_) return parent_->GetFont();
  static const Font defaultFont;
  return defaultFont;
}

namespace {

// Children that take their font from above must redraw with the new one.
void NotifyInheritedFont(Container& container, void (*notify)(Control&)) {
  for (Control* child : container.Children()) {
    if (child->HasOwnFont()) continue;
    notify(*child);
    if (auto* inner = dynamic_cast<Container*>(child)) NotifyInheritedFont(*inner, notify);
  }
}

}  // namespace

void Control::SetFont(const Font& font) {
  if (ownFont_ && *ownFont_ == font) return;
  ownFont_ = std::make_unique<Font>(font);
  Changed(Change::Font);
  if (auto* self = dynamic_cast<Container*>(this)) {
    NotifyInheritedFont(*self, [](Control& c) { c.Changed(Change::Font); });
  }
}

void Control::SetCursor(Cursor cursor) {
  if (cursor == cursor_) return;
  cursor_ = cursor;
  Changed(Change::Cursor);
}

std::unique_ptr<ControlPeer> Control::CreatePeer(PeerFactory& factory) {
  return factory.MakeSelfPainted(*this);
}

void Control::SetFocus() {
  if (kind_ == ControlKind::Form) {
    // The form's peer activates the window and reports the activation.
    Changed(Change::Focus);
    return;
  }
  Form* form = OwnerForm();
  if (!form) return;
  for (const Control* c = this; c != form; c = c->parent_) {
    if (!c->visible_ || !c->enabled_) return;
  }
  form->SetFocusedControl(this);
  Changed(Change::Focus);
}

Control* Container::ControlAt(Point p) {
  // Later children lie on top of earlier ones.
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
    Control* child = *it;
    if (!child->Visible() || !child->Bounds().Contains(p)) continue;
    if (auto* inner = dynamic_cast<Container*>(child)) {
      const Point local{p.x - child->Bounds().left, p.y - child->Bounds().top};
      if (Control* deeper = inner->ControlAt(local)) return deeper;
    }
    return child;
  }
  return nullptr;
}

std::vector<Control*> Container::TabSequence() const {
  std::vector<Control*> sequence = children_;
  std::stable_sort(sequence.begin(), sequence.end(), [](const Control* a, const Control* b) {
    const bool aOrdered = a->TabOrder() >= 0;
    const bool bOrdered = b->TabOrder() >= 0;
    if (aOrdered != bOrdered) return aOrdered;
    return aOrdered && a->TabOrder() < b->TabOrder();
  });
  return sequence;
}

}  // namespace tessavo::tk
