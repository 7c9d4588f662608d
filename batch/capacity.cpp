#include "batch/capacity.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "common/random.h"

namespace tessavo {

LengthRange EffectiveLengths(const GenerationOptions& options) {
  if (options.LengthType == tessavo::LengthType::Fixed)
    return {options.FixedLength, options.FixedLength};
  return {options.MinLength, options.MaxLength};
}

long double ComputeCapacity(const GenerationOptions& options) {
  const long double size = AlphabetSize(options.PasswordType, options.PasswordCase);
  const auto [low, high] = EffectiveLengths(options);
  if (size == 0 || low > high) return 0;

  // Each power is the previous one times the size, rounded as it goes: the
  // same sequence of roundings as forming s^L from s by L - 1 products.
  // Lengths below 1 only come from direct calls: the empty password counts
  // once and negative lengths not at all.
  const int first = low < 0 ? 0 : low;
  long double result = 0;
  long double power = 1;
  for (int length = 1; length < first && !std::isinf(power); ++length) power *= size;
  for (long long length = first; length <= high; ++length) {
    if (length >= 1) power *= size;
    result += power;
    if (std::isinf(result)) break;  // nothing can bring it back down
  }
  return result;
}

namespace {

// Exact decimal digits of a finite, non-negative long double: the value is
// 0.digits x 10^pointPosition. Every long double is a binary fraction, so
// its decimal expansion is finite and this is exact.
struct DecimalDigits {
  std::string digits;  // no leading zeros; empty for zero
  int pointPosition = 0;
};

class BigDecimal {
 public:
  explicit BigDecimal(std::uint64_t value) {
    while (value != 0) {
      limbs_.push_back(static_cast<std::uint32_t>(value % kBase));
      value /= kBase;
    }
  }

  void MultiplyBy(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (auto& limb : limbs_) {
      const std::uint64_t product = std::uint64_t{limb} * factor + carry;
      limb = static_cast<std::uint32_t>(product % kBase);
      carry = product / kBase;
    }
    while (carry != 0) {
      limbs_.push_back(static_cast<std::uint32_t>(carry % kBase));
      carry /= kBase;
    }
  }

  std::string ToString() const {
    if (limbs_.empty()) return {};
    std::string text = std::to_string(limbs_.back());
    for (auto it = limbs_.rbegin() + 1; it != limbs_.rend(); ++it) {
      const std::string limb = std::to_string(*it);
      text.append(9 - limb.size(), '0');
      text += limb;
    }
    return text;
  }

 private:
  static constexpr std::uint32_t kBase = 1'000'000'000;
  std::vector<std::uint32_t> limbs_;  // least significant first
};

DecimalDigits ExactDigits(long double value) {
  DecimalDigits result;
  if (value == 0) return result;

  int exponent = 0;
  const long double fraction = std::frexp(value, &exponent);  // [0.5, 1)
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
  int binaryExponent = exponent - 64;  // value = mantissa * 2^binaryExponent

  BigDecimal number(mantissa);
  int decimalShift = 0;  // value = number / 10^decimalShift
  for (; binaryExponent > 0; --binaryExponent) number.MultiplyBy(2);
  for (; binaryExponent < 0; ++binaryExponent) {
    number.MultiplyBy(5);  // x / 2 == 5x / 10
    ++decimalShift;
  }

  result.digits = number.ToString();
  result.pointPosition = static_cast<int>(result.digits.size()) - decimalShift;
  while (!result.digits.empty() && result.digits.back() == '0') result.digits.pop_back();
  return result;
}

// Rounds to the given number of significant digits, a following digit of 5
// or more rounding up, and drops the zeros that leaves at the end.
void RoundDigits(DecimalDigits& number, std::size_t significant) {
  if (number.digits.size() <= significant) return;
  const bool up = number.digits[significant] >= '5';
  number.digits.resize(significant);
  if (up) {
    std::size_t i = significant;
    while (i > 0 && number.digits[i - 1] == '9') number.digits[--i] = '0';
    if (i == 0) {
      number.digits.insert(number.digits.begin(), '1');
      number.digits.pop_back();
      ++number.pointPosition;
    } else {
      ++number.digits[i - 1];
    }
  }
  while (!number.digits.empty() && number.digits.back() == '0') number.digits.pop_back();
}

}  // namespace

std::string FormatCapacity(long double capacity, char decimalSeparator) {
  constexpr int kPrecision = 15;
  std::string text = "Max: ";
  if (std::isnan(capacity)) return text + "NAN";
  if (capacity < 0) {
    text += '-';
    capacity = -capacity;
  }
  if (std::isinf(capacity)) return text + "INF";

  DecimalDigits number = ExactDigits(capacity);
  RoundDigits(number, kPrecision);
  const std::string& digits = number.digits;
  const int point = number.pointPosition;
  if (digits.empty()) return text + "0";

  if (point > kPrecision || point < -4) {
    text += digits[0];
    if (digits.size() > 1) {
      text += decimalSeparator;
      text.append(digits, 1);
    }
    return text + 'E' + std::to_string(point - 1);
  }
  if (point <= 0) {
    text += '0';
    text += decimalSeparator;
    text.append(static_cast<std::size_t>(-point), '0');
    return text + digits;
  }
  const auto integerDigits = static_cast<std::size_t>(point);
  text.append(digits, 0, integerDigits);
  if (digits.size() < integerDigits) {
    text.append(integerDigits - digits.size(), '0');
  } else if (digits.size() > integerDigits) {
    text += decimalSeparator;
    text.append(digits, integerDigits);
  }
  return text;
}

bool CheckCount(int passwordCount, long double capacity) {
  return capacity >= static_cast<long double>(passwordCount);
}

}  // namespace tessavo
