// The headless AppPlatform: no windows, a manual clock, and queues that
// tests fill through toolkit/headless/headless.h.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
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
  void RunModalLoop(const std::function<bool()>& finished) override;
  void Minimize() override { ++minimizeCount_; }
  Clock::time_point Now() override { return now_; }
  Size ScreenSize() override { return screen_; }
  Size FrameSize(const Form& form) override;
  void SetClipboardText(std::string_view text) override { clipboard_ = text; }
  int MessageBox(std::string_view text, std::string_view title, unsigned flags) override;
  std::optional<std::string> SaveDialog(const SaveDialogOptions& options) override;
  void SetCursor(Cursor cursor) override;
  void Beep() override { ++beeps_; }
  char TimeSeparator() override { return timeSeparator_; }
  char DecimalSeparator() override { return decimalSeparator_; }
  int StartTimer(std::chrono::milliseconds interval, std::function<void()> fn) override;
  void StopTimer(int id) override { timers_.erase(id); }
  void RunOnMainThread(const std::function<void()>& fn) override;

  // What tests script and read (main thread only, except the calls from
  // other threads, which have their own lock).
  void QueueAction(std::function<void()> action) { actions_.push_back(std::move(action)); }
  std::size_t PendingActions() const { return actions_.size(); }
  void FireAllTimers();
  std::size_t TimerCount() const { return timers_.size(); }
  void AdvanceClock(std::chrono::milliseconds by) { now_ += by; }
  void Reset();

  std::deque<std::optional<std::string>> saveResults_;
  std::vector<SaveDialogOptions> saveDialogs_;
  Size screen_{1024, 768};
  std::string clipboard_;
  Cursor cursor_ = Cursor::Default;
  std::vector<Cursor> cursorHistory_;
  int beeps_ = 0;
  int minimizeCount_ = 0;
  char timeSeparator_ = ':';
  char decimalSeparator_ = '.';

 private:
  struct Timer {
    std::chrono::milliseconds interval;
    std::function<void()> fn;
    Clock::time_point due;
  };
  struct CrossThreadCall {
    const std::function<void()>* fn;
    std::promise<void> done;
  };

  // Delivers messages until stop() holds (true) or nothing is left to
  // deliver (false).
  bool Pump(const std::function<bool()>& stop);
  bool DeliverOne();
  void FireTimer(int id);
  void FireDueTimers();

  const std::thread::id mainThread_;
  Clock::time_point now_;
  bool quit_ = false;
  std::deque<std::function<void()>> actions_;
  std::map<int, Timer> timers_;
  int nextTimerId_ = 1;

  std::mutex callsMutex_;
  std::condition_variable callArrived_;
  std::deque<std::shared_ptr<CrossThreadCall>> calls_;
};

}  // namespace tessavo::tk::headless
