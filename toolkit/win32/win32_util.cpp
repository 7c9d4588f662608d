#include "toolkit/win32/win32_util.h"

#include <commctrl.h>

#include <map>
#include <tuple>

#include "toolkit/application.h"
#include "toolkit/dpi.h"

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
    DeclareDpiAwareness();
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

HFONT FontHandle(const Font& font, int dpi) {
  using Key = std::tuple<std::string, int, bool, bool, bool, int>;
  static std::map<Key, HFONT> cache;
  const Key key{font.name, font.height, font.bold, font.italic, font.underline, dpi};
  if (auto it = cache.find(key); it != cache.end()) return it->second;

  LOGFONTA lf{};
  // Negative: the character height without internal leading, which is
  // what a size in points describes.
  lf.lfHeight = -ScaleFontHeight(font.height, dpi);
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

namespace {

// The functions of Windows 10 (1607 and 1703), looked up once: the programs
// also start on older Windows.
struct DpiFunctions {
  UINT(WINAPI* dpiForWindow)(HWND) = nullptr;
  UINT(WINAPI* dpiForSystem)() = nullptr;
  BOOL(WINAPI* adjustForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
  BOOL(WINAPI* setAwarenessContext)(HANDLE) = nullptr;
  int(WINAPI* metricsForDpi)(int, UINT) = nullptr;
};

template <typename F>
void Find(HMODULE module, const char* name, F& target) {
  target = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const DpiFunctions& Dpi() {
  static const DpiFunctions functions = [] {
    DpiFunctions f;
    if (HMODULE user = GetModuleHandleA("user32.dll")) {
      Find(user, "GetDpiForWindow", f.dpiForWindow);
      Find(user, "GetDpiForSystem", f.dpiForSystem);
      Find(user, "AdjustWindowRectExForDpi", f.adjustForDpi);
      Find(user, "SetProcessDpiAwarenessContext", f.setAwarenessContext);
      Find(user, "GetSystemMetricsForDpi", f.metricsForDpi);
    }
    return f;
  }();
  return functions;
}

}  // namespace

void DeclareDpiAwareness() {
  static const bool done = [] {
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2; refused (harmlessly)
    // when the manifest has declared it already, which must then stand.
    if (Dpi().setAwarenessContext) {
      return Dpi().setAwarenessContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4))) != FALSE;
    }
    return SetProcessDPIAware() != FALSE;
  }();
  (void)done;
}

int SystemDpi() {
  if (Dpi().dpiForSystem) return static_cast<int>(Dpi().dpiForSystem());
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

int WindowDpi(HWND hwnd) {
  const UINT dpi = Dpi().dpiForWindow && hwnd ? Dpi().dpiForWindow(hwnd) : 0;
  return dpi ? static_cast<int>(dpi) : SystemDpi();
}

void AdjustWindowRectForDpi(RECT& r, DWORD style, bool menu, DWORD exStyle, int dpi) {
  if (!Dpi().adjustForDpi ||
      !Dpi().adjustForDpi(&r, style, menu, exStyle, static_cast<UINT>(dpi))) {
    AdjustWindowRectEx(&r, style, menu, exStyle);
  }
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

HICON ProgramIcon(bool small, int dpi) {
  // The icon files hold a picture of each size of the usual scales, so the
  // system need not stretch one.
  const int metric = small ? SM_CXSMICON : SM_CXICON;
  const int size = dpi && Dpi().metricsForDpi
                       ? Dpi().metricsForDpi(metric, static_cast<UINT>(dpi))
                       : GetSystemMetrics(metric);
  static std::map<int, HICON> icons;
  auto [it, added] = icons.try_emplace(size, nullptr);
  if (added) it->second = FindIcon(size, size);
  return it->second;
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
