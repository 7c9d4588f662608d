// The colour list: an owner-drawn drop-down list (CBS_DROPDOWNLIST with
// CBS_OWNERDRAWFIXED) whose entries we draw as a framed swatch and the
// colour's name. The dropped-down list shows the control's number of rows.
#include <windows.h>

#include <commctrl.h>

#include "toolkit/color_box.h"
#include "toolkit/win32/control_peers.h"
#include "toolkit/win32/win32_util.h"

namespace tessavo::tk::win32 {
namespace {

// The selection field is the control's height less the edges around it.
constexpr int kEdges = 6;
constexpr int kSwatchWidth = 22;

class ColorBoxPeer final : public ChildPeer {
 public:
  ColorBoxPeer(FormPeerWin& form, Control& control)
      : ChildPeer(form, control), box_(static_cast<ColorBox&>(control)) {
    CreateChild(WC_COMBOBOXA, "",
                WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS);
    SetItemHeight();
    SendMessageA(Window(), CB_SETMINVISIBLE, static_cast<WPARAM>(box_.DropDownCount()), 0);
    for (const NamedColor& entry : box_.Colors())
      SendMessageA(Window(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.name.c_str()));
    Layout();
    Refresh(Change::Value);
  }

  HWND FocusWindow() const override { return Window(); }

  void DpiChanged() override {
    SetItemHeight();  // before the new place, which counts the rows
    ChildPeer::DpiChanged();
  }

  void Command(HWND, UINT code, UINT) override {
    if (code != CBN_SELCHANGE) return;
    const int index = static_cast<int>(SendMessageA(Window(), CB_GETCURSEL, 0, 0));
    Call([this, index] { box_.UserSelect(index); });
  }

  void DrawItem(const DRAWITEMSTRUCT& item) override {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    FillRect(dc, &r, GetSysColorBrush(selected && !disabled ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const int index = static_cast<int>(item.itemID);
    if (index >= 0 && index < static_cast<int>(box_.Colors().size())) {
      const NamedColor& entry = box_.Colors()[index];
      const int edge = Owner().Scale(2);
      RECT swatch{r.left + edge, r.top + edge, r.left + edge + Owner().Scale(kSwatchWidth),
                  r.bottom - edge};
      HBRUSH fill = CreateSolidBrush(ColorRef(entry.color));
      FillRect(dc, &swatch, fill);
      DeleteObject(fill);
      FrameRect(dc, &swatch, GetSysColorBrush(disabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
      RECT text{swatch.right + Owner().Scale(4), r.top, r.right - edge, r.bottom};
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(disabled   ? COLOR_GRAYTEXT
                                   : selected ? COLOR_HIGHLIGHTTEXT
                                              : COLOR_WINDOWTEXT));
      HGDIOBJ old = SelectObject(dc, Font());
      DrawTextA(dc, entry.name.c_str(), -1, &text,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      SelectObject(dc, old);
    }
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(dc, &r);
  }

 protected:
  void Layout() override {
    // The window's height includes the list that drops down: the rows it
    // shows at once and its border.
    const RECT r = FormRect();
    const int dropped = box_.DropDownCount() * itemHeight_ + 2;
    MoveWindow(Window(), r.left, r.top, r.right - r.left, r.bottom - r.top + dropped, TRUE);
  }

  void Refresh(Change what) override {
    if (what != Change::Value) return;
    if (SendMessageA(Window(), CB_GETCURSEL, 0, 0) != box_.ItemIndex())
      SendMessageA(Window(), CB_SETCURSEL, static_cast<WPARAM>(box_.ItemIndex()), 0);
  }

 private:
  void SetItemHeight() {
    itemHeight_ = Owner().Scale(GetControl().Bounds().height - kEdges);
    if (itemHeight_ < 8) itemHeight_ = 8;
    SendMessageA(Window(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), itemHeight_);
    SendMessageA(Window(), CB_SETITEMHEIGHT, 0, itemHeight_);
  }

  ColorBox& box_;
  int itemHeight_ = 16;
};

}  // namespace

std::unique_ptr<ChildPeer> MakeColorBoxPeer(FormPeerWin& form, Control& control) {
  return std::make_unique<ColorBoxPeer>(form, control);
}

}  // namespace tessavo::tk::win32
