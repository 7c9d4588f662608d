// Image lists of bitmap resources for flat picture buttons: the pictures
// and their greyed ("_DISABLED") versions, transparent where the pixel in
// the lower left corner's colour is.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace tessavo::tk::win32 {

struct PictureLists {
  PictureLists() = default;
  PictureLists(PictureLists&& other) noexcept { *this = std::move(other); }
  PictureLists& operator=(PictureLists&& other) noexcept;
  ~PictureLists();

  HIMAGELIST normal = nullptr;
  HIMAGELIST disabled = nullptr;
  int width = 16;
  int height = 16;
};

// One entry per name, in order; a missing or empty picture is blank, so
// the indexes stay in step. The size is that of the first picture there
// is, blown up for dpi by a whole multiple that a button of the given size
// holds (less its edges and the pressed picture's offset): each pixel
// becomes a square of pixels.
PictureLists BuildPictureLists(const std::vector<std::string>& pictures, int dpi, SIZE button);

// Has a tool bar show these lists (and their picture size) instead of the
// ones in `shown`, which are then given up and replaced.
void ShowOnToolBar(HWND bar, PictureLists&& lists, PictureLists& shown);

}  // namespace tessavo::tk::win32
