// Window-less controls: labels, panels, bevels, group boxes and icons are
// drawn by their form, and controls the toolkit does not know draw
// themselves on its canvas. Their peers only ask the form to draw their
// area again.
#include <windows.h>

#include "toolkit/controls.h"
#include "toolkit/dpi.h"
#include "toolkit/picture_controls.h"
#include "toolkit/win32/control_peers.h"
#include "toolkit/win32/dc_canvas.h"
#include "toolkit/win32/win32_util.h"

namespace tessavo::tk::win32 {
namespace {

// Whether the executable's icon `name` holds a picture of exactly size
// pixels (the system would stretch another one to that size).
bool HasIconOfSize(const std::string& name, int size) {
  HRSRC group = FindResourceA(Instance(), name.c_str(), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
  auto* directory = group ? static_cast<BYTE*>(LockResource(LoadResource(Instance(), group)))
                          : nullptr;
  if (!directory) return false;
  const int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
  HRSRC picture =
      FindResourceA(Instance(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(3) /* RT_ICON */);
  const auto* header = picture ? static_cast<const BITMAPINFOHEADER*>(
                                     LockResource(LoadResource(Instance(), picture)))
                               : nullptr;
  return header && header->biWidth == size;
}

COLORREF TextColor(const ChildPeer& peer) {
  return peer.EffectivelyEnabled() ? ColorRef(peer.GetControl().GetFont().color)
                                   : GetSysColor(COLOR_GRAYTEXT);
}

void DrawBevel(HDC dc, RECT& r, BevelStyle style) {
  switch (style) {
    case BevelStyle::Lowered:
      DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
      break;
    case BevelStyle::Raised:
      DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
      break;
    case BevelStyle::Grooved:
      DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT | BF_ADJUST);
      break;
    case BevelStyle::None:
      break;
  }
}

class PaintedPeer final : public ChildPeer {
 public:
  PaintedPeer(FormPeerWin& form, Control& control, bool selfPainted)
      : ChildPeer(form, control), selfPainted_(selfPainted) {
    FitLabel();  // not attached yet: no Update comes back
    shown_ = FormRect();
    Owner().Invalidate(shown_);
    // Without a window of its own for a tool-tip, a control that holds no
    // others gets a tool over its area of the form.
    const auto* container = dynamic_cast<const Container*>(&control);
    toolArea_ = ToolArea();
    if (!container || container->Children().empty()) Owner().AddAreaToolTip(this, toolArea_);
  }

  ~PaintedPeer() override {
    if (Attached()) Owner().RemoveAreaToolTip(this);
  }

  bool IsPainted() const override { return true; }

  void DpiChanged() override { Update(Change::Font); }

  void Update(Change what) override {
    if (!Attached()) return;
    // A control that draws itself has drawn its new frame already.
    if (what == Change::Value && selfPainted_) return;
    // Setting the measured size comes back here as a change of bounds.
    if (FitLabel()) return;
    // The old area and the new one: the control may have moved, grown,
    // shrunk or gone. Mostly it has not (a new caption), and the one area
    // and the tool-tip's stay as they are.
    const RECT now = FormRect();
    Owner().Invalidate(shown_);
    if (!EqualRect(&now, &shown_)) {
      shown_ = now;
      Owner().Invalidate(shown_);
    }
    const RECT toolArea = ToolArea();
    if (!EqualRect(&toolArea, &toolArea_)) {
      toolArea_ = toolArea;
      Owner().MoveAreaToolTip(this, toolArea_);
    }
    if (what == Change::Bounds || what == Change::Visible || what == Change::Enabled) {
      PropagateToChildren(what);
    }
  }

  void Paint(HDC dc) override {
    if (selfPainted_) {
      // Within its own bounds, as for any control.
      // Its picture pixel for pixel, blown up by a whole multiple and
      // centred in the control's scaled place.
      const RECT r = FormRect();
      IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
      const Rect& bounds = GetControl().Bounds();
      const int multiple =
          PictureMultiple(Owner().Dpi(), Size{bounds.width, bounds.height},
                          Size{r.right - r.left, r.bottom - r.top});
      const Point origin{r.left + (r.right - r.left - bounds.width * multiple) / 2,
                         r.top + (r.bottom - r.top - bounds.height * multiple) / 2};
      DcCanvas canvas(dc, origin, multiple);
      GetControl().Paint(canvas);
      return;
    }
    switch (GetControl().Kind()) {
      case ControlKind::Label:
        PaintLabel(dc);
        break;
      case ControlKind::Panel:
        PaintPanel(dc);
        break;
      case ControlKind::Bevel: {
        RECT r = FormRect();
        r.bottom = r.top + 2;  // the etched line, as thin at any scale
        DrawEdge(dc, &r, EDGE_ETCHED, BF_TOP);
        break;
      }
      case ControlKind::GroupBox:
        PaintGroupBox(dc);
        break;
      case ControlKind::Picture:
        PaintIcon(dc);
        break;
      default:
        break;
    }
  }

 private:
  // Where the tool-tip answers: nowhere while the control is hidden.
  RECT ToolArea() const { return EffectivelyVisible() ? FormRect() : RECT{}; }

  // A label made to fit its caption gets the caption's measured size
  // (the control itself can only estimate it). True when that changed the
  // bounds.
  bool FitLabel() {
    if (GetControl().Kind() != ControlKind::Label) return false;
    auto& label = static_cast<Label&>(GetControl());
    if (!label.AutoSize()) return false;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font());
    RECT text{0, 0, 0, 0};
    DrawTextA(dc, label.Caption().c_str(), -1, &text, DT_CALCRECT | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    // Measured on the screen; the control's size is the described one
    // that holds it at this scale.
    // A shadow or the embossed copy is drawn a pixel down and right.
    const int extra = label.Shadow() || label.Raised() ? Owner().Scale(1) : 0;
    const Point at = label.FormOffset();
    const int dpi = Owner().Dpi();
    Rect bounds = label.Bounds();
    const int width = UnscaleExtent(at.x, text.right + extra, dpi);
    const int height = UnscaleExtent(at.y, text.bottom + extra, dpi);
    if (bounds.width == width && bounds.height == height) return false;
    bounds.width = width;
    bounds.height = height;
    label.SetBounds(bounds);
    return true;
  }

  void PaintLabel(HDC dc) {
    const auto& label = static_cast<const Label&>(GetControl());
    SelectObject(dc, Font());
    RECT r = FormRect();
    const UINT align = label.Align() == TextAlign::Center  ? DT_CENTER
                       : label.Align() == TextAlign::Right ? DT_RIGHT
                                                           : DT_LEFT;
    const UINT format = align | DT_TOP | DT_EXPANDTABS;
    if (label.Raised()) {
      // Embossed: a light copy up and left, a dark one down and right.
      RECT light = r, dark = r;
      const int step = Owner().Scale(1);
      OffsetRect(&light, -step, -step);
      OffsetRect(&dark, step, step);
      SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
      DrawTextA(dc, label.Caption().c_str(), -1, &light, format);
      SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
      DrawTextA(dc, label.Caption().c_str(), -1, &dark, format);
    }
    if (label.Shadow()) {
      RECT shadow = r;
      OffsetRect(&shadow, Owner().Scale(1), Owner().Scale(1));
      SetTextColor(dc, ColorRef(label.ShadowColor()));
      DrawTextA(dc, label.Caption().c_str(), -1, &shadow, format);
    }
    SetTextColor(dc, TextColor(*this));
    DrawTextA(dc, label.Caption().c_str(), -1, &r, format);
  }

  void PaintPanel(HDC dc) {
    const auto& panel = static_cast<const Panel&>(GetControl());
    RECT r = FormRect();
    DrawBevel(dc, r, panel.Outer());
    InflateRect(&r, -Owner().Scale(panel.BorderWidth()), -Owner().Scale(panel.BorderWidth()));
    DrawBevel(dc, r, panel.Inner());
    if (panel.Caption().empty()) return;
    SelectObject(dc, Font());
    SetTextColor(dc, TextColor(*this));
    // Panels show values (counts, passwords): an ampersand is shown as it is.
    const UINT align = panel.Alignment() < 0 ? DT_LEFT : panel.Alignment() > 0 ? DT_RIGHT
                                                                                : DT_CENTER;
    if (panel.Alignment() < 0) r.left += Owner().Scale(panel.Margin());
    if (panel.Alignment() > 0) r.right -= Owner().Scale(panel.Margin());
    DrawTextA(dc, panel.Caption().c_str(), -1, &r,
              align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
  }

  void PaintIcon(HDC dc) {
    const auto* image = dynamic_cast<const IconImage*>(&GetControl());
    if (!image) return;
    // The icon's picture of its scaled size where the icon file has one;
    // else its own size or a whole multiple of it, centred in its scaled
    // place: an icon stretched by half would be blurred.
    const RECT r = FormRect();
    const int described = image->Bounds().width;
    int size = r.right - r.left;
    if (!HasIconOfSize(image->Icon(), size))
      size = described * PictureMultiple(Owner().Dpi(), described, size);
    HICON icon = static_cast<HICON>(
        LoadImageA(Instance(), image->Icon().c_str(), IMAGE_ICON, size, size, LR_SHARED));
    if (!icon) icon = ProgramIcon(size <= 16);
    DrawIconEx(dc, r.left + (r.right - r.left - size) / 2, r.top + (r.bottom - r.top - size) / 2,
               icon, size, size, 0, nullptr, DI_NORMAL);
  }

  void PaintGroupBox(HDC dc) {
    const auto& box = static_cast<const GroupBox&>(GetControl());
    SelectObject(dc, Font());
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    RECT r = FormRect();
    RECT frame = r;
    frame.top += metrics.tmHeight / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (box.Caption().empty()) return;
    RECT text{0, 0, 0, 0};
    DrawTextA(dc, box.Caption().c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE);
    // The caption interrupts the top edge.
    const int indent = Owner().Scale(6), space = Owner().Scale(2);
    RECT gap{r.left + indent, r.top, r.left + indent + text.right + 2 * space,
             r.top + metrics.tmHeight};
    if (gap.right > r.right - space) gap.right = r.right - space;
    FillRect(dc, &gap, GetSysColorBrush(COLOR_BTNFACE));
    RECT caption{gap.left + space, gap.top, gap.right, gap.bottom};
    SetTextColor(dc, TextColor(*this));
    DrawTextA(dc, box.Caption().c_str(), -1, &caption, DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS);
  }

  const bool selfPainted_;
  RECT shown_;
  RECT toolArea_{};  // the tool-tip area last given
};

}  // namespace

std::unique_ptr<ChildPeer> MakePaintedPeer(FormPeerWin& form, Control& control) {
  return std::make_unique<PaintedPeer>(form, control, false);
}

std::unique_ptr<ChildPeer> MakeSelfPaintedPeer(FormPeerWin& form, Control& control) {
  return std::make_unique<PaintedPeer>(form, control, true);
}

}  // namespace tessavo::tk::win32
