// A form's main menu: a tree of items with captions ("&File"), enabled
// flags, hints and click events.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tessavo::tk {

class MainMenu;

class MenuItem {
 public:
  struct CreateArgs {
    std::string caption;   // "-" makes a separator
    std::string hint;
    bool enabled = true;
  };

  MenuItem& Add(const CreateArgs& args);

  const std::string& Caption() const { return caption_; }
  bool IsSeparator() const { return caption_ == "-"; }
  const std::string& Hint() const { return hint_; }
  std::string LongHint() const;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  const std::vector<std::unique_ptr<MenuItem>>& Items() const { return items_; }
  MenuItem* Parent() const { return parent_; }
  // A number unique within its menu, for the native command id.
  int Id() const { return id_; }

  // The user chose it: runs OnClick in the error guard; nothing while
  // disabled or while it has sub-items.
  void UserClick();
  // The user highlighted it: the application's hint follows.
  void UserHighlight();
  // The user closed the menu or highlighted nothing: the hint empties.
  static void UserMenuClosed();

  std::function<void()> OnClick;

 private:
  friend class MainMenu;
  MenuItem(MainMenu* menu, MenuItem* parent, const CreateArgs& args, int id);

  MainMenu* menu_;
  MenuItem* parent_;
  std::string caption_;
  std::string hint_;
  bool enabled_;
  int id_;
  std::vector<std::unique_ptr<MenuItem>> items_;
};

class MenuPeer {
 public:
  virtual ~MenuPeer() = default;
  virtual void ItemChanged(MenuItem& item) = 0;
};

class MainMenu {
 public:
  MainMenu();
  ~MainMenu();

  MenuItem& Add(const MenuItem::CreateArgs& args);  // a top-level menu
  const std::vector<std::unique_ptr<MenuItem>>& Items() const { return root_->Items(); }
  MenuItem* FindById(int id);

  MenuPeer* Peer() const { return peer_.get(); }
  void AttachPeer(std::unique_ptr<MenuPeer> peer) { peer_ = std::move(peer); }

 private:
  friend class MenuItem;
  int nextId_ = 100;
  std::unique_ptr<MenuItem> root_;
  std::unique_ptr<MenuPeer> peer_;
};

}  // namespace tessavo::tk
