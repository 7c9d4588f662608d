// The main window's start and close, its stored settings, and the rules
// that keep the option controls consistent with each other.
#include <string>
#include <vector>

#include "batch/forms/main.h"
#include "common/random.h"
#include "shared_forms/form_settings.h"
#include "toolkit/application.h"

namespace tessavo::batch {

void TFrmMain::FormCreate() {
  hintSubscription_ = tk::App().OnHint.Subscribe([this] { ShowStatusHint(); });
  restoreSubscription_ = tk::App().OnRestore.Subscribe([this] { AppRestore(); });
  SeedFromClock();
  if (IsFirstStart(settings::Table)) WriteDefaults();
  store_ = std::make_unique<PasswordStore>();

  // Checking a radio button or choosing an item raises its event;
  // DisplaySettings ignores them while the settings load.
  SettingsLoading = true;
  LoadSettings(OptionBindings());
  CouplePasswordLengths();
  randomSource_ = ReadRandomSource(settings::Security);
  ReadClipboardDelay(settings::Security, clipboard_);

  RestorePlacement(*this, settings::Placement);
  SettingsLoading = false;
  DisplaySettings();
}

std::vector<SettingBinding> TFrmMain::OptionBindings() {
  // The spin fields keep stored values within their limits.
  return {
      BindSwitch(
          settings::LengthType,
          [this](bool variable) { (variable ? OptLenVar : OptLenFix).SetChecked(true); },
          [this] { return !OptLenFix.Checked(); }),
      Bind(settings::FixedLength, SpinLenFix),
      Bind(settings::MinLength, SpinLenVarMin),
      Bind(settings::MaxLength, SpinLenVarMax),
      Bind(settings::PasswordType, ComboType),
      Bind(settings::PasswordCase, ComboCase),
      Bind(settings::NoDuplicates, ChkNoDupes),
      BindInteger(
          settings::PasswordsToGenerate, [this](std::int32_t amount) { SpinAmt.SetValue(amount); },
          [this] { return AmountToGenerate(); }),
  };
}

void TFrmMain::WriteDefaults() { WriteFirstStartValues(settings::Table); }

void TFrmMain::FormClose() {
  StorePlacement(*this, settings::Placement);
  SaveSettings(OptionBindings());
  store_.reset();
}

GenerationOptions TFrmMain::OptionsFromControls() const {
  GenerationOptions options;
  options.PasswordType = ComboType.ItemIndex();
  options.PasswordCase = ComboCase.ItemIndex();
  options.LengthType = OptLenFix.Checked() ? LengthType::Fixed : LengthType::Variable;
  options.FixedLength = SpinLenFix.IntValue();
  options.MinLength = SpinLenVarMin.IntValue();
  options.MaxLength = SpinLenVarMax.IntValue();
  options.NoDuplicates = ChkNoDupes.Checked();
  return options;
}

int TFrmMain::AmountToGenerate() {
  SpinAmt.ApplyLimits();
  return SpinAmt.IntValue();
}

void TFrmMain::DisplaySettings() {
  if (SettingsLoading) return;
  const bool fixed = OptLenFix.Checked();
  SpinLenFix.SetEnabled(fixed);
  SpinLenVarMin.SetEnabled(!fixed);
  SpinLenVarMax.SetEnabled(!fixed);
  // Digits have no case; the choice is kept for when letters come back.
  ComboCase.SetEnabled(ComboType.ItemIndex() != 2);

  Capacity = ComputeCapacity(OptionsFromControls());
  PnlMaxPW.SetCaption(FormatCapacity(Capacity, tk::App().DecimalSeparator()));
}

void TFrmMain::CouplePasswordLengths() {
  // The maximum's lower limit follows the minimum up when it has to, and
  // down whenever it can; in between the maximum may be stepped below the
  // minimum, which the capacity then shows as 0.
  if (SpinLenVarMax.Value() < SpinLenVarMin.Value()) {
    SpinLenVarMax.SetValue(SpinLenVarMin.Value());
    SpinLenVarMax.SetMinValue(SpinLenVarMin.Value());
  }
  if (SpinLenVarMin.Value() < SpinLenVarMax.MinValue()) {
    SpinLenVarMax.SetMinValue(SpinLenVarMin.Value());
  }
}

void TFrmMain::SpinLenFixClick() { DisplaySettings(); }

void TFrmMain::SpinLenVarMinClick() {
  CouplePasswordLengths();
  DisplaySettings();
}

void TFrmMain::SpinLenVarMaxClick() { DisplaySettings(); }

void TFrmMain::SpinAmtKeyPress(char& key) {
  if (key != '\r') return;
  key = 0;
  MnuFileGenerateClick();
}

void TFrmMain::ShowStatusHint() {
  if (StatusBusyText.empty()) {
    StatusBar.SetSimpleText(tk::App().Hint());
  } else if (StatusBar.SimpleText() != StatusBusyText) {
    StatusBar.SetSimpleText(StatusBusyText);
  }
}

void TFrmMain::CenterOnScreen() { tessavo::CenterOnScreen(*this); }

}  // namespace tessavo::batch
