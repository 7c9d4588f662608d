// The main window's start and close with its stored settings, and what
// its commands do.
#include <string>
#include <vector>

#include "common/random.h"
#include "shared_forms/form_settings.h"
#include "single/forms/main.h"
#include "single/generation.h"
#include "toolkit/application.h"

namespace tessavo::single {

void TFrmMain::FormCreate() {
  hintSubscription_ = tk::App().OnHint.Subscribe([this] { ShowStatusHint(); });
  SeedFromClock();
  if (IsFirstStart(settings::Table)) WriteDefaults();

  LblPwData.SetCaption("");
  randomSource_ = ReadRandomSource(settings::Security);
  ReadClipboardDelay(settings::Security, clipboard_);
  // Checking from code runs the click handlers: the window is on top from
  // here on, and a band stored as hidden is hidden, the window shorter.
  LoadSettings(Bindings());
  // A colour not in the list leaves the list's selection as it was.
  ComboColor.SelectColor(LblPwData.GetFont().color);

  // Centred, if it is, at the height the band has just given it.
  RestorePlacement(*this, settings::Placement);
  SBCopy.SetEnabled(false);
  UpdateSettings();
  if (ChkStartupGen.Checked()) SBRunClick();
}

std::vector<SettingBinding> TFrmMain::Bindings() {
  return {
      BindSwitch(
          settings::OptionsVisible,
          [this](bool shown) {
            if (!shown) SBOptionsClick();
          },
          [this] { return PnlOptions.Visible(); }),
      Bind(settings::AlwaysOnTop, ChkOntop),
      // The list's colour is written back, not the text's: a stored colour
      // the list does not have gives way to the list's selection.
      BindInteger(
          settings::PasswordColor,
          [this](std::int32_t color) { SetPasswordColor(static_cast<tk::Color>(color)); },
          [this] { return static_cast<std::int32_t>(ComboColor.SelectedColor()); }),
      // The length control keeps 4 to 16; a list given an index it does
      // not have shows no selection, which the settings code and the
      // passwords cope with.
      Bind(settings::PasswordLength, UpDownLength),
      Bind(settings::PasswordType, ComboType),
      Bind(settings::PasswordCase, ComboCase),
      Bind(settings::GenerateOnStartup, ChkStartupGen),
      Bind(settings::AutoClipboard, ChkAutoClip),
  };
}

void TFrmMain::WriteDefaults() { WriteFirstStartValues(settings::Table); }

void TFrmMain::FormClose() {
  // The password itself is never stored.
  StorePlacement(*this, settings::Placement);
  SaveSettings(Bindings());
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

void TFrmMain::ComboColorClick() { SetPasswordColor(ComboColor.SelectedColor()); }

void TFrmMain::SetPasswordColor(tk::Color color) {
  tk::Font passwordFont = LblPwData.GetFont();
  passwordFont.color = color;
  LblPwData.SetFont(passwordFont);
}

}  // namespace tessavo::single
