// The single generator's main window as a real Win32 window: its native
// controls, user input as window messages, the real clipboard, the band,
// stay-on-top, the settings panel's tool-tip and the registry. Runs under
// Wine in a prefix of its own, whose settings of the program it may wipe.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "single/forms/main.h"
#include "tests/win32/window_test_support.h"
#include "toolkit/application.h"
#include "toolkit/native.h"

namespace tessavo::single {
namespace {

constexpr const char* kRootKey = "Software\\Korvel Software\\TessavoS";

using namespace testing;

void EmptyTheClipboard() {
  if (!OpenClipboard(nullptr)) return;
  EmptyClipboard();
  CloseClipboard();
}

DWORD StoredInteger(const char* key, const char* name) {
  DWORD value = 0xDEADBEEF;
  DWORD size = sizeof value;
  const std::string path = std::string(kRootKey) + "\\" + key;
  RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size);
  return value;
}

int OuterHeight(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return r.bottom - r.top;
}

// The text a tool-tip of the form would show at a point of it, asked for
// as it is when the tip shows; "<none>" when no tool is there.
std::string ToolTipTextAt(HWND form, POINT at) {
  struct Search {
    HWND form;
    POINT at;
    std::string text = "<none>";
  } search{form, at};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(data);
        if (GetWindow(window, GW_OWNER) != s.form ||
            lstrcmpiA(ClassOf(window).c_str(), TOOLTIPS_CLASSA) != 0) {
          return TRUE;
        }
        TTHITTESTINFOA hit{};
        hit.hwnd = s.form;
        hit.pt = s.at;
        hit.ti.cbSize = sizeof(TOOLINFOA);
        if (!SendMessageA(window, TTM_HITTESTA, 0, reinterpret_cast<LPARAM>(&hit))) return TRUE;
        char text[128] = {};
        TOOLINFOA tool = hit.ti;
        tool.cbSize = sizeof(TOOLINFOA);
        tool.hwnd = s.form;
        tool.lpszText = text;
        SendMessageA(window, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
        s.text = text;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.text;
}

class SingleWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    tk::App().SetTitle("Tessavo");
    RegDeleteTreeA(HKEY_CURRENT_USER, kRootKey);
  }
  void TearDown() override {
    form_.reset();
    RegDeleteTreeA(HKEY_CURRENT_USER, kRootKey);
  }

  TFrmMain& Open() {
    form_.reset();
    form_ = std::make_unique<TFrmMain>();
    form_->Show();
    SetForegroundWindow(FormWindow(*form_));
    Pump();
    return *form_;
  }

  // A flat picture button is a tool bar of one button over its place.
  void Press(const tk::SpeedButton& button) {
    HWND bar = NativeOf(*form_, button, TOOLBARCLASSNAMEA);
    ASSERT_NE(bar, nullptr);
    PostMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 12));
    PostMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(12, 12));
  }

  std::unique_ptr<TFrmMain> form_;
};

