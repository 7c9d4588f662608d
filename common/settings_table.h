// A program's stored settings as one table: where each value lives, its
// kind, what a first start writes, what a failed read gives and which
// stored integers count as on. Everything goes through the registry
// helpers of global.h, which open and close their key on every call.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace tessavo {

enum class SettingKind { Integer, Text };

// Every switch is written as 1 or 0; reading is less strict for some.
enum class SwitchRule {
  ExactlyOne,  // only 1 is on: a stored 2 is off
  NonZero,     // only 0 is off
};

struct Setting {
  std::string_view key;  // full key path below the current user's root
  std::string_view name;
  SettingKind kind = SettingKind::Integer;
  std::int32_t firstStart = 0;
  std::string_view firstStartText;
  // What an integer read gives when the value is missing or not a whole
  // REG_DWORD. A text read gives the empty text for a missing value.
  std::int32_t fallback = 0;
  std::string_view fallbackText;
  SwitchRule rule = SwitchRule::ExactlyOne;
  // Read only: the program never writes it, not even on a first start.
  bool readOnly = false;
};

// A program's values below its root key, in the order a first start writes
// them (it skips those that are read only).
struct SettingsTable {
  std::string_view root;
  std::span<const Setting* const> entries;
};

// The window's place and the screen it was on, under a window key.
struct PlacementSettings {
  Setting top, left, desktopHeight, desktopWidth;
};

constexpr PlacementSettings PlacementSettingsUnder(std::string_view key) {
  return {{.key = key, .name = "Top"},
          {.key = key, .name = "Left"},
          {.key = key, .name = "Desktop Height"},
          {.key = key, .name = "Desktop Width"}};
}

// Set by hand only, under a program's "Options" key: "Classic Generator"
// exactly 1 brings back the classic random sequence, and "Clipboard Clear
// Seconds" says how long a copied password stays on the clipboard.
struct SecuritySettings {
  Setting classicGenerator, clipboardClearSeconds;
};
constexpr SecuritySettings SecuritySettingsUnder(std::string_view key) {
  return {{.key = key, .name = "Classic Generator", .readOnly = true},
          {.key = key, .name = "Clipboard Clear Seconds", .fallback = 30, .readOnly = true}};
}

// "Version" under a program's "Program Info" key: written on a first start
// only, and never read.
constexpr Setting VersionSettingUnder(std::string_view key) {
  return {.key = key, .name = "Version", .kind = SettingKind::Text, .firstStartText = "1.00"};
}

std::int32_t ReadInteger(const Setting& setting);
// For values whose fallback is what the window holds at the moment.
std::int32_t ReadInteger(const Setting& setting, std::int32_t fallback);
bool ReadSwitch(const Setting& setting);
std::string ReadText(const Setting& setting);

// Failures are not reported: the program runs on the fallbacks.
void WriteInteger(const Setting& setting, std::int32_t value);
void WriteSwitch(const Setting& setting, bool on);
void WriteText(const Setting& setting, std::string_view value);

// A first start is one without the program's root key.
bool IsFirstStart(const SettingsTable& table);
// Creates the root key, then writes every entry that is not read only.
void WriteFirstStartValues(const SettingsTable& table);

// A table entry tied to what shows it in a window: load reads the entry
// and hands it over, save writes back what is shown (nothing for an entry
// that is read only). The entry is referred to, not copied: bind constants.
struct SettingBinding {
  std::function<void()> load;
  std::function<void()> save;
};

SettingBinding BindInteger(const Setting& setting, std::function<void(std::int32_t)> show,
                           std::function<std::int32_t()> shown);
SettingBinding BindSwitch(const Setting& setting, std::function<void(bool)> show,
                          std::function<bool()> shown);
SettingBinding BindText(const Setting& setting, std::function<void(std::string)> show,
                        std::function<std::string()> shown);

// In the bindings' order, which is the order of the writes.
void LoadSettings(std::span<const SettingBinding> bindings);
void SaveSettings(std::span<const SettingBinding> bindings);

}  // namespace tessavo
