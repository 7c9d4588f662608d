#include "batch/forms/generation_run.h"

#include <chrono>
#include <utility>

#include "batch/forms/progress.h"
#include "batch/forms/settings.h"
#include "batch/generators.h"
#include "common/directory.h"
#include "common/paths.h"
#include "toolkit/application.h"

namespace tessavo::batch {
namespace {

// While waiting for OK the loop sleeps until a message comes, but no
// longer than this, so the taskbar button still flashes about once a
// second and a waiting program takes no CPU.
constexpr auto kWaitSlice = std::chrono::milliseconds(50);

}  // namespace

CompletionNotices ReadCompletionNotices() {
  CompletionNotices notices;
  notices.Flash = ReadSwitch(settings::NotifyFlashIcon);
  if (ReadSwitch(settings::NotifyPlaySound)) {
    std::string sound = ReadText(settings::NotifySoundFile);
    if (FileExists(sound) && HasWavExtension(sound)) notices.Sound = std::move(sound);
  }
  return notices;
}

GenerationRun::GenerationRun(TDlgProgress& progress, PasswordStore& store, RunRequest request)
    : progress_(progress), store_(store), request_(std::move(request)) {
  progress_.OnRunCancel = [this] { cancelled_ = true; };
  progress_.OnRunOk = [this] { okPressed_ = true; };
}

GenerationRun::~GenerationRun() {
  progress_.OnRunCancel = nullptr;
  progress_.OnRunOk = nullptr;
}

void GenerationRun::Start() {
  startTime_ = tk::App().Now();
  progress_.PrepareForRun();
  progress_.Show();
}

bool GenerationRun::Generate() {
  // The generator empties the store and reuses its room.
  GeneratePasswords(store_, request_.Options, *this, request_.Source);
  // A cancel in the message processing after the last password still
  // counts: the flag decides, not the count.
  if (cancelled_) phase_ = Phase::Cancelled;
  return !cancelled_;
}

void GenerationRun::Complete() {
  phase_ = Phase::WaitingForOk;
  progress_.ShowCompleted(request_.Options.PasswordCount, startTime_);
  const CompletionNotices notices = ReadCompletionNotices();
  if (!notices.Sound.empty()) tk::App().Notify().PlaySoundFile(notices.Sound);
  startTime_ = tk::App().Now();
  progress_.FocusOk();

  WaitForOk(notices.Flash);
  tk::App().Notify().FlashTaskbarButton(false);
  phase_ = Phase::Done;
}

void GenerationRun::WaitForOk(bool flashing) {
  do {
    tk::App().WaitAndProcess(kWaitSlice);
    if (flashing) {
      // The seconds part of the time since the last toggle: the button
      // changes its look about once a second.
      const Clock::time_point now = tk::App().Now();
      if (ElapsedSeconds(now - startTime_) % 60 > 0) {
        tk::App().Notify().FlashTaskbarButton(true);
        startTime_ = now;
      }
    }
  } while (!okPressed_);
}

bool GenerationRun::ProgressVisible() { return progress_.OnScreen(); }

void GenerationRun::ReportAccepted(int accepted, int percent) {
  progress_.ShowRunningCount(accepted, percent);
}

void GenerationRun::ReportElapsed(std::chrono::seconds elapsed) {
  progress_.ShowRunningTime(elapsed);
}

GenerationHost::Clock::time_point GenerationRun::Now() { return tk::App().Now(); }

void GenerationRun::ProcessMessages() { tk::App().ProcessMessages(); }

}  // namespace tessavo::batch
