// The Win32 application platform with real windows: clipboard, the
// application window's minimise and restore, modal forms, timers, calls
// from other threads, the cursor, dialogs and the error guard.
#include <atomic>
#include <stdexcept>
#include <thread>

#include "tests/win32/toolkit_win32_form.h"

namespace tessavo::tk {
namespace {

TEST_F(Win32PeersTest, ClipboardTextIsKeptOutOfHistoryAndCloud) {
  App().SetClipboardText("Pa$$w0rd");
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE text = GetClipboardData(CF_TEXT);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(text)), "Pa$$w0rd");
  GlobalUnlock(text);
  EXPECT_NE(GetClipboardData(RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing")),
            nullptr);
  for (const char* name : {"CanIncludeInClipboardHistory", "CanUploadToCloudClipboard"}) {
    HANDLE flag = GetClipboardData(RegisterClipboardFormatA(name));
    ASSERT_NE(flag, nullptr) << name;
    ASSERT_GE(GlobalSize(flag), sizeof(DWORD)) << name;
    EXPECT_EQ(*static_cast<const DWORD*>(GlobalLock(flag)), 0u) << name;
    GlobalUnlock(flag);
  }
  CloseClipboard();
}

TEST_F(Win32PeersTest, MinimiseHidesEveryFormAndRestoreBringsThemBack) {
  int minimized = 0, restored = 0;
  const auto onMinimize = App().OnMinimize.Subscribe([&] { ++minimized; });
  const auto onRestore = App().OnRestore.Subscribe([&] { ++restored; });
  HWND window = WindowOf(*form_);
  App().Minimize();
  App().ProcessMessages();
  EXPECT_EQ(minimized, 1);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_TRUE(IsIconic(static_cast<HWND>(NativeApplicationWindow())));
  SendMessageA(static_cast<HWND>(NativeApplicationWindow()), WM_SYSCOMMAND, SC_RESTORE, 0);
  App().ProcessMessages();
  EXPECT_EQ(restored, 1);
  EXPECT_EQ(minimized, 1);
  EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(Win32PeersTest, ModalFormDisablesTheOthersUntilItHasAResult) {
  Form dialog({.caption = "Dialog", .clientWidth = 200, .clientHeight = 80,
               .borderStyle = BorderStyle::Dialog, .owner = form_.get()});
  bool ownerDisabled = false;
  const int timer = App().StartTimer(20ms, [&] {
    ownerDisabled = !IsWindowEnabled(WindowOf(*form_));
    dialog.SetModalResult(ModalResult::Ok);
  });
  EXPECT_EQ(dialog.ShowModal(), ModalResult::Ok);
  App().StopTimer(timer);
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(IsWindowEnabled(WindowOf(*form_)));
  EXPECT_FALSE(IsWindowVisible(WindowOf(dialog)));
  EXPECT_EQ(GetWindow(WindowOf(dialog), GW_OWNER), WindowOf(*form_));
}

TEST_F(Win32PeersTest, TimersAndCallsFromOtherThreadsRunOnTheMainThread) {
  const DWORD main = GetCurrentThreadId();
  int ticks = 0;
  const int timer = App().StartTimer(10ms, [&] { ++ticks; });
  EXPECT_TRUE(WaitFor([&] { return ticks >= 2; }));
  App().StopTimer(timer);

  DWORD ranOn = 0;
  bool failureCameBack = false;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    App().RunOnMainThread([&] { ranOn = GetCurrentThreadId(); });
    try {
      App().RunOnMainThread([] { throw std::runtime_error("no"); });
    } catch (const std::runtime_error&) {
      failureCameBack = true;
    }
    done = true;
  });
  EXPECT_TRUE(WaitFor([&] { return done.load(); }));
  worker.join();
  EXPECT_EQ(ranOn, main);
  EXPECT_TRUE(failureCameBack);
}

TEST_F(Win32PeersTest, HourGlassStaysOverOurWindows) {
  App().SetCursor(Cursor::HourGlass);
  HWND window = WindowOf(*form_);
  EXPECT_TRUE(SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_WAIT));
  App().SetCursor(Cursor::Default);
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
}

TEST_F(Win32PeersTest, SaveDialogReturnsTheChosenNameOrNothing) {
  // The dialog runs its own loop; a timer answers it as a user would.
  bool answered = false;
  auto answer = [&](bool accept) {
    return App().StartTimer(50ms, [&answered, accept] {
      HWND dialog = FindWindowA("#32770", "Save passwords");
      if (!dialog || answered) return;
      answered = true;
      PostMessageA(dialog, WM_COMMAND, accept ? IDOK : IDCANCEL, 0);
    });
  };
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  // A name no file has, so that no overwrite question comes up.
  const std::string name = "tessavo-save-" + std::to_string(GetCurrentProcessId());
  SaveDialogOptions options{.title = "Save passwords", .filter = "Text files (*.txt)|*.txt",
                            .defaultExt = "txt", .initialDir = temp, .fileName = name};
  int timer = answer(false);
  EXPECT_EQ(App().SaveDialog(options), std::nullopt);
  App().StopTimer(timer);
  EXPECT_TRUE(answered);

  answered = false;
  timer = answer(true);
  const auto chosen = App().SaveDialog(options);
  App().StopTimer(timer);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_NE(chosen->find(name + ".txt"), std::string::npos) << *chosen;
}

