// Peers of the controls that map straight onto one native window: push
// buttons, check boxes, radio buttons, drop-down lists, the status bar and
// the progress bar.
#include <windows.h>

#include <commctrl.h>

#include "toolkit/controls.h"
#include "toolkit/win32/control_peers.h"
#include "toolkit/win32/win32_util.h"

namespace tessavo::tk::win32 {
namespace {

class ButtonPeer final : public ChildPeer {
 public:
  ButtonPeer(FormPeerWin& form, Control& control) : ChildPeer(form, control) {
    DWORD style = WS_TABSTOP;
    switch (control.Kind()) {
      case ControlKind::Button:
        style |= static_cast<Button&>(control).IsDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        break;
      case ControlKind::CheckBox:
        // Not an automatic one: the control decides the state, we show it.
        style |= BS_CHECKBOX;
        break;
      default:
        style |= BS_RADIOBUTTON;
        break;
    }
    CreateChild("BUTTON", Caption(), style);
    Refresh(Change::Value);
  }

  HWND FocusWindow() const override { return Window(); }

  void Command(HWND, UINT code, UINT) override {
    if (code != BN_CLICKED) return;
    ClickControl(GetControl());
  }

 protected:
  void Refresh(Change what) override {
    if (what == Change::Caption) {
      const std::string caption = Caption();
      if (WindowText(Window()) != caption) SetWindowTextA(Window(), caption.c_str());
    } else if (what == Change::Value && GetControl().Kind() != ControlKind::Button) {
      const bool checked = static_cast<CheckBox&>(GetControl()).Checked();
      SendMessageA(Window(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
  }

 private:
  std::string Caption() const {
    const Control& control = GetControl();
    if (control.Kind() == ControlKind::Button)
      return static_cast<const Button&>(control).Caption();
    return static_cast<const CheckBox&>(control).Caption();
  }
};

class ComboPeer final : public ChildPeer {
 public:
  ComboPeer(FormPeerWin& form, Control& control)
      : ChildPeer(form, control), combo_(static_cast<ComboBox&>(control)) {
    CreateChild(WC_COMBOBOXA, "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST);
    Layout();
    Refresh(Change::Items);
  }

  HWND FocusWindow() const override { return Window(); }

  void Command(HWND, UINT code, UINT) override {
    if (code != CBN_SELCHANGE) return;
    const int index = static_cast<int>(SendMessageA(Window(), CB_GETCURSEL, 0, 0));
    Call([this, index] { combo_.UserSelect(index); });
  }

 protected:
  void Layout() override {
    // The window's height includes the list that drops down.
    const RECT r = FormRect();
    MoveWindow(Window(), r.left, r.top, r.right - r.left, r.bottom - r.top + Owner().Scale(200),
               TRUE);
  }

  void Refresh(Change what) override {
    if (what == Change::Items) {
      SendMessageA(Window(), CB_RESETCONTENT, 0, 0);
      for (const std::string& item : combo_.Items())
        SendMessageA(Window(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    if (what == Change::Items || what == Change::Value) {
      if (SendMessageA(Window(), CB_GETCURSEL, 0, 0) != combo_.ItemIndex())
        SendMessageA(Window(), CB_SETCURSEL, static_cast<WPARAM>(combo_.ItemIndex()), 0);
    }
  }

 private:
  ComboBox& combo_;
};

class StatusBarPeer final : public ChildPeer {
 public:
  StatusBarPeer(FormPeerWin& form, Control& control)
      : ChildPeer(form, control), bar_(static_cast<StatusBar&>(control)) {
    // Placed by the control's bounds, without a size grip: our forms have
    // fixed borders.
    CreateChild(STATUSCLASSNAMEA, "",
                CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, 0, false);
    SendMessageA(Window(), SB_SIMPLE, TRUE, 0);
    Refresh(Change::Caption);
  }

 protected:
  void Refresh(Change) override {
    if (shown_ == bar_.SimpleText() && initialised_) return;
    initialised_ = true;
    shown_ = bar_.SimpleText();
    SendMessageA(Window(), SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(shown_.c_str()));
  }

 private:
  StatusBar& bar_;
  std::string shown_;
  bool initialised_ = false;
};

class ProgressPeer final : public ChildPeer {
 public:
  ProgressPeer(FormPeerWin& form, Control& control)
      : ChildPeer(form, control), bar_(static_cast<ProgressBar&>(control)) {
    CreateChild(PROGRESS_CLASSA, "", 0, 0, false);
    Refresh(Change::Limits);
  }

 protected:
  void Refresh(Change what) override {
    if (what == Change::Limits)
      SendMessageA(Window(), PBM_SETRANGE32, static_cast<WPARAM>(bar_.Min()), bar_.Max());
    if (what == Change::Limits || what == Change::Value)
      SendMessageA(Window(), PBM_SETPOS, static_cast<WPARAM>(bar_.Position()), 0);
  }

 private:
  ProgressBar& bar_;
};

}  // namespace

std::unique_ptr<ChildPeer> MakeButtonPeer(FormPeerWin& form, Control& control) {
  return std::make_unique<ButtonPeer>(form, control);
}
std::unique_ptr<ChildPeer> MakeComboPeer(FormPeerWin& form, Control& control) {
  return std::make_unique<ComboPeer>(form, control);
}
std::unique_ptr<ChildPeer> MakeStatusBarPeer(FormPeerWin& form, Control& control) {
  return std::make_unique<StatusBarPeer>(form, control);
}
std::unique_ptr<ChildPeer> MakeProgressPeer(FormPeerWin& form, Control& control) {
  return std::make_unique<ProgressPeer>(form, control);
}

}  // namespace tessavo::tk::win32
