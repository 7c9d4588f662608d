// The threaded timer on an idle main loop (the main thread waiting for
// messages): how regular its ticks are, and what an idle timer costs.
// Prints figures; asserts nothing.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <vector>

#include "bench/cpu_time.h"
#include "gifanim/timer_ex.h"
#include "toolkit/application.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using tessavo::gifanim::TTimerEx;

// Keeps the main thread in its idle wait for this long.
void Idle(Clock::duration time) {
  const auto end = Clock::now() + time;
  while (Clock::now() < end) tessavo::tk::App().WaitAndProcess(100ms);
}

void TickPeriod(std::uint32_t interval, Clock::duration time) {
  std::vector<Clock::time_point> ticks;
  ticks.reserve(1000);
  TTimerEx timer;
  timer.SetInterval(interval);
  timer.SetOnTimer([&](TTimerEx&) { ticks.push_back(Clock::now()); });
  Idle(time);
  timer.SetEnabled(false);

  std::vector<double> periods;  // ms
  for (std::size_t i = 1; i < ticks.size(); ++i) {
    periods.push_back(std::chrono::duration<double, std::milli>(ticks[i] - ticks[i - 1]).count());
  }
  if (periods.empty()) {
    std::printf("threaded %u ms: no ticks\n", interval);
    return;
  }
  const double mean = std::accumulate(periods.begin(), periods.end(), 0.0) / periods.size();
  double squares = 0;
  for (double p : periods) squares += (p - mean) * (p - mean);
  const auto [low, high] = std::minmax_element(periods.begin(), periods.end());
  std::printf("threaded %u ms, idle main loop, %.0f s: %zu ticks, period mean %.3f ms, "
              "std dev %.3f ms, min %.3f ms, max %.3f ms\n",
              interval, std::chrono::duration<double>(time).count(), ticks.size(), mean,
              std::sqrt(squares / periods.size()), *low, *high);
}

void IdleCost(std::uint32_t interval, Clock::duration time) {
  const auto measure = [&](bool withTimer) {
    TTimerEx timer;
    timer.SetEnabled(withTimer);
    timer.SetInterval(interval);
    timer.SetOnTimer([](TTimerEx&) {});
    const auto before = tessavo::bench::ProcessCpuTime();
    Idle(time);
    return std::chrono::duration<double, std::milli>(tessavo::bench::ProcessCpuTime() - before)
        .count();
  };
  const double without = measure(false);
  const double with = measure(true);
  std::printf("process CPU time over %.0f s of idle main loop: %.1f ms with an enabled "
              "%u ms timer, %.1f ms with it disabled\n",
              std::chrono::duration<double>(time).count(), with, interval, without);
}

}  // namespace

int main() {
  tessavo::tk::App();  // the main thread is the one that makes the application
  TickPeriod(10, 3s);
  IdleCost(1000, 5s);
  return 0;
}
