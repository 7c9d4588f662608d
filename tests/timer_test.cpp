// The threaded timer on the platform of the build: real short intervals,
// real threads, and only coarse bounds on time. Most behaviour is checked
// in both modes (threaded and window timer); what only the worker does is
// checked in threaded mode.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "gifanim/timer_ex.h"
#include "tests/timer_support.h"
#include "toolkit/application.h"

namespace tessavo::gifanim {
namespace {

using namespace std::chrono_literals;
using testing::ErrorBoxesDuring;
using testing::PassTime;
using testing::ProcessUntil;
using Clock = std::chrono::steady_clock;

// What the ticks saw: how many, on which thread, when each began and
// ended, and how deeply they were nested.
struct TickLog {
  struct Tick {
    std::thread::id thread;
    Clock::time_point begin, end;
  };

  TimerEvent Handler(std::function<void(TTimerEx&)> body = nullptr) {
    return [this, body](TTimerEx& sender) {
      const int depth = ++running;
      if (depth > deepest) deepest = depth;
      const auto begin = Clock::now();
      if (body) body(sender);
      {
        std::lock_guard lock(mutex);
        ticks.push_back({std::this_thread::get_id(), begin, Clock::now()});
      }
      --running;
      ++count;
    };
  }
  std::vector<Tick> Ticks() {
    std::lock_guard lock(mutex);
    return ticks;
  }

  std::atomic<int> count = 0;
  std::atomic<int> running = 0;
  std::atomic<int> deepest = 0;
  std::mutex mutex;
  std::vector<Tick> ticks;
};

class TimerTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::ResetPlatform(); }
  void TearDown() override { testing::ResetPlatform(); }
};

TEST_F(TimerTest, StartsEnabledThreadedAtNormalPriorityWithItsWorker) {
  TTimerEx timer;
  EXPECT_TRUE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 1000u);
  EXPECT_FALSE(timer.OnTimer());
  EXPECT_TRUE(timer.Threaded());
  EXPECT_EQ(timer.ThreadPriority(), TThreadPriority::tpNormal);
  EXPECT_FALSE(timer.ThreadSafe());
  ASSERT_NE(timer.Worker(), nullptr);
  EXPECT_EQ(&timer.Worker()->OwnerTimer(), &timer);
  EXPECT_FALSE(timer.Worker()->StopRequested());
  EXPECT_EQ(timer.Worker()->Priority(), 0);
  EXPECT_FALSE(timer.WindowTimerRunning());
}

TEST_F(TimerTest, TheWorkerRunsAtThePlatformLevelOfItsPriority) {
  const std::pair<TThreadPriority, int> levels[] = {
      {TThreadPriority::tpIdle, -15},   {TThreadPriority::tpLowest, -2},
      {TThreadPriority::tpLower, -1},   {TThreadPriority::tpNormal, 0},
      {TThreadPriority::tpHigher, 1},   {TThreadPriority::tpHighest, 2},
      {TThreadPriority::tpTimeCritical, 15},
  };
  TTimerEx timer;
  timer.SetOnTimer([](TTimerEx&) {});
  for (const auto& [priority, level] : levels) {
    SCOPED_TRACE(level);
    EXPECT_EQ(PlatformPriority(priority), level);
    timer.SetThreadPriority(priority);
    EXPECT_EQ(timer.Worker()->Priority(), level);
  }
}

TEST_F(TimerTest, APriorityReachesTheWorkerOnlyWhenItRunsOrIsMade) {
  TTimerEx timer;
  // No handler: the worker waits, and is not reconfigured.
  timer.SetThreadPriority(TThreadPriority::tpHighest);
  EXPECT_EQ(timer.Worker()->Priority(), 0);
  timer.SetOnTimer([](TTimerEx&) {});
  EXPECT_EQ(timer.Worker()->Priority(), 2);

  // In message mode it is only kept, for the next worker.
  timer.SetThreaded(false);
  EXPECT_EQ(timer.Worker(), nullptr);
  timer.SetThreadPriority(TThreadPriority::tpLowest);
  EXPECT_EQ(timer.Worker(), nullptr);
  timer.SetEnabled(false);
  timer.SetThreaded(true);
  ASSERT_NE(timer.Worker(), nullptr);
  EXPECT_EQ(timer.Worker()->Priority(), -2);  // a new worker starts at it
}

