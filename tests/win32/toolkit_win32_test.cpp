// The Win32 peers with real windows and real messages (under Wine in the
// cross build): the controls of a small form, driven the way the system
// drives them when a user clicks, types and moves the mouse.
#include <stdexcept>

#include "tests/win32/toolkit_win32_form.h"

namespace tessavo::tk {
namespace {

TEST_F(Win32PeersTest, FormWindowHasTheRequestedClientAreaPlaceAndStyle) {
  HWND window = WindowOf(*form_);
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 420);
  EXPECT_EQ(client.bottom, 330);
  EXPECT_EQ(TextOf(window), "Toolkit peers");
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_EQ(GetWindow(window, GW_OWNER), static_cast<HWND>(NativeApplicationWindow()));
  EXPECT_NE(GetMenu(window), nullptr);

  form_->SetLeft(30);
  form_->SetTop(40);
  form_->SetBounds({0, 0, 300, 200});
  form_->SetCaption("Renamed");
  RECT outer;
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  EXPECT_EQ(outer.left, 30);
  EXPECT_EQ(outer.top, 40);
  EXPECT_EQ(outer.right - outer.left, form_->Width());
  EXPECT_EQ(outer.bottom - outer.top, form_->Height());
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 200);
  EXPECT_EQ(TextOf(window), "Renamed");

  // Moved by the user: the form knows where it is.
  SetWindowPos(window, nullptr, 55, 65, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(form_->Left(), 55);
  EXPECT_EQ(form_->Top(), 65);
  EXPECT_EQ(form_->ClientWidth(), 300);
}

TEST_F(Win32PeersTest, CaptionsTextsAndStatesReachTheNativeControls) {
  EXPECT_EQ(TextOf(NativeOf(form_->ok)), "OK");
  EXPECT_EQ(TextOf(NativeOf(form_->check)), "&Unique");
  EXPECT_EQ(TextOf(NativeOf(form_->fixed)), "5");
  EXPECT_EQ(SendMessageA(NativeOf(form_->combo), CB_GETCOUNT, 0, 0), 3);
  char status[64] = {};
  SendMessageA(NativeOf(form_->status), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(status));
  EXPECT_STREQ(status, "Ready");
  form_->status.SetSimpleText("Generating");
  SendMessageA(NativeOf(form_->status), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(status));
  EXPECT_STREQ(status, "Generating");

  EXPECT_FALSE(IsWindowEnabled(NativeOf(form_->disabled)));
  form_->group.SetEnabled(false);  // a disabled container greys what it holds
  EXPECT_FALSE(IsWindowEnabled(NativeOf(form_->letters)));
  form_->group.SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(NativeOf(form_->letters)));
  HWND check = NativeOf(form_->check);
  form_->group.SetVisible(false);  // a hidden container hides what it holds
  EXPECT_FALSE(IsWindowVisible(check));
  form_->group.SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(check));

  form_->progress.SetPosition(4);
  EXPECT_EQ(SendMessageA(NativeOf(form_->progress), PBM_GETPOS, 0, 0), 4);
  form_->combo.SetItemIndex(1);
  EXPECT_EQ(SendMessageA(NativeOf(form_->combo), CB_GETCURSEL, 0, 0), 1);
}

