// One generation run, from the accepted count to OK or Cancel: its phase,
// the user's Cancel and OK, the time base of the elapsed time and of the
// flashing, and the completion notices. The main window decides whether a
// run may start and what the windows around it do; the run drives the
// generator and the progress window.
#pragma once

#include <string>

#include "batch/capacity.h"
#include "batch/generation_host.h"
#include "batch/password_store.h"
#include "common/secure_random.h"

namespace tessavo::batch {

class TDlgProgress;

// What a run is given: the options as the main window showed them, the
// count already checked against their capacity, and where the characters
// come from.
struct RunRequest {
  GenerationOptions Options;
  RandomSource Source = RandomSource::Secure;
};

// How completion is announced, as the options window last stored it.
struct CompletionNotices {
  bool Flash = false;
  std::string Sound;  // an existing .WAV file, or empty for none
};
CompletionNotices ReadCompletionNotices();

class GenerationRun final : private GenerationHost {
 public:
  enum class Phase { Generating, WaitingForOk, Done, Cancelled };

  // The progress window's Cancel and OK reach this run while it exists.
  GenerationRun(TDlgProgress& progress, PasswordStore& store, RunRequest request);
  ~GenerationRun() override;
  GenerationRun(const GenerationRun&) = delete;
  GenerationRun& operator=(const GenerationRun&) = delete;

  Phase CurrentPhase() const { return phase_; }

  // The time base set, the progress window prepared and shown.
  void Start();
  // Fills the store while the window shows how far it got. False when the
  // user cancelled, even in the very last pass (the phase is then
  // Cancelled).
  bool Generate();
  // The final figures and the notices, then the wait for OK; Done after it.
  void Complete();

 private:
  bool CancelRequested() override { return cancelled_; }
  bool ProgressVisible() override;
  void ReportAccepted(int accepted, int percent) override;
  void ReportElapsed(std::chrono::seconds elapsed) override;
  Clock::time_point Now() override;
  Clock::time_point RunStartTime() override { return startTime_; }
  void ProcessMessages() override;

  void WaitForOk(bool flashing);

  TDlgProgress& progress_;
  PasswordStore& store_;
  const RunRequest request_;
  Phase phase_ = Phase::Generating;
  bool cancelled_ = false;
  bool okPressed_ = false;
  // When the run started; from completion on, the last change of the
  // taskbar button's look.
  Clock::time_point startTime_{};
};

}  // namespace tessavo::batch
