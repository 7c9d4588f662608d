// Keyboard navigation on a form, decided over the control tree: Tab
// follows the controls' TabOrder, Enter and Esc press the default and
// cancel buttons, arrows move within a group of radio buttons, Alt+letter
// presses the control whose caption has that mnemonic. The platform only
// translates its keys and carries out what is decided.
#pragma once

#include <functional>
#include <vector>

#include "toolkit/control.h"

namespace tessavo::tk {

class Form;

enum class NavigationKey { Tab, Enter, Escape, Left, Up, Right, Down };

struct KeyModifiers {
  bool shift = false;
  bool control = false;
  bool alt = false;
};

// Whether a control can take the focus now (the platform knows: shown,
// enabled, a window of its own).
using CanFocus = std::function<bool(const Control&)>;

// What a key press comes to.
struct KeyAction {
  enum class Kind {
    None,        // not ours: the focused control gets the key
    Swallow,     // ours, with nothing to do (a disabled default button)
    Focus,       // move the focus to target
    Click,       // click target (where the focus is)
    FocusClick,  // move the focus to target, then click it
  };
  Kind kind = Kind::None;
  Control* target = nullptr;
};

// The controls Tab visits, in order: shown ones that can take the focus,
// one of each group of radio buttons (the checked one, or the first).
std::vector<Control*> TabStops(const Form& form, const CanFocus& canFocus);

// A navigation key pressed while focused has the focus (nullptr when the
// form itself has it). dropDownOpen: the focused list is dropped down.
KeyAction DecideKey(const Form& form, Control* focused, NavigationKey key, KeyModifiers mods,
                    bool dropDownOpen, const CanFocus& canFocus);

// Alt with a character: the first shown button, check box or radio button
// whose caption has it as its mnemonic ("&Clear": c).
KeyAction DecideMnemonic(const Form& form, char key, const CanFocus& canFocus);

}  // namespace tessavo::tk
