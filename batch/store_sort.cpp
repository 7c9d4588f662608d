#include "batch/store_sort.h"

#include <array>
#include <bit>

namespace tessavo::store_sort_detail {

namespace {

// Eleven bits a pass: four passes cover a 42-bit key, and 2048 counters
// (8 KB) stay in the first-level cache while a pass scatters.
constexpr int DigitBits = 11;
constexpr int MaxPasses = (KeyBits + DigitBits - 1) / DigitBits;
constexpr std::size_t Buckets = std::size_t{1} << DigitBits;

// 1..10 for the digits, 11..36 for the letters of either case (bit 0x20
// folds a letter and leaves a digit alone). Computed, not chosen by a
// branch: digits and letters come mixed at random, and a mispredicted
// branch per character costs more than the arithmetic.
constexpr std::uint64_t Rank(char c) {
  const unsigned folded = static_cast<unsigned char>(c) | 0x20u;
  return folded - ('0' - 1) - ('a' - '0' - 10) * static_cast<unsigned>(folded > '9');
}

using Counts = std::array<std::array<std::uint32_t, Buckets>, MaxPasses>;

struct Digits {
  int first;  // lowest bit of the key
  int passes;
  std::size_t Of(std::uint64_t item, int pass) const {
    return static_cast<std::size_t>((item >> (first + pass * DigitBits)) & (Buckets - 1));
  }
};

// Every pass's counts in one read of the list, rather than one per pass.
std::unique_ptr<Counts> CountDigits(const Digits& digits, const std::uint64_t* items,
                                    std::size_t count) {
  auto counts = std::make_unique<Counts>();
  for (std::size_t k = 0; k < count; ++k) {
    for (int pass = 0; pass < digits.passes; ++pass) ++(*counts)[pass][digits.Of(items[k], pass)];
  }
  return counts;
}

// Counts turned into each bucket's first place.
void StartsFromCounts(std::array<std::uint32_t, Buckets>& counts) {
  std::uint32_t start = 0;
  for (std::uint32_t& bucket : counts) {
    const std::uint32_t size = bucket;
    bucket = start;
    start += size;
  }
}

}  // namespace

Packing::Packing(std::size_t count)
    : positionBits(std::max(64 - KeyBits, static_cast<int>(std::bit_width(count)))) {}

std::uint64_t CompactAlphanumericKey(std::string_view text) {
  std::uint64_t key = 0;
  for (std::size_t k = 0; k < 8; ++k) key = key * 37 + (k < text.size() ? Rank(text[k]) : 0);
  return key;
}

// Least significant digit first, each pass stable, so the last pass leaves
// the items ordered by the whole key. A pass whose digit is the same for
// every item would only copy the list and is skipped (short or numeric
// texts leave the high digits alike).
void RadixSortByKey(const Packing& packing, std::uint64_t* items, std::uint64_t* scratch,
                    std::size_t count) {
  if (count < 2) return;
  const int keyBits = 64 - packing.positionBits;
  const Digits digits{packing.positionBits, (keyBits + DigitBits - 1) / DigitBits};
  const std::unique_ptr<Counts> counts = CountDigits(digits, items, count);
  std::uint64_t* from = items;
  std::uint64_t* to = scratch;
  for (int pass = 0; pass < digits.passes; ++pass) {
    std::array<std::uint32_t, Buckets>& next = (*counts)[pass];
    if (next[digits.Of(from[0], pass)] == count) continue;
    StartsFromCounts(next);
    for (std::size_t k = 0; k < count; ++k) to[next[digits.Of(from[k], pass)]++] = from[k];
    std::swap(from, to);
  }
  if (from != items) std::copy(from, from + count, items);
}

std::uint64_t* RunEnd(const Packing& packing, std::uint64_t* begin, std::uint64_t* end) {
  const std::uint64_t key = packing.Key(*begin);
  std::uint64_t* at = begin + 1;
  while (at < end && packing.Key(*at) == key) ++at;
  return at;
}

}  // namespace tessavo::store_sort_detail
