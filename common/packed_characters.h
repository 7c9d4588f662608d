// The character rule for a source whose draws nobody can observe: one draw
// among equally likely slots gives the rule's chances exactly (a digit of a
// mixed-case alphanumeric password 26 slots of 520, that is 1/20, each
// letter form 5, that is 1/104), and one wide draw gives several
// characters.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "common/character_rule.h"
#include "common/uniform.h"

namespace tessavo::character_rule {

// The rule's characters, each as often as its chance asks.
template <Kind K, Style S>
constexpr auto SlotsOf() {
  constexpr std::size_t digitSlots = K == Kind::Letters  ? 0
                                     : K == Kind::Digits ? 1
                                     : S == Style::Mixed ? 26
                                                         : 13;
  constexpr std::size_t letterSlots = K == Kind::Digits ? 0 : K == Kind::Letters ? 1 : 5;
  constexpr std::size_t forms = S == Style::Mixed ? 52 : 26;
  std::array<char, 10 * digitSlots + forms * letterSlots> slots{};
  std::size_t at = 0;
  for (char digit = '0'; digit <= '9'; ++digit) {
    for (std::size_t k = 0; k < digitSlots; ++k) slots[at++] = digit;
  }
  for (char letter = 0; letter < 26; ++letter) {
    for (std::size_t k = 0; k < letterSlots; ++k) {
      if (S != Style::Upper) slots[at++] = static_cast<char>('a' + letter);
      if (S != Style::Lower) slots[at++] = static_cast<char>('A' + letter);
    }
  }
  return slots;
}

// Characters of the rule drawn PerDraw at a time: one uniform draw among
// Count^PerDraw values, whose base-Count digits are independent and
// uniform, picks that many slots. Word is the width of the source's words.
// Draws are made Batch at a time into a buffer that the calls take from in
// turn: a password of a few characters then costs a short copy, and the
// digits are taken apart in long runs that keep the processor busy.
template <Kind K, Style S, typename Word = std::uint32_t, int Batch = 16>
class PackedCharacters {
 public:
  static constexpr auto Slots = SlotsOf<K, S>();
  static constexpr Word Count = Slots.size();
  static constexpr int PerDraw = [] {
    int k = 1;
    for (Word power = Count; power <= std::numeric_limits<Word>::max() / Count; power *= Count) ++k;
    return k;
  }();

  PackedCharacters() = default;
  // Characters drawn and not yet taken are nobody's business afterwards.
  ~PackedCharacters() {
    volatile char* buffer = buffer_.data();
    for (std::size_t k = 0; k < buffer_.size(); ++k) buffer[k] = 0;
  }
  PackedCharacters(const PackedCharacters&) = delete;
  PackedCharacters& operator=(const PackedCharacters&) = delete;

  // count characters into out; next() gives the source's words.
  template <typename Next>
  void Fill(char* out, std::size_t count, Next&& next) {
    while (count > 0) {
      if (taken_ == buffer_.size()) Refill(next);
      const std::size_t part = std::min(count, buffer_.size() - taken_);
      // A plain loop: a few characters each time, too few for a call.
      for (std::size_t k = 0; k < part; ++k) out[k] = buffer_[taken_ + k];
      taken_ += part;
      out += part;
      count -= part;
    }
  }

 private:
  template <int I>
  static constexpr Word Power = [] {
    Word power = 1;
    for (int k = 0; k < I; ++k) power *= Count;
    return power;
  }();
  static constexpr Word Range = Power<PerDraw>;

  // Small alphabets are taken apart two digits at a time, through a table
  // of every pair of characters.
  static constexpr bool InPairs = Count * Count <= 4096;
  static constexpr auto Pairs = [] {
    std::array<char, InPairs ? 2 * Count * Count : 2> pairs{};
    if constexpr (InPairs) {
      for (std::size_t p = 0; p < Count * Count; ++p) {
        pairs[2 * p] = Slots[p % Count];
        pairs[2 * p + 1] = Slots[p / Count];
      }
    }
    return pairs;
  }();

  // Each digit (or pair) apart, by a constant divisor, so that none waits
  // for another.
  template <typename Next>
  void Refill(Next& next) {
    for (int draw = 0; draw < Batch; ++draw) {
      const Word value = UniformBelow<Word>(Range, next);
      char* out = buffer_.data() + draw * PerDraw;
      if constexpr (InPairs) {
        ForEachIndex<PerDraw / 2>([&](auto i) {
          const std::size_t pair = value / Power<2 * i> % (Count * Count);
          out[2 * i] = Pairs[2 * pair];
          out[2 * i + 1] = Pairs[2 * pair + 1];
        });
        if constexpr (PerDraw % 2 == 1) out[PerDraw - 1] = Slots[value / Power<PerDraw - 1>];
      } else {
        ForEachIndex<PerDraw>([&](auto i) { out[i] = Slots[value / Power<i> % Count]; });
      }
    }
    taken_ = 0;
  }

  std::array<char, static_cast<std::size_t>(Batch) * PerDraw> buffer_{};
  std::size_t taken_ = buffer_.size();
};

}  // namespace tessavo::character_rule
