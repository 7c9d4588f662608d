// The main window's start and close, its stored settings, and the rules
// that keep the option controls consistent with each other.
#include <string>

#include "batch/forms/main.h"
#include "common/global.h"
#include "common/random.h"
#include "toolkit/application.h"

namespace tessavo {
namespace {

// Switches are stored as 1 and 0.
int Switch(bool on) { return on ? 1 : 0; }

}  // namespace

void TFrmMain::FormCreate() {
  hintSubscription_ = tk::App().OnHint.Subscribe([this] { ShowStatusHint(); });
  restoreSubscription_ = tk::App().OnRestore.Subscribe([this] { AppRestore(); });
  SeedFromClock();
  if (!RegKeyExists(TessavomKey, false)) WriteDefaults();
  store_ = std::make_unique<PasswordStore>();

  SettingsLoading = true;
  LoadSettings();
  SettingsLoading = false;
  DisplaySettings();
}

void TFrmMain::LoadSettings() {
  // Checking a radio button raises its click; DisplaySettings ignores it
  // while the settings load.
  if (RegReadInteger(GenerationOptionsKey, "Password Length Type", 0) != 0) {
    OptLenVar.SetChecked(true);
  } else {
    OptLenFix.SetChecked(true);
  }
  // The fields keep the values within their limits.
  SpinLenFix.SetValue(RegReadInteger(GenerationOptionsKey, "Password Length Fixed", 4));
  SpinLenVarMin.SetValue(RegReadInteger(GenerationOptionsKey, "Password Length Variable Min", 4));
  SpinLenVarMax.SetValue(RegReadInteger(GenerationOptionsKey, "Password Length Variable Max", 4));
  CouplePasswordLengths();

  ComboType.SetItemIndex(RegReadInteger(GenerationOptionsKey, "Password Type", 0));
  ComboCase.SetItemIndex(RegReadInteger(GenerationOptionsKey, "Password Case", 0));
  ChkNoDupes.SetChecked(RegReadInteger(GenerationOptionsKey, "No Duplicates", 0) == 1);
  SpinAmt.SetValue(RegReadInteger(GenerationOptionsKey, "Passwords To Generate", 1));
  // Read, never written: both are there for whoever sets them by hand.
  randomSource_ = RegReadInteger(OptionsKey, "Classic Generator", 0) == 1 ? RandomSource::Classic
                                                                          : RandomSource::Secure;
  clipboard_.SetDelay(
      tk::ClipboardDelayFromSetting(RegReadInteger(OptionsKey, "Clipboard Clear Seconds", 30)));

  const tk::Size screen = tk::App().ScreenSize();
  const int desktopHeight = RegReadInteger(WindowSettingsKey, "Desktop Height", 0);
  const int desktopWidth = RegReadInteger(WindowSettingsKey, "Desktop Width", 0);
  if (desktopHeight == screen.height && desktopWidth == screen.width) {
    SetTop(RegReadInteger(WindowSettingsKey, "Top", Top()));
    SetLeft(RegReadInteger(WindowSettingsKey, "Left", Left()));
  } else {
    CenterOnScreen();
  }
}

void TFrmMain::WriteDefaults() {
  // Write failures are ignored: the program runs on its fallbacks.
  RegKeyExists(TessavomKey, true);
  RegWriteString(ProgramInfoKey, "Version", "1.00");

  RegWriteInteger(WindowSettingsKey, "Top", 0);
  RegWriteInteger(WindowSettingsKey, "Left", 0);
  RegWriteInteger(WindowSettingsKey, "Desktop Height", 0);
  RegWriteInteger(WindowSettingsKey, "Desktop Width", 0);

  RegWriteInteger(GenerationOptionsKey, "Password Length Type", 0);
  RegWriteInteger(GenerationOptionsKey, "Password Length Fixed", 8);
  RegWriteInteger(GenerationOptionsKey, "Password Length Variable Min", 5);
  RegWriteInteger(GenerationOptionsKey, "Password Length Variable Max", 8);
  RegWriteInteger(GenerationOptionsKey, "Password Type", 0);
  RegWriteInteger(GenerationOptionsKey, "Password Case", 0);
  RegWriteInteger(GenerationOptionsKey, "No Duplicates", 0);
  RegWriteInteger(GenerationOptionsKey, "Passwords To Generate", 10);

  RegWriteInteger(OptionsKey, "Notify Flash Icon", 0);
  RegWriteInteger(OptionsKey, "Notify Play Sound", 0);
  RegWriteString(OptionsKey, "Notify Sound File", "");
  RegWriteString(OptionsKey, "Save Folder", "");
}

void TFrmMain::FormClose() {
  SaveSettings();
  store_.reset();
}

void TFrmMain::SaveSettings() {
  const tk::Size screen = tk::App().ScreenSize();
  RegWriteInteger(WindowSettingsKey, "Top", Top());
  RegWriteInteger(WindowSettingsKey, "Left", Left());
  RegWriteInteger(WindowSettingsKey, "Desktop Height", screen.height);
  RegWriteInteger(WindowSettingsKey, "Desktop Width", screen.width);

  RegWriteInteger(GenerationOptionsKey, "Password Length Type", OptLenFix.Checked() ? 0 : 1);
  RegWriteInteger(GenerationOptionsKey, "Password Length Fixed", SpinLenFix.IntValue());
  RegWriteInteger(GenerationOptionsKey, "Password Length Variable Min", SpinLenVarMin.IntValue());
  RegWriteInteger(GenerationOptionsKey, "Password Length Variable Max", SpinLenVarMax.IntValue());
  RegWriteInteger(GenerationOptionsKey, "Password Type", ComboType.ItemIndex());
  RegWriteInteger(GenerationOptionsKey, "Password Case", ComboCase.ItemIndex());
  RegWriteInteger(GenerationOptionsKey, "No Duplicates", Switch(ChkNoDupes.Checked()));
  RegWriteInteger(GenerationOptionsKey, "Passwords To Generate", AmountToGenerate());
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

void TFrmMain::CenterOnScreen() {
  // Integer division truncates toward zero, so a window larger than the
  // screen gets a small negative coordinate rather than one further off.
  const tk::Size screen = tk::App().ScreenSize();
  SetTop((screen.height - Height()) / 2);
  SetLeft((screen.width - Width()) / 2);
}

}  // namespace tessavo
