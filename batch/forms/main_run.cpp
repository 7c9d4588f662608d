// The main window's side of a generation run: the count checked against
// the capacity, the main window locked and the list emptied while the run
// (generation_run.*) fills the store, then the passwords handed to the list.
#include "batch/forms/generation_run.h"
#include "batch/forms/main.h"
#include "batch/forms/progress.h"
#include "common/global.h"
#include "toolkit/application.h"

namespace tessavo::batch {

void TFrmMain::MnuFileGenerateClick() {
  if (!DlgProgress || !store_ || RunUnderWay()) return;
  // Whatever asks to close the program meanwhile waits for the run to end.
  tk::HandlerScope running;

  // Check: the options are read once, and a refused count changes nothing
  // at all.
  const int passwordCount = AmountToGenerate();
  RunRequest request{.Options = OptionsFromControls(), .Source = randomSource_};
  request.Options.PasswordCount = passwordCount;
  if (!CheckCount(passwordCount, Capacity)) {
    tk::App().ShowErrorBox(CapacityErrorMessage);
    return;
  }

  // Preparation.
  GenerationRun run(*DlgProgress, *store_, request);
  run_ = &run;
  StatusBusyText = GeneratingBusyText;
  StatusBar.SetSimpleText(StatusBusyText);
  ListPW.SetItemCount(0);
  EnableListControls(false);
  run.Start();
  {
    // The main window is disabled until the run is over, then enabled and
    // active again.
    tk::ModalScope locked(DlgProgress, this);
    if (run.Generate()) {
      run.Complete();
      if (store_) ShowGeneratedPasswords();
    }
  }

  // Finish, after completion and after a cancel alike.
  run_ = nullptr;
  SetFocus();
  if (ListPW.Enabled()) ListPW.SetFocus();
  StatusBusyText.clear();
  StatusBar.SetSimpleText("");
}

void TFrmMain::RunCloseQuery() {
  // Closing the program during a run ends the run as its own buttons
  // would; the close itself waits until the run has finished.
  if (!DlgProgress || !run_) return;
  if (run_->CurrentPhase() == GenerationRun::Phase::Generating) {
    DlgProgress->BtnCancelClick();
  } else if (run_->CurrentPhase() == GenerationRun::Phase::WaitingForOk) {
    DlgProgress->BtnOkClick();
  }
}

void TFrmMain::AppRestore() {
  // Disabled means a run is generating or waiting for OK.
  if (Enabled() || !DlgProgress) return;
  DlgProgress->Show();
  DlgProgress->SetFocus();
}

}  // namespace tessavo::batch
