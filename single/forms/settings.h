// The single generator's stored settings, below the current user's root,
// in the order a first start writes them.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/settings_table.h"

namespace tessavo::single {

inline constexpr std::string_view TessavosKey = "Software\\Korvel Software\\TessavoS";
inline constexpr std::string_view ProgramInfoKey =
    "Software\\Korvel Software\\TessavoS\\Program Info";
inline constexpr std::string_view WindowSettingsKey =
    "Software\\Korvel Software\\TessavoS\\Window Settings";
inline constexpr std::string_view OptionsKey = "Software\\Korvel Software\\TessavoS\\Options";

// The colour the password is drawn in until the settings say otherwise:
// red, laid out as 0x00BBGGRR.
inline constexpr std::int32_t PasswordDesignColor = 0x0000FF;

namespace settings {

inline constexpr Setting Version = VersionSettingUnder(ProgramInfoKey);
inline constexpr PlacementSettings Placement = PlacementSettingsUnder(WindowSettingsKey);
inline constexpr Setting AlwaysOnTop{.key = WindowSettingsKey, .name = "Always On Top"};
// Shown on a first start, hidden when the value is missing: only 0 hides.
inline constexpr Setting OptionsVisible{.key = WindowSettingsKey, .name = "Options Visible",
    .firstStart = 1, .rule = SwitchRule::NonZero};

inline constexpr Setting PasswordColor{.key = OptionsKey, .name = "Password Color",
    .firstStart = PasswordDesignColor, .fallback = PasswordDesignColor};
inline constexpr Setting PasswordLength{
    .key = OptionsKey, .name = "Password Length", .firstStart = 4, .fallback = 4};
inline constexpr Setting PasswordType{.key = OptionsKey, .name = "Password Type"};
inline constexpr Setting PasswordCase{.key = OptionsKey, .name = "Password Case"};
inline constexpr Setting GenerateOnStartup{.key = OptionsKey, .name = "Generate On Startup"};
inline constexpr Setting AutoClipboard{.key = OptionsKey, .name = "AutoClipboard"};

inline constexpr SecuritySettings Security = SecuritySettingsUnder(OptionsKey);

inline constexpr const Setting* Entries[] = {
    &Version,
    &Placement.top, &Placement.left, &Placement.desktopHeight, &Placement.desktopWidth,
    &AlwaysOnTop, &OptionsVisible,
    &PasswordColor, &PasswordLength, &PasswordType, &PasswordCase, &GenerateOnStartup,
    &AutoClipboard,
    &Security.classicGenerator, &Security.clipboardClearSeconds,
};
inline constexpr SettingsTable Table{.root = TessavosKey, .entries = Entries};

}  // namespace settings
}  // namespace tessavo::single
