// A form's main menu as a native menu bar.
#pragma once

#include <windows.h>

#include <memory>
#include <unordered_map>
#include <vector>

#include "toolkit/menu.h"

namespace tessavo::tk::win32 {

class FormPeerWin;

class MenuPeerWin final : public MenuPeer {
 public:
  MenuPeerWin(FormPeerWin& form, MainMenu& menu);
  ~MenuPeerWin() override;

  HMENU Handle() const { return bar_; }
  void ItemChanged(MenuItem& item) override;

  // From the form's window procedure.
  void Command(int id);
  void Select(HMENU menu, UINT item, UINT flags);
  // The form window is gone, and its menu bar with it.
  void Detach();

 private:
  using Items = std::vector<std::unique_ptr<MenuItem>>;
  HMENU Build(const Items& items, bool bar);

  FormPeerWin* form_;
  MainMenu& menu_;
  HMENU bar_ = nullptr;
  std::unordered_map<HMENU, const Items*> lists_;     // a native menu and what it shows
  std::unordered_map<const MenuItem*, HMENU> holder_;  // the native menu an item is in
};

}  // namespace tessavo::tk::win32
