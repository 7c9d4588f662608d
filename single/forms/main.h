// The single generator's main window: the password in large coloured
// letters, the options band that can be hidden, and the tool bar with the
// settings code; the settings carry the options and the window's place
// from one start of the program to the next.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/secure_random.h"
#include "single/forms/settings.h"
#include "toolkit/clipboard_eraser.h"
#include "toolkit/color_box.h"
#include "toolkit/controls.h"
#include "toolkit/edit.h"
#include "toolkit/event.h"
#include "toolkit/form.h"
#include "toolkit/picture_controls.h"
#include "toolkit/up_down.h"

namespace tessavo::single {

// The colours the password can take, in the list's order.
const std::vector<tk::NamedColor>& PasswordColors();

class TFrmMain : public tk::Form {
 public:
  // Builds the window and its controls, then runs FormCreate: the settings
  // are in the controls before the native window (if any) is made.
  TFrmMain();
  ~TFrmMain() override;

  // --- Controls, in creation order: every container before what it holds.
  tk::Panel PnlPassword;
  tk::Label LblPwData;

  tk::Panel PnlOptions;
  tk::Label LblLength;
  tk::Edit TxtLength;
  tk::UpDown UpDownLength;
  tk::Label LblType;
  tk::ComboBox ComboType;
  tk::Label LblCase;
  tk::ComboBox ComboCase;
  tk::Bevel BevelOptions;
  tk::Label LblColor;
  tk::ColorBox ComboColor;
  tk::CheckBox ChkOntop;
  tk::CheckBox ChkStartupGen;
  tk::CheckBox ChkAutoClip;

  tk::Panel PnlToolbar;
  tk::SpeedButton SBRun;
  tk::SpeedButton SBCopy;
  tk::SpeedButton SBOptions;
  tk::SpeedButton SBAbout;
  tk::SpeedButton SBExit;
  tk::Panel PnlStatus;
  tk::Panel PnlSettings;

  // --- Handlers and routines.
  void FormCreate();
  void FormClose();
  void WriteDefaults();
  void UpdateSettings();
  void ShowStatusHint();

  void SBRunClick();
  void SBCopyClick();
  void SBOptionsClick();
  void SBAboutClick();
  void SBExitClick();
  void UpDownLengthClick();
  void ComboTypeChange();
  void ComboCaseChange();
  void ChkOntopClick();
  void ComboColorClick();

  // The clipboard's copies and their clearing.
  const tk::ClipboardEraser& Clipboard() const { return clipboard_; }

 private:
  void BindEvents();
  // The stored settings bound to the controls, in the order of the writes
  // at close.
  std::vector<SettingBinding> Bindings();
  // Only the password text changes colour.
  void SetPasswordColor(tk::Color color);
  // The tool bar band lies directly under the options band, or under the
  // password band while the options are hidden.
  void PlaceToolbar();

  // The application outlives this window: its hint calls back here only
  // while the window exists.
  tk::Signal::Subscription hintSubscription_;
  // The secure generator unless the settings ask for the classic one.
  RandomSource randomSource_ = RandomSource::Secure;
  tk::ClipboardEraser clipboard_;
};

}  // namespace tessavo::single
