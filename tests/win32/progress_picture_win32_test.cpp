// The progress window's animation with real windows: the frames on the
// screen change while a run processes messages (the picture's timer ticks
// through its worker thread), and Minimize and completion stop them.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>

#include "batch/forms/main.h"
#include "batch/forms/progress.h"
#include "tests/win32/run_test_support.h"
#include "toolkit/application.h"
#include "toolkit/native.h"

namespace tessavo::batch {
namespace {

using namespace std::chrono_literals;

HWND WindowOf(const tk::Form& form) {
  return static_cast<HWND>(tk::NativeWindow(form));
}

class ProgressPictureWin32 : public testing::RunWindowsTest {
 protected:
  void Every(std::function<bool()> step) {
    timer_ = tk::App().StartTimer(20ms, [this, step] {
      if (step() && timer_) {
        tk::App().StopTimer(timer_);
        timer_ = 0;
      }
    });
  }
  void Press(const char* caption) {
    SendMessageA(FindWindowExA(WindowOf(*progress_), nullptr, "Button", caption), BM_CLICK, 0, 0);
  }
  // What the screen shows of the picture, as one number.
  std::uint64_t OnScreen() {
    HDC dc = GetDC(WindowOf(*progress_));
    std::uint64_t hash = 1469598103934665603ull;
    const tk::Rect at = progress_->GIFImg.Bounds();
    for (int y = 2; y < at.height; y += 5) {
      for (int x = 2; x < at.width; x += 5) {
        hash = (hash ^ GetPixel(dc, at.left + x, at.top + y)) * 1099511628211ull;
      }
    }
    ReleaseDC(WindowOf(*progress_), dc);
    return hash;
  }
};

TEST_F(ProgressPictureWin32, FramesChangeDuringARunAndStopAtMinimize) {
  LongRun();
  std::set<std::uint64_t> pictures;
  int frameChanges = 0, step = 0;
  bool stopped = false, completedFirst = false;
  progress_->GIFImg.OnChange = [&](gifanim::TGIFImage&) { ++frameChanges; };
  Every([&] {
    if (!IsWindowVisible(WindowOf(*progress_)) && step == 0) return false;
    if (IsWindowEnabled(FindWindowExA(WindowOf(*progress_), nullptr, "Button", "OK"))) {
      completedFirst = step == 0;  // the run was too short to act in
      Press("OK");
      return true;
    }
    switch (step) {
      case 0:
        pictures.insert(OnScreen());
        if (frameChanges < 2 || pictures.size() < 2) return false;
        Press("&Minimize");
        stopped = !progress_->GIFImg.Animate() && !progress_->GIFImg.Timer().Enabled();
        step = 1;
        return false;
      case 1:
        SendMessageA(static_cast<HWND>(tk::NativeApplicationWindow()), WM_SYSCOMMAND, SC_RESTORE, 0);
        step = 2;
        return false;
      default:
        Press("&Cancel");
        return true;
    }
  });
  Generate();
  EXPECT_FALSE(completedFirst);
  EXPECT_GE(frameChanges, 2);
  EXPECT_GE(pictures.size(), 2u) << "distinct pictures on the screen";
  EXPECT_TRUE(stopped);
}

TEST_F(ProgressPictureWin32, CompletionStopsTheAnimation) {
  form_->SpinAmt.SetValue(500);
  bool stopped = false;
  Every([&] {
    HWND ok = FindWindowExA(WindowOf(*progress_), nullptr, "Button", "OK");
    if (!IsWindowVisible(WindowOf(*progress_)) || !IsWindowEnabled(ok)) return false;
    stopped = !progress_->GIFImg.Animate() && !progress_->GIFImg.Timer().Enabled() &&
              progress_->GIFImg.CurrentFrame() == 1;
    SendMessageA(ok, BM_CLICK, 0, 0);
    return true;
  });
  Generate();
  EXPECT_TRUE(stopped);
}

}  // namespace
}  // namespace tessavo::batch
