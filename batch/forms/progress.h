// The progress window of a generation run: what has been made and how long
// it took, the bar, and Minimize, Cancel and OK. It is made hidden when the
// program starts and lives until the program ends; a run shows it.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "batch/generation_host.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"

namespace tessavo {

// Where the animated picture goes: its flag, switched as a run goes on.
// (The picture itself is drawn by the picture control that takes its place.)
class AnimationArea : public tk::Control {
 public:
  AnimationArea(tk::Container* parent, tk::Rect bounds)
      : Control(parent, tk::ControlKind::Picture, bounds) {}
  bool Animate() const { return animate_; }
  void SetAnimate(bool animate) {
    if (animate == animate_) return;
    animate_ = animate;
    Changed(tk::Change::Picture);
  }
  std::string StateText() const override { return animate_ ? "animate" : "still"; }

 private:
  bool animate_ = false;
};

class TDlgProgress : public tk::Form {
 public:
  using Clock = GenerationHost::Clock;

  explicit TDlgProgress(tk::Form* mainWindow);
  ~TDlgProgress() override;

  tk::Panel RzBorder;
  tk::Panel RzBorder1;
  AnimationArea GIFImg;
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
