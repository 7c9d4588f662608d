// The portable controls over the headless platform: state set from code
// against input from the user, the spin field's rules, lists, hints.
#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>
#include <string>

#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/headless_scripting.h"
#include "toolkit/keyboard.h"
#include "toolkit/spin_edit.h"

namespace tessavo::tk {
namespace {

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override { headless::Reset(); }
  void TearDown() override { headless::Reset(); }

  Form form_{{.caption = "Test", .clientWidth = 378, .clientHeight = 392}};
};

TEST_F(ControlsTest, CodeRaisesNoUserEventsButUserInputDoes) {
  ComboBox combo(&form_, {.bounds = {0, 0, 100, 21}, .items = {"a", "b", "c"}});
  VirtualList list(&form_, {.bounds = {0, 30, 100, 100}});
  SpinEdit spin(&form_, {.bounds = {0, 140, 50, 21}, .minValue = 1, .maxValue = 10});
  int comboChanges = 0, listChanges = 0, spinClicks = 0;
  combo.OnChange = [&] { ++comboChanges; };
  list.OnChange = [&] { ++listChanges; };
  spin.OnClick = [&] { ++spinClicks; };

  combo.SetItemIndex(2);
  list.SetItemCount(5);
  list.SetItemIndex(3);
  spin.SetValue(7);
  EXPECT_EQ(comboChanges + listChanges + spinClicks, 0);
  EXPECT_EQ(combo.ItemIndex(), 2);
  EXPECT_EQ(list.ItemIndex(), 3);
  EXPECT_EQ(spin.Text(), "7");

  combo.UserSelect(1);
  list.UserSelect(4);
  spin.UserStep(1, false);
  EXPECT_EQ(comboChanges, 1);
  EXPECT_EQ(listChanges, 1);
  EXPECT_EQ(spinClicks, 1);
  EXPECT_EQ(combo.ItemIndex(), 1);
  EXPECT_EQ(list.ItemIndex(), 4);
  EXPECT_EQ(spin.Text(), "8");
}

TEST_F(ControlsTest, CheckBoxCheckedFromCodeClicksOnlyWhenTheStateChanges) {
  CheckBox box(&form_, {.bounds = {0, 0, 100, 17}, .caption = "No duplicates"});
  int clicks = 0;
  box.OnClick = [&] { ++clicks; };
  box.SetChecked(true);
  box.SetChecked(true);
  EXPECT_EQ(clicks, 1);
  box.UserClick();
  EXPECT_FALSE(box.Checked());
  EXPECT_EQ(clicks, 2);
}

TEST_F(ControlsTest, RadioButtonsOfOneParentAreExclusive) {
  GroupBox group(&form_, {.bounds = {0, 0, 200, 100}, .caption = "Length Options:"});
  RadioButton fixed(&group, {.bounds = {8, 16, 80, 17}, .caption = "Fixed"});
  RadioButton variable(&group, {.bounds = {8, 40, 80, 17}, .caption = "Variable"});
  RadioButton elsewhere(&form_, {.bounds = {0, 120, 80, 17}, .caption = "Other group"});
  int fixedClicks = 0, variableClicks = 0;
  fixed.OnClick = [&] { ++fixedClicks; };
  variable.OnClick = [&] { ++variableClicks; };

  elsewhere.SetChecked(true);
  fixed.SetChecked(true);
  variable.SetChecked(true);
  EXPECT_FALSE(fixed.Checked());
  EXPECT_TRUE(variable.Checked());
  EXPECT_TRUE(elsewhere.Checked());
  // Going off is quiet; only the button that comes on reports.
  EXPECT_EQ(fixedClicks, 1);
  EXPECT_EQ(variableClicks, 1);

  variable.UserClick();  // already checked
  EXPECT_EQ(variableClicks, 1);
  fixed.UserClick();
  EXPECT_TRUE(fixed.Checked());
  EXPECT_FALSE(variable.Checked());
  EXPECT_EQ(fixedClicks, 2);
}

TEST_F(ControlsTest, DisabledControlsIgnoreUserInput) {
  Panel panel(&form_, {.bounds = {0, 0, 300, 200}});
  Button button(&panel, {.bounds = {0, 0, 75, 25}, .caption = "&Clear"});
  CheckBox inner(&panel, {.bounds = {0, 30, 75, 17}});
  SpinEdit spin(&form_, {.bounds = {0, 210, 50, 21}, .value = 5, .allowTyping = true});
  ComboBox combo(&form_, {.bounds = {60, 210, 100, 21}, .items = {"a", "b"}});
  VirtualList list(&form_, {.bounds = {0, 240, 100, 100}});
  list.SetItemCount(3);
  int events = 0;
  button.OnClick = [&] { ++events; };
  inner.OnClick = [&] { ++events; };
  spin.OnClick = [&] { ++events; };
  combo.OnChange = [&] { ++events; };
  list.OnChange = [&] { ++events; };

  button.SetEnabled(false);
  spin.SetEnabled(false);
  combo.SetEnabled(false);
  list.SetEnabled(false);
  button.UserClick();
  spin.UserStep(1, false);
  EXPECT_FALSE(spin.UserKeyPress('7'));
  spin.UserSetText("9");
  combo.UserSelect(1);
  list.UserSelect(2);
  EXPECT_EQ(spin.Text(), "5");
  EXPECT_EQ(combo.ItemIndex(), -1);
  EXPECT_EQ(list.ItemIndex(), -1);

  // A control inside a disabled container, or on a disabled form, is
  // as unreachable as a disabled one.
  panel.SetEnabled(false);
  inner.UserClick();
  EXPECT_FALSE(inner.Checked());
  panel.SetEnabled(true);
  form_.SetEnabled(false);
  inner.UserClick();
  EXPECT_FALSE(inner.Checked());
  EXPECT_EQ(events, 0);
  EXPECT_EQ(headless::BeepCount(), 0);

  form_.SetEnabled(true);
  inner.UserClick();
  EXPECT_EQ(events, 1);
}

// --- The spin field ---

class SpinTest : public ControlsTest {
 protected:
  SpinEdit length_{&form_, {.bounds = {0, 0, 40, 21}, .minValue = 3, .maxValue = 16,
                            .increment = 1, .pageIncrement = 10, .value = 5}};
  SpinEdit amount_{&form_, {.bounds = {0, 30, 80, 21}, .minValue = 1, .maxValue = 1000000,
                            .value = 10, .allowTyping = true}};
};

TEST_F(SpinTest, StepsStayWithinTheLimitsAndAlwaysClick) {
  int clicks = 0;
  length_.OnClick = [&] { ++clicks; };
  length_.UserStep(1, true);
  EXPECT_EQ(length_.Text(), "15");
  length_.UserStep(1, true);
  EXPECT_EQ(length_.Text(), "16");
  length_.UserStep(1, false);  // already at the top: still a click
  EXPECT_EQ(length_.Text(), "16");
  length_.UserStep(-1, false);
  EXPECT_EQ(length_.IntValue(), 15);
  length_.UserStep(-2, true);
  EXPECT_EQ(length_.IntValue(), 3);
  EXPECT_EQ(clicks, 5);

  // Equal limits hold the value at that one number.
  length_.SetMinValue(16);
  length_.SetValue(16);
  length_.UserStep(1, false);
  length_.UserStep(-1, true);
  EXPECT_EQ(length_.Text(), "16");
  EXPECT_EQ(clicks, 7);
}

TEST_F(SpinTest, SetValueClampsAndLetsTheLowerLimitWinWhenTheyCross) {
  int clicks = 0;
  length_.OnClick = [&] { ++clicks; };
  length_.SetValue(20);
  EXPECT_EQ(length_.Text(), "16");
  length_.SetValue(-4);
  EXPECT_EQ(length_.Text(), "3");
  length_.SetValue(7.25);
  EXPECT_EQ(length_.Text(), "7.25");
  length_.SetMinValue(12);
  length_.SetMaxValue(10);
  length_.SetValue(11);
  EXPECT_EQ(length_.Text(), "12");
  EXPECT_EQ(clicks, 0);
}

TEST_F(SpinTest, ChangingALimitLeavesTheText) {
  length_.SetValue(10);
  length_.SetMinValue(12);
  EXPECT_EQ(length_.Text(), "10");
  EXPECT_EQ(length_.IntValue(), 10);
  length_.SetMaxValue(4);
  EXPECT_EQ(length_.Text(), "10");
  length_.ApplyLimits();
  EXPECT_EQ(length_.Text(), "12");
}

TEST_F(SpinTest, ReadsTheTextRoundingHalvesToEven) {
  const struct {
    const char* text;
    int value;
  } cases[] = {
      {"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"2.51", 3}, {" 7 ", 7}, {"+8", 8},
      {"0012", 12}, {"5.", 5}, {".5", 0}, {"99999999999", INT_MAX}, {"-99999999999", INT_MIN},
      // Not numbers: the lower limit.
      {"", 1}, {"  ", 1}, {"abc", 1}, {"5x", 1}, {"1e3", 1}, {"1,000", 1}, {"+", 1},
      {"--5", 1}, {"5 5", 1}, {".", 1},
  };
  for (const auto& c : cases) {
    amount_.UserSetText(c.text);
    EXPECT_EQ(amount_.IntValue(), c.value) << '"' << c.text << '"';
  }
  amount_.UserSetText(std::string(400, '9'));
  EXPECT_EQ(amount_.IntValue(), INT_MAX);
}

TEST_F(SpinTest, FollowsTheLocaleDecimalSeparator) {
  headless::SetDecimalSeparator(',');
  amount_.UserSetText("2,5");
  EXPECT_EQ(amount_.Value(), 2.5);
  amount_.UserSetText("3.5");
  EXPECT_EQ(amount_.Value(), 1);  // not a number here
  amount_.SetValue(2.75);
  EXPECT_EQ(amount_.Text(), "2,75");
}

TEST_F(SpinTest, AFieldWithoutTypingRefusesEveryKeyWithABeep) {
  EXPECT_FALSE(length_.UserKeyPress('5'));
  EXPECT_FALSE(length_.UserKeyPress('\b'));
  EXPECT_FALSE(length_.UserDeleteKey());
  EXPECT_EQ(headless::BeepCount(), 3);
  length_.UserSetText("12");  // a paste, say
  EXPECT_EQ(length_.Text(), "5");
}

TEST_F(SpinTest, TypingAcceptsDigitsSignsAndEditingKeys) {
  for (char key : {'0', '9', '+', '-', '\b', '\x03', '\x16', '\x1a'}) {
    EXPECT_TRUE(amount_.UserKeyPress(key)) << int(key);
  }
  EXPECT_TRUE(amount_.UserDeleteKey());
  EXPECT_EQ(headless::BeepCount(), 0);
  for (char key : {'a', ' ', '.', ',', '\x7f'}) {
    EXPECT_FALSE(amount_.UserKeyPress(key)) << int(key);
  }
  EXPECT_EQ(headless::BeepCount(), 5);
}

TEST_F(SpinTest, KeyPressHandlerRunsFirstAndMaySwallowTheKey) {
  std::string seen;
  amount_.OnKeyPress = [&](char& key) {
    seen += key;
    if (key == '\r') key = 0;
  };
  EXPECT_FALSE(amount_.UserKeyPress('\r'));
  EXPECT_TRUE(amount_.UserKeyPress('4'));
  EXPECT_FALSE(amount_.UserKeyPress('x'));
  EXPECT_EQ(seen, "\r4x");
  EXPECT_EQ(headless::BeepCount(), 1);  // only the refused letter

  amount_.OnKeyPress = [](char&) { throw std::runtime_error("Key failed"); };
  EXPECT_FALSE(amount_.UserKeyPress('4'));
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(headless::MessageBoxes()[0].text, "Key failed.");
}

TEST_F(SpinTest, LosingTheFocusBringsTheTypedValueWithinTheLimits) {
  amount_.UserSetText("2000000");
  amount_.UserFocusLost();
  EXPECT_EQ(amount_.Text(), "1000000");
  amount_.UserSetText("abc");
  amount_.UserFocusLost();
  EXPECT_EQ(amount_.Text(), "1");
  amount_.UserSetText(" 0042 ");
  amount_.UserFocusLost();
  EXPECT_EQ(amount_.Text(), "42");

  // The focus moving on to another control counts too.
  amount_.SetFocus();
  amount_.UserSetText("0");
  length_.SetFocus();
  EXPECT_EQ(form_.FocusedControl(), &length_);
  EXPECT_EQ(amount_.Text(), "1");
}

// --- Lists ---

TEST_F(ControlsTest, ComboIndexOutsideTheItemsMeansNoSelection) {
  ComboBox combo(&form_, {.bounds = {0, 0, 100, 21}, .items = {"a", "b", "c"}});
  combo.SetItemIndex(1);
  combo.SetItemIndex(3);
  EXPECT_EQ(combo.ItemIndex(), -1);
  combo.SetItemIndex(2);
  combo.SetItemIndex(-7);
  EXPECT_EQ(combo.ItemIndex(), -1);
}

TEST_F(ControlsTest, VirtualListKeepsItsSelectionUnlessTheCountDropsToIt) {
  VirtualList list(&form_, {.bounds = {0, 0, 273, 147}});
  list.OnGetItem = [](int index, std::string& text) { text = "row " + std::to_string(index); };
  int changes = 0;
  list.OnChange = [&] { ++changes; };
  list.SetItemCount(10);
  list.UserSelect(5);
  list.UserSelect(5);   // no change
  list.UserSelect(10);  // no such row
  EXPECT_EQ(changes, 1);
  list.SetItemCount(6);
  EXPECT_EQ(list.ItemIndex(), 5);
  list.SetItemCount(20);
  EXPECT_EQ(list.ItemIndex(), 5);
  list.SetItemCount(5);
  EXPECT_EQ(list.ItemIndex(), -1);
  EXPECT_EQ(changes, 1);

  EXPECT_EQ(list.ItemText(4), "row 4");
  EXPECT_EQ(list.ItemText(5), "");  // beyond the count: not asked
  list.OnGetItem = [](int index, std::string&) {
    throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
  };
  EXPECT_EQ(list.ItemText(2), "");
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(headless::MessageBoxes()[0].text, "List index out of bounds (2)");
}

TEST_F(ControlsTest, ProgressBarKeepsItsPositionInRange) {
  ProgressBar bar(&form_, {.bounds = {16, 76, 240, 25}});
  bar.SetPosition(150);
  EXPECT_EQ(bar.Position(), 100);
  bar.SetPosition(-1);
  EXPECT_EQ(bar.Position(), 0);
  bar.SetPosition(80);
  bar.SetRange(0, 50);
  EXPECT_EQ(bar.Position(), 50);
}

TEST_F(ControlsTest, ToolBarButtonsStandLeftToRight) {
  ToolBar bar(&form_, {});
  auto& generate = bar.AddButton({.picture = "GENERATE", .hint = "Generate|Generate passwords"});
  auto& save = bar.AddButton({.picture = "SAVE", .hint = "Save|Save generated passwords"});
  bar.AddButton({.separator = true, .width = 8});
  auto& exit = bar.AddButton({.picture = "EXIT", .hint = "Exit|Exit program"});
  EXPECT_EQ(bar.Bounds(), (Rect{0, 0, 378, 33}));
  EXPECT_EQ(bar.ButtonAt({0, 0}), &generate);
  EXPECT_EQ(bar.ButtonAt({24, 24}), &generate);
  EXPECT_EQ(bar.ButtonAt({25, 0}), &save);
  EXPECT_EQ(bar.ButtonAt({50, 5}), nullptr);  // the separator
  EXPECT_EQ(bar.ButtonAt({58, 5}), &exit);
  EXPECT_EQ(bar.ButtonAt({83, 5}), nullptr);
  EXPECT_EQ(bar.ButtonAt({10, 25}), nullptr);

  int clicks = 0;
  save.OnClick = [&] { ++clicks; };
  save.SetEnabled(false);
  save.UserClick();
  EXPECT_EQ(clicks, 0);
  save.SetEnabled(true);
  save.UserClick();
  EXPECT_EQ(clicks, 1);
}

// --- Hints and hit-testing ---

TEST_F(ControlsTest, HintsSplitAtTheFirstBar) {
  Button button(&form_, {.hint = "Save|Save generated passwords"});
  EXPECT_EQ(button.ShortHint(), "Save");
  EXPECT_EQ(button.LongHint(), "Save generated passwords");
  button.SetHint("|Remove all passwords");
  EXPECT_EQ(button.ShortHint(), "");
  EXPECT_EQ(button.LongHint(), "Remove all passwords");
  button.SetHint("Both");
  EXPECT_EQ(button.ShortHint(), "Both");
  EXPECT_EQ(button.LongHint(), "Both");
  EXPECT_EQ(LongHintOf("a|b|c"), "b|c");
}

class HintTest : public ControlsTest {
 protected:
  ToolBar bar_{&form_, {}};
  Panel options_{&form_, {.bounds = {0, 33, 378, 148}}};
  Label title_{&options_, {.bounds = {8, 4, 200, 20}, .caption = "Options"}};
  ComboBox type_{&options_, {.bounds = {8, 40, 100, 21}, .hint = "|Type of passwords"}};
  CheckBox tipOnly_{&options_, {.bounds = {8, 70, 100, 17}, .hint = "Tip|"}};
  Panel capacity_{&options_, {.bounds = {200, 100, 100, 21}}};
  StatusBar status_{&form_, {}};

  void SetUp() override {
    ControlsTest::SetUp();
    bar_.AddButton({.picture = "GENERATE", .hint = "Generate|Generate passwords"});
    bar_.AddButton({.separator = true, .width = 8});
    options_.SetHint("|Password generation options");
    capacity_.SetHint("|Number of passwords");
  }
};

TEST_F(HintTest, HintAtFallsBackToTheNearestControlWithAHint) {
  EXPECT_EQ(form_.HintAt({10, 35 + 40 + 5}), "Type of passwords");
  EXPECT_EQ(form_.HintAt({10, 33 + 6}), "Password generation options");  // the label
  EXPECT_EQ(form_.HintAt({300, 33 + 140}), "Password generation options");
  EXPECT_EQ(form_.HintAt({210, 33 + 105}), "Number of passwords");
  // A hint with an empty long part still stops the search.
  EXPECT_EQ(form_.HintAt({10, 33 + 75}), "");
  EXPECT_EQ(form_.HintAt({5, 5}), "Generate passwords");
  EXPECT_EQ(form_.HintAt({28, 5}), "");    // separator, bar without a hint
  EXPECT_EQ(form_.HintAt({10, 380}), "");  // status bar
  form_.SetHint("|The form");
  EXPECT_EQ(form_.HintAt({10, 380}), "The form");
  EXPECT_EQ(form_.HintAt({10, 250}), "The form");
  EXPECT_EQ(form_.HintAt({-1, 250}), "");
}

TEST_F(HintTest, DisabledControlsStillGiveTheirHintHiddenOnesDoNot) {
  type_.SetEnabled(false);
  EXPECT_EQ(form_.ControlAt({10, 33 + 45}), &type_);
  EXPECT_EQ(form_.HintAt({10, 33 + 45}), "Type of passwords");
  type_.SetVisible(false);
  EXPECT_EQ(form_.ControlAt({10, 33 + 45}), &options_);
  EXPECT_EQ(form_.HintAt({10, 33 + 45}), "Password generation options");
}

TEST_F(HintTest, PointerMovesRaiseTheHintEventOnlyOnChange) {
  int hints = 0;
  const auto subscription = App().OnHint.Subscribe([&] { ++hints; });
  form_.UserPointerAt({10, 33 + 45});
  form_.UserPointerAt({12, 33 + 46});
  EXPECT_EQ(App().Hint(), "Type of passwords");
  form_.UserPointerAt({210, 33 + 105});
  EXPECT_EQ(App().Hint(), "Number of passwords");
  EXPECT_EQ(hints, 2);
}

TEST_F(ControlsTest, FontsComeFromTheParentUnlessSet) {
  Panel panel(&form_, {.bounds = {0, 0, 100, 100}});
  Label plain(&panel, {.bounds = {0, 0, 50, 13}, .caption = "Min"});
  Font arial{.name = "Arial", .height = 19, .bold = true};
  Label title(&panel, {.caption = "Generated Passwords", .font = arial, .shadow = true});
  EXPECT_EQ(plain.GetFont().name, "MS Sans Serif");
  EXPECT_EQ(title.GetFont(), arial);
  EXPECT_TRUE(title.AutoSize());
  EXPECT_GT(title.Bounds().width, 0);
  Font courier{.name = "Courier", .height = 13};
  panel.SetFont(courier);
  EXPECT_EQ(plain.GetFont(), courier);
  EXPECT_EQ(title.GetFont(), arial);
}

TEST_F(ControlsTest, FocusGoesOnlyToShownEnabledControls) {
  Button first(&form_, {.bounds = {0, 0, 75, 25}, .tabOrder = 1});
  Button second(&form_, {.bounds = {0, 30, 75, 25}, .tabOrder = 0});
  Button third(&form_, {.bounds = {0, 60, 75, 25}});
  first.SetFocus();
  EXPECT_EQ(form_.FocusedControl(), &first);
  second.SetEnabled(false);
  second.SetFocus();
  third.SetVisible(false);
  third.SetFocus();
  EXPECT_EQ(form_.FocusedControl(), &first);
  EXPECT_EQ(form_.TabSequence(), (std::vector<Control*>{&second, &first, &third}));
}

TEST_F(ControlsTest, ADestroyedControlLeavesTheFormsLists) {
  {
    Button transient(&form_, {.bounds = {0, 0, 75, 25}});
    transient.SetFocus();
    EXPECT_EQ(form_.Children().size(), 1u);
  }
  EXPECT_EQ(form_.FocusedControl(), nullptr);
  EXPECT_TRUE(form_.Children().empty());
}

}  // namespace
}  // namespace tessavo::tk

