// Stored settings as a window shows them: table entries bound to the
// controls that show them, and the window's place on the screen.
#pragma once

#include "common/secure_random.h"
#include "common/settings_table.h"
#include "toolkit/clipboard_eraser.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/spin_edit.h"
#include "toolkit/up_down.h"

namespace tessavo {

SettingBinding Bind(const Setting& setting, tk::CheckBox& box);     // a switch: checked
SettingBinding Bind(const Setting& setting, tk::ComboBox& list);    // the item index
SettingBinding Bind(const Setting& setting, tk::SpinEdit& field);   // the value
SettingBinding Bind(const Setting& setting, tk::UpDown& arrows);    // the position

// Where it was, if the screen has the size it had then; otherwise centred.
void RestorePlacement(tk::Form& form, const PlacementSettings& stored);

// The hand-set security values: the generator to draw from, and how long a
// copied password stays on the clipboard.
RandomSource ReadRandomSource(const SecuritySettings& stored);
void ReadClipboardDelay(const SecuritySettings& stored, tk::ClipboardEraser& clipboard);
// Top, left, then the screen's height and width.
void StorePlacement(const tk::Form& form, const PlacementSettings& stored);
// Top first, then left. Integer division truncates toward zero, so a window
// larger than the screen gets a small negative coordinate.
void CenterOnScreen(tk::Form& form);

}  // namespace tessavo
