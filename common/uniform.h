// Exactly uniform draws from a range, out of words uniform over all their
// values.
#pragma once

#include <cstdint>
#include <limits>

namespace tessavo {

template <typename Word>
struct DoubleWidth;
template <>
struct DoubleWidth<std::uint16_t> {
  using type = std::uint32_t;
};
template <>
struct DoubleWidth<std::uint32_t> {
  using type = std::uint64_t;
};
template <>
struct DoubleWidth<std::uint64_t> {
  using type = unsigned __int128;
};

// A value from 0 to range - 1 (range at least 1), each exactly as likely,
// from words that next() returns: the word is scaled by range, and drawn
// again while its low part falls among the few that would make some values
// more likely than others (D. Lemire, "Fast random integer generation in
// an interval", 2019). Every value of the range takes the same number of
// the Word's values; the others, fewer than range, are drawn again.
template <typename Word, typename Next>
Word UniformBelow(Word range, Next&& next) {
  using Wide = typename DoubleWidth<Word>::type;
  constexpr int Bits = std::numeric_limits<Word>::digits;
  Wide product = static_cast<Wide>(next()) * range;
  Word low = static_cast<Word>(product);
  if (low < range) {
    // 2^Bits mod range, in Word's own arithmetic.
    const Word threshold = static_cast<Word>(static_cast<Word>(Word{0} - range) % range);
    while (low < threshold) {
      product = static_cast<Wide>(next()) * range;
      low = static_cast<Word>(product);
    }
  }
  return static_cast<Word>(product >> Bits);
}

}  // namespace tessavo