TEST_F(Win32PeersTest, ClicksOnButtonsCheckBoxesAndRadioButtons) {
  HWND ok = NativeOf(form_->ok);
  SendMessageA(ok, BM_CLICK, 0, 0);
  EXPECT_EQ(form_->okClicks, 1);
  PostMessageA(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageA(ok, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  App().ProcessMessages();
  EXPECT_EQ(form_->okClicks, 2);

  HWND check = NativeOf(form_->check);
  SendMessageA(check, BM_CLICK, 0, 0);
  EXPECT_TRUE(form_->check.Checked());
  EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageA(check, BM_CLICK, 0, 0);
  EXPECT_FALSE(form_->check.Checked());
  EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);

  SendMessageA(NativeOf(form_->letters), BM_CLICK, 0, 0);
  SendMessageA(NativeOf(form_->digits), BM_CLICK, 0, 0);
  EXPECT_TRUE(form_->digits.Checked());
  EXPECT_FALSE(form_->letters.Checked());
  EXPECT_EQ(SendMessageA(NativeOf(form_->letters), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageA(NativeOf(form_->digits), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(Win32PeersTest, SpinFieldsStepFilterKeysAndClampWhenLeft) {
  HWND fixed = NativeOf(form_->fixed);
  Key(fixed, VK_UP);
  EXPECT_EQ(TextOf(fixed), "6");
  EXPECT_EQ(form_->spinClicks, 1);
  Key(fixed, VK_NEXT);  // a page down, held at the lower limit
  EXPECT_EQ(TextOf(fixed), "1");
  EXPECT_EQ(form_->spinClicks, 2);

  // The arrows: one step per press, up in the upper half.
  const Point spin = form_->fixed.FormOffset();
  HWND arrows = ChildWindowFromPointEx(
      WindowOf(*form_), POINT{spin.x + form_->fixed.Bounds().width - 3, spin.y + 5},
      CWP_SKIPINVISIBLE);
  ASSERT_NE(arrows, fixed);
  RECT r;
  GetClientRect(arrows, &r);
  PostMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right / 2, 2));
  PostMessageA(arrows, WM_LBUTTONUP, 0, MAKELPARAM(r.right / 2, 2));
  App().ProcessMessages();
  EXPECT_EQ(TextOf(fixed), "2");
  EXPECT_EQ(form_->spinClicks, 3);

  const int beeps = NativeBeepCount();
  SendMessageA(fixed, WM_CHAR, 'a', 1);
  SendMessageA(fixed, WM_CHAR, '3', 1);  // no typing at all in this one
  EXPECT_EQ(NativeBeepCount(), beeps + 2);
  EXPECT_EQ(TextOf(fixed), "2");
  EXPECT_EQ(form_->fixed.Text(), "2");

  HWND typing = NativeOf(form_->typing);
  SendMessageA(typing, EM_SETSEL, 0, -1);
  for (char c : std::string("99x")) SendMessageA(typing, WM_CHAR, static_cast<WPARAM>(c), 1);
  EXPECT_EQ(TextOf(typing), "99");
  EXPECT_EQ(form_->typing.Text(), "99");
  EXPECT_EQ(form_->lastKey, 'x');
  SendMessageA(typing, WM_KILLFOCUS, 0, 0);
  EXPECT_EQ(TextOf(typing), "50");
  EXPECT_EQ(form_->typing.IntValue(), 50);

  // Not typing is not greyed; disabled is.
  EXPECT_EQ(GetWindowLongA(fixed, GWL_STYLE) & ES_READONLY, 0);
  form_->fixed.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(fixed));
  EXPECT_FALSE(IsWindowEnabled(arrows));
}

TEST_F(Win32PeersTest, ComboSelectionRaisesOnChange) {
  HWND combo = NativeOf(form_->combo);
  SendMessageA(combo, CB_SETCURSEL, 2, 0);
  SendMessageA(WindowOf(*form_), WM_COMMAND,
               MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  EXPECT_EQ(form_->comboChanges, 1);
  EXPECT_EQ(form_->combo.ItemIndex(), 2);
}

TEST_F(Win32PeersTest, VirtualListShowsAMillionRowsOnDemand) {
  HWND list = NativeOf(form_->list);
  form_->list.SetItemCount(1000000);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 1000000);
  UpdateWindow(list);
  EXPECT_LT(form_->asked.size(), 20u);  // only what shows

  SetFocus(list);
  // A list box's first key only selects the row with the focus rectangle.
  form_->list.SetItemIndex(0);
  const auto start = std::chrono::steady_clock::now();
  Key(list, VK_END);
  UpdateWindow(list);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
  EXPECT_EQ(form_->list.ItemIndex(), 999999);
  EXPECT_EQ(form_->listChanges, 1);
  EXPECT_GT(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 999980);
  EXPECT_TRUE(form_->asked.count(999999));

  RECT row;
  SendMessageA(list, LB_GETITEMRECT, 999999, reinterpret_cast<LPARAM>(&row));
  EXPECT_EQ(row.bottom - row.top, 13);

  form_->list.SetItemIndex(12);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 12);
  form_->list.SetItemCount(10);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 10);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), -1);
}

