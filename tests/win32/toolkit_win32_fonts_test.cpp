// The forms are laid out for these faces; a wider stand-in cuts captions.
#include <windows.h>

#include <gtest/gtest.h>

#include "toolkit/native.h"

namespace tessavo::tk {

TEST(Win32Fonts, FormsGetTheFacesTheyAskForAtTheirWindowsWidths) {
  struct Case { Font font; std::string text; int minWidth, maxWidth; };
  const Case cases[] = {{{.name = "MS Sans Serif", .height = 11}, "Always On Top", 64, 73},
                        {{.name = "Arial", .height = 21, .bold = true}, "Tessavo 1.02", 127, 137}};
  HDC dc = CreateCompatibleDC(nullptr);
  for (const Case& c : cases) {
    SelectObject(dc, static_cast<HFONT>(NativeFont(c.font)));
    char face[LF_FACESIZE] = {};
    GetTextFaceA(dc, LF_FACESIZE, face);
    SIZE size{};
    GetTextExtentPoint32A(dc, c.text.c_str(), static_cast<int>(c.text.size()), &size);
    EXPECT_EQ(face, c.font.name);
    EXPECT_TRUE(size.cx >= c.minWidth && size.cx <= c.maxWidth) << c.text << ": " << size.cx;
  }
  DeleteDC(dc);
}

}  // namespace tessavo::tk
