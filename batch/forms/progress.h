// The progress window of a generation run: what has been made and how long
// it took, the bar, and Minimize, Cancel and OK. It is made hidden when the
// program starts and lives until the program ends; a run shows it.
#pragma once

#include <chrono>
#include <functional>

#include "gifanim/gif_image.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"

namespace tessavo::batch {

class TDlgProgress : public tk::Form {
 public:
  using Clock = std::chrono::steady_clock;

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

  // What Cancel and OK tell the run under way, besides hiding the window.
  std::function<void()> OnRunCancel;
  std::function<void()> OnRunOk;

  void BtnCancelClick();
  void BtnOkClick();
  void BtnMinimizeClick();
  void FormShow();
  void FormActivate();

  // Buttons, bar and labels as a run starts with them.
  void PrepareForRun();
  // While generating: the bar at percent with accepted passwords made; the
  // time since the run started as "hh:mm:ss" with the locale's separator.
  void ShowRunningCount(int accepted, int percent);
  void ShowRunningTime(std::chrono::seconds elapsed);
  // At completion: only OK left, the bar full and still, the count made and
  // the time from runStart to now.
  void ShowCompleted(int passwordCount, Clock::time_point runStart);
  // OK gets the focus, unless the window is off the screen: a minimised
  // program is not brought forward by its own completion.
  void FocusOk();
  // Whether the window is on the screen (not hidden, not minimised).
  bool OnScreen() const { return GetWindowState() == tk::WindowState::Normal; }

 private:
  tk::Form* mainWindow_;
  // Taken once per run: asking the locale after every candidate would cost
  // more than making the candidate.
  char separator_ = ':';
};

}  // namespace tessavo::batch
