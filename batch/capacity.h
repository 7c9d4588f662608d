// Generation options, the number of distinct passwords they allow, its
// "Max: " text and the check that refuses a count above it.
#pragma once

#include <limits>
#include <string>
#include <string_view>

namespace tessavo {

static_assert(std::numeric_limits<long double>::digits == 64,
              "capacities need the 64-bit mantissa of the x87 extended type");

enum class LengthType { Fixed, Variable };

struct GenerationOptions {
  int PasswordType = 0;  // 0 Alphabetic, 1 Alphanumeric, 2 Numeric, -1 none
  int PasswordCase = 0;  // 0 all lowercase, 1 ALL UPPERCASE, 2 MiXeD cAsE
  tessavo::LengthType LengthType = tessavo::LengthType::Fixed;
  int FixedLength = 8;
  int MinLength = 5;
  int MaxLength = 8;
  bool NoDuplicates = false;
  int PasswordCount = 10;
};

// The effective length range: (FixedLength, FixedLength) in fixed mode,
// (MinLength, MaxLength) in variable mode.
struct LengthRange {
  int Low;
  int High;
};
LengthRange EffectiveLengths(const GenerationOptions& options);

// Sum of AlphabetSize^L over the effective length range, every product and
// sum rounded to extended precision in the order the sum is formed.
long double ComputeCapacity(const GenerationOptions& options);

// "Max: " and the capacity with 15 significant digits: plain digits up to
// 15 integer digits, otherwise scientific ("Max: 3.67034448698778E15").
std::string FormatCapacity(long double capacity, char decimalSeparator = '.');

// True when passwordCount does not exceed the capacity.
bool CheckCount(int passwordCount, long double capacity);

// What the user is told when a count is refused.
inline constexpr std::string_view CapacityErrorMessage =
    "Nnumber of passwords to generate exceeds the maximum possible\n"
    "number of passwords.  Either decrease the number of passwords\n"
    "to generate, or adjust the password generation options";

}  // namespace tessavo
