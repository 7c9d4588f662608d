// Characters drawn several at a time. Drawing one character after another
// makes every state wait for the one before it (a multiply and a pick per
// character); computing the states a few steps ahead straight from the seed
// lets the processor work on several characters at once. The characters
// and the seed left behind are exactly those of NextCharacter in turn.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/character_rule.h"

namespace tessavo::draw_ahead {

using character_rule::AfterCharacter;
using character_rule::CharacterOf;
using character_rule::ForEachIndex;
using character_rule::JumpBy;
using character_rule::Kind;
using character_rule::MaskOf;
using character_rule::MaxDraws;
using character_rule::Pick;
using character_rule::Style;

// Rules whose characters take the same number of draws each: a group of
// characters lies at fixed states from the seed, all computed at once.
template <Kind K, Style S>
std::uint32_t DrawFixedWidth(std::uint32_t seed, char* out, std::size_t count) {
  constexpr int Width = MaxDraws<K, S>;
  constexpr int Group = 4;
  for (; count >= Group; count -= Group, out += Group) {
    std::uint32_t state[Group * Width];
    ForEachIndex<Group * Width>([&](auto k) { state[k] = JumpBy<k + 1>.From(seed); });
    ForEachIndex<Group>([&](auto c) { out[c] = CharacterOf<K, S>(state + c * Width); });
    seed = state[Group * Width - 1];
  }
  for (; count > 0; --count) *out++ = character_rule::NextCharacter<K, S>(seed);
  return seed;
}

// Mixed-case digit-or-letter characters take two draws (a digit) or three
// (a letter). Two of them at a time: the second starts one state later when
// the first is a letter, so its three states are picked from the six that
// follow the seed, by the first one's digit-or-letter draw.
inline std::uint32_t DrawAlphanumericMixed(std::uint32_t seed, char* out, std::size_t count) {
  constexpr Kind K = Kind::DigitOrLetter;
  constexpr Style S = Style::Mixed;
  for (; count >= 2; count -= 2, out += 2) {
    std::uint32_t state[6];
    ForEachIndex<6>([&](auto k) { state[k] = JumpBy<k + 1>.From(seed); });
    out[0] = CharacterOf<K, S>(state);
    const std::uint32_t digit = MaskOf(state[0]);
    const std::uint32_t second[3] = {Pick(digit, state[2], state[3]),
                                     Pick(digit, state[3], state[4]),
                                     Pick(digit, state[4], state[5])};
    out[1] = CharacterOf<K, S>(second);
    seed = AfterCharacter<K, S>(second);
  }
  if (count > 0) *out = character_rule::NextCharacter<K, S>(seed);
  return seed;
}

// count characters of the rule into out, from seed; returns the seed after
// them.
template <Kind K, Style S>
std::uint32_t DrawCharacters(std::uint32_t seed, char* out, std::size_t count) {
  if constexpr (K == Kind::DigitOrLetter && S == Style::Mixed) {
    return DrawAlphanumericMixed(seed, out, count);
  } else {
    return DrawFixedWidth<K, S>(seed, out, count);
  }
}

}  // namespace tessavo::draw_ahead
