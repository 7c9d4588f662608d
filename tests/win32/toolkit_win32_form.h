// The form the Win32 peer tests drive, and helpers to reach its native
// windows and to answer the message boxes it shows.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "toolkit/application.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/native.h"
#include "tests/win32/window_test_support.h"

namespace tessavo::tk {

using namespace std::chrono_literals;

struct TestForm : Form {
  TestForm()
      : Form({.caption = "Toolkit peers",
              .clientWidth = 420,
              .clientHeight = 330,
              .borderStyle = BorderStyle::Single,
              .borderIcons = {.systemMenu = true, .minimize = true, .maximize = false}}) {
    SetMenu(&menu);
    MenuItem& file = menu.Add({.caption = "&File"});
    save = &file.Add({.caption = "&Save", .hint = "|Saves the list"});
    file.Add({.caption = "-"});
    exit = &file.Add({.caption = "E&xit", .enabled = false});
    save->OnClick = [this] { ++menuClicks; };
    generate = &toolBar.AddButton({.picture = "NO_SUCH_PICTURE", .hint = "Generate|Makes passwords"});
    toolBar.AddButton({.separator = true, .width = 8});
    copy = &toolBar.AddButton({.picture = "", .hint = "Copy"});
    generate->OnClick = [this] { ++toolClicks; };
    ok.OnClick = [this] { ++okClicks; };
    cancel.OnClick = [this] { ++cancelClicks; };
    typing.OnKeyPress = [this](char& key) { lastKey = key; };
    fixed.OnClick = [this] { ++spinClicks; };
    combo.OnChange = [this] { ++comboChanges; };
    list.OnGetItem = [this](int index, std::string& text) {
      asked.insert(index);
      text = "Row " + std::to_string(index);
    };
    list.OnChange = [this] { ++listChanges; };
    disabled.SetEnabled(false);
    disabled.SetHint("Off|Not now");
    panel.SetHint("|How many");
    status.SetSimpleText("Ready");
    CreateHandle();
  }

  MainMenu menu;
  MenuItem* save = nullptr;
  MenuItem* exit = nullptr;
  ToolBar toolBar{this, {}};
  ToolBar::ToolButton* generate = nullptr;
  ToolBar::ToolButton* copy = nullptr;
  Label title{this, {.bounds = {8, 40, 0, 0}, .caption = "Passwords", .shadow = true}};
  Panel panel{this, {.bounds = {8, 60, 150, 24}, .outer = BevelStyle::Lowered,
                     .caption = "1,000 & more"}};
  GroupBox group{this, {.bounds = {170, 40, 240, 90}, .caption = "Kind"}};
  CheckBox check{&group, {.bounds = {10, 18, 120, 17}, .caption = "&Unique", .tabOrder = 0}};
  RadioButton letters{&group, {.bounds = {10, 40, 100, 17}, .caption = "Letters", .tabOrder = 1}};
  RadioButton digits{&group, {.bounds = {10, 62, 100, 17}, .caption = "Digits", .tabOrder = 2}};
  SpinEdit fixed{this, {.bounds = {8, 100, 70, 21}, .minValue = 1, .maxValue = 10,
                        .value = 5, .tabOrder = 1}};
  SpinEdit typing{this, {.bounds = {90, 100, 70, 21}, .minValue = 1, .maxValue = 50,
                         .value = 7, .allowTyping = true, .tabOrder = 2}};
  ComboBox combo{this, {.bounds = {8, 135, 150, 21}, .items = {"One", "Two", "Three"},
                        .tabOrder = 3}};
  VirtualList list{this, {.bounds = {170, 140, 240, 130},
                          .font = Font{.name = "Courier", .height = 13}, .tabOrder = 4}};
  Bevel bevel{this, {.bounds = {8, 170, 150, 2}}};
  ProgressBar progress{this, {.bounds = {8, 180, 150, 16}, .max = 10}};
  Button ok{this, {.bounds = {8, 240, 75, 25}, .caption = "OK", .tabOrder = 5,
                   .isDefault = true}};
  Button cancel{this, {.bounds = {90, 240, 75, 25}, .caption = "Cancel", .tabOrder = 6,
                       .isCancel = true}};
  Button disabled{this, {.bounds = {8, 275, 75, 25}, .caption = "Disabled"}};
  StatusBar status{this, {}};

  int okClicks = 0, cancelClicks = 0, spinClicks = 0, comboChanges = 0, listChanges = 0;
  int menuClicks = 0, toolClicks = 0;
  char lastKey = 0;
  std::set<int> asked;
};

inline HWND WindowOf(const Form& form) {
  return static_cast<HWND>(NativeWindow(form));
}

// The native window at a control's place (its left part: a spin field's
// edit rather than its arrows).
inline HWND NativeOf(const Control& control) {
  HWND form = WindowOf(*control.OwnerForm());
  const Point origin = control.FormOffset();
  const int dpi = NativeDpi(*control.OwnerForm());
  const POINT p{ScaleToDpi(origin.x + 3, dpi),
                ScaleToDpi(origin.y + control.Bounds().height / 2, dpi)};
  HWND child = ChildWindowFromPointEx(form, p, CWP_SKIPINVISIBLE);
  return child == form ? nullptr : child;
}

inline std::string TextOf(HWND window) {
  char buffer[256] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

class Win32PeersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<TestForm>();
    form_->Show();
    SetForegroundWindow(WindowOf(*form_));
    App().ProcessMessages();
  }
  void TearDown() override {
    form_.reset();
    App().SetCursor(Cursor::Default);
    App().Reset();
  }

  // Processes messages until the condition holds or a second has passed.
  template <class Condition>
  bool WaitFor(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + 1s;
    while (!condition()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      App().WaitAndProcess(10ms);
    }
    return true;
  }

  void Key(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
    App().ProcessMessages();
  }

  std::unique_ptr<TestForm> form_;
};

using testing::AnsweringBoxes;

}  // namespace tessavo::tk
