// A fast way to the password store's sorted order for lists of ASCII
// letters and digits in which no two texts compare equal. Such a list has
// exactly one sorted order, so any correct sort finds the one the store's
// quicksort would; a list with equal texts (or texts equal but for case)
// is left to the quicksort, which alone decides where those end up.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "common/collate.h"

namespace tessavo {

namespace store_sort_detail {

// The first eight characters of an alphanumeric text in 42 bits, ordered as
// CompareAlphanumericFolded orders them: each character folded to one of 36
// ranks (digits first), a missing character ranked below them all, and the
// eight ranks read as a number in base 37.
inline constexpr int KeyBits = 42;
std::uint64_t CompactAlphanumericKey(std::string_view text);

// Each text is sorted as one 64-bit item, its key above its position in
// the list: half the memory of a key beside a reference, so half the
// traffic per pass and half the fresh pages. The 22 bits the key leaves
// number up to four million entries; a longer list takes more of them and
// keeps only the key's top bits, so that more texts share a key and are
// ordered by comparison.
struct Packing {
  explicit Packing(std::size_t count);
  std::uint64_t Item(std::uint64_t key, std::size_t position) const {
    return (key >> (positionBits - (64 - KeyBits))) << positionBits | position;
  }
  std::size_t Position(std::uint64_t item) const {
    return static_cast<std::size_t>(item & ((std::uint64_t{1} << positionBits) - 1));
  }
  std::uint64_t Key(std::uint64_t item) const { return item >> positionBits; }

  int positionBits;
};

// Orders items by Key, stably; scratch holds as many items.
void RadixSortByKey(const Packing& packing, std::uint64_t* items, std::uint64_t* scratch,
                    std::size_t count);

// The run of items from begin with the same Key.
std::uint64_t* RunEnd(const Packing& packing, std::uint64_t* begin, std::uint64_t* end);

// Items for refs in their present order.
template <typename Ref>
void PackTexts(const Packing& packing, std::string_view chars, const std::vector<Ref>& refs,
               std::uint64_t* items) {
  for (std::size_t k = 0; k < refs.size(); ++k) {
    const std::string_view text = chars.substr(refs[k].offset, refs[k].length);
    items[k] = packing.Item(CompactAlphanumericKey(text), k);
  }
}

// Texts whose keys differ are in order once the items are; texts sharing a
// key share their first characters but for case, and only comparing them
// orders them. False when two of them compare equal.
template <typename TextOf>
bool OrderRunsStrictly(const Packing& packing, std::uint64_t* items, std::size_t count,
                       const TextOf& text) {
  const auto compare = [&](std::uint64_t a, std::uint64_t b) {
    return CompareAlphanumericFolded(text(a), text(b));
  };
  std::uint64_t* const end = items + count;
  for (std::uint64_t* run = items; run < end;) {
    std::uint64_t* const runEnd = RunEnd(packing, run, end);
    if (runEnd - run > 1) {
      std::sort(run, runEnd, [&](std::uint64_t a, std::uint64_t b) { return compare(a, b) < 0; });
      for (std::uint64_t* at = run + 1; at < runEnd; ++at) {
        if (compare(at[-1], *at) == 0) return false;
      }
    }
    run = runEnd;
  }
  return true;
}

// refs put in the items' order, by way of scratch, as every ref must stay
// where it is until read.
template <typename Ref>
void ReorderRefs(const Packing& packing, const std::uint64_t* items, std::uint64_t* scratch,
                 std::vector<Ref>& refs) {
  for (std::size_t k = 0; k < refs.size(); ++k) {
    const Ref& ref = refs[packing.Position(items[k])];
    scratch[k] = std::uint64_t{ref.offset} | std::uint64_t{ref.length} << 32;
  }
  for (std::size_t k = 0; k < refs.size(); ++k) {
    refs[k] = Ref{static_cast<std::uint32_t>(scratch[k]),
                  static_cast<std::uint32_t>(scratch[k] >> 32)};
  }
}

// SortDistinctAlphanumeric with any packing that numbers refs.size()
// entries.
template <typename Ref>
bool SortDistinctPacked(const Packing& packing, std::string_view chars, std::vector<Ref>& refs) {
  const std::size_t count = refs.size();
  // Not vectors: their elements would be zeroed only to be overwritten.
  const std::unique_ptr<std::uint64_t[]> items(new std::uint64_t[count]);
  const std::unique_ptr<std::uint64_t[]> scratch(new std::uint64_t[count]);
  PackTexts(packing, chars, refs, items.get());
  RadixSortByKey(packing, items.get(), scratch.get(), count);
  const auto text = [&](std::uint64_t item) {
    const Ref& ref = refs[packing.Position(item)];
    return chars.substr(ref.offset, ref.length);
  };
  if (!OrderRunsStrictly(packing, items.get(), count, text)) return false;
  ReorderRefs(packing, items.get(), scratch.get(), refs);
  return true;
}

}  // namespace store_sort_detail

// Sorts refs (anything with offset and length of a text in chars, every
// text alphanumeric) by CompareAlphanumericFolded and returns true, or
// returns false, with refs as they were, when two texts compare equal.
template <typename Ref>
bool SortDistinctAlphanumeric(std::string_view chars, std::vector<Ref>& refs) {
  using namespace store_sort_detail;
  return SortDistinctPacked(Packing(refs.size()), chars, refs);
}

}  // namespace tessavo