TEST_F(SingleWindow, StartsAsAFixedDialogFrameWithItsNativeControls) {
  TFrmMain& form = Open();
  HWND hwnd = FormWindow(form);
  ASSERT_NE(hwnd, nullptr);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_EQ(TextOf(hwnd), "Tessavo - Single Password Generator");
  RECT client;
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 374);
  EXPECT_EQ(client.bottom, 173);
  const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_TRUE(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);

  HWND length = NativeOf(form, form.TxtLength, "Edit");
  ASSERT_NE(length, nullptr);
  EXPECT_TRUE(GetWindowLongA(length, GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(TextOf(length), "4");
  const RECT lengthRect = RectInForm(hwnd, length);
  EXPECT_EQ(lengthRect.right - lengthRect.left, 97) << "the arrows stand beside it, not in it";

  HWND arrows = NativeOf(form, form.UpDownLength, UPDOWN_CLASSA);
  ASSERT_NE(arrows, nullptr);
  const RECT arrowsRect = RectInForm(hwnd, arrows);
  EXPECT_EQ(arrowsRect, (RECT{107, 40 + 24, 107 + 15, 40 + 24 + 21}));
  int low = 0, high = 0;
  SendMessageA(arrows, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
               reinterpret_cast<LPARAM>(&high));
  EXPECT_EQ(low, 4);
  EXPECT_EQ(high, 16);
  EXPECT_EQ(SendMessageA(arrows, UDM_GETPOS32, 0, 0), 4);
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(arrows, UDM_GETBUDDY, 0, 0)), length);
  EXPECT_FALSE(GetWindowLongA(arrows, GWL_STYLE) & UDS_WRAP);

  HWND colors = NativeOf(form, form.ComboColor, "ComboBox");
  ASSERT_NE(colors, nullptr);
  const LONG colorStyle = GetWindowLongA(colors, GWL_STYLE);
  EXPECT_TRUE(colorStyle & CBS_OWNERDRAWFIXED);
  EXPECT_EQ(colorStyle & 3, CBS_DROPDOWNLIST);
  EXPECT_EQ(SendMessageA(colors, CB_GETCOUNT, 0, 0), 16);
  EXPECT_EQ(SendMessageA(colors, CB_GETCURSEL, 0, 0), 9);  // Red, the text's colour

  HWND copy = NativeOf(form, form.SBCopy, TOOLBARCLASSNAMEA);
  ASSERT_NE(copy, nullptr);
  EXPECT_FALSE(SendMessageA(copy, TB_ISBUTTONENABLED, 1, 0));
}

TEST_F(SingleWindow, AMoveToAScreenOfAnotherScaleLaysItOutAgainWhereTheSystemSays) {
  TFrmMain& form = Open();
  HWND hwnd = FormWindow(form);
  HWND length = NativeOf(form, form.TxtLength, "Edit");
  ASSERT_NE(length, nullptr);
  RECT outerAt96;
  GetWindowRect(hwnd, &outerAt96);
  const RECT lengthAt96 = RectInForm(hwnd, length);
  const auto fontHeight = [length] {
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(length, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
  };
  const auto scaled = [](const RECT& r) {
    return RECT{tk::ScaleToDpi(r.left, 144), tk::ScaleToDpi(r.top, 144),
                tk::ScaleToDpi(r.right, 144), tk::ScaleToDpi(r.bottom, 144)};
  };

  // The system's suggestion; its size is the system's guess, the client
  // area is the form's, scaled.
  RECT suggested{40, 30, 40 + 600, 30 + 330};
  SendMessageA(hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  RECT outer, client;
  GetWindowRect(hwnd, &outer);
  GetClientRect(hwnd, &client);
  EXPECT_EQ(outer.left, 40);
  EXPECT_EQ(outer.top, 30);
  EXPECT_EQ(client.right, 561);   // 374 at 150 %
  EXPECT_EQ(client.bottom, 260);  // 173
  EXPECT_EQ(RectInForm(hwnd, length), scaled(lengthAt96));
  EXPECT_EQ(fontHeight(), -16);  // 8 points at 144 dpi
  // The stored place is where the window is; the layout stays described.
  EXPECT_EQ(form.Left(), 40);
  EXPECT_EQ(form.Top(), 30);
  EXPECT_EQ(form.ClientWidth(), 374);
  EXPECT_EQ(form.TxtLength.Bounds(), (tk::Rect{10, 24, 97, 21}));

  SendMessageA(hwnd, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&outerAt96));
  GetWindowRect(hwnd, &outer);
  GetClientRect(hwnd, &client);
  EXPECT_EQ(outer, outerAt96);
  EXPECT_EQ(client, (RECT{0, 0, 374, 173}));
  EXPECT_EQ(RectInForm(hwnd, length), lengthAt96);
  EXPECT_EQ(fontHeight(), -11);
}

TEST_F(SingleWindow, TheArrowsAndTheArrowKeysStepTheLength) {
  TFrmMain& form = Open();
  HWND arrows = NativeOf(form, form.UpDownLength, UPDOWN_CLASSA);
  HWND length = NativeOf(form, form.TxtLength, "Edit");
  ASSERT_NE(arrows, nullptr);
  RECT r;
  GetClientRect(arrows, &r);
  PostMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right / 2, 2));
  PostMessageA(arrows, WM_LBUTTONUP, 0, MAKELPARAM(r.right / 2, 2));
  ASSERT_TRUE(PumpUntil([&] { return form.UpDownLength.Position() == 5; }));
  EXPECT_EQ(TextOf(length), "5");
  EXPECT_EQ(form.PnlSettings.Caption(), "05ABLC");
  EXPECT_EQ(SendMessageA(arrows, UDM_GETPOS32, 0, 0), 5);

  SetFocus(length);
  PostMessageA(length, WM_KEYDOWN, VK_UP, 1);
  PostMessageA(length, WM_KEYUP, VK_UP, 0xC0000001);
  ASSERT_TRUE(PumpUntil([&] { return form.UpDownLength.Position() == 6; }));
  EXPECT_EQ(TextOf(length), "6");

  // Typing into the read-only field changes nothing.
  SendMessageA(length, WM_CHAR, '9', 1);
  Pump();
  EXPECT_EQ(TextOf(length), "6");
  EXPECT_EQ(form.TxtLength.Text(), "6");
}

