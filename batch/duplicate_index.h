// What a generator run without duplicates keeps beside the store to tell a
// new candidate from one already accepted, without comparing it with every
// entry.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "batch/password_store.h"
#include "common/character_rule.h"

namespace tessavo {

// Number of distinct texts of the lengths low..high over an alphabet,
// saturating at 2^62 (more than any count can ask for).
std::uint64_t DistinctTexts(std::uint64_t alphabet, int low, int high);

// The texts the store holds so far, answering exactly as a comparison with
// every entry would. Usually a hash table: open addressing with linear
// probing over entry numbers, each slot keeping 32 bits of the text's hash,
// which places the slot, lets the table grow without reading any text
// again, and rules out nearly every mismatch without touching the store.
// When the rule allows so few texts that one bit each takes no more room
// than that table, a bit per text instead, addressed by its rank among
// them: no probing, no text comparison, and it fits a cache (all six-digit
// numbers take 125 KB).
class DuplicateIndex {
 public:
  struct Slot {
    std::uint32_t entryPlusOne;  // 0: empty
    std::uint32_t tag;
  };

  static std::size_t SlotsFor(std::size_t entries) {
    return std::max<std::size_t>(16, std::bit_ceil(entries * 2));
  }

  // For texts of low..high characters drawn by the rule, passwordCount of
  // them wanted.
  DuplicateIndex(character_rule::Kind kind, character_rule::Style style, int low, int high,
                 int passwordCount);

  // The rank (dense) or the hash of a text drawn by the rule. Kept inline
  // with the rest of a check: it runs for every candidate.
  std::uint64_t KeyOf(std::string_view text) const {
    if (slots_.empty()) {
      std::uint64_t value = 0;
      for (const char c : text) value = value * alphabet_ + symbol_[static_cast<unsigned char>(c)];
      return firstRank_[text.size() - static_cast<std::size_t>(low_)] + value;
    }
    return HashText(text);
  }

  // The memory that a check of this key reads first.
  const void* Place(std::uint64_t key) const {
    if (slots_.empty()) return &bits_[key >> 6];
    return &slots_[Tag(key) & (slots_.size() - 1)];
  }

  // Appends text (whose key is given) to the store unless an equal entry is
  // there already; true when it was appended.
  bool AppendIfNew(PasswordStore& store, std::string_view text, std::uint64_t key) {
    if (slots_.empty()) {
      std::uint64_t& word = bits_[key >> 6];
      const std::uint64_t bit = std::uint64_t{1} << (key & 63);
      if (word & bit) return false;
      store.Append(text);
      word |= bit;
      return true;
    }
    const std::uint32_t tag = Tag(key);
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = tag & mask;
    for (; slots_[at].entryPlusOne != 0; at = (at + 1) & mask) {
      if (slots_[at].tag == tag &&
          store.Get(static_cast<int>(slots_[at].entryPlusOne - 1)) == text) {
        return false;
      }
    }
    store.Append(text);
    slots_[at] = Slot{static_cast<std::uint32_t>(store.Count()), tag};
    if (++used_ * 2 > slots_.size()) Grow();
    return true;
  }

 private:
  static std::uint64_t HashText(std::string_view text) {
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ text.size();
    for (std::size_t at = 0; at < text.size(); at += 8) {
      std::uint64_t word = 0;
      std::memcpy(&word, text.data() + at, std::min<std::size_t>(8, text.size() - at));
      h = (h ^ word) * 0xBF58476D1CE4E5B9ull;
      h ^= h >> 29;
    }
    h ^= h >> 31;
    h *= 0x94D049BB133111EBull;
    return h ^ (h >> 32);
  }

  static std::uint32_t Tag(std::uint64_t hash) { return static_cast<std::uint32_t>(hash >> 32); }

  void AddSymbols(char first, int count);
  void Grow();

  int low_;
  std::uint64_t alphabet_ = 0;
  std::array<std::uint8_t, 256> symbol_{};  // a character's digit in its rank
  std::vector<std::uint64_t> firstRank_;    // per length from low on
  std::vector<std::uint64_t> bits_;
  std::vector<Slot> slots_;
  std::size_t used_ = 0;
};

}  // namespace tessavo
