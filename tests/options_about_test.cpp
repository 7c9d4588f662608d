// The options window and the about window over the headless platform.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

#include "batch/forms/about.h"
#include "batch/forms/main.h"
#include "batch/forms/options.h"
#include "common/global.h"
#include "common/registry_store.h"
#include "common/stand_in.h"
#include "peer_check.h"
#include "toolkit/application.h"
#include "toolkit/headless_scripting.h"

namespace tessavo::batch {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
namespace headless = tk::headless;

class OptionsWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    folder_ = fs::temp_directory_path() / ("tessavom-options-" + std::to_string(::getpid()));
    fs::create_directories(folder_);
    sound_ = (folder_ / "chime.wav").string();
    std::ofstream(sound_) << "RIFF";
  }
  void TearDown() override {
    fs::remove_all(folder_);
    headless::Reset();
    stand_in::ResetPlatform();
  }
  static void Store(int flash, int play, const std::string& file) {
    RegWriteInteger(OptionsKey, "Notify Flash Icon", flash);
    RegWriteInteger(OptionsKey, "Notify Play Sound", play);
    RegWriteString(OptionsKey, "Notify Sound File", file);
  }
  // Checked boxes, then the field's and the play button's enabled states.
  static std::vector<bool> States(const TDlgOptions& d) {
    return {d.ChkFlashIcon.Checked(), d.ChkPlaySound.Checked(), d.TxtSound.Enabled(),
            d.SBPlaySound.Enabled()};
  }

  std::unique_ptr<RegistryStore> registry_ = MakeMemoryRegistry();
  ScopedRegistryOverride useRegistry_{*registry_};
  fs::path folder_;
  std::string sound_;
};

TEST_F(OptionsWindow, OpensWithTheStoredNotices) {
  struct Case {
    int flash, play;
    bool fileThere;
    std::vector<bool> states;
  };
  for (const Case& c : {Case{1, 1, true, {true, true, true, true}},
                        Case{0, 1, false, {false, true, true, false}},
                        Case{2, 2, true, {false, false, false, false}}}) {
    Store(c.flash, c.play, c.fileThere ? sound_ : (folder_ / "gone.wav").string());
    TDlgOptions dialog(nullptr);
    EXPECT_EQ(States(dialog), c.states) << c.flash << c.play;
    EXPECT_EQ(dialog.TxtSound.Text(), c.fileThere ? sound_ : (folder_ / "gone.wav").string());
  }
}

TEST_F(OptionsWindow, TheSoundBoxSwitchesItsControlsAndKeepsTheText) {
  Store(0, 0, sound_);
  TDlgOptions dialog(nullptr);
  dialog.ChkPlaySound.UserClick();
  EXPECT_EQ(States(dialog), (std::vector<bool>{false, true, true, true}));
  dialog.ChkPlaySound.UserClick();
  EXPECT_EQ(States(dialog), (std::vector<bool>{false, false, false, false}));
  EXPECT_EQ(dialog.TxtSound.Text(), sound_);
}

TEST_F(OptionsWindow, BrowsingTakesOnlyWavFilesAndStartsInTheMediaFolder) {
  Store(0, 1, "");
  stand_in::SetSystemWindowsDirectory(folder_.string());
  TDlgOptions dialog(nullptr);
  headless::QueueOpenDialogResult("C:\\Sounds\\song.mp3");
  dialog.TxtSound.UserButtonClick();
  EXPECT_EQ(dialog.TxtSound.Text(), "");
  EXPECT_FALSE(dialog.SBPlaySound.Enabled());
  ASSERT_EQ(headless::OpenDialogs().size(), 1u);
  EXPECT_EQ(headless::OpenDialogs()[0].title, "Select sound file...");
  EXPECT_EQ(headless::OpenDialogs()[0].filter, "Wave files (*.wav)|*.wav");
  EXPECT_TRUE(headless::OpenDialogs()[0].fileMustExist);
  EXPECT_EQ(headless::OpenDialogs()[0].initialDir, folder_.string() + "\\");  // no Media folder

  fs::create_directories(folder_ / "Media");
  headless::QueueOpenDialogResult("C:\\Sounds\\done.Wav");
  dialog.TxtSound.UserButtonClick();
  EXPECT_EQ(headless::OpenDialogs()[1].initialDir, folder_.string() + "\\Media\\");
  EXPECT_EQ(dialog.TxtSound.Text(), "C:\\Sounds\\done.Wav");
  EXPECT_TRUE(dialog.SBPlaySound.Enabled());
  dialog.SBPlaySound.UserClick();
  EXPECT_EQ(headless::PlayedSounds(), (std::vector<std::string>{"C:\\Sounds\\done.Wav"}));
  testing::ExpectPeersTold(dialog);
}