TEST_F(SingleWindow, GeneratesAndCopiesToTheRealClipboard) {
  TFrmMain& form = Open();
  EmptyTheClipboard();
  LARGE_INTEGER frequency, start, painted;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  Press(form.SBRun);
  ASSERT_TRUE(PumpUntil([&] { return !form.LblPwData.Caption().empty(); }));
  UpdateWindow(FormWindow(form));  // the new text painted
  QueryPerformanceCounter(&painted);
  std::printf("click on SBRun to the new password painted: %.2f ms\n",
              1000.0 * static_cast<double>(painted.QuadPart - start.QuadPart) /
                  static_cast<double>(frequency.QuadPart));

  EXPECT_EQ(form.LblPwData.Caption().size(), 4u);
  EXPECT_EQ(ClipboardText(), "") << "Auto Clipboard is off";
  HWND copy = NativeOf(form, form.SBCopy, TOOLBARCLASSNAMEA);
  ASSERT_NE(copy, nullptr);
  EXPECT_TRUE(SendMessageA(copy, TB_ISBUTTONENABLED, 1, 0));

  Press(form.SBCopy);
  ASSERT_TRUE(PumpUntil([&] { return ClipboardText() == form.LblPwData.Caption(); }));
  for (const char* format : {"ExcludeClipboardContentFromMonitorProcessing",
                             "CanIncludeInClipboardHistory", "CanUploadToCloudClipboard",
                             "Clipboard Viewer Ignore"}) {
    EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatA(format))) << format;
  }

  // With Auto Clipboard checked each new password goes there at once.
  SendMessageA(NativeOf(form, form.ChkAutoClip, "Button"), BM_CLICK, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return form.ChkAutoClip.Checked(); }));
  const std::string before = form.LblPwData.Caption();
  Press(form.SBRun);
  ASSERT_TRUE(PumpUntil([&] { return form.LblPwData.Caption() != before; }));
  EXPECT_EQ(ClipboardText(), form.LblPwData.Caption());
}

// The real clipboard forgets our password after the stored delay, but
// keeps what another program copied meanwhile.
TEST_F(SingleWindow, TheClipboardForgetsOnlyOurOwnPassword) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kRootKey) + "\\Options").c_str(), 0,
                            nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const DWORD second = 1;
  RegSetValueExA(key, "Clipboard Clear Seconds", 0, REG_DWORD,
                 reinterpret_cast<const BYTE*>(&second), sizeof second);
  RegCloseKey(key);
  TFrmMain& form = Open();
  for (bool otherCopy : {false, true}) {
    SCOPED_TRACE(otherCopy);
    Press(form.SBRun);
    ASSERT_TRUE(PumpUntil([&] { return !form.LblPwData.Caption().empty(); }));
    Press(form.SBCopy);
    ASSERT_TRUE(PumpUntil([&] { return ClipboardText() == form.LblPwData.Caption(); }));
    if (otherCopy) {
      ASSERT_TRUE(OpenClipboard(nullptr));
      EmptyClipboard();
      HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 7);
      std::memcpy(GlobalLock(text), "theirs", 7);
      GlobalUnlock(text);
      SetClipboardData(CF_TEXT, text);
      CloseClipboard();
    }
    PumpUntil([&] { return !form.Clipboard().Waiting(); }, std::chrono::seconds(3));
    Pump();
    EXPECT_EQ(ClipboardText(), otherCopy ? "theirs" : "");
  }
}

