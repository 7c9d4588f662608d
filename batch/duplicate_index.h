// What a generator run without duplicates keeps beside the store to tell a
// new candidate from one already accepted, without comparing it with every
// entry.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
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
// probing, one 32-bit slot per place holding the entry number and, in the
// bits the largest entry number leaves free, a few bits of the text's hash
// that rule out nearly every mismatch without touching the store. Slots are
// four bytes and the table is filled up to five eighths, so that a million
// passwords need 6.4 MB beside the store, allocated zeroed by the system
// rather than written first. When the rule allows so few texts that one bit
// each takes no more room than that table, a bit per text instead,
// addressed by its rank among them: no probing, no text comparison, and it
// fits a cache (all six-digit numbers take 125 KB).
class DuplicateIndex {
 public:
  using Slot = std::uint32_t;  // 0: empty
  struct FreeSlots {
    void operator()(Slot* slots) const { std::free(slots); }
  };

  // For texts of low..high characters drawn by the rule, passwordCount of
  // them wanted.
  DuplicateIndex(character_rule::Kind kind, character_rule::Style style, int low, int high,
                 int passwordCount);
  ~DuplicateIndex();  // leaves its table to the next run (AllocateSlots)

  // The rank (dense) or the hash of a text drawn by the rule. Kept inline
  // with the rest of a check: it runs for every candidate.
  std::uint64_t KeyOf(std::string_view text) const {
    if (!slots_) {
      std::uint64_t value = 0;
      for (const char c : text) value = value * alphabet_ + symbol_[static_cast<unsigned char>(c)];
      return firstRank_[text.size() - static_cast<std::size_t>(low_)] + value;
    }
    return HashText(text);
  }

  // The memory that a check of this key reads first.
  const void* Place(std::uint64_t key) const {
    if (!slots_) return &bits_[key >> 6];
    return &slots_[Home(key)];
  }

  // Appends text (whose key is given) to the store unless an equal entry is
  // there already; true when it was appended.
  bool AppendIfNew(PasswordStore& store, std::string_view text, std::uint64_t key) {
    if (!slots_) {
      std::uint64_t& word = bits_[key >> 6];
      const std::uint64_t bit = std::uint64_t{1} << (key & 63);
      if (word & bit) return false;
      store.Append(text);
      word |= bit;
      return true;
    }
    const std::uint32_t tag = static_cast<std::uint32_t>(key) & tagMask_;
    std::size_t at = Home(key);
    for (Slot slot; (slot = slots_[at]) != 0; at = Next(at)) {
      if ((slot & tagMask_) == tag &&
          store.Get(static_cast<int>((slot >> tagBits_) - 1)) == text) {
        return false;
      }
    }
    store.Append(text);
    slots_[at] = (static_cast<Slot>(store.Count()) << tagBits_) | tag;
    if (++used_ > growAt_) Grow(store);
    return true;
  }

 private:
  // Places for a table that holds that many entries before it must grow.
  static std::size_t SlotsFor(std::size_t entries) { return entries + entries * 3 / 5 + 16; }

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

  // The upper half of the hash scaled to the table, which need not be a
  // power of two; the tag comes from the lower half.
  std::size_t Home(std::uint64_t hash) const {
    return static_cast<std::size_t>(((hash >> 32) * size_) >> 32);
  }
  std::size_t Next(std::size_t at) const { return at + 1 == size_ ? 0 : at + 1; }

  void AddSymbols(char first, int count);
  void AllocateSlots(std::size_t size);
  void Grow(const PasswordStore& store);

  int low_;
  std::uint64_t alphabet_ = 0;
  std::array<std::uint8_t, 256> symbol_{};  // a character's digit in its rank
  std::vector<std::uint64_t> firstRank_;    // per length from low on
  std::vector<std::uint64_t> bits_;
  std::unique_ptr<Slot[], FreeSlots> slots_;
  std::size_t size_ = 0;    // places in slots_
  std::size_t used_ = 0;
  std::size_t growAt_ = 0;  // entries it holds before it grows
  int tagBits_ = 0;         // below the entry number in a slot
  std::uint32_t tagMask_ = 0;
};

}  // namespace tessavo