namespace tessavo::tk {
namespace {

// Keyboard navigation decided over the control tree: one stop per radio
// group, wrapping Tab, Enter and Esc for the default and cancel buttons,
// arrows within the radio group, mnemonics, and the keys left alone.
TEST_F(ControlsTest, KeyboardNavigationFollowsTheControlTree) {
  SpinEdit field(&form_, {.bounds = {0, 0, 50, 21}, .tabOrder = 0});
  GroupBox group(&form_, {.bounds = {0, 30, 200, 80}, .caption = "Length"});
  RadioButton a(&group, {.bounds = {5, 15, 90, 17}, .caption = "A", .tabOrder = 0});
  RadioButton b(&group, {.bounds = {5, 35, 90, 17}, .caption = "B", .tabOrder = 1});
  RadioButton c(&group, {.bounds = {5, 55, 90, 17}, .caption = "C", .tabOrder = 2});
  Button ok(&form_,
            {.bounds = {0, 120, 75, 25}, .caption = "OK", .tabOrder = 2, .isDefault = true});
  Button cancel(&form_, {.bounds = {80, 120, 75, 25}, .caption = "Cancel", .tabOrder = 3,
                         .isCancel = true});
  CheckBox check(&form_, {.bounds = {0, 150, 90, 17}, .caption = "&Auto", .tabOrder = 4});
  Button hidden(&form_, {.bounds = {0, 180, 75, 25}, .caption = "&Hidden", .tabOrder = 5});
  hidden.SetVisible(false);
  b.SetChecked(true);
  const CanFocus canFocus = [](const Control& control) {
    return control.AcceptsInput() && control.Kind() != ControlKind::GroupBox;
  };
  // A group box has no place of its own in the order: its controls come last.
  EXPECT_EQ(TabStops(form_, canFocus), (std::vector<Control*>{&field, &ok, &cancel, &check, &b}));

  using K = KeyAction::Kind;
  using N = NavigationKey;
  struct Case {
    Control* focused;
    N key;
    KeyModifiers mods;
    K kind;
    Control* target;
  } cases[] = {
      {&field, N::Tab, {}, K::Focus, &ok},
      {&field, N::Tab, {.shift = true}, K::Focus, &b},
      {&check, N::Tab, {}, K::Focus, &b},
      {&b, N::Tab, {}, K::Focus, &field},
      {nullptr, N::Tab, {}, K::Focus, &field},
      {&field, N::Tab, {.control = true}, K::None, nullptr},
      {&field, N::Enter, {}, K::Click, &ok},
      {&cancel, N::Enter, {}, K::Click, &cancel},
      {&field, N::Escape, {}, K::Click, &cancel},
      {&b, N::Down, {}, K::FocusClick, &c},
      {&b, N::Left, {}, K::FocusClick, &a},
      {&c, N::Right, {}, K::FocusClick, &a},
      {&b, N::Down, {.alt = true}, K::None, nullptr},
      {&field, N::Down, {}, K::None, nullptr},
  };
  for (const Case& t : cases) {
    const KeyAction action = DecideKey(form_, t.focused, t.key, t.mods, false, canFocus);
    EXPECT_EQ(action.kind, t.kind) << static_cast<int>(t.key);
    EXPECT_EQ(action.target, t.target) << static_cast<int>(t.key);
  }
  EXPECT_EQ(DecideMnemonic(form_, 'A', canFocus).target, &check);
  EXPECT_EQ(DecideMnemonic(form_, 'h', canFocus).kind, K::None);  // hidden

  // An open drop-down keeps Enter; a disabled default button eats it.
  ComboBox combo(&form_, {.bounds = {0, 210, 100, 21}, .items = {"a"}});
  EXPECT_EQ(DecideKey(form_, &combo, N::Enter, {}, true, canFocus).kind, K::None);
  ok.SetEnabled(false);
  EXPECT_EQ(DecideKey(form_, &field, N::Enter, {}, false, canFocus).kind, K::Swallow);
}

}  // namespace
}  // namespace tessavo::tk
