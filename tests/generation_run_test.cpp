// The generation run over the headless platform: the main window, its
// progress window and a user who cancels, minimises, restores and presses
// OK in the middle of a run (queued actions delivered when the run
// processes messages; a clock that moves with every reading makes the run
// process them as it goes).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

#include "batch/forms/main.h"
#include "batch/forms/progress.h"
#include "batch/generators.h"
#include "batch/progress_picture.h"
#include "common/global.h"
#include "common/random.h"
#include "common/registry_store.h"
#include "peer_check.h"
#include "toolkit/application.h"
#include "toolkit/headless_scripting.h"

namespace tessavo::batch {
namespace {

using namespace std::chrono_literals;
namespace headless = tk::headless;

class GenerationRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    tk::App().SetTitle("Quillorn");
    form_ = std::make_unique<TFrmMain>();
    progress_ = std::make_unique<TDlgProgress>(form_.get());
    form_->DlgProgress = progress_.get();
    tk::App().SetMainForm(form_.get());
    form_->Show();
  }
  void TearDown() override {
    testing::ExpectPeersTold(*form_);
    testing::ExpectPeersTold(*progress_);
    headless::Reset();
  }

  // Numeric, fixed length 3: a thousand passwords at most.
  void Options(int count, int type = 2, bool noDuplicates = false) {
    form_->ComboType.UserSelect(type);
    form_->SpinAmt.SetValue(count);
    form_->ChkNoDupes.SetChecked(noDuplicates);
    form_->OptLenFix.SetChecked(true);
    form_->SpinLenFix.SetValue(3);
    form_->SpinLenFixClick();
  }
  void PressOkWhenAsked() {
    // A timer by the manual clock, which moves while the run waits.
    okTimer_ = tk::App().StartTimer(10ms, [this] {
      if (progress_->BtnOk.AcceptsInput()) progress_->BtnOk.UserClick();
    });
  }
  void Generate() {
    form_->SBGenerate.UserClick();
    if (okTimer_) tk::App().StopTimer(okTimer_);
    okTimer_ = 0;
  }
  std::vector<bool> ListStates() const {
    const TFrmMain& f = *form_;
    return {f.ListPW.Enabled(),    f.BtnClear.Enabled(), f.BtnClipboard.Enabled(),
            f.BtnDelete.Enabled(), f.BtnSort.Enabled(),  f.SBSave.Enabled(),
            f.MnuFileSave.Enabled()};
  }
  void ExpectIdleAfterCancel() {
    EXPECT_EQ(form_->ListPW.ItemCount(), 0);
    EXPECT_EQ(ListStates(), std::vector<bool>(7, false));
    EXPECT_TRUE(form_->Enabled());
    EXPECT_FALSE(progress_->Visible());
    EXPECT_EQ(form_->StatusBar.SimpleText(), "");
  }

  std::unique_ptr<RegistryStore> registry_ = MakeMemoryRegistry();
  ScopedRegistryOverride useRegistry_{*registry_};
  std::unique_ptr<TFrmMain> form_;
  std::unique_ptr<TDlgProgress> progress_;
  int okTimer_ = 0;
};

