// A drop-down list of named colours: each entry shows a swatch of its
// colour and the name. No typing; setting the selection from code raises
// nothing, a pick by the user raises OnClick.
#pragma once

#include <string>
#include <vector>

#include "toolkit/control.h"
#include "toolkit/peer_factory.h"

namespace tessavo::tk {

struct NamedColor {
  std::string name;
  Color color;  // 0x00BBGGRR
};

class ColorBox : public Control {
 public:
  struct CreateArgs {
    Rect bounds;
    std::vector<NamedColor> colors;
    int dropDownCount = 8;  // rows the dropped-down list shows at once
    std::string hint;
    int tabOrder = -1;
  };
  ColorBox(Container* parent, const CreateArgs& args);
  std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) override {
    return factory.MakeColorBox(*this);
  }

  const std::vector<NamedColor>& Colors() const { return colors_; }
  int DropDownCount() const { return dropDownCount_; }

  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);  // outside the entries: no selection (-1)

  // The selected entry's colour; 0 (black) with no entry selected.
  Color SelectedColor() const;
  // Selects the first entry of that colour; with none, the selection stays.
  void SelectColor(Color color);

  void UserSelect(int index);
  Event OnClick;

  std::string StateText() const override;

 private:
  std::vector<NamedColor> colors_;
  int dropDownCount_;
  int itemIndex_ = -1;
};

}  // namespace tessavo::tk