TEST_F(Win32PeersTest, ClosingTheMainFormEndsTheLoop) {
  Form main({.caption = "Main"});
  bool closed = false;
  main.OnClose = [&] { closed = true; };
  const int timer = App().StartTimer(30ms, [&] { PostMessageA(WindowOf(main), WM_CLOSE, 0, 0); });
  App().Run(main);
  App().StopTimer(timer);
  EXPECT_TRUE(closed);
  EXPECT_FALSE(IsWindowVisible(WindowOf(main)));
}

TEST_F(Win32PeersTest, AnErrorInAHandlerIsShownAndTheProgramGoesOn) {
  form_->ok.OnClick = [] { throw std::runtime_error("Broken"); };
  const auto boxes = AnsweringBoxes([&] { SendMessageA(NativeOf(form_->ok), BM_CLICK, 0, 0); });
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("Broken."), std::string::npos) << boxes[0];
  SendMessageA(NativeOf(form_->check), BM_CLICK, 0, 0);
  EXPECT_TRUE(form_->check.Checked());
}

TEST_F(Win32PeersTest, AFormThatIsNotTheMainOneMinimisesAlone) {
  int minimized = 0;
  const auto onMinimize = App().OnMinimize.Subscribe([&] { ++minimized; });
  HWND window = WindowOf(*form_);
  SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(window));
  EXPECT_FALSE(IsIconic(static_cast<HWND>(NativeApplicationWindow())));
  EXPECT_EQ(minimized, 0);
  SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsIconic(window));
}

TEST_F(Win32PeersTest, HidingTheActiveFormGivesTheActivationToItsOwner) {
  Form other({.caption = "Other", .owner = form_.get()});
  other.Show();
  App().ProcessMessages();
  EXPECT_EQ(GetActiveWindow(), WindowOf(other));
  EXPECT_TRUE(other.Active());
  other.Hide();
  App().ProcessMessages();
  EXPECT_EQ(GetActiveWindow(), WindowOf(*form_));
  EXPECT_TRUE(form_->Active());
}

TEST_F(Win32PeersTest, BorderStylesAndTheSizesTheyMake) {
  Form dialog({.caption = "Plain", .clientWidth = 150, .clientHeight = 60,
               .borderStyle = BorderStyle::Dialog,
               .borderIcons = {.systemMenu = false, .minimize = false, .maximize = false}});
  Form sizeable({.caption = "Sizeable", .clientWidth = 150, .clientHeight = 60});
  dialog.CreateHandle();
  sizeable.CreateHandle();
  const LONG dialogStyle = GetWindowLongA(WindowOf(dialog), GWL_STYLE);
  EXPECT_TRUE(dialogStyle & WS_CAPTION);
  EXPECT_FALSE(dialogStyle & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX));
  EXPECT_TRUE(GetWindowLongA(WindowOf(dialog), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  const LONG sizeableStyle = GetWindowLongA(WindowOf(sizeable), GWL_STYLE);
  EXPECT_TRUE(sizeableStyle & WS_THICKFRAME);
  EXPECT_TRUE(sizeableStyle & WS_MAXIMIZEBOX);
  // Resized by the user: the client size follows.
  RECT before;
  GetWindowRect(WindowOf(sizeable), &before);
  SetWindowPos(WindowOf(sizeable), nullptr, 0, 0, before.right - before.left + 30,
               before.bottom - before.top + 20, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(sizeable.ClientWidth(), 180);
  EXPECT_EQ(sizeable.ClientHeight(), 80);

  for (Form* form : {static_cast<Form*>(form_.get()), &dialog, &sizeable}) {
    RECT outer, client;
    GetWindowRect(WindowOf(*form), &outer);
    GetClientRect(WindowOf(*form), &client);
    const Size whole = App().OuterSize(*form);
    EXPECT_EQ(whole.width, outer.right - outer.left) << form->Caption();
    EXPECT_EQ(whole.height, outer.bottom - outer.top) << form->Caption();
    EXPECT_EQ(client.right, form->ClientWidth()) << form->Caption();
  }
}

TEST_F(Win32PeersTest, ScreenAndLocaleComeFromTheSystem) {
  EXPECT_EQ(App().ScreenSize(), (Size{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
  char time[8] = {}, decimal[8] = {};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIME, time, sizeof time);
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, sizeof decimal);
  EXPECT_EQ(App().TimeSeparator(), time[0]);
  EXPECT_EQ(App().DecimalSeparator(), decimal[0]);
  const auto before = App().Now();
  Sleep(20);
  EXPECT_GE(App().Now() - before, 15ms);
}

TEST_F(Win32PeersTest, ATimerStoppedInItsOwnHandlerRunsOnce) {
  int ticks = 0;
  int id = 0;
  id = App().StartTimer(5ms, [&] {
    ++ticks;
    App().StopTimer(id);
  });
  const auto until = std::chrono::steady_clock::now() + 150ms;
  while (std::chrono::steady_clock::now() < until) App().WaitAndProcess(10ms);
  EXPECT_EQ(ticks, 1);
}

}  // namespace
}  // namespace tessavo::tk