TEST_F(TimerTest, SwitchingModeReleasesTheOtherModesTimer) {
  TickLog log;  // outlives the timer that ticks into it
  TTimerEx timer;
  timer.SetInterval(5);
  timer.SetOnTimer(log.Handler());
  timer.SetThreaded(false);
  EXPECT_EQ(timer.Worker(), nullptr);
  EXPECT_TRUE(timer.WindowTimerRunning());
  ASSERT_TRUE(ProcessUntil([&] { return log.count >= 2; }));

  timer.SetThreaded(true);
  EXPECT_FALSE(timer.WindowTimerRunning());
  ASSERT_NE(timer.Worker(), nullptr);
  const int before = log.count;
  ASSERT_TRUE(ProcessUntil([&] { return log.count >= before + 2; }));
}

TEST_F(TimerTest, ThreadedTicksRunOnTheMainThreadOnlyWhileItProcessesMessages) {
  TickLog log;  // outlives the timer that ticks into it
  TTimerEx timer;
  timer.SetInterval(20);
  timer.SetOnTimer(log.Handler());
  std::this_thread::sleep_for(100ms);  // busy, not processing messages
  EXPECT_EQ(log.count, 0);
  ASSERT_TRUE(tk::App().Calls().Pending());
  // One tick waited, not one per interval that passed.
  tk::App().ProcessMessages();
  EXPECT_EQ(log.count, 1);

  ASSERT_TRUE(ProcessUntil([&] { return log.count >= 4; }));
  for (const auto& tick : log.Ticks()) EXPECT_EQ(tick.thread, std::this_thread::get_id());
}

TEST_F(TimerTest, ATickThatProcessesMessagesIsNotEnteredAgain) {
  TickLog log;  // outlives the timer that ticks into it
  TTimerEx timer;
  timer.SetInterval(5);
  int outer = 0;
  timer.SetOnTimer(log.Handler([&](TTimerEx&) {
    if (outer++ < 2) PassTime(40ms);  // several intervals inside the tick
  }));
  ASSERT_TRUE(ProcessUntil([&] { return log.count >= 5; }));
  EXPECT_EQ(log.deepest, 1);
}

TEST_F(TimerTest, ASlowThreadedTickDelaysTheNextInsteadOfPilingUp) {
  TickLog log;  // outlives the timer that ticks into it
  TTimerEx timer;
  timer.SetInterval(10);
  timer.SetOnTimer(log.Handler([](TTimerEx&) { std::this_thread::sleep_for(25ms); }));
  ASSERT_TRUE(ProcessUntil([&] { return log.count >= 5; }));
  timer.SetEnabled(false);
  const auto ticks = log.Ticks();
  // Each next tick comes a sleep after the last one ended, never at once.
  for (std::size_t i = 1; i < ticks.size(); ++i) {
    EXPECT_GE(ticks[i].begin - ticks[i - 1].end, 5ms) << "tick " << i;
  }
}

TEST_F(TimerTest, ThreadSafeTicksRunOnTheWorkerWhileTheMainThreadIsBusy) {
  TickLog log;  // outlives the timer that ticks into it
  TTimerEx timer;
  timer.SetThreadSafe(true);
  timer.SetInterval(5);
  timer.SetOnTimer(log.Handler());
  const auto deadline = Clock::now() + 2s;
  while (log.count < 3 && Clock::now() < deadline) std::this_thread::sleep_for(1ms);
  ASSERT_GE(log.count, 3);
  timer.SetEnabled(false);
  for (const auto& tick : log.Ticks()) EXPECT_EQ(tick.thread, timer.Worker()->Id());
  EXPECT_FALSE(tk::App().Calls().Pending());
}

