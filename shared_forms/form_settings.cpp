#include "shared_forms/form_settings.h"

#include "toolkit/application.h"

namespace tessavo {

SettingBinding Bind(const Setting& setting, tk::CheckBox& box) {
  return BindSwitch(
      setting, [&box](bool on) { box.SetChecked(on); }, [&box] { return box.Checked(); });
}

SettingBinding Bind(const Setting& setting, tk::ComboBox& list) {
  return BindInteger(
      setting, [&list](std::int32_t index) { list.SetItemIndex(index); },
      [&list] { return list.ItemIndex(); });
}

SettingBinding Bind(const Setting& setting, tk::SpinEdit& field) {
  return BindInteger(
      setting, [&field](std::int32_t value) { field.SetValue(value); },
      [&field] { return field.IntValue(); });
}

SettingBinding Bind(const Setting& setting, tk::UpDown& arrows) {
  return BindInteger(
      setting, [&arrows](std::int32_t position) { arrows.SetPosition(position); },
      [&arrows] { return arrows.Position(); });
}

void RestorePlacement(tk::Form& form, const PlacementSettings& stored) {
  // A stored 0 (a first start) never matches a screen.
  const tk::Size screen = tk::App().ScreenSize();
  if (ReadInteger(stored.desktopHeight) == screen.height &&
      ReadInteger(stored.desktopWidth) == screen.width) {
    form.SetTop(ReadInteger(stored.top, form.Top()));
    form.SetLeft(ReadInteger(stored.left, form.Left()));
  } else {
    CenterOnScreen(form);
  }
}

RandomSource ReadRandomSource(const SecuritySettings& stored) {
  return ReadSwitch(stored.classicGenerator) ? RandomSource::Classic : RandomSource::Secure;
}

void ReadClipboardDelay(const SecuritySettings& stored, tk::ClipboardEraser& clipboard) {
  clipboard.SetDelay(tk::ClipboardDelayFromSetting(ReadInteger(stored.clipboardClearSeconds)));
}

void StorePlacement(const tk::Form& form, const PlacementSettings& stored) {
  const tk::Size screen = tk::App().ScreenSize();
  WriteInteger(stored.top, form.Top());
  WriteInteger(stored.left, form.Left());
  WriteInteger(stored.desktopHeight, screen.height);
  WriteInteger(stored.desktopWidth, screen.width);
}

void CenterOnScreen(tk::Form& form) {
  const tk::Size screen = tk::App().ScreenSize();
  form.SetTop((screen.height - form.Height()) / 2);
  form.SetLeft((screen.width - form.Width()) / 2);
}

}  // namespace tessavo
