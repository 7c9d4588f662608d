// Every caption of both programs' windows fits the room its control gives
// it, measured with the control's own font at the dots per inch the test
// runs at. With --dpi=N the test runs itself again as a child process at N
// dots per inch, which Wine takes from LogPixels at each process start;
// without it, at 96.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "batch/forms/about.h"
#include "batch/forms/main.h"
#include "batch/forms/options.h"
#include "batch/forms/progress.h"
#include "single/forms/about.h"
#include "single/forms/main.h"
#include "tests/win32/window_test_support.h"
#include "toolkit/application.h"
#include "toolkit/dpi.h"
#include "toolkit/native.h"

namespace tessavo {
namespace {

using namespace testing;

constexpr const char* kRootKeys[] = {"Software\\Korvel Software\\TessavoM",
                                     "Software\\Korvel Software\\TessavoS"};

int TextWidth(HFONT font, const std::string& text, UINT format) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  RECT r{};
  DrawTextA(dc, text.c_str(), -1, &r, format | DT_CALCRECT | DT_EXPANDTABS);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return r.right - r.left;
}

// The control's place on its form's window.
tk::Rect ScaledPlace(const tk::Control& control, int dpi) {
  const tk::Point at = control.FormOffset();
  return tk::ScaleToDpi(tk::Rect{at.x, at.y, control.Bounds().width, control.Bounds().height}, dpi);
}

// The native window of a button, check box or radio button: the form's
// child of that class at the control's place.
HWND ButtonWindowOf(const tk::Form& form, const tk::Control& control, int dpi) {
  const tk::Rect r = ScaledPlace(control, dpi);
  const RECT want{r.left, r.top, r.left + r.width, r.top + r.height};
  for (HWND child = FindWindowExA(FormWindow(form), nullptr, "Button", nullptr); child;
       child = FindWindowExA(FormWindow(form), child, "Button", nullptr)) {
    if (RectInForm(FormWindow(form), child) == want) return child;
  }
  return nullptr;
}

int EdgeWidth(tk::BevelStyle style) {
  return style == tk::BevelStyle::Grooved ? 2 : style == tk::BevelStyle::None ? 0 : 1;
}

struct Fit {
  std::string caption;
  int text;
  int room;
};

// The caption's width and the width its control leaves it, as the window
// draws it; nothing for controls without a caption.
std::optional<Fit> Measure(const tk::Form& form, const tk::Control& control, int dpi) {
  const int width = ScaledPlace(control, dpi).width;
  const HFONT font = static_cast<HFONT>(tk::NativeFont(control.GetFont(), dpi));
  const auto scale = [dpi](int value) { return tk::ScaleToDpi(value, dpi); };
  switch (control.Kind()) {
    case tk::ControlKind::Label: {
      // A shadow or an embossed copy is drawn a pixel to the right, in the
      // same rectangle.
      const auto& label = static_cast<const tk::Label&>(control);
      const int offset = label.Shadow() || label.Raised() ? scale(1) : 0;
      return Fit{label.Caption(), TextWidth(font, label.Caption(), 0), width - offset};
    }
    case tk::ControlKind::Panel: {
      // Within both edges and the border between them; a caption to one
      // side also keeps its margin.
      const auto& panel = static_cast<const tk::Panel&>(control);
      const int frame =
          EdgeWidth(panel.Outer()) + scale(panel.BorderWidth()) + EdgeWidth(panel.Inner());
      const int margin = panel.Alignment() != 0 ? scale(panel.Margin()) : 0;
      return Fit{panel.Caption(), TextWidth(font, panel.Caption(), DT_SINGLELINE | DT_NOPREFIX),
                 width - 2 * frame - margin};
    }
    case tk::ControlKind::GroupBox: {
      // Indented by 6 and kept 2 from the frame on either side.
      const auto& box = static_cast<const tk::GroupBox&>(control);
      return Fit{box.Caption(), TextWidth(font, box.Caption(), DT_SINGLELINE),
                 width - scale(6) - 2 * scale(2)};
    }
    case tk::ControlKind::Button:
    case tk::ControlKind::CheckBox:
    case tk::ControlKind::RadioButton: {
      HWND hwnd = ButtonWindowOf(form, control, dpi);
      if (!hwnd) return Fit{"<no window at its place>", 1, 0};
      const std::string caption = TextOf(hwnd);
      const auto nativeFont = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
      RECT client;
      GetClientRect(hwnd, &client);
      // Push buttons keep their raised frame and a pixel of margin either
      // side; check boxes and radio buttons their box, half a digit's width
      // before the text and a pixel after it for the focus rectangle (Wine
      // 8 starts the text at 16 pixels at 96 dpi and at 24 at 144, Windows
      // a pixel or so later).
      const int used =
          control.Kind() == tk::ControlKind::Button
              ? 2 * (GetSystemMetricsForDpi(SM_CXEDGE, dpi) + 1)
              : GetSystemMetricsForDpi(SM_CXMENUCHECK, dpi) + TextWidth(nativeFont, "0", 0) / 2 + 1;
      return Fit{caption, TextWidth(nativeFont, caption, DT_SINGLELINE), client.right - used};
    }
    default:
      return std::nullopt;
  }
}

// Both main windows, made once, and the window a case opens over them.
struct Windows {
  batch::TFrmMain batchMain;
  single::TFrmMain singleMain;
  std::unique_ptr<tk::Form> dialog;
};

struct Case {
  const char* window;
  std::function<tk::Form&(Windows&)> open;
};

template <typename T>
tk::Form& Dialog(Windows& w, tk::Form& owner) {
  w.dialog = std::make_unique<T>(&owner);
  return *w.dialog;
}

const Case kCases[] = {
    {"batch main window", [](Windows& w) -> tk::Form& { return w.batchMain; }},
    {"batch main window, longest capacity",
     [](Windows& w) -> tk::Form& {
       w.batchMain.ComboType.UserSelect(1);
       w.batchMain.SpinLenFix.SetValue(16);
       w.batchMain.SpinLenFixClick();
       return w.batchMain;
     }},
    {"progress window, a long run completed",
     [](Windows& w) -> tk::Form& {
       auto progress = std::make_unique<batch::TDlgProgress>(&w.batchMain);
       progress->PrepareForRun();
       progress->ShowCompleted(1'000'000, tk::App().Now() - std::chrono::hours(23));
       w.dialog = std::move(progress);
       return *w.dialog;
     }},
    {"options window",
     [](Windows& w) -> tk::Form& { return Dialog<batch::TDlgOptions>(w, w.batchMain); }},
    {"batch about window",
     [](Windows& w) -> tk::Form& { return Dialog<batch::TDlgAbout>(w, w.batchMain); }},
    {"single main window, band shown, a long password and the longest hint",
     [](Windows& w) -> tk::Form& {
       w.singleMain.UpDownLength.SetPosition(16);
       w.singleMain.ComboCase.UserSelect(1);  // ALL UPPERCASE
       w.singleMain.SBRunClick();
       w.singleMain.PnlStatus.SetCaption(w.singleMain.ChkAutoClip.LongHint());
       return w.singleMain;
     }},
    {"single main window, band hidden",
     [](Windows& w) -> tk::Form& {
       w.singleMain.SBOptionsClick();
       return w.singleMain;
     }},
    {"single about window",
     [](Windows& w) -> tk::Form& { return Dialog<single::TFrmAbout>(w, w.singleMain); }},
};

// Controls other than forms carry no names: the kind and the caption
// tell them apart.
std::string NameOf(const tk::Control& control) {
  if (!control.Name().empty()) return control.Name();
  static const char* const kinds[] = {"label",        "panel",     "bevel", "group box",
                                      "radio button", "check box", "button"};
  const auto kind = static_cast<std::size_t>(control.Kind());
  return kind < std::size(kinds) ? kinds[kind] : "control";
}

void ExpectCaptionsFit(const char* window, const tk::Form& form, const tk::Container& parent,
                       int dpi) {
  for (const tk::Control* control : parent.Children()) {
    if (!control->Showing()) continue;
    if (const auto fit = Measure(form, *control, dpi); fit && !fit->caption.empty()) {
      EXPECT_LE(fit->text, fit->room)
          << window << ": " << NameOf(*control) << " \"" << fit->caption << "\" is " << fit->text
          << " pixels wide, its room " << fit->room << " at " << dpi << " dpi";
    }
    if (const auto* inner = dynamic_cast<const tk::Container*>(control))
      ExpectCaptionsFit(window, form, *inner, dpi);
  }
}

// The scale asked for with --dpi=N.
int requestedDpi = tk::kDesignDpi;

TEST(CaptionFit, EveryCaptionOfEveryWindowFitsItsControl) {
  for (const char* key : kRootKeys) RegDeleteTreeA(HKEY_CURRENT_USER, key);
  tk::App().SetTitle("Quillorn");
  SetCursorPos(0, 0);  // away from the windows: no hint of theirs shows
  {
    Windows windows;
    for (const Case& c : kCases) {
      tk::Form& form = c.open(windows);
      form.Show();
      Pump();
      const int dpi = tk::NativeDpi(form);
      ASSERT_EQ(dpi, requestedDpi) << c.window;
      ExpectCaptionsFit(c.window, form, form, dpi);
      if (windows.dialog) form.Hide();
      windows.dialog.reset();
    }
  }
  tk::App().Reset();
  for (const char* key : kRootKeys) RegDeleteTreeA(HKEY_CURRENT_USER, key);
}

// Runs this program again at `dpi` dots per inch: LogPixels is set while
// the child runs (at most five minutes), then put back as it was (or
// removed). Returns the child's exit code.
int RunAtDpi(int dpi) {
  constexpr const char* kKey = "Control Panel\\Desktop";
  const auto set = [kKey](DWORD value) {
    return RegSetKeyValueA(HKEY_CURRENT_USER, kKey, "LogPixels", REG_DWORD, &value, sizeof value);
  };
  DWORD old = 0, size = sizeof old;
  const bool had = RegGetValueA(HKEY_CURRENT_USER, kKey, "LogPixels", RRF_RT_REG_DWORD, nullptr,
                                &old, &size) == ERROR_SUCCESS;
  if (set(static_cast<DWORD>(dpi)) != ERROR_SUCCESS) return 2;
  STARTUPINFOA startup{.cb = sizeof startup};
  PROCESS_INFORMATION child{};
  DWORD code = 3;
  std::string command = GetCommandLineA();
  if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &child)) {
    if (WaitForSingleObject(child.hProcess, 300'000) != WAIT_OBJECT_0)
      TerminateProcess(child.hProcess, code);
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hProcess);
    CloseHandle(child.hThread);
  }
  if (had) {
    set(old);
  } else {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, "LogPixels");
  }
  return static_cast<int>(code);
}

}  // namespace
}  // namespace tessavo

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  int& dpi = tessavo::requestedDpi;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]).rfind("--dpi=", 0) == 0) dpi = std::atoi(argv[i] + 6);
  }
  // The child runs the tests whatever its scale: they check that it is right.
  if (static_cast<int>(GetDpiForSystem()) != dpi &&
      !GetEnvironmentVariableA("TESSAVO_CHILD", nullptr, 0)) {
    SetEnvironmentVariableA("TESSAVO_CHILD", "1");
    return tessavo::RunAtDpi(dpi);
  }
  return RUN_ALL_TESTS();
}
