// The virtual list: an owner-drawn list box without data. It stores
// nothing per row (a million rows cost nothing), asks the control for the
// text of the rows it draws, and has exactly the control's row height.
#include <windows.h>

#include <commctrl.h>

#include "toolkit/controls.h"
#include "toolkit/win32/control_peers.h"
#include "toolkit/win32/win32_util.h"

namespace tessavo::tk::win32 {
namespace {

class ListPeer final : public ChildPeer {
 public:
  ListPeer(FormPeerWin& form, Control& control)
      : ChildPeer(form, control), list_(static_cast<VirtualList&>(control)) {
    CreateChild(WC_LISTBOXA, "",
                WS_TABSTOP | WS_VSCROLL | LBS_NODATA | LBS_OWNERDRAWFIXED |
                    LBS_NOINTEGRALHEIGHT | LBS_NOTIFY,
                WS_EX_CLIENTEDGE);
    SetRowHeight();
    Refresh(Change::Items);
  }

  HWND FocusWindow() const override { return Window(); }

  void Update(Change what) override {
    ChildPeer::Update(what);
    // A new font would make the list box measure its rows again.
    if (what == Change::Font && Attached()) SetRowHeight();
  }

  void DpiChanged() override {
    ChildPeer::DpiChanged();
    SetRowHeight();
  }

  void SetRowHeight() {
    SendMessageA(Window(), LB_SETITEMHEIGHT, 0, Owner().Scale(list_.RowHeight()));
  }

  void Command(HWND, UINT code, UINT) override {
    if (code != LBN_SELCHANGE) return;
    const int index = static_cast<int>(SendMessageA(Window(), LB_GETCURSEL, 0, 0));
    if (index != list_.ItemIndex()) Call([this, index] { list_.UserSelect(index); });
  }

  void DrawItem(const DRAWITEMSTRUCT& item) override {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    if (item.itemID == static_cast<UINT>(-1)) {
      if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
      return;
    }
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool enabled = EffectivelyEnabled();
    const std::string text = RowText(static_cast<int>(item.itemID));
    SelectObject(dc, Font());
    SetBkColor(dc, GetSysColor(selected ? (enabled ? COLOR_HIGHLIGHT : COLOR_BTNFACE)
                                        : COLOR_WINDOW));
    SetTextColor(dc, !enabled   ? GetSysColor(COLOR_GRAYTEXT)
                     : selected ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                : ColorRef(list_.GetFont().color));
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    const int y = r.top + (r.bottom - r.top - metrics.tmHeight) / 2;
    // One call fills the row and writes the text.
    ExtTextOutA(dc, r.left + Owner().Scale(2), y, ETO_OPAQUE | ETO_CLIPPED, &r, text.data(),
                static_cast<UINT>(text.size()), nullptr);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
  }

  bool Filter(HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT& result) override {
    if (msg != WM_VSCROLL) return false;
    const int code = LOWORD(wParam);
    if (code != SB_THUMBTRACK && code != SB_THUMBPOSITION) return false;
    // The message carries only 16 bits of position; the scroll bar knows
    // all of it, for lists longer than 65,535 rows.
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_TRACKPOS};
    if (!GetScrollInfo(Window(), SB_VERT, &info)) return false;
    SendMessageA(Window(), LB_SETTOPINDEX, static_cast<WPARAM>(info.nTrackPos), 0);
    result = 0;
    return true;
  }

 protected:
  void Refresh(Change what) override {
    switch (what) {
      case Change::Items: {
        failed_ = false;
        const auto top = SendMessageA(Window(), LB_GETTOPINDEX, 0, 0);
        SendMessageA(Window(), LB_SETCOUNT, static_cast<WPARAM>(list_.ItemCount()), 0);
        // Growing the list must not scroll it back to the top.
        if (top > 0 && top < list_.ItemCount())
          SendMessageA(Window(), LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
        SyncSelection();
        break;
      }
      case Change::Value:
        SyncSelection();
        break;
      case Change::Repaint:
        failed_ = false;
        InvalidateRect(Window(), nullptr, FALSE);
        break;
      default:
        break;
    }
  }

 private:
  void SyncSelection() {
    const int index = list_.ItemIndex();
    if (SendMessageA(Window(), LB_GETCURSEL, 0, 0) != index)
      SendMessageA(Window(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }

  std::string RowText(int index) {
    // A handler that fails would fail again for every row and every
    // repaint (the error box itself makes the list repaint): its error is
    // shown once, and the list stays blank until its contents change.
    if (failed_ || fetching_) return {};
    std::string text;
    bool fetched = false;
    fetching_ = true;
    const bool ran = Call([this, index, &text, &fetched] {
      fetched = list_.FetchItemText(index, text);
    });
    fetching_ = false;
    if (!ran || !fetched) {
      failed_ = true;
      text.clear();
    }
    return text;
  }

  VirtualList& list_;
  bool failed_ = false;
  bool fetching_ = false;
};

}  // namespace

std::unique_ptr<ChildPeer> MakeListPeer(FormPeerWin& form, Control& control) {
  return std::make_unique<ListPeer>(form, control);
}

}  // namespace tessavo::tk::win32
