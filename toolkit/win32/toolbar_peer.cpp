// The tool bar: flat picture buttons from the executable's bitmap
// resources, greyed pictures from the "_DISABLED" ones, tool-tips with the
// buttons' short hints.
#include <windows.h>

#include <commctrl.h>

#include "toolkit/controls.h"
#include "toolkit/dpi.h"
#include "toolkit/win32/control_peers.h"
#include "toolkit/win32/picture_lists.h"
#include "toolkit/win32/win32_util.h"

namespace tessavo::tk::win32 {
namespace {

class ToolBarPeer final : public ChildPeer {
 public:
  ToolBarPeer(FormPeerWin& form, Control& control)
      : ChildPeer(form, control), bar_(static_cast<ToolBar&>(control)) {
    HWND bar = CreateChild(TOOLBARCLASSNAMEA, "",
                           TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE |
                               CCS_NOPARENTALIGN,
                           0, false);
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    AddButtons();
    toolTip_ = reinterpret_cast<HWND>(SendMessageA(bar, TB_GETTOOLTIPS, 0, 0));
    if (toolTip_) Owner().Register(toolTip_, this);
  }

  ~ToolBarPeer() override {
    if (Attached()) {
      if (toolTip_) Owner().Unregister(toolTip_);
      SendMessageA(Window(), TB_SETIMAGELIST, 0, 0);
      SendMessageA(Window(), TB_SETDISABLEDIMAGELIST, 0, 0);
    }
  }

  void Update(Change what) override {
    ChildPeer::Update(what);
    if (!Attached()) return;
    // Whatever changed, the buttons' states are few and cheap to mirror.
    for (std::size_t i = 0; i < bar_.Buttons().size(); ++i) {
      const ToolBar::ToolButton& button = *bar_.Buttons()[i];
      if (button.IsSeparator()) continue;
      const auto id = static_cast<WPARAM>(i + 1);
      const bool shown = SendMessageA(Window(), TB_ISBUTTONENABLED, id, 0) != 0;
      if (shown != button.Enabled())
        SendMessageA(Window(), TB_ENABLEBUTTON, id, MAKELONG(button.Enabled() ? TRUE : FALSE, 0));
    }
  }

  void DpiChanged() override {
    ChildPeer::DpiChanged();
    // Pictures, button sizes and separator widths are all in pixels.
    while (SendMessageA(Window(), TB_BUTTONCOUNT, 0, 0) > 0)
      SendMessageA(Window(), TB_DELETEBUTTON, 0, 0);
    AddButtons();
  }

  void Command(HWND, UINT, UINT id) override {
    if (ToolBar::ToolButton* button = ButtonById(id)) Call([button] { button->UserClick(); });
  }

  bool Notify(NMHDR& header, LRESULT& result) override {
    if (header.code != TTN_GETDISPINFOA && header.code != TTN_GETDISPINFOW) return false;
    if (header.hwndFrom != toolTip_ && header.hwndFrom != Window()) return false;
    ToolBar::ToolButton* button = ButtonById(static_cast<UINT>(header.idFrom));
    if (!button) return false;
    AnswerToolTip(header, ShortHintOf(button->Hint()), tip_);
    result = 0;
    return true;
  }

 private:
  ToolBar::ToolButton* ButtonById(UINT id) const {
    if (id == 0 || id > bar_.Buttons().size()) return nullptr;
    ToolBar::ToolButton* button = bar_.Buttons()[id - 1].get();
    return button->IsSeparator() ? nullptr : button;
  }

  // The pictures and buttons at the form's scale.
  void AddButtons() {
    HWND bar = Window();
    std::vector<std::string> pictures;
    for (const auto& button : bar_.Buttons()) {
      if (!button->IsSeparator()) pictures.push_back(button->Picture());
    }
    const SIZE button{Owner().Scale(bar_.ButtonWidth()), Owner().Scale(bar_.ButtonHeight())};
    ShowOnToolBar(bar, BuildPictureLists(pictures, Owner().Dpi(), button), images_);
    SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELONG(button.cx, button.cy));

    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (std::size_t i = 0; i < bar_.Buttons().size(); ++i) {
      const ToolBar::ToolButton& button = *bar_.Buttons()[i];
      TBBUTTON b{};
      if (button.IsSeparator()) {
        b.iBitmap = Owner().Scale(button.Width());  // a separator's width
        b.fsStyle = BTNS_SEP;
      } else {
        b.iBitmap = image++;
        b.idCommand = static_cast<int>(i) + 1;
        b.fsState = button.Enabled() ? TBSTATE_ENABLED : 0;
        b.fsStyle = BTNS_BUTTON;
      }
      buttons.push_back(b);
    }
    SendMessageA(bar, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  }

  ToolBar& bar_;
  PictureLists images_;
  HWND toolTip_ = nullptr;
  ToolTipText tip_;
};

}  // namespace

std::unique_ptr<ChildPeer> MakeToolBarPeer(FormPeerWin& form, Control& control) {
  return std::make_unique<ToolBarPeer>(form, control);
}

}  // namespace tessavo::tk::win32
