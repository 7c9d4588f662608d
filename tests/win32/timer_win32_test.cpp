// The threaded timer with real messages: its ticks are served wherever the
// main thread processes messages, a modal box's own loop included.
#include <atomic>

#include "gifanim/timer_ex.h"
#include "tests/win32/toolkit_win32_form.h"

namespace tessavo::gifanim {
namespace {

// Closes the visible message boxes of this thread.
void CloseBoxes() {
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM) -> BOOL {
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        if (std::string(name) == "#32770" && IsWindowVisible(window))
          PostMessageA(window, WM_COMMAND, IDOK, 0);
        return TRUE;
      },
      0);
}

TEST(TimerWin32Test, ThreadedTicksAreServedInsideAModalLoop) {
  int ticks = 0;
  TTimerEx timer;
  timer.SetInterval(5);
  timer.SetOnTimer([&](TTimerEx&) {
    if (++ticks == 3) CloseBoxes();
  });
  // Should the ticks never come, the box still closes, and the test fails.
  const int fallback = tk::App().StartTimer(std::chrono::seconds(3), [] { CloseBoxes(); });
  tk::App().MessageBox("Waiting for the timer", "Timer", tk::MbOk);
  tk::App().StopTimer(fallback);
  EXPECT_GE(ticks, 3);
  tk::App().Reset();
}

}  // namespace
}  // namespace tessavo::gifanim