TEST_F(TimerTest, AnErrorInAThreadSafeTickIsShownAndTheTimerGoesOn) {
  TickLog log;  // outlives the timer that ticks into it
  std::atomic<bool> failed = false;
  TTimerEx timer;
  timer.SetThreadSafe(true);
  timer.SetInterval(5);
  timer.SetOnTimer(log.Handler([&](TTimerEx&) {
    if (!failed.exchange(true)) throw std::runtime_error("Worker tick failed");
  }));
  const auto boxes = ErrorBoxesDuring([&] {
    ASSERT_TRUE(ProcessUntil([&] { return log.count >= 3; }));
    timer.SetEnabled(false);
    PassTime(30ms);
  });
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("Worker tick failed"), std::string::npos) << boxes[0];
}

// Stopping a worker that waits for the main thread to run a tick, without
// serving it: nothing may hang, and the waiting tick never runs.
TEST_F(TimerTest, DestroyingATimerWhoseTickWaitsNeitherHangsNorTicks) {
  TickLog log;
  auto timer = std::make_unique<TTimerEx>();
  timer->SetInterval(5);
  timer->SetOnTimer(log.Handler());
  ASSERT_TRUE([] {
    const auto deadline = Clock::now() + 2s;
    while (!tk::App().Calls().Pending()) {
      if (Clock::now() > deadline) return false;
      std::this_thread::sleep_for(1ms);
    }
    return true;
  }());
  timer.reset();
  PassTime(30ms);
  EXPECT_EQ(log.count, 0);
  EXPECT_FALSE(tk::App().Calls().Pending());
}

// Stops at every moment of the worker's round: asleep, about to wait for
// the main thread, waiting for it, just woken. None may be lost.
TEST_F(TimerTest, AWorkerStoppedAtAnyMomentEnds) {
  for (int round = 0; round < 300; ++round) {
    TickLog log;
    TTimerEx timer;
    timer.SetInterval(1);
    timer.SetOnTimer(log.Handler());
    if (round % 4 == 1) std::this_thread::yield();
    if (round % 4 == 2) std::this_thread::sleep_for(std::chrono::microseconds(700 + round));
    if (round % 4 == 3) tk::App().ProcessMessages();
    if (round % 2) timer.SetThreaded(false);  // else the destructor stops it
  }
}

TEST_F(TimerTest, LeavingThreadedModeDropsTheTickThatWaits) {
  TickLog log;
  TTimerEx timer;
  timer.SetInterval(5);
  timer.SetOnTimer(log.Handler());
  std::this_thread::sleep_for(40ms);
  ASSERT_TRUE(tk::App().Calls().Pending());
  timer.SetThreaded(false);
  timer.SetInterval(300);  // the window timer is not due for a while
  PassTime(60ms);
  EXPECT_EQ(log.count, 0);
}

TEST_F(TimerTest, ATickMaySwitchItsTimerToMessageModeOrOff) {
  TickLog log;  // outlives the timer that ticks into it
  TTimerEx timer;
  timer.SetInterval(5);
  timer.SetOnTimer(log.Handler([](TTimerEx& sender) { sender.SetThreaded(false); }));
  ASSERT_TRUE(ProcessUntil([&] { return log.count >= 3; }));  // on by window timer
  EXPECT_EQ(timer.Worker(), nullptr);

  timer.SetOnTimer(log.Handler([](TTimerEx& sender) {
    sender.SetThreaded(true);
    sender.SetEnabled(false);
  }));
  const int before = log.count;
  ASSERT_TRUE(ProcessUntil([&] { return log.count > before; }));
  PassTime(40ms);
  EXPECT_EQ(log.count, before + 1);
  EXPECT_NE(timer.Worker(), nullptr);
}

TEST_F(TimerTest, ATickMayDestroyItsOwnTimer) {
  TickLog log;
  auto timer = std::make_unique<TTimerEx>();
  timer->SetInterval(5);
  timer->SetOnTimer(log.Handler([&](TTimerEx&) { timer.reset(); }));
  ASSERT_TRUE(ProcessUntil([&] { return timer == nullptr; }));
  PassTime(30ms);
  EXPECT_EQ(log.count, 1);
}

