// The tool bar: flat picture buttons from the executable's bitmap
// resources, greyed pictures from the "_DISABLED" ones, tool-tips with the
// buttons' short hints.
#include <windows.h>

#include <commctrl.h>

#include "toolkit/controls.h"
#include "toolkit/win32/control_peers.h"
#include "toolkit/win32/win32_util.h"

namespace tessavo::tk::win32 {
namespace {

constexpr int kDefaultImageSize = 16;

HBITMAP LoadPicture(const std::string& name) {
  if (name.empty()) return nullptr;
  return static_cast<HBITMAP>(
      LoadImageA(Instance(), name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

// Adds one picture of the list's size; the pixel in its lower left corner
// is the transparent colour. A missing picture adds a blank one, so that
// the indexes stay in step with the buttons.
void AddPicture(HIMAGELIST list, HBITMAP picture, int width, int height) {
  HDC screen = GetDC(nullptr);
  HDC target = CreateCompatibleDC(screen);
  HBITMAP image = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ oldTarget = SelectObject(target, image);
  COLORREF transparent = RGB(255, 0, 255);
  if (picture) {
    HDC source = CreateCompatibleDC(screen);
    HGDIOBJ oldSource = SelectObject(source, picture);
    BITMAP info;
    GetObjectA(picture, sizeof info, &info);
    transparent = GetPixel(source, 0, info.bmHeight - 1);
    HBRUSH fill = CreateSolidBrush(transparent);
    RECT all{0, 0, width, height};
    FillRect(target, &all, fill);
    DeleteObject(fill);
    BitBlt(target, 0, 0, width, height, source, 0, 0, SRCCOPY);
    SelectObject(source, oldSource);
    DeleteDC(source);
  } else {
    HBRUSH fill = CreateSolidBrush(transparent);
    RECT all{0, 0, width, height};
    FillRect(target, &all, fill);
    DeleteObject(fill);
  }
  SelectObject(target, oldTarget);
  DeleteDC(target);
  ReleaseDC(nullptr, screen);
  ImageList_AddMasked(list, image, transparent);
  DeleteObject(image);
}

class ToolBarPeer final : public ChildPeer {
 public:
  ToolBarPeer(FormPeerWin& form, Control& control)
      : ChildPeer(form, control), bar_(static_cast<ToolBar&>(control)) {
    HWND bar = CreateChild(TOOLBARCLASSNAMEA, "",
                           TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE |
                               CCS_NOPARENTALIGN,
                           0, false);
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    BuildImages();
    SendMessageA(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(normal_));
    SendMessageA(bar, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(disabled_));
    SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELONG(imageWidth_, imageHeight_));
    SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELONG(bar_.ButtonWidth(), bar_.ButtonHeight()));

    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (std::size_t i = 0; i < bar_.Buttons().size(); ++i) {
      const ToolBar::ToolButton& button = *bar_.Buttons()[i];
      TBBUTTON b{};
      if (button.IsSeparator()) {
        b.iBitmap = button.Width();  // a separator's width
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
    toolTip_ = reinterpret_cast<HWND>(SendMessageA(bar, TB_GETTOOLTIPS, 0, 0));
    if (toolTip_) Owner().Register(toolTip_, this);
  }

  ~ToolBarPeer() override {
    if (Attached()) {
      if (toolTip_) Owner().Unregister(toolTip_);
      SendMessageA(Window(), TB_SETIMAGELIST, 0, 0);
      SendMessageA(Window(), TB_SETDISABLEDIMAGELIST, 0, 0);
    }
    ImageList_Destroy(normal_);
    ImageList_Destroy(disabled_);
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

  void BuildImages() {
    std::vector<HBITMAP> normal, greyed;
    for (const auto& button : bar_.Buttons()) {
      if (button->IsSeparator()) continue;
      normal.push_back(LoadPicture(button->Picture()));
      greyed.push_back(button->Picture().empty() ? nullptr
                                                 : LoadPicture(button->Picture() + "_DISABLED"));
    }
    // The pictures' size is that of the first one there is.
    imageWidth_ = imageHeight_ = kDefaultImageSize;
    for (HBITMAP picture : normal) {
      BITMAP info;
      if (picture && GetObjectA(picture, sizeof info, &info)) {
        imageWidth_ = info.bmWidth;
        imageHeight_ = info.bmHeight;
        break;
      }
    }
    const int count = static_cast<int>(normal.size());
    normal_ = ImageList_Create(imageWidth_, imageHeight_, ILC_COLOR24 | ILC_MASK, count, 1);
    disabled_ = ImageList_Create(imageWidth_, imageHeight_, ILC_COLOR24 | ILC_MASK, count, 1);
    for (int i = 0; i < count; ++i) {
      AddPicture(normal_, normal[i], imageWidth_, imageHeight_);
      AddPicture(disabled_, greyed[i], imageWidth_, imageHeight_);
      if (normal[i]) DeleteObject(normal[i]);
      if (greyed[i]) DeleteObject(greyed[i]);
    }
  }

  ToolBar& bar_;
  HIMAGELIST normal_ = nullptr;
  HIMAGELIST disabled_ = nullptr;
  int imageWidth_ = kDefaultImageSize;
  int imageHeight_ = kDefaultImageSize;
  HWND toolTip_ = nullptr;
  ToolTipText tip_;
};

}  // namespace

std::unique_ptr<ChildPeer> MakeToolBarPeer(FormPeerWin& form, Control& control) {
  return std::make_unique<ToolBarPeer>(form, control);
}

}  // namespace tessavo::tk::win32
