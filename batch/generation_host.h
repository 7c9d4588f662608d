// What the batch generators need from the world around them: the progress
// window's bar and two labels, the clock, message processing and the
// cancel flag. The real progress window implements it; the headless host
// serves benchmarks and outside checks.
#pragma once

#include <chrono>
#include <string>

namespace tessavo {

class GenerationHost {
 public:
  using Clock = std::chrono::steady_clock;

  virtual ~GenerationHost() = default;

  // Set by the progress window's Cancel; read at the head of every pass.
  virtual bool CancelRequested() = 0;

  // Whether the progress window is shown; while hidden (minimised or
  // closed) its bar and labels are left alone.
  virtual bool ProgressVisible() = 0;
  virtual int ProgressPosition() = 0;              // 0..100
  virtual void SetProgressPosition(int position) = 0;
  virtual void SetPasswordCaption(const std::string& text) = 0;  // LblPasswordData
  virtual void SetTimeCaption(const std::string& text) = 0;      // LblTimeData

  // A steady clock, and the moment the run started on it.
  virtual Clock::time_point Now() = 0;
  virtual Clock::time_point RunStartTime() = 0;
  // The locale's time separator for the "hh:mm:ss" elapsed time.
  virtual char TimeSeparator() { return ':'; }

  // Dispatches what is queued and returns without waiting.
  virtual void ProcessMessages() = 0;
};

// A host without a window: never visible, never cancels, processes nothing.
class HeadlessGenerationHost : public GenerationHost {
 public:
  HeadlessGenerationHost() : start_(Clock::now()) {}

  bool CancelRequested() override { return false; }
  bool ProgressVisible() override { return false; }
  int ProgressPosition() override { return 0; }
  void SetProgressPosition(int) override {}
  void SetPasswordCaption(const std::string&) override {}
  void SetTimeCaption(const std::string&) override {}
  Clock::time_point Now() override { return Clock::now(); }
  Clock::time_point RunStartTime() override { return start_; }
  void ProcessMessages() override {}

 private:
  Clock::time_point start_;
};

}  // namespace tessavo
