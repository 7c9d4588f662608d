// The timer in message mode by the headless manual clock, where the
// moment a window timer is started again shows, and a window system that
// refuses timers.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "gifanim/timer_ex.h"
#include "toolkit/headless_scripting.h"

namespace tessavo::gifanim {
namespace {

using namespace std::chrono_literals;
namespace headless = tk::headless;

class MessageTimerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    timer_.SetThreaded(false);
    timer_.SetInterval(100);
    timer_.SetOnTimer(count_);
  }
  void TearDown() override { headless::Reset(); }

  // Moves the clock and lets the due window timers run.
  void After(std::chrono::milliseconds time) {
    headless::AdvanceClock(time);
    tk::App().ProcessMessages();
  }

  int ticks_ = 0;
  TimerEvent count_ = [this](TTimerEx&) { ++ticks_; };
  TTimerEx timer_;
};

TEST_F(MessageTimerTest, OneWindowTimerRunsWhileItShouldTick) {
  EXPECT_EQ(headless::TimerCount(), 1u);
  After(100ms);
  EXPECT_EQ(ticks_, 1);
  timer_.SetEnabled(false);
  EXPECT_EQ(headless::TimerCount(), 0u);
  timer_.SetEnabled(true);
  timer_.SetInterval(0);
  EXPECT_EQ(headless::TimerCount(), 0u);
  timer_.SetInterval(100);
  timer_.SetOnTimer(nullptr);
  EXPECT_EQ(headless::TimerCount(), 0u);
}

TEST_F(MessageTimerTest, SettingTheHandlerStartsThePeriodOver) {
  After(60ms);
  timer_.SetOnTimer(count_);  // the same handler still counts as a change
  After(60ms);
  EXPECT_EQ(ticks_, 0);
  After(40ms);
  EXPECT_EQ(ticks_, 1);
}

TEST_F(MessageTimerTest, SettingsThatDoNotChangeLeaveThePeriodAlone) {
  After(60ms);
  timer_.SetEnabled(true);
  timer_.SetInterval(100);
  timer_.SetThreaded(false);
  timer_.SetThreadPriority(TThreadPriority::tpHigher);  // not threaded: kept only
  After(40ms);
  EXPECT_EQ(ticks_, 1);
  EXPECT_EQ(timer_.ThreadPriority(), TThreadPriority::tpHigher);

  timer_.SetInterval(50);  // a change starts over with the new interval
  After(40ms);
  EXPECT_EQ(ticks_, 1);
  After(10ms);
  EXPECT_EQ(ticks_, 2);
}

TEST_F(MessageTimerTest, ARefusedTimerIsReportedToTheSetterThatNeededIt) {
  timer_.SetEnabled(false);
  headless::RefuseTimers(true);
  try {
    timer_.SetEnabled(true);
    FAIL() << "no error";
  } catch (const EOutOfResources& error) {
    EXPECT_STREQ(error.what(), "No More Timers Available");
  }
  EXPECT_TRUE(timer_.Enabled());  // the setting stays; only the timer failed
  EXPECT_FALSE(timer_.WindowTimerRunning());

  // From a handler the error box shows it.
  tk::App().Guard([&] { timer_.SetInterval(200); });
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(headless::MessageBoxes()[0].text, "No More Timers Available.");

  headless::RefuseTimers(false);
  timer_.SetInterval(100);
  After(100ms);
  EXPECT_EQ(ticks_, 1);
}

TEST_F(MessageTimerTest, ThreadedModeNeedsNoWindowTimer) {
  headless::RefuseTimers(true);
  EXPECT_NO_THROW(timer_.SetThreaded(true));
  EXPECT_EQ(headless::TimerCount(), 0u);
  EXPECT_THROW(timer_.SetThreaded(false), EOutOfResources);
}

TEST_F(MessageTimerTest, AFailingTickGoesToTheErrorBoxAndTheTimerRuns) {
  timer_.SetOnTimer([this](TTimerEx&) {
    if (++ticks_ == 1) throw std::out_of_range("Frame index 3 out of range");
  });
  After(100ms);
  After(100ms);
  EXPECT_EQ(ticks_, 2);
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(headless::MessageBoxes()[0].text, "Frame index 3 out of range.");
  EXPECT_EQ(headless::MessageBoxes()[0].flags, tk::MbIconStop | tk::MbOk);
}

}  // namespace
}  // namespace tessavo::gifanim
