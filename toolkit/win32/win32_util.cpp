#include "toolkit/win32/win32_util.h"

#include <commctrl.h>

#include <map>
#include <tuple>

#include "toolkit/application.h"

namespace tessavo::tk::win32 {

HINSTANCE Instance() {
  // Resources (pictures, icon, manifest) live in the executable even though
  // this code sits in a static library.
  static const HINSTANCE instance = GetModuleHandleA(nullptr);
  return instance;
}

void InitControls() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX),
                              ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS |
                                  ICC_UPDOWN_CLASS | ICC_TAB_CLASSES};
    return InitCommonControlsEx(&init) != FALSE;
  }();
  (void)done;
}

bool Call(const std::function<void()>& fn) noexcept {
  try {
    return App().Guard(fn);
  } catch (...) {
    // The guard could not even show the error (out of memory, say); the
    // window procedure must still return normally.
    return false;
  }
}

HFONT FontHandle(const Font& font) {
  using Key = std::tuple<std::string, int, bool, bool, bool>;
  static std::map<Key, HFONT> cache;
  const Key key{font.name, font.height, font.bold, font.italic, font.underline};
  if (auto it = cache.find(key); it != cache.end()) return it->second;

  LOGFONTA lf{};
  // Negative: the character height without internal leading, which is
  // what a size in points describes.
  lf.lfHeight = -font.height;
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = font.italic;
  lf.lfUnderline = font.underline;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  lstrcpynA(lf.lfFaceName, font.name.c_str(), LF_FACESIZE);
  HFONT handle = CreateFontIndirectA(&lf);
  if (!handle) handle = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  cache.emplace(key, handle);
  return handle;
}

COLORREF ColorRef(Color color) {
  if (color & kSystemColorFlag) return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color & 0xFFFFFF);
}

namespace {

struct IconSearch {
  int cx, cy;
  HICON icon = nullptr;
};

BOOL CALLBACK TakeFirstIcon(HMODULE module, LPCSTR, LPSTR name, LONG_PTR param) {
  auto* search = reinterpret_cast<IconSearch*>(param);
  // The name is only valid during the callback, so the icon is loaded here.
  search->icon = static_cast<HICON>(
      LoadImageA(module, name, IMAGE_ICON, search->cx, search->cy, LR_DEFAULTCOLOR));
  return FALSE;
}

HICON FindIcon(int cx, int cy) {
  IconSearch search{cx, cy};
  EnumResourceNamesA(Instance(), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, TakeFirstIcon,
                     reinterpret_cast<LONG_PTR>(&search));
  if (search.icon) return search.icon;
  return static_cast<HICON>(
      LoadImageA(nullptr, MAKEINTRESOURCEA(32512) /* IDI_APPLICATION */, IMAGE_ICON, 0, 0,
                 LR_SHARED | LR_DEFAULTSIZE));
}

}  // namespace

HICON ProgramIcon(bool small) {
  static const HICON big = FindIcon(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
  static const HICON little =
      FindIcon(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
  return small ? little : big;
}

bool AnswerToolTip(NMHDR& header, const std::string& text, ToolTipText& storage) {
  if (header.code == TTN_GETDISPINFOA) {
    storage.narrow = text;
    auto& info = reinterpret_cast<NMTTDISPINFOA&>(header);
    info.lpszText = storage.narrow.data();
    info.hinst = nullptr;
    return true;
  }
  if (header.code == TTN_GETDISPINFOW) {
    storage.wide.assign(text.size() + 1, L'\0');
    const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, storage.wide.data(),
                                      static_cast<int>(storage.wide.size()));
    storage.wide.resize(n > 0 ? static_cast<std::size_t>(n) : 1);
    auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
    info.lpszText = storage.wide.data();
    info.hinst = nullptr;
    return true;
  }
  return false;
}

std::string WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthA(hwnd);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int got = GetWindowTextA(hwnd, text.data(), length + 1);
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return text;
}

}  // namespace tessavo::tk::win32
