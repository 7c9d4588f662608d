#include "common/settings_table.h"

#include <cassert>
#include <utility>

#include "common/global.h"

namespace tessavo {

std::int32_t ReadInteger(const Setting& setting) { return ReadInteger(setting, setting.fallback); }

std::int32_t ReadInteger(const Setting& setting, std::int32_t fallback) {
  assert(setting.kind == SettingKind::Integer);
  return RegReadInteger(setting.key, setting.name, fallback);
}

bool ReadSwitch(const Setting& setting) {
  const std::int32_t stored = ReadInteger(setting);
  return setting.rule == SwitchRule::ExactlyOne ? stored == 1 : stored != 0;
}

std::string ReadText(const Setting& setting) {
  assert(setting.kind == SettingKind::Text);
  return RegReadString(setting.key, setting.name, setting.fallbackText);
}

void WriteInteger(const Setting& setting, std::int32_t value) {
  assert(setting.kind == SettingKind::Integer && !setting.readOnly);
  RegWriteInteger(setting.key, setting.name, value);
}

void WriteSwitch(const Setting& setting, bool on) { WriteInteger(setting, on ? 1 : 0); }

void WriteText(const Setting& setting, std::string_view value) {
  assert(setting.kind == SettingKind::Text && !setting.readOnly);
  RegWriteString(setting.key, setting.name, value);
}

bool IsFirstStart(const SettingsTable& table) { return !RegKeyExists(table.root, false); }

void WriteFirstStartValues(const SettingsTable& table) {
  RegKeyExists(table.root, true);
  for (const Setting* setting : table.entries) {
    if (setting->readOnly) continue;
    if (setting->kind == SettingKind::Text) {
      WriteText(*setting, setting->firstStartText);
    } else {
      WriteInteger(*setting, setting->firstStart);
    }
  }
}

namespace {

// The reading and writing side of a binding, whatever the value's kind.
template <typename Read, typename Write, typename Show, typename Shown>
SettingBinding Bound(const Setting& setting, Read read, Write write, Show show, Shown shown) {
  SettingBinding binding{[&setting, read, show = std::move(show)] { show(read(setting)); }, {}};
  if (!setting.readOnly) {
    binding.save = [&setting, write, shown = std::move(shown)] { write(setting, shown()); };
  }
  return binding;
}

}  // namespace

SettingBinding BindInteger(const Setting& setting, std::function<void(std::int32_t)> show,
                           std::function<std::int32_t()> shown) {
  return Bound(
      setting, [](const Setting& s) { return ReadInteger(s); }, WriteInteger, std::move(show),
      std::move(shown));
}

SettingBinding BindSwitch(const Setting& setting, std::function<void(bool)> show,
                          std::function<bool()> shown) {
  return Bound(setting, ReadSwitch, WriteSwitch, std::move(show), std::move(shown));
}

SettingBinding BindText(const Setting& setting, std::function<void(std::string)> show,
                        std::function<std::string()> shown) {
  return Bound(setting, ReadText, WriteText, std::move(show), std::move(shown));
}

void LoadSettings(std::span<const SettingBinding> bindings) {
  for (const SettingBinding& binding : bindings) binding.load();
}

void SaveSettings(std::span<const SettingBinding> bindings) {
  for (const SettingBinding& binding : bindings) {
    if (binding.save) binding.save();
  }
}

}  // namespace tessavo
