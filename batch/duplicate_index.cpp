#include "batch/duplicate_index.h"

#include <algorithm>
#include <cassert>
#include <mutex>
#include <new>

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
    // Entry numbers never exceed the count asked for; the bits above the
    // largest one's carry it, the rest of the slot the tag.
    tagBits_ = 32 - std::bit_width(static_cast<std::uint32_t>(passwordCount));
    tagMask_ = static_cast<std::uint32_t>((std::uint64_t{1} << tagBits_) - 1);
    growAt_ = std::min(count, MaxInitialIndexEntries);
    AllocateSlots(SlotsFor(growAt_));
  }
}

namespace {

// The table of the last run, kept for the next one of similar size: the
// system takes a large block back when it is freed (the Windows heap does,
// Wine's too), and a new one costs a fault per page as it is first written,
// more than clearing the old one does.
struct SpareTable {
  std::mutex mutex;
  std::unique_ptr<DuplicateIndex::Slot[], DuplicateIndex::FreeSlots> slots;
  std::size_t size = 0;
};

SpareTable& Spare() {
  static SpareTable spare;
  return spare;
}

}  // namespace

void DuplicateIndex::AllocateSlots(std::size_t size) {
  {
    SpareTable& spare = Spare();
    const std::lock_guard<std::mutex> lock(spare.mutex);
    if (spare.slots && spare.size >= size && spare.size / 2 <= size) {
      slots_ = std::move(spare.slots);
      size_ = spare.size;  // a few places more only lighten the load
      std::fill_n(slots_.get(), size_, Slot{0});
      return;
    }
    spare.slots.reset();  // too small or far too large: not kept
  }
  // Zeroed by the allocator: a large block comes straight from the system,
  // whose fresh pages are zero already, so nothing is written up front.
  slots_.reset(static_cast<Slot*>(std::calloc(size, sizeof(Slot))));
  if (!slots_) throw std::bad_alloc();
  size_ = size;
}

DuplicateIndex::~DuplicateIndex() {
  if (!slots_) return;
  SpareTable& spare = Spare();
  const std::lock_guard<std::mutex> lock(spare.mutex);
  spare.slots = std::move(slots_);
  spare.size = size_;
}

void DuplicateIndex::AddSymbols(char first, int count) {
  for (int k = 0; k < count; ++k) {
    symbol_[static_cast<unsigned char>(first + k)] = static_cast<std::uint8_t>(alphabet_++);
  }
}

void DuplicateIndex::Grow(const PasswordStore& store) {
  // A slot keeps too little of the hash to place it again, so the texts are
  // hashed anew; only runs beyond the first size (over a million) get here.
  const std::unique_ptr<Slot[], FreeSlots> old = std::move(slots_);
  const std::size_t oldSize = size_;
  growAt_ *= 2;
  AllocateSlots(SlotsFor(growAt_));
  for (std::size_t k = 0; k < oldSize; ++k) {
    const Slot slot = old[k];
    if (slot == 0) continue;
    const std::uint64_t hash = HashText(store.Get(static_cast<int>((slot >> tagBits_) - 1)));
    std::size_t at = Home(hash);
    while (slots_[at] != 0) at = Next(at);
    slots_[at] = slot;
  }
}

}  // namespace tessavo
