// The toolkit's seams with real windows and messages: every source of a
// close asks the form, window state follows the window, stay-on-top, a
// window-less control's click and cursor, and a call from another thread
// given up while the main thread does not serve it.
#include <atomic>
#include <stop_token>
#include <thread>

#include "tests/win32/toolkit_win32_form.h"

namespace tessavo::tk {
namespace {

// A label that takes clicks and shows the hand, as a link does.
struct ClickableLabel : Label {
  using Label::Label;
  void UserMouseClick() override { ++clicks; }
  int clicks = 0;
};

struct LinkForm : TestForm {
  LinkForm() { link.SetCursor(Cursor::HandPoint); }
  ClickableLabel link{this, {.bounds = {300, 285, 100, 13}, .caption = "example"}};
};

TEST_F(Win32PeersTest, EverySourceOfACloseAsksTheForm) {
  App().SetMainForm(form_.get());
  HWND window = WindowOf(*form_);
  int queries = 0;
  form_->OnCloseQuery = [&](bool& canClose) {
    ++queries;
    canClose = false;
  };
  SendMessageA(window, WM_CLOSE, 0, 0);                        // close box, Alt+F4
  SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);            // system menu
  SendMessageA(static_cast<HWND>(NativeApplicationWindow()), WM_CLOSE, 0, 0);    // the taskbar button
  SendMessageA(static_cast<HWND>(NativeApplicationWindow()), WM_QUERYENDSESSION, 0, 0);  // end of session
  App().ProcessMessages();
  EXPECT_EQ(queries, 4);
  EXPECT_FALSE(form_->Closed());
  EXPECT_TRUE(IsWindowVisible(window));

  form_->OnCloseQuery = nullptr;
  SendMessageA(static_cast<HWND>(NativeApplicationWindow()), WM_CLOSE, 0, 0);
  EXPECT_TRUE(form_->Closed());
  App().SetMainForm(nullptr);
}

TEST_F(Win32PeersTest, WindowStateAndStayOnTopLiveInTheForm) {
  Form other({.caption = "Other", .clientWidth = 200, .clientHeight = 80,
              .borderStyle = BorderStyle::Single, .owner = form_.get()});
  other.Show();
  HWND window = WindowOf(other);
  SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_EQ(other.GetWindowState(), WindowState::Minimized);
  SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_EQ(other.GetWindowState(), WindowState::Normal);

  other.SetStayOnTop(true);
  EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  other.SetStayOnTop(false);
  EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);

  // A shown window with tool-tips of its own (owned windows) too.
  HWND main = WindowOf(*form_);
  form_->SetStayOnTop(true);
  EXPECT_TRUE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
  form_->SetStayOnTop(false);
  EXPECT_FALSE(GetWindowLongA(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(Win32PeersTest, AWindowlessControlTakesItsClickAndShowsItsCursor) {
  auto holder = std::make_unique<LinkForm>();
  ClickableLabel* made = &holder->link;
  holder->Show();
  SetForegroundWindow(WindowOf(*holder));
  App().ProcessMessages();
  HWND window = WindowOf(*holder);
  const LPARAM at = MAKELPARAM(310, 290);
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(window, WM_LBUTTONUP, 0, at);
  App().ProcessMessages();
  EXPECT_EQ(made->clicks, 1);

  POINT screen{310, 290};
  ClientToScreen(window, &screen);
  SetCursorPos(screen.x, screen.y);
  SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));
}

TEST_F(Win32PeersTest, AWaitingCallIsGivenUpWhenItsThreadStops) {
  std::atomic<bool> result = true;
  std::atomic<int> ran = 0;
  std::jthread worker([&](std::stop_token stop) {
    result = App().RunOnMainThread([&] { ++ran; }, stop);
  });
  while (!App().Calls().Pending()) Sleep(1);
  // As a timer's owner stopping its worker does, without serving it.
  worker.request_stop();
  worker.join();
  EXPECT_FALSE(result);
  App().ProcessMessages();
  EXPECT_EQ(ran, 0);
}

}  // namespace
}  // namespace tessavo::tk