TEST_F(SingleWindow, TheBandHidesAndShowsWithTheOuterHeight) {
  TFrmMain& form = Open();
  HWND hwnd = FormWindow(form);
  RECT before;
  GetWindowRect(hwnd, &before);
  const int shown = before.bottom - before.top;

  Press(form.SBOptions);
  ASSERT_TRUE(PumpUntil([&] { return !form.PnlOptions.Visible(); }));
  Pump();
  RECT after, client;
  GetWindowRect(hwnd, &after);
  GetClientRect(hwnd, &client);
  EXPECT_EQ(after.bottom - after.top, shown - 105);
  EXPECT_EQ(client.bottom, 173 - 105);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_FALSE(IsWindowVisible(NativeOf(form, form.TxtLength, "Edit")));
  HWND run = NativeOf(form, form.SBRun, TOOLBARCLASSNAMEA);
  ASSERT_NE(run, nullptr);
  EXPECT_EQ(RectInForm(hwnd, run).top, 40 + 2) << "the tool bar moved up under the password";

  Press(form.SBOptions);
  ASSERT_TRUE(PumpUntil([&] { return form.PnlOptions.Visible(); }));
  Pump();
  EXPECT_EQ(OuterHeight(hwnd), shown);
  EXPECT_TRUE(IsWindowVisible(NativeOf(form, form.TxtLength, "Edit")));
  EXPECT_EQ(RectInForm(hwnd, NativeOf(form, form.SBRun, TOOLBARCLASSNAMEA)).top, 145 + 2);
  const RECT arrows = RectInForm(hwnd, NativeOf(form, form.UpDownLength, UPDOWN_CLASSA));
  EXPECT_EQ(arrows, (RECT{107, 40 + 24, 107 + 15, 40 + 24 + 21}));
}

