// The integer field of the toolkit: an edit with up and down buttons.
#pragma once

#include <functional>
#include <string>

#include "toolkit/control.h"
#include "toolkit/peer_factory.h"

namespace tessavo::tk {

// An integer field with up and down buttons.
//
// The value is the text read as a number, rounded half to even; a text that
// is not a number reads as the lower limit. Steps (buttons, arrow keys,
// Page Up/Down) keep the value within the limits, also when the limits are
// equal, and then raise OnClick. Setting the value from code clamps it and
// raises nothing. Changing a limit leaves the text alone.
class SpinEdit : public Control {
 public:
  struct CreateArgs {
    Rect bounds;
    double minValue = 0;
    double maxValue = 100;
    double increment = 1;
    double pageIncrement = 10;
    double value = 0;
    bool allowTyping = false;  // digits, '+', '-' and editing keys
    int tabOrder = -1;
  };
  SpinEdit(Container* parent, const CreateArgs& args);
  std::unique_ptr<ControlPeer> CreatePeer(PeerFactory& factory) override {
    return factory.MakeSpinEdit(*this);
  }

  double MinValue() const { return min_; }
  double MaxValue() const { return max_; }
  void SetMinValue(double value);
  void SetMaxValue(double value);
  bool AllowTyping() const { return allowTyping_; }

  const std::string& Text() const { return text_; }
  double Value() const;      // the text as a number, or the lower limit
  int IntValue() const;      // Value rounded half to even, saturated
  void SetValue(double value);

  // Brings the typed text within the limits, as losing the focus does.
  void ApplyLimits();

  // User input, reported by the peer or by tests.
  void UserStep(int steps, bool page);      // +1 up, -1 down
  // A character key. OnKeyPress runs first and may swallow it (set it to
  // 0); then the field's own filter accepts it or refuses it with a beep.
  // Returns whether the character is to be inserted.
  bool UserKeyPress(char key);
  // Delete (the key, not a character): refused with a beep unless typing
  // is allowed.
  bool UserDeleteKey();
  void UserSetText(std::string text);       // the edit's text after typing
  void UserFocusLost();

  Event OnClick;                            // after a step
  std::function<void(char& key)> OnKeyPress;

 private:
  void SetText(std::string text);
  void FocusLeft() override { ApplyLimits(); }

  double min_, max_, increment_, page_;
  bool allowTyping_;
  std::string text_;
};

}  // namespace tessavo::tk
