// Headless: the window timers run by the manual clock, which is moved here
// along with real time, since the worker of a threaded timer sleeps in
// real time.
#include <algorithm>

#include "tests/timer_support.h"
#include "toolkit/headless_scripting.h"

namespace tessavo::gifanim::testing {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

void PassTime(std::chrono::milliseconds time) {
  const auto start = Clock::now();
  std::chrono::milliseconds moved{0};
  for (;;) {
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    tk::headless::AdvanceClock(elapsed - moved);
    moved = elapsed;
    tk::App().ProcessMessages();
    if (elapsed >= time) return;
    tk::App().WaitAndProcess(std::min<std::chrono::milliseconds>(1ms, time - elapsed));
  }
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
  const std::size_t before = tk::headless::MessageBoxes().size();
  fn();
  std::vector<std::string> texts;
  const auto& boxes = tk::headless::MessageBoxes();
  for (std::size_t i = before; i < boxes.size(); ++i) texts.push_back(boxes[i].text);
  return texts;
}

void ResetPlatform() { tk::headless::Reset(); }

}  // namespace tessavo::gifanim::testing