// --- In both modes ------------------------------------------------------------

class TimerModeTest : public TimerTest, public ::testing::WithParamInterface<bool> {
 protected:
  // A timer of the mode under test, ticking every 5 ms into log.
  std::unique_ptr<TTimerEx> Make(TickLog& log) {
    auto timer = std::make_unique<TTimerEx>();
    timer->SetInterval(5);
    timer->SetThreaded(GetParam());
    timer->SetOnTimer(log.Handler());
    return timer;
  }
};

TEST_P(TimerModeTest, IntervalZeroStopsTheTicksWithoutDisabling) {
  TickLog log;
  auto timer = Make(log);
  ASSERT_TRUE(ProcessUntil([&] { return log.count >= 2; }));
  timer->SetInterval(0);
  const int stoppedAt = log.count;
  PassTime(50ms);
  EXPECT_EQ(log.count, stoppedAt);
  EXPECT_TRUE(timer->Enabled());
  EXPECT_FALSE(timer->WindowTimerRunning());

  timer->SetInterval(5);
  EXPECT_TRUE(ProcessUntil([&] { return log.count >= stoppedAt + 2; }));
}

TEST_P(TimerModeTest, NoTickAfterDisablingNotEvenOneThatWasDue) {
  TickLog log;
  auto timer = Make(log);
  ASSERT_TRUE(ProcessUntil([&] { return log.count >= 1; }));
  std::this_thread::sleep_for(40ms);  // a tick is due or waits meanwhile
  timer->SetEnabled(false);
  const int disabledAt = log.count;
  PassTime(50ms);
  EXPECT_EQ(log.count, disabledAt);

  timer->SetEnabled(true);
  EXPECT_TRUE(ProcessUntil([&] { return log.count > disabledAt; }));
}

TEST_P(TimerModeTest, TicksRunOnTheMainThreadWithTheTimerAsSender) {
  TickLog log;
  auto timer = Make(log);
  TTimerEx* sender = nullptr;
  timer->SetOnTimer(log.Handler([&](TTimerEx& from) { sender = &from; }));
  ASSERT_TRUE(ProcessUntil([&] { return log.count >= 2; }));
  EXPECT_EQ(sender, timer.get());
  for (const auto& tick : log.Ticks()) EXPECT_EQ(tick.thread, std::this_thread::get_id());
}

TEST_P(TimerModeTest, AFailingTickShowsOneErrorBoxAndTheTimerGoesOn) {
  TickLog log;
  auto timer = Make(log);
  bool failed = false;
  timer->SetOnTimer(log.Handler([&](TTimerEx&) {
    if (!failed) {
      failed = true;
      throw std::runtime_error("Frame out of range");
    }
  }));
  const auto boxes = ErrorBoxesDuring([&] {
    ASSERT_TRUE(ProcessUntil([&] { return log.count >= 3; }));
  });
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("Frame out of range."), std::string::npos) << boxes[0];
  EXPECT_TRUE(timer->Enabled());
}

TEST_P(TimerModeTest, WithoutAHandlerNothingRunsUntilOneIsSet) {
  TickLog log;
  TTimerEx timer;
  timer.SetInterval(5);
  timer.SetThreaded(GetParam());
  EXPECT_FALSE(timer.WindowTimerRunning());
  PassTime(30ms);
  EXPECT_FALSE(tk::App().Calls().Pending());
  timer.SetOnTimer(log.Handler());
  EXPECT_TRUE(ProcessUntil([&] { return log.count >= 1; }));
  timer.SetOnTimer(nullptr);
  const int clearedAt = log.count;
  PassTime(30ms);
  EXPECT_EQ(log.count, clearedAt);
}

INSTANTIATE_TEST_SUITE_P(Modes, TimerModeTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Threaded" : "Message"; });

}  // namespace
}  // namespace tessavo::gifanim
