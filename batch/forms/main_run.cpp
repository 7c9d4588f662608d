// The generation run: the count checked against the capacity, the main
// window locked and the progress window shown, one generator filling the
// store while messages are processed, then completion with its notices,
// the wait for OK, and the passwords handed to the list.
#include <chrono>
#include <string>

#include "batch/forms/main.h"
#include "batch/forms/progress.h"
#include "batch/generators.h"
#include "common/directory.h"
#include "common/global.h"
#include "common/paths.h"
#include "toolkit/application.h"

namespace tessavo {
namespace {

// While waiting for OK the loop sleeps until a message comes, but no
// longer than this, so the taskbar button still flashes about once a
// second and a waiting program takes no CPU.
constexpr auto kWaitSlice = std::chrono::milliseconds(50);

}  // namespace

void TFrmMain::MnuFileGenerateClick() {
  if (!DlgProgress || !store_ || RunUnderWay()) return;
  // Whatever asks to close the program meanwhile waits for the run to end.
  tk::HandlerScope running;
  TDlgProgress& progress = *DlgProgress;

  // Check: a refused count changes nothing at all.
  const int passwordCount = AmountToGenerate();
  if (!CheckCount(passwordCount, Capacity)) {
    tk::App().ShowErrorBox(CapacityErrorMessage);
    return;
  }

  // Preparation.
  run_ = RunPhase::Generating;
  StatusBusyText = GeneratingBusyText;
  StatusBar.SetSimpleText(StatusBusyText);
  ListPW.SetItemCount(0);
  EnableListControls(false);
  progress.CancelRequested = false;
  progress.OkPressed = false;
  store_->Empty();  // the generator reuses its room
  const LengthRange lengths = EffectiveLengths(OptionsFromControls());
  progress.RunStartTime = tk::App().Now();
  progress.PrepareForRun();
  progress.Show();
  {
    // The main window is disabled until the run is over, then enabled and
    // active again.
    tk::ModalScope locked(&progress, this);
    Generate(lengths, passwordCount);
    if (!progress.CancelRequested) CompleteRun(passwordCount);
  }

  // Finish, after completion and after a cancel alike.
  run_ = RunPhase::Idle;
  SetFocus();
  if (ListPW.Enabled()) ListPW.SetFocus();
  StatusBusyText.clear();
  StatusBar.SetSimpleText("");
}

void TFrmMain::Generate(const LengthRange& lengths, int passwordCount) {
  // The type and the duplicates rule count as they are at this moment.
  const bool allowDuplicates = !ChkNoDupes.Checked();
  GenerationHost& host = DlgProgress->Host();
  if (ComboType.ItemIndex() == 2) {
    GenerateNumericPasswords(*store_, lengths.Low, lengths.High, passwordCount, allowDuplicates,
                             host, randomSource_);
  } else {
    GenerateAlphaPasswords(*store_, lengths.Low, lengths.High, passwordCount,
                           ComboType.ItemIndex(), ComboCase.ItemIndex(), allowDuplicates, host,
                           randomSource_);
  }
}

void TFrmMain::CompleteRun(int passwordCount) {
  TDlgProgress& progress = *DlgProgress;
  run_ = RunPhase::WaitingForOk;
  progress.BtnMinimize.SetEnabled(false);
  progress.BtnCancel.SetEnabled(false);
  progress.BtnOk.SetEnabled(true);
  progress.ProgressBar.SetPosition(100);
  progress.GIFImg.SetAnimate(false);
  progress.LblPasswordData.SetCaption(std::to_string(passwordCount));
  progress.LblTimeData.SetCaption(
      FormatElapsed(tk::App().Now() - progress.RunStartTime, tk::App().TimeSeparator()));

  // The notices as the options window last stored them.
  const bool flashing = ReadSwitch(settings::NotifyFlashIcon);
  if (ReadSwitch(settings::NotifyPlaySound)) {
    const std::string sound = ReadText(settings::NotifySoundFile);
    if (FileExists(sound) && HasWavExtension(sound)) tk::App().Notify().PlaySoundFile(sound);
  }
  progress.RunStartTime = tk::App().Now();
  // A minimised program is not brought forward by its own completion.
  if (progress.OnScreen()) progress.BtnOk.SetFocus();

  WaitForOk(flashing);
  tk::App().Notify().FlashTaskbarButton(false);
  if (store_) ShowGeneratedPasswords();
}

void TFrmMain::WaitForOk(bool flashing) {
  TDlgProgress& progress = *DlgProgress;
  do {
    tk::App().WaitAndProcess(kWaitSlice);
    if (flashing) {
      // The seconds part of the time since the last toggle: the button
      // changes its look about once a second.
      const tk::Application::Clock::time_point now = tk::App().Now();
      if (ElapsedSeconds(now - progress.RunStartTime) % 60 > 0) {
        tk::App().Notify().FlashTaskbarButton(true);
        progress.RunStartTime = now;
      }
    }
  } while (!progress.OkPressed);
}

void TFrmMain::RunCloseQuery() {
  // Closing the program during a run ends the run as its own buttons
  // would; the close itself waits until the run has finished.
  if (!DlgProgress) return;
  if (run_ == RunPhase::Generating) {
    DlgProgress->BtnCancelClick();
  } else if (run_ == RunPhase::WaitingForOk) {
    DlgProgress->BtnOkClick();
  }
}

void TFrmMain::AppRestore() {
  // Disabled means a run is generating or waiting for OK.
  if (Enabled() || !DlgProgress) return;
  DlgProgress->Show();
  DlgProgress->SetFocus();
}

}  // namespace tessavo
