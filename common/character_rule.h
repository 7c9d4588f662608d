// The rule by which one password character is drawn, written once for
// DrawCharacter and the batch generators alike. The successors of a seed
// are computed side by side and picked with masks rather than branches:
// the digit-or-letter and case choices are random, so a branch apiece would
// be mispredicted half the time and dominate a generator run.
#pragma once

#include <cstdint>

namespace tessavo::character_rule {

// What a character is drawn from, and the form its letters take.
enum class Kind { Digits, DigitOrLetter, Letters };
enum class Style { Lower, Upper, Mixed };

// Type 2 (Numeric) draws digits and type 1 (Alphanumeric) a digit or a
// letter; any other index, Alphabetic or not, draws letters.
constexpr Kind KindOfType(int passwordType) {
  return passwordType == 2 ? Kind::Digits
         : passwordType == 1 ? Kind::DigitOrLetter
                             : Kind::Letters;
}

// Case 0 is lower and 1 upper; any other index mixes the two.
constexpr Style StyleOfCase(int passwordCase) {
  return passwordCase == 0 ? Style::Lower : passwordCase == 1 ? Style::Upper : Style::Mixed;
}

// The number of distinct characters the rule can produce.
constexpr std::uint64_t AlphabetSizeOf(Kind kind, Style style) {
  const std::uint64_t letters = style == Style::Mixed ? 52 : 26;
  return kind == Kind::Digits ? 10 : kind == Kind::Letters ? letters : 10 + letters;
}

// One, two and three steps of the generator: seed' = Step1 * seed + 1.
constexpr std::uint32_t Step1 = 134775813u;
constexpr std::uint32_t Step2 = Step1 * Step1, Add2 = Step1 + 1u;
constexpr std::uint32_t Step3 = Step2 * Step1, Add3 = Step2 + Step1 + 1u;

// DrawRandom(n) for the seed it has just stepped to.
constexpr std::uint32_t Scaled(std::uint32_t n, std::uint32_t seed) {
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(n) * seed) >> 32);
}

// Draws one character from seed and leaves seed after the draws it took:
// one of 10 for a digit; for a digit-or-letter one of 2 first (1 makes a
// digit); one of 26 for a letter, then for mixed case one of 2 (1 makes it
// upper case).
template <Kind K, Style S>
constexpr char NextCharacter(std::uint32_t& seed) {
  const std::uint32_t s1 = seed * Step1 + 1u;
  if constexpr (K == Kind::Digits) {
    seed = s1;
    return static_cast<char>('0' + Scaled(10, s1));
  } else if constexpr (K == Kind::Letters) {
    std::uint32_t letter = 'a' + Scaled(26, s1);
    if constexpr (S == Style::Mixed) {
      const std::uint32_t s2 = seed * Step2 + Add2;
      letter -= (s2 >> 31) << 5;
      seed = s2;
    } else {
      if constexpr (S == Style::Upper) letter -= 32;
      seed = s1;
    }
    return static_cast<char>(letter);
  } else {
    const std::uint32_t s2 = seed * Step2 + Add2;
    const std::uint32_t digit = 0u - (s1 >> 31);  // all ones for a digit
    const std::uint32_t digitCharacter = '0' + Scaled(10, s2);
    std::uint32_t letter = 'a' + Scaled(26, s2);
    if constexpr (S == Style::Upper) letter -= 32;
    if constexpr (S == Style::Mixed) {
      const std::uint32_t s3 = seed * Step3 + Add3;
      letter -= (s3 >> 31) << 5;
      seed = (s2 & digit) | (s3 & ~digit);
    } else {
      seed = s2;
    }
    return static_cast<char>((digitCharacter & digit) | (letter & ~digit));
  }
}

// Runs body.template operator()<K, S>() for a rule known only at run time,
// so that whatever draws in a loop does so with the rule compiled in.
// Digits have no letters, so their style is always passed as Lower: one
// instance serves every case index.
template <typename Body>
decltype(auto) WithRule(Kind kind, Style style, Body&& body) {
  const auto inStyle = [&]<Kind K>() -> decltype(auto) {
    switch (style) {
      case Style::Lower: return body.template operator()<K, Style::Lower>();
      case Style::Upper: return body.template operator()<K, Style::Upper>();
      case Style::Mixed: break;
    }
    return body.template operator()<K, Style::Mixed>();
  };
  switch (kind) {
    case Kind::Digits: return body.template operator()<Kind::Digits, Style::Lower>();
    case Kind::DigitOrLetter: return inStyle.template operator()<Kind::DigitOrLetter>();
    case Kind::Letters: break;
  }
  return inStyle.template operator()<Kind::Letters>();
}

}  // namespace tessavo::character_rule
