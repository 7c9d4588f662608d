// The rule by which one password character is drawn, written once for
// DrawCharacter and the batch generators alike. The successors of a seed
// are computed side by side and picked with masks rather than branches:
// the digit-or-letter and case choices are random, so a branch apiece would
// be mispredicted half the time and dominate a generator run.
#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>

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

// k steps of the generator at once: seed' = multiplier * seed + increment.
// Any future state is one multiply away, so states several steps ahead can
// be computed side by side instead of one after another.
struct Jump {
  std::uint32_t multiplier = 1;
  std::uint32_t increment = 0;
  constexpr std::uint32_t From(std::uint32_t seed) const { return multiplier * seed + increment; }
};
constexpr std::uint32_t Step1 = 134775813u;
constexpr Jump JumpOf(int steps) {
  Jump jump;
  for (int k = 0; k < steps; ++k) jump = {jump.multiplier * Step1, jump.increment * Step1 + 1u};
  return jump;
}

// The jump of k steps, fixed when the program is compiled.
template <int K>
constexpr Jump JumpBy = JumpOf(K);

// Runs f(std::integral_constant<int, k>) for k = 0..N-1, unrolled, so that
// each k is a constant where it is used.
template <int N, typename F>
constexpr void ForEachIndex(F&& f) {
  [&]<int... I>(std::integer_sequence<int, I...>) {
    (f(std::integral_constant<int, I>{}), ...);
  }(std::make_integer_sequence<int, N>{});
}

// DrawRandom(n) for the seed it has just stepped to.
constexpr std::uint32_t Scaled(std::uint32_t n, std::uint32_t seed) {
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(n) * seed) >> 32);
}

// All ones when the state's draw of 2 gave 1, else zero: for picking
// between two values without a branch.
constexpr std::uint32_t MaskOf(std::uint32_t state) { return 0u - (state >> 31); }
constexpr std::uint32_t Pick(std::uint32_t mask, std::uint32_t ifOne, std::uint32_t ifZero) {
  return (ifOne & mask) | (ifZero & ~mask);
}

// The most draws one character takes.
template <Kind K, Style S>
constexpr int MaxDraws = K == Kind::Digits ? 1 : (K == Kind::Letters ? 1 : 2) + (S == Style::Mixed);

// The character drawn from the states the generator steps through next
// (state[0] the first): one of 10 for a digit; for a digit-or-letter one of
// 2 first (1 makes a digit); one of 26 for a letter, then for mixed case one
// of 2 (1 makes it upper case). A digit-or-letter draws its case only for a
// letter; the state after the character is then state[1], else
// state[MaxDraws - 1], which AfterCharacter gives.
template <Kind K, Style S>
constexpr char CharacterOf(const std::uint32_t* state) {
  if constexpr (K == Kind::Digits) {
    return static_cast<char>('0' + Scaled(10, state[0]));
  } else {
    constexpr int at = K == Kind::Letters ? 0 : 1;  // the letter's draw
    std::uint32_t letter = 'a' + Scaled(26, state[at]);
    if constexpr (S == Style::Upper) letter -= 32;
    if constexpr (S == Style::Mixed) letter -= (state[at + 1] >> 31) << 5;
    if constexpr (K == Kind::Letters) {
      return static_cast<char>(letter);
    } else {
      const std::uint32_t digit = '0' + Scaled(10, state[1]);
      return static_cast<char>(Pick(MaskOf(state[0]), digit, letter));
    }
  }
}
template <Kind K, Style S>
constexpr std::uint32_t AfterCharacter(const std::uint32_t* state) {
  if constexpr (K == Kind::DigitOrLetter && S == Style::Mixed) {
    return Pick(MaskOf(state[0]), state[1], state[2]);
  } else {
    return state[MaxDraws<K, S> - 1];
  }
}

// Draws one character from seed and leaves seed after the draws it took.
template <Kind K, Style S>
constexpr char NextCharacter(std::uint32_t& seed) {
  std::uint32_t state[MaxDraws<K, S>];
  ForEachIndex<MaxDraws<K, S>>([&](auto k) { state[k] = JumpBy<k + 1>.From(seed); });
  const char character = CharacterOf<K, S>(state);
  seed = AfterCharacter<K, S>(state);
  return character;
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
