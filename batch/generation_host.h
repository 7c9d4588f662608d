// What the batch generators need from the world around them, and what they
// tell it: the cancel flag, the clock, message processing, and the figures
// of the run in numbers. Who watches decides how to show them (the run
// hands them to the progress window); the headless host serves benchmarks
// and outside checks.
#pragma once

#include <chrono>

namespace tessavo {

class GenerationHost {
 public:
  using Clock = std::chrono::steady_clock;

  virtual ~GenerationHost() = default;

  // Set by the progress window's Cancel; read at the head of every pass.
  virtual bool CancelRequested() = 0;

  // Whether anyone watches the figures (the progress window is shown);
  // while not, none are reported.
  virtual bool ProgressVisible() = 0;
  // The rounded percentage of the count rose to percent, with accepted
  // passwords made by then. Reported only when it rises above the last
  // percentage reported in this run.
  virtual void ReportAccepted(int accepted, int percent) = 0;
  // The whole seconds since RunStartTime (rounded to milliseconds, then
  // cut), whenever they change.
  virtual void ReportElapsed(std::chrono::seconds elapsed) = 0;

  // A steady clock, and the moment the run started on it.
  virtual Clock::time_point Now() = 0;
  virtual Clock::time_point RunStartTime() = 0;

  // Dispatches what is queued and returns without waiting.
  virtual void ProcessMessages() = 0;
};

// A host without a window: never visible, never cancels, processes nothing.
class HeadlessGenerationHost : public GenerationHost {
 public:
  HeadlessGenerationHost() : start_(Clock::now()) {}

  bool CancelRequested() override { return false; }
  bool ProgressVisible() override { return false; }
  void ReportAccepted(int, int) override {}
  void ReportElapsed(std::chrono::seconds) override {}
  Clock::time_point Now() override { return Clock::now(); }
  Clock::time_point RunStartTime() override { return start_; }
  void ProcessMessages() override {}

 private:
  Clock::time_point start_;
};

}  // namespace tessavo