TEST_F(Win32PeersTest, HintFollowsThePointerOverDisabledControlsAndMenus) {
  HWND window = WindowOf(*form_);
  const Point at = form_->disabled.FormOffset();
  POINT p{at.x + 10, at.y + 10};
  POINT screen = p;
  ClientToScreen(window, &screen);
  SetCursorPos(screen.x, screen.y);
  PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
  App().ProcessMessages();
  EXPECT_EQ(App().Hint(), "Not now");

  SendMessageA(window, WM_MENUSELECT, MAKEWPARAM(form_->save->Id(), MF_HILITE),
               reinterpret_cast<LPARAM>(GetSubMenu(GetMenu(window), 0)));
  EXPECT_EQ(App().Hint(), "Saves the list");
  SendMessageA(window, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  EXPECT_EQ(App().Hint(), "");
}

TEST_F(Win32PeersTest, MenuAndToolBarCommandsAndEnabledStates) {
  HWND window = WindowOf(*form_);
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(form_->save->Id(), 0), 0);
  EXPECT_EQ(form_->menuClicks, 1);
  HMENU file = GetSubMenu(GetMenu(window), 0);
  EXPECT_TRUE(GetMenuState(file, 2, MF_BYPOSITION) & MF_GRAYED);
  form_->exit->SetEnabled(true);
  EXPECT_FALSE(GetMenuState(file, 2, MF_BYPOSITION) & MF_GRAYED);

  HWND bar = NativeOf(form_->toolBar);
  EXPECT_EQ(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0), 3);  // missing pictures are blank
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), reinterpret_cast<LPARAM>(bar));
  EXPECT_EQ(form_->toolClicks, 1);
  form_->generate->SetEnabled(false);
  EXPECT_FALSE(SendMessageA(bar, TB_ISBUTTONENABLED, 1, 0));
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), reinterpret_cast<LPARAM>(bar));
  EXPECT_EQ(form_->toolClicks, 1);

  NMTTDISPINFOA tip{};
  tip.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageA(bar, TB_GETTOOLTIPS, 0, 0));
  tip.hdr.idFrom = 1;
  tip.hdr.code = TTN_GETDISPINFOA;
  SendMessageA(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
  ASSERT_NE(tip.lpszText, nullptr);
  EXPECT_STREQ(tip.lpszText, "Generate");
}

TEST_F(Win32PeersTest, KeyboardTabEnterAndEscape) {
  HWND check = NativeOf(form_->check);
  SetFocus(check);
  Key(check, VK_TAB);  // the unchecked radio group: its first button
  EXPECT_EQ(GetFocus(), NativeOf(form_->letters));
  Key(GetFocus(), VK_TAB);  // the group is done: round to the first field
  EXPECT_EQ(GetFocus(), NativeOf(form_->fixed));
  Key(GetFocus(), VK_TAB);
  EXPECT_EQ(GetFocus(), NativeOf(form_->typing));

  HWND typing = NativeOf(form_->typing);
  SetFocus(typing);
  Key(typing, VK_RETURN);  // a typing field takes Enter as a character
  EXPECT_EQ(form_->okClicks, 0);
  EXPECT_EQ(form_->lastKey, '\r');
  SetFocus(NativeOf(form_->combo));
  Key(GetFocus(), VK_RETURN);
  EXPECT_EQ(form_->okClicks, 1);
  Key(GetFocus(), VK_ESCAPE);
  EXPECT_EQ(form_->cancelClicks, 1);
  SetFocus(NativeOf(form_->cancel));
  Key(GetFocus(), VK_RETURN);  // a focused button answers Enter itself
  EXPECT_EQ(form_->cancelClicks, 2);
  EXPECT_EQ(form_->okClicks, 1);
}

