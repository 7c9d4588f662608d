// The batch generator's main window and progress window made for a Windows
// test of its run, shown, with the commands such tests send and the
// longest run there is.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "batch/forms/main.h"
#include "batch/forms/progress.h"
#include "tests/win32/window_test_support.h"
#include "toolkit/application.h"

namespace tessavo::testing {

using namespace tessavo::batch;

class RunWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tk::App().SetTitle("Quillorn");
    form_ = std::make_unique<TFrmMain>();
    progress_ = std::make_unique<TDlgProgress>(form_.get());
    form_->DlgProgress = progress_.get();
    tk::App().SetMainForm(form_.get());
    form_->Show();
    tk::App().ProcessMessages();
  }
  void TearDown() override {
    if (timer_) tk::App().StopTimer(timer_);
    progress_.reset();
    form_.reset();
    tk::App().Reset();
  }

  // The whole six-digit range without duplicates: the longest run there
  // is (most candidates near its end are drawn again), long enough to act in.
  void LongRun() {
    form_->ComboType.UserSelect(2);
    form_->SpinLenFix.SetValue(6);
    form_->SpinLenFixClick();
    form_->ChkNoDupes.SetChecked(true);
    form_->SpinAmt.SetValue(1'000'000);
  }
  void Generate() {
    SendMessageA(FormWindow(*form_), WM_COMMAND, MAKEWPARAM(form_->MnuFileGenerate.Id(), 0), 0);
  }
  HWND Progress() const { return FormWindow(*progress_); }

  std::unique_ptr<TFrmMain> form_;
  std::unique_ptr<TDlgProgress> progress_;
  int timer_ = 0;
};

}  // namespace tessavo::testing
