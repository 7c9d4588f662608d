// The flat picture button: a tool bar of one button, which is what gives
// Windows' own flat look (edge on hover, greyed picture when disabled) and
// what accessibility tools know as a button.
#include <windows.h>

#include <commctrl.h>

#include "toolkit/browse_edit.h"
#include "toolkit/dpi.h"
#include "toolkit/picture_controls.h"
#include "toolkit/win32/control_peers.h"
#include "toolkit/win32/picture_lists.h"
#include "toolkit/win32/win32_util.h"

namespace tessavo::tk::win32 {
namespace {

constexpr int kButtonId = 1;

class SpeedButtonPeer final : public ChildPeer {
 public:
  SpeedButtonPeer(FormPeerWin& form, Control& control)
      : ChildPeer(form, control), button_(static_cast<SpeedButton&>(control)) {
    HWND bar = CreateChild(TOOLBARCLASSNAMEA, "",
                           TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE |
                               CCS_NOPARENTALIGN | TBSTYLE_TRANSPARENT,
                           0, false);
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(bar, TB_SETINDENT, 0, 0);
    SetPicture();
    TBBUTTON tb{};
    tb.iBitmap = 0;
    tb.idCommand = kButtonId;
    tb.fsState = EffectivelyEnabled() ? TBSTATE_ENABLED : 0;
    tb.fsStyle = BTNS_BUTTON;
    SendMessageA(bar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&tb));
    toolTip_ = reinterpret_cast<HWND>(SendMessageA(bar, TB_GETTOOLTIPS, 0, 0));
    if (toolTip_) Owner().Register(toolTip_, this);
  }

  ~SpeedButtonPeer() override {
    if (!Attached()) return;
    if (toolTip_) Owner().Unregister(toolTip_);
    SendMessageA(Window(), TB_SETIMAGELIST, 0, 0);
    SendMessageA(Window(), TB_SETDISABLEDIMAGELIST, 0, 0);
  }

  void Update(Change what) override {
    ChildPeer::Update(what);
    if (!Attached() || what != Change::Enabled) return;
    // The bar itself stays enabled, so that the greyed picture shows and
    // the hint still finds the button; the button is what is disabled.
    EnableWindow(Window(), TRUE);
    SendMessageA(Window(), TB_ENABLEBUTTON, kButtonId, MAKELONG(EffectivelyEnabled(), 0));
  }

  void DpiChanged() override {
    ChildPeer::DpiChanged();
    SetPicture();
  }

  void Command(HWND, UINT, UINT id) override {
    if (id == kButtonId) Call([this] { button_.UserClick(); });
  }

  bool Notify(NMHDR& header, LRESULT& result) override {
    if (header.hwndFrom != toolTip_ && header.hwndFrom != Window()) return false;
    if (!AnswerToolTip(header, button_.ShortHint(), tip_)) return false;
    result = 0;
    return true;
  }

 private:
  // The picture and the button's size at the form's scale.
  void SetPicture() {
    HWND bar = Window();
    const RECT r = FormRect();
    const int width = r.right - r.left, height = r.bottom - r.top;
    ShowOnToolBar(bar, BuildPictureLists({button_.Picture()}, Owner().Dpi(), {width, height}),
                  images_);
    SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELONG(width, height));
    SendMessageA(bar, TB_SETPADDING, 0, MAKELONG(width - images_.width, height - images_.height));
  }

  SpeedButton& button_;
  PictureLists images_;
  HWND toolTip_ = nullptr;
  ToolTipText tip_;
};

// The read-only field and its browse button at the right end.
class BrowseEditPeer final : public ChildPeer {
 public:
  BrowseEditPeer(FormPeerWin& form, Control& control)
      : ChildPeer(form, control), edit_(static_cast<BrowseEdit&>(control)) {
    field_ = CreateChild(WC_EDITA, edit_.Text(), WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL,
                         WS_EX_CLIENTEDGE);
    // The picture through a masked image list, so that its background is
    // the button's: one entry per state (normal, hot, pressed, disabled,
    // default, stylus hot), the greyed one where disabled goes.
    const std::string& name = edit_.Picture();
    hasPicture_ = !name.empty() && FindResourceA(Instance(), name.c_str(), RT_BITMAP);
    button_ = CreateChild(WC_BUTTONA, hasPicture_ ? "" : "...", BS_PUSHBUTTON);
    SetPicture();
    Layout();
  }

  void DpiChanged() override {
    ChildPeer::DpiChanged();
    SetPicture();
  }

  HWND FocusWindow() const override { return field_; }

  void Command(HWND from, UINT code, UINT) override {
    if (from == button_ && code == BN_CLICKED) Call([this] { edit_.UserButtonClick(); });
  }

 protected:
  void Layout() override {
    const RECT r = FormRect();
    const int height = r.bottom - r.top;
    const int buttonWidth = height;
    MoveWindow(field_, r.left, r.top, r.right - r.left - buttonWidth, height, TRUE);
    MoveWindow(button_, r.right - buttonWidth, r.top, buttonWidth, height, TRUE);
  }

  void Refresh(Change what) override {
    if (what == Change::Caption && WindowText(field_) != edit_.Text())
      SetWindowTextA(field_, edit_.Text().c_str());
  }

 private:
  void SetPicture() {
    if (!hasPicture_) return;
    const std::string& name = edit_.Picture();
    const RECT r = FormRect();
    const LONG side = r.bottom - r.top;  // the button is square
    PictureLists fresh = BuildPictureLists({name, name, name, name + "_DISABLED", name, name},
                                           Owner().Dpi(), {side, side});
    BUTTON_IMAGELIST list{fresh.normal, {0, 0, 0, 0}, BUTTON_IMAGELIST_ALIGN_CENTER};
    SendMessageA(button_, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list));
    images_ = std::move(fresh);
  }

  BrowseEdit& edit_;
  bool hasPicture_ = false;
  HWND field_ = nullptr;
  HWND button_ = nullptr;
  PictureLists images_;
};

}  // namespace

std::unique_ptr<ChildPeer> MakeSpeedButtonPeer(FormPeerWin& form, Control& control) {
  return std::make_unique<SpeedButtonPeer>(form, control);
}

std::unique_ptr<ChildPeer> MakeBrowseEditPeer(FormPeerWin& form, Control& control) {
  return std::make_unique<BrowseEditPeer>(form, control);
}

}  // namespace tessavo::tk::win32
