#include "toolkit/menu.h"

#include "toolkit/application.h"
#include "toolkit/control.h"

namespace tessavo::tk {

MenuItem::MenuItem(MainMenu* menu, MenuItem* parent, const CreateArgs& args, int id)
    : menu_(menu),
      parent_(parent),
      caption_(args.caption),
      hint_(args.hint),
      enabled_(args.enabled),
      id_(id) {}

MenuItem& MenuItem::Add(const CreateArgs& args) {
  // Top-level menus have no parent: the root that holds them is not a menu.
  MenuItem* parent = this == menu_->root_.get() ? nullptr : this;
  items_.push_back(std::unique_ptr<MenuItem>(new MenuItem(menu_, parent, args, menu_->nextId_++)));
  return *items_.back();
}

std::string MenuItem::LongHint() const { return LongHintOf(hint_); }

void MenuItem::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (menu_->peer_) menu_->peer_->ItemChanged(*this);
}

void MenuItem::UserClick() {
  if (IsSeparator() || !items_.empty()) return;
  // An item of a disabled menu cannot be reached either.
  for (const MenuItem* item = this; item; item = item->parent_) {
    if (!item->enabled_) return;
  }
  App().Guard([this] {
    if (OnClick) OnClick();
  });
}

void MenuItem::UserHighlight() {
  App().Guard([this] { App().SetHint(LongHint()); });
}

void MenuItem::UserMenuClosed() {
  App().Guard([] { App().SetHint(""); });
}

MainMenu::MainMenu() : root_(new MenuItem(this, nullptr, {}, 0)) {}

MainMenu::~MainMenu() = default;

MenuItem& MainMenu::Add(const MenuItem::CreateArgs& args) { return root_->Add(args); }

namespace {

MenuItem* FindIn(const std::vector<std::unique_ptr<MenuItem>>& items, int id) {
  for (const auto& item : items) {
    if (item->Id() == id) return item.get();
    if (MenuItem* found = FindIn(item->Items(), id)) return found;
  }
  return nullptr;
}

}  // namespace

MenuItem* MainMenu::FindById(int id) { return FindIn(root_->Items(), id); }

}  // namespace tessavo::tk
