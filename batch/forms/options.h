// The options window: how the end of a run is announced (the taskbar
// button flashing, a .WAV sound). It shows the stored values and writes
// them back only when the user presses OK.
#pragma once

#include <vector>

#include "common/settings_table.h"
#include "toolkit/browse_edit.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/picture_controls.h"

namespace tessavo::batch {

class TDlgOptions : public tk::Form {
 public:
  explicit TDlgOptions(tk::Form* owner);

  tk::Panel RzBorder;
  tk::CheckBox ChkFlashIcon;
  tk::CheckBox ChkPlaySound;
  tk::BrowseEdit TxtSound;
  tk::SpeedButton SBPlaySound;
  tk::Button BtnOk;
  tk::Button BtnCancel;

  void FormCreate();
  void ChkPlaySoundClick();
  void TxtSoundButtonClick();
  void SBPlaySoundClick();
  void BtnOkClick();

 private:
  void FormShow();
  // In the order OK writes them.
  std::vector<SettingBinding> NoticeBindings();
};

}  // namespace tessavo::batch
