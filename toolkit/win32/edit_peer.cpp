// The one-line text field: a native edit, read-only (ES_READONLY) when the
// control is, so the text can still be selected and copied.
#include <windows.h>

#include <commctrl.h>

#include "toolkit/edit.h"
#include "toolkit/win32/control_peers.h"
#include "toolkit/win32/win32_util.h"

namespace tessavo::tk::win32 {
namespace {

class EditPeer final : public ChildPeer {
 public:
  EditPeer(FormPeerWin& form, Control& control)
      : ChildPeer(form, control), edit_(static_cast<Edit&>(control)) {
    CreateChild(WC_EDITA, edit_.Text(),
                WS_TABSTOP | ES_AUTOHSCROLL | (edit_.ReadOnly() ? ES_READONLY : 0),
                WS_EX_CLIENTEDGE);
  }

  HWND FocusWindow() const override { return Window(); }

  void Command(HWND, UINT code, UINT) override {
    if (code != EN_CHANGE || settingText_) return;
    const std::string text = WindowText(Window());
    Call([this, &text] { edit_.UserSetText(text); });
  }

 protected:
  void Refresh(Change what) override {
    if (what != Change::Caption || WindowText(Window()) == edit_.Text()) return;
    settingText_ = true;
    SetWindowTextA(Window(), edit_.Text().c_str());
    settingText_ = false;
  }

 private:
  Edit& edit_;
  bool settingText_ = false;
};

}  // namespace

std::unique_ptr<ChildPeer> MakeEditPeer(FormPeerWin& form, Control& control) {
  return std::make_unique<EditPeer>(form, control);
}

}  // namespace tessavo::tk::win32
