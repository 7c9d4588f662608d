#include "toolkit/keyboard.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/spin_edit.h"

namespace tessavo::tk {
namespace {

bool IsCheckedRadio(const Control& control) {
  return control.Kind() == ControlKind::RadioButton &&
         static_cast<const CheckBox&>(control).Checked();
}

void CollectStops(const Container& container, const CanFocus& canFocus,
                  std::vector<Control*>& stops) {
  const std::vector<Control*> controls = container.TabSequence();
  const bool radioChecked = std::any_of(controls.begin(), controls.end(), [&](Control* c) {
    return c->Visible() && IsCheckedRadio(*c) && canFocus(*c);
  });
  bool radioTaken = false;
  for (Control* control : controls) {
    if (!control->Visible()) continue;
    if (auto* inner = dynamic_cast<Container*>(control)) {
      CollectStops(*inner, canFocus, stops);
      continue;
    }
    if (!canFocus(*control)) continue;
    if (control->Kind() == ControlKind::RadioButton) {
      // One stop per group of radio buttons: the checked one, or the
      // first when none is.
      if (radioChecked ? !IsCheckedRadio(*control) : radioTaken) continue;
      radioTaken = true;
    }
    stops.push_back(control);
  }
}

template <class Fn>
void ForEachShowing(const Container& container, Fn&& fn) {
  for (Control* control : container.Children()) {
    if (!control->Visible()) continue;
    fn(*control);
    if (auto* inner = dynamic_cast<Container*>(control)) ForEachShowing(*inner, fn);
  }
}

bool HasMnemonic(const std::string& caption, char key) {
  const auto wanted = std::tolower(static_cast<unsigned char>(key));
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;  // "&&" is a plain ampersand
      continue;
    }
    return std::tolower(static_cast<unsigned char>(caption[i + 1])) == wanted;
  }
  return false;
}

KeyAction NextStop(const Form& form, Control* focused, bool backwards, const CanFocus& canFocus) {
  const std::vector<Control*> stops = TabStops(form, canFocus);
  if (stops.empty()) return {KeyAction::Kind::Swallow};
  const auto n = static_cast<std::ptrdiff_t>(stops.size());
  const auto found = std::find(stops.begin(), stops.end(), focused);
  const std::ptrdiff_t next = found == stops.end()
                                  ? (backwards ? n - 1 : 0)
                                  : ((found - stops.begin()) + (backwards ? n - 1 : 1)) % n;
  return {KeyAction::Kind::Focus, stops[static_cast<std::size_t>(next)]};
}

KeyAction PressButton(const Form& form, bool cancel) {
  Button* target = nullptr;
  ForEachShowing(form, [&](Control& control) {
    if (target || control.Kind() != ControlKind::Button) return;
    auto& button = static_cast<Button&>(control);
    if (cancel ? button.IsCancel() : button.IsDefault()) target = &button;
  });
  if (!target) return {};
  if (!target->AcceptsInput()) return {KeyAction::Kind::Swallow};
  return {KeyAction::Kind::Click, target};
}

KeyAction MoveInRadioGroup(Control& current, int direction, const CanFocus& canFocus) {
  const Container* parent = current.Parent();
  if (!parent) return {};
  std::vector<Control*> group;
  for (Control* control : parent->TabSequence()) {
    if (control->Kind() == ControlKind::RadioButton && control->Visible() && canFocus(*control))
      group.push_back(control);
  }
  const auto found = std::find(group.begin(), group.end(), &current);
  if (found == group.end()) return {};
  const auto n = static_cast<std::ptrdiff_t>(group.size());
  const auto next = ((found - group.begin()) + direction + n) % n;
  return {KeyAction::Kind::FocusClick, group[static_cast<std::size_t>(next)]};
}

}  // namespace

std::vector<Control*> TabStops(const Form& form, const CanFocus& canFocus) {
  std::vector<Control*> stops;
  CollectStops(form, canFocus, stops);
  return stops;
}

KeyAction DecideKey(const Form& form, Control* focused, NavigationKey key, KeyModifiers mods,
                    bool dropDownOpen, const CanFocus& canFocus) {
  const ControlKind kind = focused ? focused->Kind() : ControlKind::Form;
  switch (key) {
    case NavigationKey::Tab:
      if (mods.control || mods.alt) return {};
      return NextStop(form, focused, mods.shift, canFocus);
    case NavigationKey::Enter:
    case NavigationKey::Escape:
      // An open drop-down list takes these keys itself.
      if (kind == ControlKind::ComboBox && dropDownOpen) return {};
      if (key == NavigationKey::Enter) {
        // A field one types into gets Enter as a character.
        if (kind == ControlKind::SpinEdit && static_cast<SpinEdit*>(focused)->AllowTyping())
          return {};
        if (kind == ControlKind::Button) return {KeyAction::Kind::Click, focused};
      }
      return PressButton(form, key == NavigationKey::Escape);
    case NavigationKey::Left:
    case NavigationKey::Up:
    case NavigationKey::Right:
    case NavigationKey::Down:
      if (kind != ControlKind::RadioButton || mods.alt) return {};
      return MoveInRadioGroup(
          *focused, key == NavigationKey::Left || key == NavigationKey::Up ? -1 : 1, canFocus);
  }
  return {};
}

KeyAction DecideMnemonic(const Form& form, char key, const CanFocus& canFocus) {
  Control* target = nullptr;
  ForEachShowing(form, [&](Control& control) {
    if (target) return;
    const std::string* caption = nullptr;
    switch (control.Kind()) {
      case ControlKind::Button:
        caption = &static_cast<Button&>(control).Caption();
        break;
      case ControlKind::CheckBox:
      case ControlKind::RadioButton:
        caption = &static_cast<CheckBox&>(control).Caption();
        break;
      default:
        return;
    }
    if (canFocus(control) && HasMnemonic(*caption, key)) target = &control;
  });
  if (!target) return {};
  return {KeyAction::Kind::FocusClick, target};
}

}  // namespace tessavo::tk
