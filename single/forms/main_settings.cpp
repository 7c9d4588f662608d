// The main window's start and close with its stored settings, and what
// its commands do.
#include <string>

#include "common/global.h"
#include "common/random.h"
#include "single/forms/main.h"
#include "single/generation.h"
#include "toolkit/application.h"

namespace tessavo::single {
namespace {

// Switches are stored as 1 and 0, and only exactly 1 reads as on.
int Switch(bool on) { return on ? 1 : 0; }
bool IsOn(std::int32_t stored) { return stored == 1; }

}  // namespace

void TFrmMain::FormCreate() {
  hintSubscription_ = tk::App().OnHint.Subscribe([this] { ShowStatusHint(); });
  SeedFromClock();
  if (!RegKeyExists(TessavosKey, false)) WriteDefaults();

  LblPwData.SetCaption("");
  tk::Font passwordFont = LblPwData.GetFont();
  passwordFont.color = static_cast<tk::Color>(
      RegReadInteger(OptionsKey, "Password Color", static_cast<std::int32_t>(passwordFont.color)));
  LblPwData.SetFont(passwordFont);

  // The length control keeps 4 to 16; a list given an index it does not
  // have shows no selection, which the settings code and the passwords
  // cope with.
  UpDownLength.SetPosition(RegReadInteger(OptionsKey, "Password Length", 4));
  ComboType.SetItemIndex(RegReadInteger(OptionsKey, "Password Type", 0));
  ComboCase.SetItemIndex(RegReadInteger(OptionsKey, "Password Case", 0));
  // Read, never written: both are there for whoever sets them by hand.
  randomSource_ = IsOn(RegReadInteger(OptionsKey, "Classic Generator", 0)) ? RandomSource::Classic
                                                                           : RandomSource::Secure;
  clipboard_.SetDelay(
      tk::ClipboardDelayFromSetting(RegReadInteger(OptionsKey, "Clipboard Clear Seconds", 30)));
  // A colour not in the list leaves the list's selection as it was.
  ComboColor.SelectColor(LblPwData.GetFont().color);

  // Checking from code runs the click handlers, so the window is on top
  // from here on.
  if (IsOn(RegReadInteger(WindowSettingsKey, "Always On Top", 0))) ChkOntop.SetChecked(true);
  if (IsOn(RegReadInteger(OptionsKey, "Generate On Startup", 0))) ChkStartupGen.SetChecked(true);
  if (IsOn(RegReadInteger(OptionsKey, "AutoClipboard", 0))) ChkAutoClip.SetChecked(true);
  // Only exactly 0 hides the band; a missing value reads as 0.
  if (RegReadInteger(WindowSettingsKey, "Options Visible", 0) == 0) SBOptionsClick();

  PlaceWindow();
  SBCopy.SetEnabled(false);
  UpdateSettings();
  if (ChkStartupGen.Checked()) SBRunClick();
}

void TFrmMain::PlaceWindow() {
  // Where it was, if the screen is the one it was on; otherwise centred,
  // at the height the band has just given it. Integer division truncates
  // toward zero, also for a window larger than the screen.
  const tk::Size screen = tk::App().ScreenSize();
  if (RegReadInteger(WindowSettingsKey, "Desktop Height", 0) == screen.height &&
      RegReadInteger(WindowSettingsKey, "Desktop Width", 0) == screen.width) {
    SetTop(RegReadInteger(WindowSettingsKey, "Top", Top()));
    SetLeft(RegReadInteger(WindowSettingsKey, "Left", Left()));
  } else {
    SetTop((screen.height - Height()) / 2);
    SetLeft((screen.width - Width()) / 2);
  }
}

void TFrmMain::WriteDefaults() {
  // Write failures are ignored: the program runs on its fallbacks.
  RegKeyExists(TessavosKey, true);
  RegWriteString(ProgramInfoKey, "Version", "1.00");

  RegWriteInteger(WindowSettingsKey, "Top", 0);
  RegWriteInteger(WindowSettingsKey, "Left", 0);
  RegWriteInteger(WindowSettingsKey, "Desktop Height", 0);
  RegWriteInteger(WindowSettingsKey, "Desktop Width", 0);
  RegWriteInteger(WindowSettingsKey, "Always On Top", 0);
  RegWriteInteger(WindowSettingsKey, "Options Visible", 1);

  RegWriteInteger(OptionsKey, "Password Color",
                  static_cast<std::int32_t>(LblPwData.GetFont().color));
  RegWriteInteger(OptionsKey, "Password Length", 4);
  RegWriteInteger(OptionsKey, "Password Type", 0);
  RegWriteInteger(OptionsKey, "Password Case", 0);
  RegWriteInteger(OptionsKey, "Generate On Startup", 0);
  RegWriteInteger(OptionsKey, "AutoClipboard", 0);
}

void TFrmMain::FormClose() {
  const tk::Size screen = tk::App().ScreenSize();
  RegWriteInteger(WindowSettingsKey, "Top", Top());
  RegWriteInteger(WindowSettingsKey, "Left", Left());
  RegWriteInteger(WindowSettingsKey, "Desktop Height", screen.height);
  RegWriteInteger(WindowSettingsKey, "Desktop Width", screen.width);
  RegWriteInteger(WindowSettingsKey, "Options Visible", Switch(PnlOptions.Visible()));
  RegWriteInteger(WindowSettingsKey, "Always On Top", Switch(ChkOntop.Checked()));

  // The list's colour, not the text's: a stored colour the list does not
  // have is replaced by the list's selection.
  RegWriteInteger(OptionsKey, "Password Color",
                  static_cast<std::int32_t>(ComboColor.SelectedColor()));
  RegWriteInteger(OptionsKey, "Password Length", UpDownLength.Position());
  RegWriteInteger(OptionsKey, "Password Type", ComboType.ItemIndex());
  RegWriteInteger(OptionsKey, "Password Case", ComboCase.ItemIndex());
  RegWriteInteger(OptionsKey, "Generate On Startup", Switch(ChkStartupGen.Checked()));
  RegWriteInteger(OptionsKey, "AutoClipboard", Switch(ChkAutoClip.Checked()));
}

void TFrmMain::UpdateSettings() {
  // Digits have no case: the list keeps its entry for when letters return.
  ComboCase.SetEnabled(CaseApplies(ComboType.ItemIndex()));
  const SettingsText text =
      DescribeSettings(UpDownLength.Position(), ComboType.ItemIndex(), ComboCase.ItemIndex());
  PnlSettings.SetCaption(text.code);
  PnlSettings.SetHint(text.description + "|Current password settings");
}

void TFrmMain::ShowStatusHint() { PnlStatus.SetCaption(tk::App().Hint()); }

void TFrmMain::SBRunClick() {
  LblPwData.SetCaption(
      MakePassword(UpDownLength.Position(), ComboType.ItemIndex(), ComboCase.ItemIndex(),
                   randomSource_));
  if (!SBCopy.Enabled()) SBCopy.SetEnabled(true);
  // What the display shows is what is copied.
  if (ChkAutoClip.Checked()) clipboard_.Copy(LblPwData.Caption());
}

void TFrmMain::SBCopyClick() { clipboard_.Copy(LblPwData.Caption()); }

void TFrmMain::SBOptionsClick() {
  // The top-left corner stays; only the height changes, by the band's.
  const int band = PnlOptions.Bounds().height;
  const bool show = !PnlOptions.Visible();
  PnlOptions.SetVisible(show);
  PlaceToolbar();
  SetHeight(Height() + (show ? band : -band));
}

void TFrmMain::UpDownLengthClick() { UpdateSettings(); }
void TFrmMain::ComboTypeChange() { UpdateSettings(); }
void TFrmMain::ComboCaseChange() { UpdateSettings(); }

void TFrmMain::ChkOntopClick() { SetStayOnTop(ChkOntop.Checked()); }

void TFrmMain::ComboColorClick() {
  tk::Font passwordFont = LblPwData.GetFont();
  passwordFont.color = ComboColor.SelectedColor();
  LblPwData.SetFont(passwordFont);
}

}  // namespace tessavo::single
