#include "batch/forms/progress.h"

#include <string>

#include "batch/generators.h"
#include "batch/progress_picture.h"
#include "toolkit/application.h"
#include "toolkit/label_args.h"

namespace tessavo::batch {
namespace {

constexpr int kClientWidth = 352;
constexpr int kClientHeight = 113;

}  // namespace

TDlgProgress::TDlgProgress(tk::Form* mainWindow)
    : Form({.caption = "Generating Passwords...",
            .clientWidth = kClientWidth,
            .clientHeight = kClientHeight,
            .borderStyle = tk::BorderStyle::Dialog,
            .borderIcons = {.systemMenu = false, .minimize = false, .maximize = false},
            .font = tk::Font{},
            .owner = mainWindow}),
      RzBorder(this, {.bounds = {0, 0, kClientWidth, kClientHeight},
                      .inner = tk::BevelStyle::Grooved,
                      .borderWidth = 4}),
      RzBorder1(this, {.bounds = {16, 12, 240, 58}, .outer = tk::BevelStyle::Lowered}),
      GIFImg(this, {.bounds = {24, 17, 48, 48}}),
      LblPassword(this, tk::LabelIn({80, 24, 0, 0}, "Passwords Created:")),
      LblTime(this, tk::LabelIn({80, 42, 0, 0}, "Time Elapsed:")),
      LblPasswordData(this, tk::LabelIn({184, 24, 65, 13}, "")),
      LblTimeData(this, tk::LabelIn({184, 42, 0, 0}, "")),
      ProgressBar(this, {.bounds = {16, 76, 240, 25}, .min = 0, .max = 100, .tabOrder = 0}),
      BtnMinimize(this, {.bounds = {264, 12, 75, 25}, .caption = "&Minimize", .tabOrder = 1}),
      BtnCancel(this,
                {.bounds = {264, 44, 75, 25}, .caption = "&Cancel", .tabOrder = 2, .isCancel = true}),
      BtnOk(this, {.bounds = {264, 76, 75, 25}, .caption = "OK", .tabOrder = 3}),
      mainWindow_(mainWindow) {
  SetName("DlgProgress");
  // The picture as a stored form holds it: its properties, its data, then
  // the after-loading notification reads the data. Our four frames have no
  // delays of their own: at half speed each shows for 100 ms.
  GIFImg.SetName("GIFImg");
  GIFImg.SetAutoSize(true);
  GIFImg.SetSpeed(50);
  GIFImg.ReadPictureData(ProgressPictureData());
  GIFImg.Loaded();
  BtnMinimize.OnClick = [this] { BtnMinimizeClick(); };
  BtnCancel.OnClick = [this] { BtnCancelClick(); };
  BtnOk.OnClick = [this] { BtnOkClick(); };
  OnShow = [this] { FormShow(); };
  OnActivate = [this] { FormActivate(); };
  // The window never closes: whatever would close it (Alt+F4) does what
  // its buttons do instead, so that a run is never left without a way on:
  // while generating it cancels, while waiting it acknowledges.
  OnCloseQuery = [this](bool& canClose) {
    canClose = false;
    if (BtnCancel.Enabled()) {
      BtnCancelClick();
    } else if (BtnOk.Enabled()) {
      BtnOkClick();
    }
  };
  CreateHandle();
}

TDlgProgress::~TDlgProgress() = default;

void TDlgProgress::PrepareForRun() {
  separator_ = tk::App().TimeSeparator();
  BtnMinimize.SetEnabled(true);
  BtnCancel.SetEnabled(true);
  BtnOk.SetEnabled(false);
  ProgressBar.SetPosition(0);
  LblPasswordData.SetCaption("");
  LblTimeData.SetCaption("");
}

void TDlgProgress::ShowRunningCount(int accepted, int percent) {
  ProgressBar.SetPosition(percent);
  LblPasswordData.SetCaption(std::to_string(accepted));
}

void TDlgProgress::ShowRunningTime(std::chrono::seconds elapsed) {
  LblTimeData.SetCaption(FormatElapsed(elapsed, separator_));
}

void TDlgProgress::ShowCompleted(int passwordCount, Clock::time_point runStart) {
  BtnMinimize.SetEnabled(false);
  BtnCancel.SetEnabled(false);
  BtnOk.SetEnabled(true);
  ProgressBar.SetPosition(100);
  GIFImg.SetAnimate(false);
  LblPasswordData.SetCaption(std::to_string(passwordCount));
  LblTimeData.SetCaption(FormatElapsed(tk::App().Now() - runStart, tk::App().TimeSeparator()));
}

void TDlgProgress::FocusOk() {
  if (OnScreen()) BtnOk.SetFocus();
}

void TDlgProgress::BtnCancelClick() {
  if (OnRunCancel) OnRunCancel();
  Hide();
}

void TDlgProgress::BtnOkClick() {
  if (OnRunOk) OnRunOk();
  Hide();
}

void TDlgProgress::BtnMinimizeClick() {
  GIFImg.SetAnimate(false);
  Hide();
  // The whole program goes to its taskbar button; restoring it shows this
  // window again (the main window's AppRestore).
  tk::App().Minimize();
}

void TDlgProgress::FormShow() {
  // Centred over the main window by outer sizes; the divisions truncate
  // toward zero.
  if (mainWindow_) {
    SetTop(mainWindow_->Top() + (mainWindow_->Height() - Height()) / 2);
    SetLeft(mainWindow_->Left() + (mainWindow_->Width() - Width()) / 2);
  }
  if (ProgressBar.Position() < 100) GIFImg.SetAnimate(true);
}

void TDlgProgress::FormActivate() { GIFImg.SetAnimate(true); }

}  // namespace tessavo::batch
