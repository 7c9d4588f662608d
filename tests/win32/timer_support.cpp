// Win32: real window timers and real message boxes, answered from within
// their own modal loops.
#include <algorithm>

#include "tests/timer_support.h"
#include "tests/win32/toolkit_win32_form.h"

namespace tessavo::gifanim::testing {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

void PassTime(std::chrono::milliseconds time) {
  const auto end = Clock::now() + time;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    if (left.count() <= 0) break;
    tk::App().WaitAndProcess(std::min<std::chrono::milliseconds>(left, 10ms));
  }
  tk::App().ProcessMessages();
}

bool ProcessUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (!condition()) {
    if (Clock::now() > deadline) return false;
    PassTime(2ms);
  }
  return true;
}

std::vector<std::string> ErrorBoxesDuring(const std::function<void()>& fn) {
  return tk::AnsweringBoxes(fn);
}

void ResetPlatform() { tk::App().Reset(); }

}  // namespace tessavo::gifanim::testing