TEST_F(Win32PeersTest, WindowLessControlsArePainted) {
  HWND window = WindowOf(*form_);
  RECT client;
  GetClientRect(window, &client);
  HDC screen = GetDC(window);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  SelectObject(dc, bitmap);
  SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  // The lowered panel's edge: shadow above, highlight below.
  const Point panel = form_->panel.FormOffset();
  EXPECT_EQ(GetPixel(dc, panel.x + 5, panel.y), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(GetPixel(dc, panel.x + 5, panel.y + 23), GetSysColor(COLOR_BTNHIGHLIGHT));
  // The label has text in it, in black, and a shadow.
  const Rect label = form_->title.Bounds();
  int black = 0, shadow = 0;
  for (int y = label.top; y < label.top + label.height; ++y) {
    for (int x = label.left; x < label.left + label.width; ++x) {
      const COLORREF c = GetPixel(dc, x, y);
      black += c == RGB(0, 0, 0);
      shadow += c == GetSysColor(COLOR_BTNSHADOW);
    }
  }
  EXPECT_GT(black, 20);
  EXPECT_GT(shadow, 20);
  EXPECT_GT(label.width, 30);  // measured, not the estimate
  DeleteDC(dc);
  DeleteObject(bitmap);
  ReleaseDC(window, screen);
}

TEST_F(Win32PeersTest, FocusIsReportedAndRequestedBothWays) {
  SetFocus(NativeOf(form_->combo));
  EXPECT_EQ(form_->FocusedControl(), &form_->combo);
  form_->typing.SetFocus();
  EXPECT_EQ(GetFocus(), NativeOf(form_->typing));
  EXPECT_EQ(form_->FocusedControl(), &form_->typing);
}

TEST_F(Win32PeersTest, MnemonicsAndArrowKeysInARadioGroup) {
  SetFocus(NativeOf(form_->combo));
  PostMessageA(GetFocus(), WM_SYSCHAR, 'u', 1 << 29);
  App().ProcessMessages();
  EXPECT_TRUE(form_->check.Checked());
  EXPECT_EQ(GetFocus(), NativeOf(form_->check));

  form_->letters.SetChecked(true);
  SetFocus(NativeOf(form_->letters));
  Key(GetFocus(), VK_DOWN);
  EXPECT_TRUE(form_->digits.Checked());
  EXPECT_FALSE(form_->letters.Checked());
  EXPECT_EQ(GetFocus(), NativeOf(form_->digits));
  Key(GetFocus(), VK_DOWN);  // round to the first again
  EXPECT_TRUE(form_->letters.Checked());
  EXPECT_EQ(GetFocus(), NativeOf(form_->letters));
}

TEST_F(Win32PeersTest, SpinFieldsTakePastesAndDeletesOnlyWhenTyping) {
  HWND fixed = NativeOf(form_->fixed);
  HWND typing = NativeOf(form_->typing);
  App().SetClipboardText("42");
  const int beeps = NativeBeepCount();
  SendMessageA(fixed, EM_SETSEL, 0, -1);
  SendMessageA(fixed, WM_PASTE, 0, 0);
  SendMessageA(fixed, WM_KEYDOWN, VK_DELETE, 1);
  EXPECT_EQ(TextOf(fixed), "5");
  EXPECT_EQ(NativeBeepCount(), beeps + 2);

  SendMessageA(typing, EM_SETSEL, 0, -1);
  SendMessageA(typing, WM_PASTE, 0, 0);
  EXPECT_EQ(form_->typing.Text(), "42");
  SendMessageA(typing, EM_SETSEL, 0, 1);
  SendMessageA(typing, WM_KEYDOWN, VK_DELETE, 1);
  EXPECT_EQ(form_->typing.Text(), "2");
  EXPECT_EQ(NativeBeepCount(), beeps + 2);

  // A value set from code shows, and is not taken for typing or a step.
  form_->fixed.SetValue(8);
  EXPECT_EQ(TextOf(fixed), "8");
  EXPECT_EQ(form_->spinClicks, 0);
}

TEST_F(Win32PeersTest, LabelsAndFontsFollowChanges) {
  const int width = form_->title.Bounds().width;
  form_->title.SetCaption("Passwords generated so far");
  EXPECT_GT(form_->title.Bounds().width, width + 40);

  HWND ok = NativeOf(form_->ok);
  HWND list = NativeOf(form_->list);
  const auto okFont = SendMessageA(ok, WM_GETFONT, 0, 0);
  const auto listFont = SendMessageA(list, WM_GETFONT, 0, 0);
  form_->SetFont(Font{.name = "Arial", .height = 15});
  EXPECT_NE(SendMessageA(ok, WM_GETFONT, 0, 0), okFont);
  EXPECT_EQ(SendMessageA(list, WM_GETFONT, 0, 0), listFont);  // a font of its own
  RECT row;
  SendMessageA(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  EXPECT_EQ(row.bottom - row.top, 13);
}

TEST_F(Win32PeersTest, HintOverWindowLessControlsToolButtonsAndLeaving) {
  HWND window = WindowOf(*form_);
  auto pointAt = [&](HWND target, Point client) {
    POINT screen{client.x, client.y};
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
    PostMessageA(target, WM_MOUSEMOVE, 0, 0);
    App().ProcessMessages();
  };
  const Point panel = form_->panel.FormOffset();
  pointAt(window, {panel.x + 4, panel.y + 4});
  EXPECT_EQ(App().Hint(), "How many");
  pointAt(NativeOf(form_->toolBar), {5, 5});
  EXPECT_EQ(App().Hint(), "Makes passwords");

  SetCursorPos(1000, 700);  // far from every window of ours
  PostMessageA(NativeOf(form_->toolBar), WM_MOUSELEAVE, 0, 0);
  App().ProcessMessages();
  EXPECT_EQ(App().Hint(), "");
}

TEST_F(Win32PeersTest, FailingListRowsShowOneErrorBoxUntilTheListChanges) {
  HWND list = NativeOf(form_->list);
  form_->list.OnGetItem = [](int, std::string&) { throw std::runtime_error("No such row"); };
  form_->list.SetItemCount(100);
  const auto boxes = AnsweringBoxes([&] {
    UpdateWindow(list);
    WaitFor([] { return false; });  // the list repaints after the box
  });
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("No such row."), std::string::npos) << boxes[0];

  form_->list.Repaint();
  EXPECT_EQ(AnsweringBoxes([&] { UpdateWindow(list); }).size(), 1u);
}

}  // namespace
}  // namespace tessavo::tk
