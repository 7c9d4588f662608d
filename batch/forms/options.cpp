#include "batch/forms/options.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "batch/forms/main.h"
#include "common/directory.h"
#include "common/global.h"
#include "common/paths.h"
#include "shared_forms/form_settings.h"
#include "toolkit/application.h"

namespace tessavo::batch {
namespace {

constexpr int kClientWidth = 412;
constexpr int kClientHeight = 99;
constexpr int kFrameWidth = 321;

}  // namespace

TDlgOptions::TDlgOptions(tk::Form* owner)
    : Form({.caption = "Quillorn Options",
            .clientWidth = kClientWidth,
            .clientHeight = kClientHeight,
            .borderStyle = tk::BorderStyle::Dialog,
            .borderIcons = {.systemMenu = true, .minimize = false, .maximize = false},
            .font = tk::Font{},
            .owner = owner}),
      RzBorder(this, {.bounds = {0, 0, kFrameWidth, kClientHeight},
                      .inner = tk::BevelStyle::Grooved,
                      .borderWidth = 4}),
      ChkFlashIcon(this, {.bounds = {10, 12, 305, 17},
                          .caption = "Flash taskbar icon when password generation completes",
                          .tabOrder = 0}),
      ChkPlaySound(this, {.bounds = {10, 36, 305, 17},
                          .caption = "Play sound file when password generation completes",
                          .tabOrder = 1}),
      TxtSound(this, {.bounds = {30, 62, 250, 21}, .picture = "BROWSE", .tabOrder = 2}),
      SBPlaySound(this, {.bounds = {286, 62, 21, 21}, .picture = "SB_PLAYSOUND"}),
      BtnOk(this, {.bounds = {329, 12, 75, 25}, .caption = "OK", .tabOrder = 3,
                   .isDefault = true}),
      BtnCancel(this, {.bounds = {329, 44, 75, 25}, .caption = "&Cancel", .tabOrder = 4,
                       .isCancel = true}) {
  SetName("DlgOptions");
  TxtSound.SetEnabled(false);
  SBPlaySound.SetEnabled(false);
  ChkPlaySound.OnClick = [this] { ChkPlaySoundClick(); };
  TxtSound.OnButtonClick = [this] { TxtSoundButtonClick(); };
  SBPlaySound.OnClick = [this] { SBPlaySoundClick(); };
  BtnOk.OnClick = [this] {
    BtnOkClick();
    SetModalResult(tk::ModalResult::Ok);
  };
  BtnCancel.OnClick = [this] { SetModalResult(tk::ModalResult::Cancel); };
  OnShow = [this] { FormShow(); };
  FormCreate();
  CreateHandle();
}

void TDlgOptions::FormCreate() {
  // Checking the sound box runs its click before the file is in the field;
  // running it again once it is enables what the stored file allows.
  LoadSettings(NoticeBindings());
  ChkPlaySoundClick();
}

std::vector<SettingBinding> TDlgOptions::NoticeBindings() {
  return {
      Bind(settings::NotifyFlashIcon, ChkFlashIcon),
      Bind(settings::NotifyPlaySound, ChkPlaySound),
      BindText(
          settings::NotifySoundFile,
          [this](std::string file) { TxtSound.SetText(std::move(file)); },
          [this] { return TxtSound.Text(); }),
  };
}

void TDlgOptions::FormShow() {
  // Centred on the screen at every showing, never above or left of it.
  const tk::Size screen = tk::App().ScreenSize();
  SetLeft(std::max(0, (screen.width - Width()) / 2));
  SetTop(std::max(0, (screen.height - Height()) / 2));
}

void TDlgOptions::ChkPlaySoundClick() {
  if (ChkPlaySound.Checked()) {
    TxtSound.SetEnabled(true);
    if (FileExists(TxtSound.Text())) SBPlaySound.SetEnabled(true);
  } else {
    TxtSound.SetEnabled(false);
    SBPlaySound.SetEnabled(false);
  }
}

void TDlgOptions::TxtSoundButtonClick() {
  const std::string windows = WindowsDirectory();
  const std::string media = windows + "Media";
  tk::OpenDialogOptions dialog;
  dialog.title = "Select sound file...";
  dialog.filter = "Wave files (*.wav)|*.wav";
  dialog.initialDir = DirectoryExists(media) ? media + "\\" : windows;
  dialog.pathMustExist = true;
  dialog.fileMustExist = true;
  dialog.hideReadOnly = true;
  const std::optional<std::string> chosen = tk::App().Dialogs().OpenDialog(dialog);
  // A name typed into the dialog may be anything: only a .WAV file counts.
  if (!chosen || !HasWavExtension(*chosen)) return;
  TxtSound.SetText(*chosen);
  SBPlaySound.SetEnabled(true);
}

void TDlgOptions::SBPlaySoundClick() { tk::App().Notify().PlaySoundFile(TxtSound.Text()); }

void TDlgOptions::BtnOkClick() { SaveSettings(NoticeBindings()); }

}  // namespace tessavo::batch
