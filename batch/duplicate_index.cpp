#include "batch/duplicate_index.h"

#include <cassert>

namespace tessavo {

namespace {

// The index never starts larger than this, so that a huge count (which may
// well be cancelled) does not allocate it all up front; it grows on demand.
constexpr std::size_t MaxInitialIndexEntries = std::size_t{1} << 20;
// The bit per text is used up to this many texts at most (64 MB).
constexpr std::uint64_t MaxDenseIndexBits = std::uint64_t{1} << 29;

constexpr std::uint64_t Saturated = std::uint64_t{1} << 62;

}  // namespace

std::uint64_t DistinctTexts(std::uint64_t alphabet, int low, int high) {
  std::uint64_t total = 0;
  std::uint64_t power = 1;  // alphabet^length
  for (int length = 0;; ++length) {
    // Every length from here to high alone would exceed any count.
    if (power >= Saturated) return Saturated;
    if (length >= low) total = std::min(Saturated, total + power);
    if (length == high || total >= Saturated) return total;
    power = power > Saturated / alphabet ? Saturated : power * alphabet;
  }
}

DuplicateIndex::DuplicateIndex(character_rule::Kind kind, character_rule::Style style, int low,
                               int high, int passwordCount)
    : low_(low) {
  using character_rule::Kind;
  using character_rule::Style;
  if (kind != Kind::Letters) AddSymbols('0', 10);
  if (kind != Kind::Digits && style != Style::Upper) AddSymbols('a', 26);
  if (kind != Kind::Digits && style != Style::Lower) AddSymbols('A', 26);
  assert(alphabet_ == character_rule::AlphabetSizeOf(kind, style));
  const std::uint64_t texts = DistinctTexts(alphabet_, low, high);
  const auto count = static_cast<std::size_t>(passwordCount);
  if (texts <= MaxDenseIndexBits && texts / 8 <= SlotsFor(count) * sizeof(Slot)) {
    // Dense texts are at most eight characters long (10^9 > 2^29).
    std::uint64_t first = 0;
    std::uint64_t power = 1;
    for (int length = 0; length <= high; ++length, power *= alphabet_) {
      if (length < low) continue;
      firstRank_.push_back(first);
      first += power;
    }
    bits_.assign((texts + 63) / 64, 0);
  } else {
    slots_.assign(SlotsFor(std::min(count, MaxInitialIndexEntries)), Slot{0, 0});
  }
}

void DuplicateIndex::AddSymbols(char first, int count) {
  for (int k = 0; k < count; ++k) {
    symbol_[static_cast<unsigned char>(first + k)] = static_cast<std::uint8_t>(alphabet_++);
  }
}

void DuplicateIndex::Grow() {
  std::vector<Slot> larger(slots_.size() * 2, Slot{0, 0});
  const std::size_t mask = larger.size() - 1;
  for (const Slot slot : slots_) {
    if (slot.entryPlusOne == 0) continue;
    std::size_t at = slot.tag & mask;
    while (larger[at].entryPlusOne != 0) at = (at + 1) & mask;
    larger[at] = slot;
  }
  slots_.swap(larger);
}

}  // namespace tessavo
