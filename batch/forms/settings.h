// The batch generator's stored settings, below the current user's root, in
// the order a first start writes them.
#pragma once

#include <string_view>

#include "common/settings_table.h"

namespace tessavo::batch {

inline constexpr std::string_view TessavomKey = "Software\\Korvel Software\\TessavoM";
inline constexpr std::string_view ProgramInfoKey =
    "Software\\Korvel Software\\TessavoM\\Program Info";
inline constexpr std::string_view WindowSettingsKey =
    "Software\\Korvel Software\\TessavoM\\Window Settings";
inline constexpr std::string_view GenerationOptionsKey =
    "Software\\Korvel Software\\TessavoM\\Password Generation Options";
inline constexpr std::string_view OptionsKey = "Software\\Korvel Software\\TessavoM\\Options";
// The current user's documents folder lives here as "Personal".
inline constexpr std::string_view ShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

namespace settings {

inline constexpr Setting Version = VersionSettingUnder(ProgramInfoKey);
inline constexpr PlacementSettings Placement = PlacementSettingsUnder(WindowSettingsKey);

// Any value but 0 means variable length.
inline constexpr Setting LengthType{
    .key = GenerationOptionsKey, .name = "Password Length Type", .rule = SwitchRule::NonZero};
inline constexpr Setting FixedLength{
    .key = GenerationOptionsKey, .name = "Password Length Fixed", .firstStart = 8, .fallback = 4};
inline constexpr Setting MinLength{.key = GenerationOptionsKey,
    .name = "Password Length Variable Min", .firstStart = 5, .fallback = 4};
inline constexpr Setting MaxLength{.key = GenerationOptionsKey,
    .name = "Password Length Variable Max", .firstStart = 8, .fallback = 4};
inline constexpr Setting PasswordType{.key = GenerationOptionsKey, .name = "Password Type"};
inline constexpr Setting PasswordCase{.key = GenerationOptionsKey, .name = "Password Case"};
inline constexpr Setting NoDuplicates{.key = GenerationOptionsKey, .name = "No Duplicates"};
inline constexpr Setting PasswordsToGenerate{
    .key = GenerationOptionsKey, .name = "Passwords To Generate", .firstStart = 10, .fallback = 1};

// Written by the options window, read at the end of every run.
inline constexpr Setting NotifyFlashIcon{.key = OptionsKey, .name = "Notify Flash Icon"};
inline constexpr Setting NotifyPlaySound{.key = OptionsKey, .name = "Notify Play Sound"};
inline constexpr Setting NotifySoundFile{
    .key = OptionsKey, .name = "Notify Sound File", .kind = SettingKind::Text};
// Written by each successful save.
inline constexpr Setting SaveFolder{
    .key = OptionsKey, .name = "Save Folder", .kind = SettingKind::Text};
inline constexpr SecuritySettings Security = SecuritySettingsUnder(OptionsKey);

inline constexpr const Setting* Entries[] = {
    &Version,
    &Placement.top, &Placement.left, &Placement.desktopHeight, &Placement.desktopWidth,
    &LengthType, &FixedLength, &MinLength, &MaxLength, &PasswordType, &PasswordCase,
    &NoDuplicates, &PasswordsToGenerate,
    &NotifyFlashIcon, &NotifyPlaySound, &NotifySoundFile, &SaveFolder,
    &Security.classicGenerator, &Security.clipboardClearSeconds,
};
inline constexpr SettingsTable Table{.root = TessavomKey, .entries = Entries};

// Not the program's own: the documents folder, where saving starts when
// the save folder has gone.
inline constexpr Setting DocumentsFolder{
    .key = ShellFoldersKey, .name = "Personal", .kind = SettingKind::Text, .readOnly = true};

}  // namespace settings
}  // namespace tessavo::batch