TEST_F(SingleWindow, AlwaysOnTopFromStartUpOrdinaryOnceUncheckedAndOnTopAgain) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kRootKey) + "\\Window Settings").c_str(),
                            0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const DWORD on = 1;
  RegSetValueExA(key, "Always On Top", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof on);
  RegSetValueExA(key, "Options Visible", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on),
                 sizeof on);
  RegCloseKey(key);

  TFrmMain& form = Open();
  HWND hwnd = FormWindow(form);
  EXPECT_TRUE(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  HWND check = NativeOf(form, form.ChkOntop, "Button");
  ASSERT_NE(check, nullptr);
  EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageA(check, BM_CLICK, 0, 0);
  Pump();
  EXPECT_FALSE(form.StayOnTop());
  EXPECT_FALSE(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  // Ticked again while the window is shown: on top at once.
  SendMessageA(check, BM_CLICK, 0, 0);
  Pump();
  EXPECT_TRUE(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(SingleWindow, TheColourListDropsFourRowsAndRecoloursThePassword) {
  TFrmMain& form = Open();
  HWND colors = NativeOf(form, form.ComboColor, "ComboBox");
  ASSERT_NE(colors, nullptr);
  SendMessageA(colors, CB_SHOWDROPDOWN, TRUE, 0);
  Pump();
  COMBOBOXINFO info{sizeof(COMBOBOXINFO)};
  ASSERT_TRUE(GetComboBoxInfo(colors, &info));
  RECT list;
  GetClientRect(info.hwndList, &list);
  const int row = static_cast<int>(SendMessageA(colors, CB_GETITEMHEIGHT, 0, 0));
  ASSERT_GT(row, 0);
  EXPECT_EQ(list.bottom / row, 4);
  SendMessageA(colors, CB_SHOWDROPDOWN, FALSE, 0);
  Pump();

  // The down arrow picks the next colour, Lime, as a user's pick.
  SetFocus(colors);
  PostMessageA(colors, WM_KEYDOWN, VK_DOWN, 1);
  PostMessageA(colors, WM_KEYUP, VK_DOWN, 0xC0000001);
  ASSERT_TRUE(PumpUntil([&] { return form.ComboColor.ItemIndex() == 10; }));
  EXPECT_EQ(form.LblPwData.GetFont().color, 0x00FF00u);
}

TEST_F(SingleWindow, TheSettingsPanelsToolTipFollowsItsHint) {
  TFrmMain& form = Open();
  HWND hwnd = FormWindow(form);
  EXPECT_EQ(ToolTipTextAt(hwnd, CentreOf(form.PnlSettings)), "4 Chars, Alphabetic, Lowercase");
  EXPECT_EQ(ToolTipTextAt(hwnd, CentreOf(form.PnlStatus)), "");

  form.ComboType.UserSelect(2);
  EXPECT_EQ(ToolTipTextAt(hwnd, CentreOf(form.PnlSettings)), "4 Chars, Numeric, Lowercase");

  // The panel moves up with the tool bar; its tool goes with it.
  const POINT old = CentreOf(form.PnlSettings);
  form.SBOptionsClick();
  Pump();
  EXPECT_EQ(ToolTipTextAt(hwnd, CentreOf(form.PnlSettings)), "4 Chars, Numeric, Lowercase");
  EXPECT_NE(ToolTipTextAt(hwnd, old), "4 Chars, Numeric, Lowercase");
}

TEST_F(SingleWindow, SettingsAreInTheRegistryAfterCloseAndBackAfterARestart) {
  TFrmMain& form = Open();
  HWND hwnd = FormWindow(form);
  ASSERT_EQ(StoredInteger("Window Settings", "Options Visible"), 1u);
  form.UpDownLength.UserClick(+1);
  form.ComboType.UserSelect(1);
  form.ComboColor.UserSelect(12);
  SendMessageA(NativeOf(form, form.ChkStartupGen, "Button"), BM_CLICK, 0, 0);
  SendMessageA(NativeOf(form, form.ChkOntop, "Button"), BM_CLICK, 0, 0);
  Press(form.SBOptions);
  ASSERT_TRUE(PumpUntil([&] { return !form.PnlOptions.Visible(); }));
  SetWindowPos(hwnd, nullptr, 21, 43, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(PumpUntil([&] { return form.Left() == 21 && form.Top() == 43; }));

  PostMessageA(hwnd, WM_CLOSE, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return form.Closed(); }));
  EXPECT_EQ(StoredInteger("Window Settings", "Left"), 21u);
  EXPECT_EQ(StoredInteger("Window Settings", "Top"), 43u);
  EXPECT_EQ(StoredInteger("Window Settings", "Desktop Width"),
            static_cast<DWORD>(GetSystemMetrics(SM_CXSCREEN)));
  EXPECT_EQ(StoredInteger("Window Settings", "Options Visible"), 0u);
  EXPECT_EQ(StoredInteger("Window Settings", "Always On Top"), 1u);
  EXPECT_EQ(StoredInteger("Options", "Password Color"), 0xFF0000u);
  EXPECT_EQ(StoredInteger("Options", "Password Length"), 5u);
  EXPECT_EQ(StoredInteger("Options", "Password Type"), 1u);
  EXPECT_EQ(StoredInteger("Options", "Generate On Startup"), 1u);
  EXPECT_EQ(StoredInteger("Options", "AutoClipboard"), 0u);

  TFrmMain& again = Open();
  HWND next = FormWindow(again);
  RECT outer, client;
  GetWindowRect(next, &outer);
  GetClientRect(next, &client);
  EXPECT_EQ(outer.left, 21);
  EXPECT_EQ(outer.top, 43);
  EXPECT_EQ(client.bottom, 68);
  EXPECT_TRUE(GetWindowLongA(next, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(again.LblPwData.Caption().size(), 5u);
  EXPECT_EQ(again.PnlSettings.Caption(), "05ANLC");
  // In the hidden band, the colour list still shows the stored colour.
  EXPECT_EQ(SendMessageA(NativeOf(again, again.ComboColor, "ComboBox"), CB_GETCURSEL, 0, 0), 12);
}

}  // namespace
}  // namespace tessavo::single
