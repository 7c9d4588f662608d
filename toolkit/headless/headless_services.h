// The headless services: each records what it was asked and answers as a
// test scripted it (toolkit/headless_scripting.h is the tests' side).
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/application.h"
#include "toolkit/headless_scripting.h"
#include "toolkit/services.h"

namespace tessavo::tk::headless {

class HeadlessDialogs final : public DialogService {
 public:
  int MessageBox(std::string_view text, std::string_view title, unsigned flags) override;
  std::optional<std::string> SaveDialog(const SaveDialogOptions& options) override;
  std::optional<std::string> OpenDialog(const OpenDialogOptions& options) override;

  std::vector<MessageBoxCall> boxes;
  std::deque<int> boxAnswers;
  std::deque<std::optional<std::string>> saveResults;
  std::vector<SaveDialogOptions> saveDialogs;
  std::deque<std::optional<std::string>> openResults;
  std::vector<OpenDialogOptions> openDialogs;
};

class HeadlessNotify final : public NotifyService {
 public:
  void Beep() override { ++beeps; }
  void PlaySoundFile(const std::string& path) override { sounds.push_back(path); }
  void FlashTaskbarButton(bool invert) override { flashes.push_back(invert); }

  int beeps = 0;
  std::vector<std::string> sounds;
  std::vector<bool> flashes;
};

// Window timers by the platform's manual clock.
class HeadlessTimers final : public TimerService {
 public:
  using Clock = AppPlatform::Clock;

  int StartTimer(std::chrono::milliseconds interval, std::function<void()> fn) override;
  void StopTimer(int id) override { timers_.erase(id); }
  void WakeMainThread() override {}

  // Runs, through the error guard, the timers due at now, or all of them.
  void FireDue(Clock::time_point now);
  void FireAll(Clock::time_point now);
  std::size_t Count() const { return timers_.size(); }
  void Reset() { timers_.clear(); }
  // The window system refuses further timers (as when it has none left).
  bool refuse = false;

 private:
  struct Timer {
    std::chrono::milliseconds interval;
    std::function<void()> fn;
    Clock::time_point due;
  };
  void Fire(int id, Clock::time_point now);

  std::map<int, Timer> timers_;
  int nextId_ = 1;
};

class HeadlessClipboard final : public ClipboardService {
 public:
  void SetText(std::string_view text) override {
    this->text = text;
    ++sequence;
  }
  std::uint64_t SequenceNumber() override { return sequence; }
  void EmptyIfUnchanged(std::uint64_t expected) override {
    if (sequence != expected) return;
    text.clear();
    ++sequence;
  }
  std::string text;
  std::uint64_t sequence = 0;
};

class HeadlessShell final : public ShellService {
 public:
  long long Open(const std::string& target) override;
  std::vector<std::string> opened;
  std::deque<long long> results;  // answered in order; 42 (success) when none
};

HeadlessDialogs& Dialogs();
HeadlessNotify& Notify();
HeadlessTimers& Timers();
HeadlessClipboard& Clipboard();
HeadlessShell& Shell();

}  // namespace tessavo::tk::headless
