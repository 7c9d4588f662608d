// Drives the single generator's running window from outside with window
// messages, for the screenshot tool: window_driver run|options|colors|
// close-colors|about. Exits 0 once the message is sent, 1 when the window
// or its control is not there.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr const char* kCaption = "Tessavo - Single Password Generator";

struct Children {
  HWND form;
  std::vector<HWND> toolBars;  // left to right: run, copy, options, about, exit
  HWND colors = nullptr;
};

Children Find(HWND form) {
  Children found{form, {}};
  EnumChildWindows(
      form,
      [](HWND child, LPARAM data) -> BOOL {
        auto& f = *reinterpret_cast<Children*>(data);
        char name[64] = {};
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, TOOLBARCLASSNAMEA) == 0) f.toolBars.push_back(child);
        if (lstrcmpiA(name, "ComboBox") == 0 && SendMessageA(child, CB_GETCOUNT, 0, 0) == 16)
          f.colors = child;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  const auto left = [](HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return r.left;
  };
  std::sort(found.toolBars.begin(), found.toolBars.end(),
            [&](HWND a, HWND b) { return left(a) < left(b); });
  return found;
}

// A flat picture button is a tool bar of one button.
bool Press(const Children& children, std::size_t index) {
  if (children.toolBars.size() <= index) return false;
  HWND bar = children.toolBars[index];
  PostMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 12));
  PostMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(12, 12));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  HWND form = FindWindowA(nullptr, kCaption);
  if (!form) return 1;
  const Children children = Find(form);
  const char* command = argv[1];
  if (std::strcmp(command, "run") == 0) return Press(children, 0) ? 0 : 1;
  if (std::strcmp(command, "options") == 0) return Press(children, 2) ? 0 : 1;
  if (std::strcmp(command, "about") == 0) return Press(children, 3) ? 0 : 1;
  if (std::strcmp(command, "colors") == 0 || std::strcmp(command, "close-colors") == 0) {
    if (!children.colors) return 1;
    SetForegroundWindow(form);
    SendMessageA(children.colors, CB_SHOWDROPDOWN, std::strcmp(command, "colors") == 0, 0);
    return 0;
  }
  return 2;
}
