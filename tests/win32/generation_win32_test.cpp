// The generation run, the options window and the links with real windows
// and messages: the commands arrive as WM_COMMAND, the buttons are pressed
// with BM_CLICK by a timer while the run processes messages, and what the
// user would see is read from the native controls and the registry.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "batch/forms/main.h"
#include "batch/forms/progress.h"
#include "tests/win32/run_test_support.h"
#include "toolkit/application.h"
#include "toolkit/link_label.h"
#include "toolkit/native.h"

namespace tessavo::batch {
namespace {

using namespace std::chrono_literals;

constexpr const char* kRootKey = "Software\\Korvel Software\\TessavoM";

HWND WindowOf(const tk::Form& form) {
  return static_cast<HWND>(tk::NativeWindow(form));
}

// The native button with this caption on a window.
HWND ButtonOf(HWND window, const char* caption) {
  return FindWindowExA(window, nullptr, "Button", caption);
}

class GenerationWin32 : public testing::RunWindowsTest {
 protected:
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, kRootKey);
    RunWindowsTest::SetUp();
  }
  void TearDown() override {
    RunWindowsTest::TearDown();
    RegDeleteTreeA(HKEY_CURRENT_USER, kRootKey);
  }

  // Runs step on every timer tick (on the main thread, inside the run's
  // message processing) until it says it is done.
  // A run that ended before the step could act is acknowledged, so that
  // a slow step never leaves the run waiting for OK for good.
  void Every(std::function<bool()> step) {
    timer_ = tk::App().StartTimer(10ms, [this, step] {
      HWND ok = ButtonOf(Progress(), "OK");
      const bool waiting = IsWindowVisible(Progress()) && IsWindowEnabled(ok);
      if (waiting && step_must_not_finish_) {
        finishedEarly_ = true;
        SendMessageA(ok, BM_CLICK, 0, 0);
      }
      if ((step() || finishedEarly_) && timer_) {
        tk::App().StopTimer(timer_);
        timer_ = 0;
      }
    });
  }
  int ListRows() {
    HWND list = FindWindowExA(WindowOf(*form_), nullptr, "ListBox", nullptr);
    return static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  }
  // Set by the tests that act during generation: a run finished first is
  // pressed OK and reported.
  bool step_must_not_finish_ = false;
  bool finishedEarly_ = false;
};

TEST_F(GenerationWin32, ARunEndsWithOkAndTheListShowsItsPasswords) {
  form_->SpinAmt.SetValue(500);
  bool mainDisabled = false;
  Every([&] {
    HWND ok = ButtonOf(Progress(), "OK");
    if (!IsWindowVisible(Progress()) || !IsWindowEnabled(ok)) return false;
    mainDisabled = !IsWindowEnabled(WindowOf(*form_));
    SendMessageA(ok, BM_CLICK, 0, 0);
    return true;
  });
  Generate();
  EXPECT_TRUE(mainDisabled);
  EXPECT_EQ(ListRows(), 500);
  EXPECT_TRUE(IsWindowEnabled(WindowOf(*form_)));
  EXPECT_FALSE(IsWindowVisible(Progress()));
}

TEST_F(GenerationWin32, CancelLeavesTheListEmptyAndDisabled) {
  LongRun();
  step_must_not_finish_ = true;
  Every([&] {
    if (!IsWindowVisible(Progress())) return false;
    SendMessageA(ButtonOf(Progress(), "&Cancel"), BM_CLICK, 0, 0);
    return true;
  });
  Generate();
  ASSERT_FALSE(finishedEarly_) << "the run ended before Cancel could be pressed";
  EXPECT_EQ(ListRows(), 0);
  EXPECT_FALSE(form_->ListPW.Enabled());
  EXPECT_LT(form_->Store()->Count(), 1'000'000);
}

TEST_F(GenerationWin32, MinimizeThenRestoreShowsTheProgressWindowAgain) {
  LongRun();
  step_must_not_finish_ = true;
  int step = 0;
  bool hidden = false, shownAgain = false;
  Every([&] {
    switch (step++) {
      case 0:
        SendMessageA(ButtonOf(Progress(), "&Minimize"), BM_CLICK, 0, 0);
        return false;
      case 1:
        hidden = !IsWindowVisible(Progress()) && IsIconic(static_cast<HWND>(tk::NativeApplicationWindow()));
        SendMessageA(static_cast<HWND>(tk::NativeApplicationWindow()), WM_SYSCOMMAND, SC_RESTORE, 0);
        return false;
      default:
        shownAgain = IsWindowVisible(Progress());
        SendMessageA(ButtonOf(Progress(), "&Cancel"), BM_CLICK, 0, 0);
        return true;
    }
  });
  Generate();
  ASSERT_FALSE(finishedEarly_) << "the run ended before the steps could act";
  EXPECT_TRUE(hidden);
  EXPECT_TRUE(shownAgain);
}

TEST_F(GenerationWin32, TheOptionsWindowWritesTheRegistryOnOk) {
  Every([&] {
    HWND options = FindWindowA(nullptr, "Quillorn Options");
    if (!options || !IsWindowVisible(options)) return false;
    SendMessageA(
        ButtonOf(options, "Flash taskbar icon when password generation completes"), BM_CLICK,
        0, 0);
    SendMessageA(ButtonOf(options, "OK"), BM_CLICK, 0, 0);
    return true;
  });
  SendMessageA(WindowOf(*form_), WM_COMMAND, MAKEWPARAM(form_->MnuViewOptions.Id(), 0), 0);
  DWORD value = 0, size = sizeof value;
  ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, (std::string(kRootKey) + "\\Options").c_str(),
                         "Notify Flash Icon", RRF_RT_REG_DWORD, nullptr, &value, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(value, 1u);
}

// A link whose target the shell cannot open: the click reaches
// ShellExecuteA, whose failure only beeps.
TEST_F(GenerationWin32, ALinkClickGoesToTheShellAndBeepsWhenItFails) {
  struct LinkForm : tk::Form {
    LinkForm() : Form({.caption = "Links", .clientWidth = 200, .clientHeight = 60}) {
      CreateHandle();
    }
    tk::LinkLabel link{this, {.at = {10, 10}, .caption = "missing",
                              .target = "C:\\no\\such\\folder\\file.tessavo"}};
  } form;
  form.Show();
  tk::App().ProcessMessages();
  const int beeps = tk::NativeBeepCount();
  PostMessageA(WindowOf(form), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(14, 14));
  PostMessageA(WindowOf(form), WM_LBUTTONUP, 0, MAKELPARAM(14, 14));
  tk::App().ProcessMessages();
  EXPECT_EQ(tk::NativeBeepCount(), beeps + 1);
}

}  // namespace
}  // namespace tessavo::batch
