// The headless platform: no windows, a manual clock, and queues that tests
// fill through toolkit/headless_scripting.h. Its services record what they
// were asked (headless_services.h); its form and control peers record what
// they were told (peers.cpp).
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/application.h"

namespace tessavo::tk::headless {

class HeadlessPlatform final : public AppPlatform {
 public:
  HeadlessPlatform();

  void SetTitle(const std::string&) override {}
  void ProcessMessages() override;
  void WaitAndProcess(std::chrono::milliseconds timeout) override;
  void RunLoop() override;
  void QuitLoop() override { quit_ = true; }
  void Minimize() override { ++minimizeCount_; }
  Clock::time_point Now() override;
  Size ScreenSize() override { return screen_; }
  Size OuterSize(const Form& form) override;
  void SetCursor(Cursor cursor) override;
  char TimeSeparator() override { return timeSeparator_; }
  char DecimalSeparator() override { return decimalSeparator_; }

  // The loop of a modal form: processes messages until finished() holds;
  // throws UnguardedError when nothing is left to deliver before that.
  void RunModalLoop(const std::function<bool()>& finished);

  // What tests script and read (main thread only).
  void QueueAction(std::function<void()> action) { actions_.push_back(std::move(action)); }
  std::size_t PendingActions() const { return actions_.size(); }
  void AdvanceClock(std::chrono::milliseconds by) { now_ += by; }
  // Every reading of the clock moves it on by this much afterwards.
  std::chrono::microseconds clockStep_{0};
  void Reset();

  Size screen_{1024, 768};
  Cursor cursor_ = Cursor::Default;
  std::vector<Cursor> cursorHistory_;
  int minimizeCount_ = 0;
  char timeSeparator_ = ':';
  char decimalSeparator_ = '.';

 private:
  // Delivers messages until stop() holds (true) or nothing is left to
  // deliver (false).
  bool Pump(const std::function<bool()>& stop);
  bool DeliverOne();

  Clock::time_point now_;
  bool quit_ = false;
  int idleWaits_ = 0;
  std::deque<std::function<void()>> actions_;
};

HeadlessPlatform& Platform();

}  // namespace tessavo::tk::headless
