// The progress window of a generation run: what has been made and how long
// it took, the bar, and Minimize, Cancel and OK. It is made hidden when the
// program starts and lives until the program ends; a run shows it.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "batch/generation_host.h"
#include "gifanim/gif_image.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"

namespace tessavo {

class TDlgProgress : public tk::Form {
 public:
  using Clock = GenerationHost::Clock;

  explicit TDlgProgress(tk::Form* mainWindow);
  ~TDlgProgress() override;

  tk::Panel RzBorder;
  tk::Panel RzBorder1;
  // The animation that shows a run is under way: on while the window is
  // shown or active during a run, off at Minimize and at completion.
  gifanim::TGIFImage GIFImg;
  tk::Label LblPassword;
  tk::Label LblTime;
  tk::Label LblPasswordData;
  tk::Label LblTimeData;
  tk::ProgressBar ProgressBar;
  tk::Button BtnMinimize;
  tk::Button BtnCancel;
  tk::Button BtnOk;

  // The run's flags: set by the buttons, read by the run and its generator.
  bool CancelRequested = false;
  bool OkPressed = false;
  // When the run started; from completion on, the base of the flashing.
  Clock::time_point RunStartTime{};

  void BtnCancelClick();
  void BtnOkClick();
  void BtnMinimizeClick();
  void FormShow();
  void FormActivate();

  // Buttons, bar and labels as a run starts with them.
  void PrepareForRun();
  // The window as the generators see it.
  GenerationHost& Host();
  // Whether the window is on the screen (not hidden, not minimised).
  bool OnScreen() const { return GetWindowState() == tk::WindowState::Normal; }

 private:
  class ProgressHost;
  tk::Form* mainWindow_;
  std::unique_ptr<ProgressHost> host_;
};

}  // namespace tessavo
