// Making one password at a time, and the short code and description of the
// options it is made from.
#pragma once

#include <string>

#include "common/secure_random.h"

namespace tessavo {

// The lengths the single generator offers.
inline constexpr int MinSingleLength = 4;
inline constexpr int MaxSingleLength = 16;

// A password of length characters (none for a length below 1) with the
// shared character rule's chances, from the secure generator, or from the
// classic RandomSeed one character after the other: from the same seed the
// batch generator makes the same characters. Type and case indexes outside
// 0..2 draw as the rule says (letters; mixed case).
std::string MakePassword(int length, int passwordType, int passwordCase, RandomSource source);

struct SettingsText {
  std::string code;         // "04ABLC"
  std::string description;  // "4 Chars, Alphabetic, Lowercase"
};

// The length as two digits and as a number of characters, then the type
// and the case; an index outside 0..2 adds nothing to either text. The
// case part stays for numeric passwords too.
SettingsText DescribeSettings(int length, int passwordType, int passwordCase);

// The case choice means something only where there are letters.
inline bool CaseApplies(int passwordType) { return passwordType != 2; }

}  // namespace tessavo