TEST_F(OptionsWindow, OkWritesTheThreeValuesAndCancelWritesNothing) {
  Store(0, 1, sound_);
  {
    TDlgOptions dialog(nullptr);
    dialog.ChkFlashIcon.UserClick();
    dialog.ChkPlaySound.UserClick();
    headless::QueueUserAction([&] { dialog.BtnCancel.UserClick(); });
    EXPECT_EQ(dialog.ShowModal(), tk::ModalResult::Cancel);
  }
  EXPECT_EQ(RegReadInteger(OptionsKey, "Notify Flash Icon", -1), 0);
  EXPECT_EQ(RegReadInteger(OptionsKey, "Notify Play Sound", -1), 1);

  TDlgOptions dialog(nullptr);
  dialog.ChkFlashIcon.UserClick();
  dialog.ChkPlaySound.UserClick();
  headless::QueueUserAction([&] { dialog.BtnOk.UserClick(); });
  EXPECT_EQ(dialog.ShowModal(), tk::ModalResult::Ok);
  EXPECT_EQ(RegReadInteger(OptionsKey, "Notify Flash Icon", -1), 1);
  EXPECT_EQ(RegReadInteger(OptionsKey, "Notify Play Sound", -1), 0);
  EXPECT_EQ(RegReadString(OptionsKey, "Notify Sound File", ""), sound_);  // kept, sound off
}

TEST_F(OptionsWindow, CentresOnTheScreenButNeverAboveOrLeftOfIt) {
  TDlgOptions dialog(nullptr);
  headless::SetScreenSize({1024, 768});
  headless::QueueUserAction([&] {
    EXPECT_EQ(dialog.Left(), (1024 - dialog.Width()) / 2);
    EXPECT_EQ(dialog.Top(), (768 - dialog.Height()) / 2);
    dialog.UserClose();
  });
  dialog.ShowModal();
  headless::SetScreenSize({300, 80});
  headless::QueueUserAction([&] { dialog.UserClose(); });
  dialog.ShowModal();
  EXPECT_EQ(dialog.Left(), 0);
  EXPECT_EQ(dialog.Top(), 0);
}

class AboutWindow : public ::testing::Test {
 protected:
  void SetUp() override { headless::Reset(); }
  void TearDown() override { headless::Reset(); }
  static tk::Point Middle(const tk::Control& c) {
    const tk::Point at = c.FormOffset();
    return {at.x + c.Bounds().width / 2, at.y + c.Bounds().height / 2};
  }
};

TEST_F(AboutWindow, ALinkTurnsRedUnderThePointerAndBlueSoonAfterItLeaves) {
  TDlgAbout about(nullptr);
  about.Show();
  tk::LinkLabel& link = about.URLWeb;
  EXPECT_EQ(link.GetFont().color, tk::RGB(0, 0, 255));
  EXPECT_TRUE(link.GetFont().underline);
  EXPECT_EQ(about.CursorAt(Middle(link)), tk::Cursor::HandPoint);

  headless::MovePointer(about, Middle(link));
  EXPECT_EQ(link.GetFont().color, tk::RGB(255, 0, 0));
  headless::AdvanceClock(100ms);
  tk::App().ProcessMessages();  // still over it: stays red
  EXPECT_EQ(link.GetFont().color, tk::RGB(255, 0, 0));
  headless::MovePointer(about, tk::Point{5, 190});
  EXPECT_EQ(link.GetFont().color, tk::RGB(255, 0, 0));  // until the timer looks
  headless::AdvanceClock(100ms);
  tk::App().ProcessMessages();
  EXPECT_EQ(link.GetFont().color, tk::RGB(0, 0, 255));
  EXPECT_EQ(headless::TimerCount(), 0u);  // it stopped itself
  testing::ExpectPeersTold(about);
}

TEST_F(AboutWindow, AClickOpensTheTargetAndOnlyBeepsWhenThatFails) {
  TDlgAbout about(nullptr);
  about.Show();
  about.UserClickAt(Middle(about.URLMail));
  headless::QueueShellResult(2);  // the system found nothing to open it with
  about.UserClickAt(Middle(about.URLWeb));
  EXPECT_EQ(headless::OpenedTargets(),
            (std::vector<std::string>{std::string("mailto:") + MakerMail, MakerWeb}));
  EXPECT_EQ(headless::BeepCount(), 1);
  EXPECT_TRUE(headless::MessageBoxes().empty());
  EXPECT_TRUE(about.Visible());
}

TEST_F(AboutWindow, OkIsTheOnlyWayOutAndAnswersEscape) {
  TDlgAbout about(nullptr);
  EXPECT_TRUE(about.BtnOk.IsCancel());
  EXPECT_EQ(about.Caption(), "About Tessavo");
  EXPECT_EQ(about.RzLabel1.Caption(), "Quillorn 1.01");
  headless::QueueUserAction([&] { about.BtnOk.UserClick(); });
  EXPECT_EQ(about.ShowModal(), tk::ModalResult::Ok);
}

}  // namespace
}  // namespace tessavo::batch
