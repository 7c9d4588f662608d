#include "toolkit/win32/picture_lists.h"

#include <utility>

#include "toolkit/dpi.h"
#include "toolkit/win32/win32_util.h"

namespace tessavo::tk::win32 {
namespace {

HBITMAP LoadPicture(const std::string& name) {
  if (name.empty()) return nullptr;
  return static_cast<HBITMAP>(
      LoadImageA(Instance(), name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

// Adds one picture of the list's size; the pixel in its lower left corner
// is the transparent colour. A missing picture adds a blank one, so that
// the indexes stay in step with the buttons.
void AddPicture(HIMAGELIST list, HBITMAP picture, int width, int height, int multiple) {
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
    // Nearest neighbour: blown up by a whole multiple, never blurred.
    SetStretchBltMode(target, COLORONCOLOR);
    StretchBlt(target, 0, 0, info.bmWidth * multiple, info.bmHeight * multiple, source, 0, 0,
               info.bmWidth, info.bmHeight, SRCCOPY);
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

}  // namespace

PictureLists& PictureLists::operator=(PictureLists&& other) noexcept {
  std::swap(normal, other.normal);
  std::swap(disabled, other.disabled);
  width = other.width;
  height = other.height;
  return *this;
}

PictureLists::~PictureLists() {
  if (normal) ImageList_Destroy(normal);
  if (disabled) ImageList_Destroy(disabled);
}

PictureLists BuildPictureLists(const std::vector<std::string>& pictures, int dpi, SIZE button) {
  std::vector<HBITMAP> normal, greyed;
  for (const std::string& picture : pictures) {
    normal.push_back(LoadPicture(picture));
    greyed.push_back(picture.empty() ? nullptr : LoadPicture(picture + "_DISABLED"));
  }
  PictureLists lists;
  for (HBITMAP picture : normal) {
    BITMAP info;
    if (picture && GetObjectA(picture, sizeof info, &info)) {
      lists.width = info.bmWidth;
      lists.height = info.bmHeight;
      break;
    }
  }
  constexpr int kButtonEdges = 4;
  const int multiple =
      PictureMultiple(dpi, Size{lists.width, lists.height},
                      Size{button.cx - kButtonEdges, button.cy - kButtonEdges});
  lists.width *= multiple;
  lists.height *= multiple;
  const int count = static_cast<int>(normal.size());
  lists.normal = ImageList_Create(lists.width, lists.height, ILC_COLOR24 | ILC_MASK, count, 1);
  lists.disabled = ImageList_Create(lists.width, lists.height, ILC_COLOR24 | ILC_MASK, count, 1);
  for (int i = 0; i < count; ++i) {
    AddPicture(lists.normal, normal[i], lists.width, lists.height, multiple);
    AddPicture(lists.disabled, greyed[i], lists.width, lists.height, multiple);
    if (normal[i]) DeleteObject(normal[i]);
    if (greyed[i]) DeleteObject(greyed[i]);
  }
  return lists;
}

void ShowOnToolBar(HWND bar, PictureLists&& lists, PictureLists& shown) {
  SendMessageA(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(lists.normal));
  SendMessageA(bar, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(lists.disabled));
  SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELONG(lists.width, lists.height));
  shown = std::move(lists);  // the old lists go with `lists`, no longer shown
}

}  // namespace tessavo::tk::win32