TEST_F(GenerationRunTest, CompletedRunsEndWithTheCountAndTheBarFull) {
  for (int count : {1, 8, 1'000}) {
    SCOPED_TRACE(count);
    Options(count);
    // The bar goes back to 0 for a new run, then up.
    const std::size_t barUpdates = headless::PeerUpdates(progress_->ProgressBar).size() +
                                   (progress_->ProgressBar.Position() != 0 ? 1 : 0);
    bool sawRun = false;
    headless::QueueUserAction([&] {
      sawRun = !form_->Enabled() && progress_->Visible() && progress_->GIFImg.Animate() &&
               form_->StatusBar.SimpleText() == "Generating passwords..." &&
               form_->ListPW.ItemCount() == 0;
    });
    PressOkWhenAsked();
    Generate();
    EXPECT_TRUE(sawRun);
    EXPECT_EQ(form_->ListPW.ItemCount(), count);
    EXPECT_EQ(ListStates(), std::vector<bool>(7, true));
    EXPECT_EQ(progress_->LblPasswordData.Caption(), std::to_string(count));
    EXPECT_EQ(progress_->LblTimeData.Caption(), "00:00:00");
    EXPECT_EQ(progress_->ProgressBar.Position(), 100);
    // The bar moves only when the rounded percentage rises.
    EXPECT_EQ(headless::PeerUpdates(progress_->ProgressBar).size() - barUpdates,
              static_cast<std::size_t>(std::min(count, 100)));
    EXPECT_FALSE(progress_->GIFImg.Animate());
    EXPECT_FALSE(progress_->Visible());
    EXPECT_TRUE(form_->Active());
    EXPECT_EQ(form_->FocusedControl(), &form_->ListPW);
    EXPECT_EQ(form_->StatusBar.SimpleText(), "");
  }
}

TEST_F(GenerationRunTest, AMillionUniquePasswordsInOneRun) {
  Options(1'000'000, 1, true);
  form_->ComboCase.UserSelect(2);
  form_->SpinLenFix.SetValue(16);
  form_->SpinLenFixClick();
  PressOkWhenAsked();
  Generate();
  EXPECT_EQ(form_->ListPW.ItemCount(), 1'000'000);
  EXPECT_EQ(progress_->LblPasswordData.Caption(), "1000000");
}

TEST_F(GenerationRunTest, ARefusedRunChangesNothingNotEvenAnEarlierList) {
  Options(5);
  PressOkWhenAsked();
  Generate();
  ASSERT_EQ(form_->ListPW.ItemCount(), 5);
  form_->StatusBar.SetSimpleText("before");
  Options(1001);
  Generate();
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(headless::MessageBoxes()[0].text, CapacityErrorMessage);
  EXPECT_EQ(form_->ListPW.ItemCount(), 5);
  EXPECT_EQ(ListStates(), std::vector<bool>(7, true));
  EXPECT_EQ(form_->StatusBar.SimpleText(), "before");
  EXPECT_FALSE(progress_->Visible());
  EXPECT_EQ(form_->Store()->Count(), 5);
}

TEST_F(GenerationRunTest, ACancelAnywhereLeavesTheListEmptyAndTheNextRunStartsAfresh) {
  struct Case {
    const char* when;
    int count;
    std::chrono::microseconds clockStep;
  };
  // The first pass of the loop; somewhere in the middle; and in the
  // message processing that follows the very last password.
  for (const Case& c : {Case{"first", 1000, 10ms}, Case{"middle", 1000, 1ms},
                        Case{"after the last", 1, 0ms}}) {
    SCOPED_TRACE(c.when);
    Options(c.count);
    headless::SetClockStep(c.clockStep);
    headless::QueueUserAction([&] { progress_->BtnCancel.UserClick(); });
    Generate();
    headless::SetClockStep(0ms);
    ExpectIdleAfterCancel();
    const int made = form_->Store()->Count();
    EXPECT_GE(made, 1);
    if (std::string(c.when) == "first") {
      EXPECT_EQ(made, 1);
    } else if (std::string(c.when) == "middle") {
      EXPECT_LT(made, c.count);
    }
  }
  Options(3);
  PressOkWhenAsked();
  Generate();
  EXPECT_EQ(form_->Store()->Count(), 3);
}

TEST_F(GenerationRunTest, MinimiseAndRestoreWhileGeneratingAndWhileWaiting) {
  Options(1000);
  headless::SetClockStep(100us);
  bool hidden = false, back = false;
  headless::QueueUserAction([&] { progress_->BtnMinimize.UserClick(); });
  headless::QueueUserAction([&] {
    hidden = tk::App().Minimized() && !progress_->Visible() && !progress_->GIFImg.Animate();
    tk::App().UserRestored();
    back = progress_->Visible() && progress_->Active() && progress_->GIFImg.Animate();
  });
  PressOkWhenAsked();
  Generate();
  EXPECT_TRUE(hidden);
  EXPECT_TRUE(back);
  EXPECT_EQ(form_->ListPW.ItemCount(), 1000);
  EXPECT_EQ(headless::MinimizeCount(), 1);
}

TEST_F(GenerationRunTest, CompletionWhileMinimisedWaitsForTheRestore) {
  Options(1000);
  headless::SetClockStep(100us);
  headless::QueueUserAction([&] { progress_->BtnMinimize.UserClick(); });
  bool unfocusedAtFull = false;
  int timer = tk::App().StartTimer(500ms, [&] {
    // By now the run waits for OK with the program still minimised.
    unfocusedAtFull = progress_->ProgressBar.Position() == 100 && !progress_->Visible() &&
                      progress_->FocusedControl() != &progress_->BtnOk;
    tk::App().UserRestored();
    EXPECT_TRUE(progress_->Visible());
    EXPECT_TRUE(progress_->BtnOk.Enabled());
    EXPECT_FALSE(progress_->BtnCancel.Enabled());
    progress_->BtnOk.UserClick();
  });
  Generate();
  tk::App().StopTimer(timer);
  EXPECT_TRUE(unfocusedAtFull);
  EXPECT_EQ(form_->ListPW.ItemCount(), 1000);
}

TEST_F(GenerationRunTest, TheTaskbarFlashesAboutOnceASecondOnlyWhenAskedTo) {
  for (int setting : {1, 2}) {
    SCOPED_TRACE(setting);
    RegWriteInteger(OptionsKey, "Notify Flash Icon", setting);
    Options(1);
    const std::size_t before = headless::TaskbarFlashes().size();
    const int timer = tk::App().StartTimer(3500ms, [&] { progress_->BtnOk.UserClick(); });
    Generate();
    tk::App().StopTimer(timer);
    const std::vector<bool> flashes(headless::TaskbarFlashes().begin() + before,
                                    headless::TaskbarFlashes().end());
    // Toggled at 1, 2 and 3 seconds, and back to normal after OK.
    const std::vector<bool> expected =
        setting == 1 ? std::vector<bool>{true, true, true, false} : std::vector<bool>{false};
    EXPECT_EQ(flashes, expected);
  }
}

TEST_F(GenerationRunTest, OnlyAnExistingWavFilePlaysInAnyLetterCase) {
  const auto folder = std::filesystem::temp_directory_path() /
                      ("tessavom-sound-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const auto make = [&](const std::string& name) {
    std::ofstream((folder / name).string()) << "RIFF";
    return (folder / name).string();
  };
  const std::string lower = make("done.wav"), mixed = make("done.Wav"), mp3 = make("done.mp3"),
                    bare = make("done");
  RegWriteInteger(OptionsKey, "Notify Play Sound", 1);
  for (const std::string& file : {lower, mixed, mp3, bare, (folder / "gone.wav").string()}) {
    RegWriteString(OptionsKey, "Notify Sound File", file);
    Options(1);
    PressOkWhenAsked();
    Generate();
  }
  EXPECT_EQ(headless::PlayedSounds(), (std::vector<std::string>{lower, mixed}));
  RegWriteInteger(OptionsKey, "Notify Play Sound", 2);
  RegWriteString(OptionsKey, "Notify Sound File", lower);
  PressOkWhenAsked();
  Generate();
  EXPECT_EQ(headless::PlayedSounds().size(), 2u);
  EXPECT_TRUE(headless::MessageBoxes().empty());
  std::filesystem::remove_all(folder);
}

TEST_F(GenerationRunTest, ShowingAtAFullBarLeavesTheAnimationToActivation) {
  Options(2);
  PressOkWhenAsked();
  Generate();
  ASSERT_EQ(progress_->ProgressBar.Position(), 100);
  progress_->FormShow();
  EXPECT_FALSE(progress_->GIFImg.Animate());
  progress_->FormActivate();
  EXPECT_TRUE(progress_->GIFImg.Animate());
}

// The run reports numbers; the window writes them as its labels read, with
// the time separator the locale had when the run started.
TEST_F(GenerationRunTest, TheWindowShowsTheReportedFigures) {
  headless::SetTimeSeparator('.');
  progress_->PrepareForRun();
  headless::SetTimeSeparator(':');
  progress_->ShowRunningCount(4200, 42);
  progress_->ShowRunningTime(3723s);
  EXPECT_EQ(progress_->ProgressBar.Position(), 42);
  EXPECT_EQ(progress_->LblPasswordData.Caption(), "4200");
  EXPECT_EQ(progress_->LblTimeData.Caption(), "01.02.03");
}

TEST_F(GenerationRunTest, TheProgressWindowCentresOverTheMainWindowByOuterSizes) {
  form_->SetLeft(101);
  form_->SetTop(50);
  progress_->FormShow();
  EXPECT_EQ(progress_->Left(), 101 + (form_->Width() - progress_->Width()) / 2);
  EXPECT_EQ(progress_->Top(), 50 + (form_->Height() - progress_->Height()) / 2);
}

// Closing the program, or the progress window, during a run never frees
// anything under the run: the run ends as its own buttons would end it,
// then the program closes with its settings written.
TEST_F(GenerationRunTest, ClosingDuringARunEndsTheRunThenCloses) {
  const auto sources = {
      +[](tk::Form&) { tk::App().UserCloseRequested(); },  // the taskbar button's Close
      +[](tk::Form&) { tk::App().UserEndSession(); },
      +[](tk::Form& main) { main.UserClose(); },  // sent to the disabled window: End task
  };
  int source = 0;
  for (auto close : sources) {
    SCOPED_TRACE(source++);
    SetUp();
    Options(1000);
    form_->SpinAmt.SetValue(777);
    headless::SetClockStep(100us);
    headless::QueueUserAction([&] {
      ASSERT_FALSE(form_->Enabled());
      close(*form_);
      EXPECT_FALSE(form_->Closed());
    });
    Generate();
    EXPECT_TRUE(form_->Closed());
    EXPECT_EQ(form_->Store(), nullptr);
    EXPECT_EQ(RegReadInteger(GenerationOptionsKey, "Passwords To Generate", 0), 777);
  }
}

// "Classic Generator" exactly 1, read when the window is made, brings back
// the sequence of RandomSeed; any other value leaves RandomSeed alone.
TEST_F(GenerationRunTest, OnlyClassicGeneratorOneDrawsFromRandomSeed) {
  for (std::int32_t classic : {1, 0, 2}) {
    SCOPED_TRACE(classic);
    RegWriteInteger(OptionsKey, "Classic Generator", classic);
    RegWriteInteger(OptionsKey, "Clipboard Clear Seconds", 10 * classic);
    SetUp();
    EXPECT_EQ(form_->Clipboard().Delay(), std::chrono::seconds(10 * classic));
    Options(50, 1);
    RandomSeed = 4242;
    PressOkWhenAsked();
    Generate();
    ASSERT_EQ(form_->Store()->Count(), 50);
    if (classic != 1) {
      EXPECT_EQ(RandomSeed, 4242u);
      continue;
    }
    RandomSeed = 4242;
    PasswordStore expected;
    HeadlessGenerationHost host;
    GenerateAlphaPasswords(expected, 3, 3, 50, 1, form_->ComboCase.ItemIndex(), true, host,
                           RandomSource::Classic);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(form_->Store()->Get(i), expected.Get(i)) << i;
  }
}

TEST_F(GenerationRunTest, AltF4OnTheProgressWindowCancelsOrAcknowledges) {
  Options(1000);
  headless::SetClockStep(100us);
  headless::QueueUserAction([&] { progress_->UserClose(); });
  Generate();
  ExpectIdleAfterCancel();
  EXPECT_FALSE(progress_->Closed());

  Options(3);
  const int timer = tk::App().StartTimer(100ms, [&] { progress_->UserClose(); });
  Generate();
  tk::App().StopTimer(timer);
  EXPECT_EQ(form_->ListPW.ItemCount(), 3);
}

}  // namespace
}  // namespace tessavo::batch

