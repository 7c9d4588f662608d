#include "toolkit/win32/menu_peer.h"

#include "toolkit/application.h"
#include "toolkit/win32/form_peer.h"
#include "toolkit/win32/win32_util.h"

namespace tessavo::tk::win32 {

MenuPeerWin::MenuPeerWin(FormPeerWin& form, MainMenu& menu) : form_(&form), menu_(menu) {
  bar_ = Build(menu.Items(), true);
  form.SetMenuPeer(this);
}

MenuPeerWin::~MenuPeerWin() {
  if (!form_) return;
  form_->SetMenuPeer(nullptr);
  if (form_->Handle() && GetMenu(form_->Handle()) == bar_) SetMenu(form_->Handle(), nullptr);
  DestroyMenu(bar_);
}

void MenuPeerWin::Detach() {
  form_ = nullptr;
  bar_ = nullptr;
  lists_.clear();
  holder_.clear();
}

HMENU MenuPeerWin::Build(const Items& items, bool bar) {
  HMENU menu = bar ? CreateMenu() : CreatePopupMenu();
  lists_[menu] = &items;
  for (const auto& item : items) {
    holder_[item.get()] = menu;
    if (item->IsSeparator()) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const UINT state = item->Enabled() ? MF_ENABLED : MF_GRAYED;
    if (!item->Items().empty()) {
      HMENU sub = Build(item->Items(), false);
      AppendMenuA(menu, MF_POPUP | MF_STRING | state, reinterpret_cast<UINT_PTR>(sub),
                  item->Caption().c_str());
    } else {
      AppendMenuA(menu, MF_STRING | state, static_cast<UINT_PTR>(item->Id()),
                  item->Caption().c_str());
    }
  }
  return menu;
}

void MenuPeerWin::ItemChanged(MenuItem& item) {
  if (!form_) return;
  auto held = holder_.find(&item);
  if (held == holder_.end()) return;
  const Items& siblings = *lists_[held->second];
  for (std::size_t i = 0; i < siblings.size(); ++i) {
    if (siblings[i].get() != &item) continue;
    EnableMenuItem(held->second, static_cast<UINT>(i),
                   MF_BYPOSITION | (item.Enabled() ? MF_ENABLED : MF_GRAYED));
    if (held->second == bar_ && form_->Handle()) DrawMenuBar(form_->Handle());
    return;
  }
}

void MenuPeerWin::Command(int id) {
  if (MenuItem* item = menu_.FindById(id)) Call([item] { item->UserClick(); });
}

void MenuPeerWin::Select(HMENU menu, UINT item, UINT flags) {
  if (flags == 0xFFFF && !menu) {
    Call([] { MenuItem::UserMenuClosed(); });
    return;
  }
  MenuItem* target = nullptr;
  if (flags & MF_POPUP) {
    // A sub-menu is named by its position, not by an id.
    auto list = lists_.find(menu);
    if (list != lists_.end() && item < list->second->size()) target = (*list->second)[item].get();
  } else if (!(flags & MF_SEPARATOR)) {
    target = menu_.FindById(static_cast<int>(item));
  }
  if (target) {
    Call([target] { target->UserHighlight(); });
  } else {
    Call([] { MenuItem::UserMenuClosed(); });
  }
}

}  // namespace tessavo::tk::win32
