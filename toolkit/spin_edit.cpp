#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <optional>
#include <string_view>
#include <utility>

#include "toolkit/application.h"
#include "toolkit/spin_edit.h"

namespace tessavo::tk {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The whole text as a number: spaces around it, an optional sign, digits
// with an optional fraction after the locale's decimal separator, at least
// one digit. Nothing else (no exponent, no grouping) is a number.
std::optional<double> ParseNumber(std::string_view text, char decimal) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);

  std::size_t i = 0;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  std::string plain;
  bool anyDigit = false, largeInteger = false;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    plain += text[i];
    anyDigit = true;
    largeInteger = largeInteger || text[i] != '0';
  }
  if (i < text.size() && text[i] == decimal) {
    plain += '.';
    for (++i; i < text.size() && IsDigit(text[i]); ++i) {
      plain += text[i];
      anyDigit = true;
    }
  }
  if (i != text.size() || !anyDigit) return std::nullopt;

  double value = 0;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (error == std::errc::result_out_of_range) {
    // Hundreds of digits: beyond any double, or a fraction too small for one.
    value = largeInteger ? HUGE_VAL : 0.0;
  } else if (error != std::errc() || end != plain.data() + plain.size()) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

}  // namespace

SpinEdit::SpinEdit(Container* parent, const CreateArgs& args)
    : Control(parent, ControlKind::SpinEdit, args.bounds),
      min_(args.minValue),
      max_(args.maxValue),
      increment_(args.increment),
      page_(args.pageIncrement),
      allowTyping_(args.allowTyping) {
  SetTabOrder(args.tabOrder);
  SetValue(args.value);
}

void SpinEdit::SetMinValue(double value) {
  if (value == min_) return;
  min_ = value;
  Changed(Change::Limits);
}

void SpinEdit::SetMaxValue(double value) {
  if (value == max_) return;
  max_ = value;
  Changed(Change::Limits);
}

double SpinEdit::Value() const {
  return ParseNumber(text_, App().DecimalSeparator()).value_or(min_);
}

int SpinEdit::IntValue() const {
  // nearbyint rounds in the current mode, which is to nearest, halves to
  // even, unless something has changed it; nobody here does.
  const double rounded = std::nearbyint(Value());
  if (rounded >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (rounded <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(rounded);
}

void SpinEdit::SetValue(double value) {
  if (std::isnan(value)) value = min_;
  // Upper limit first, so that the lower one wins when they cross.
  value = std::max(std::min(value, max_), min_);
  if (value == 0) value = 0;  // no "-0"
  char buffer[512];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  std::string text = error == std::errc() ? std::string(buffer, end) : std::string("0");
  std::replace(text.begin(), text.end(), '.', App().DecimalSeparator());
  SetText(std::move(text));
}

void SpinEdit::SetText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  Changed(Change::Value);
}

void SpinEdit::ApplyLimits() { SetValue(Value()); }

void SpinEdit::UserStep(int steps, bool page) {
  if (!AcceptsInput()) return;
  App().Guard([&] {
    SetValue(Value() + steps * (page ? page_ : increment_));
    // Also when the limits held the value where it was.
    if (OnClick) OnClick();
  });
}

bool SpinEdit::UserKeyPress(char key) {
  if (!AcceptsInput()) return false;
  bool insert = false;
  App().Guard([&] {
    if (OnKeyPress) OnKeyPress(key);
    if (key == 0) return;  // the handler took it
    const bool control = static_cast<unsigned char>(key) < 32;
    if (allowTyping_ && (IsDigit(key) || key == '+' || key == '-' || control)) {
      insert = true;
    } else {
      App().Beep();
    }
  });
  return insert;
}

bool SpinEdit::UserDeleteKey() {
  if (!AcceptsInput()) return false;
  if (!allowTyping_) App().Beep();
  return allowTyping_;
}

void SpinEdit::UserSetText(std::string text) {
  if (!AcceptsInput()) return;
  if (!allowTyping_) {
    // Whatever got into the edit (a paste, say) is not the field's text:
    // the peer shows the real one again.
    Changed(Change::Value);
    return;
  }
  text_ = std::move(text);
}

void SpinEdit::UserFocusLost() { ApplyLimits(); }

}  // namespace tessavo::tk
