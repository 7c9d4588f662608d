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

// The room a flat button leaves its picture: its size less its edges and
// the pressed picture's offset.
inline constexpr int kButtonChrome = 4;

// One entry per name, in order; a missing or empty picture is blank, so
// the indexes stay in step. The size is that of the first picture there
// is, blown up for dpi by a whole multiple that the room (width, height)
// holds: each pixel becomes a square of pixels.
PictureLists BuildPictureLists(const std::vector<std::string>& pictures, int dpi, SIZE room);

}  // namespace tessavo::tk::win32