namespace tessavo::batch {
namespace {

// The progress window's picture: our four 48 by 48 frames, disposed to the
// background, at half speed.
TEST_F(GenerationRunTest, ThePictureIsFourFramesOf100msFor1000Passes) {
  gifanim::TGIFImage& picture = progress_->GIFImg;
  EXPECT_FALSE(picture.IsEmpty());
  EXPECT_EQ(picture.FrameCount(), 4);
  EXPECT_EQ(picture.Bounds(), (tk::Rect{24, 17, 48, 48}));
  EXPECT_EQ(picture.LoopCount(), 1000);
  EXPECT_FALSE(picture.Animate());
  EXPECT_EQ(picture.Data().size() + 4, ProgressPictureData().size());

  const std::vector<gifanim::Pixel> first(picture.Composite().Pixels().begin(),
                                          picture.Composite().Pixels().end());
  picture.SetThreaded(false);
  picture.SetAnimate(true);
  EXPECT_EQ(picture.Timer().Interval(), 100u);
  int ticks = 0, wraps = 0;
  picture.OnWrapAnimation = [&](gifanim::TGIFImage&) { ++wraps; };
  while (picture.Timer().Enabled() && ticks < 5000) {
    picture.TimerTick();
    ++ticks;
    EXPECT_EQ(picture.Timer().Interval(), 100u);
  }
  // The first tick only takes the frame the load drew.
  EXPECT_EQ(ticks, 4000);
  EXPECT_EQ(wraps, 1000);
  EXPECT_EQ(picture.CurrentFrame(), 5);  // stopped on its fourth frame
  picture.SetAnimate(false);
  EXPECT_EQ(picture.CurrentFrame(), 1);
  EXPECT_TRUE(std::ranges::equal(picture.Composite().Pixels(), first));
}

// Frames change while the run processes messages (the picture's window
// timer runs by the manual clock); Minimize and completion stop them.
TEST_F(GenerationRunTest, TheAnimationPlaysDuringARunAndStopsAtMinimizeAndCompletion) {
  gifanim::TGIFImage& picture = progress_->GIFImg;
  picture.SetThreaded(false);
  int frames = 0;
  picture.OnChange = [&](gifanim::TGIFImage&) { ++frames; };
  Options(1000);
  headless::SetClockStep(1ms);
  int framesAtMinimize = -1;
  const int minimize = tk::App().StartTimer(700ms, [&] {
    if (framesAtMinimize < 0 && progress_->BtnMinimize.AcceptsInput()) {
      framesAtMinimize = frames;
      progress_->BtnMinimize.UserClick();
      EXPECT_FALSE(picture.Animate());
      EXPECT_FALSE(picture.Timer().Enabled());
    }
  });
  PressOkWhenAsked();
  Generate();
  tk::App().StopTimer(minimize);
  headless::SetClockStep(0ms);
  EXPECT_GE(framesAtMinimize, 5);
  EXPECT_FALSE(picture.Animate());
  EXPECT_FALSE(picture.Timer().Enabled());
}

}  // namespace
}  // namespace tessavo::batch
