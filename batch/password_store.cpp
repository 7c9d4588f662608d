#include "batch/password_store.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <new>
#include <utility>

#include "batch/store_image.h"
#include "batch/store_sort.h"
#include "common/collate.h"

namespace tessavo {

namespace {

constexpr std::size_t MaxCharacters = UINT32_MAX;

// The classic middle-pivot quicksort. The places it leaves entries that
// compare equal are part of the result, so its steps must not change; only
// the order in which the two finished partitions are sorted does: the
// smaller one by recursion, the larger one in the loop, which keeps the
// stack depth logarithmic (an unlucky list would otherwise recurse once per
// entry and overflow a thread's stack).
template <typename T, typename Compare>
void QuickSort(T* a, int low, int high, const Compare& compare) {
  while (low < high) {
    int i = low;
    int j = high;
    const T pivot = a[low + (high - low) / 2];
    do {
      while (compare(a[i], pivot) < 0) ++i;
      while (compare(a[j], pivot) > 0) --j;
      if (i <= j) {
        std::swap(a[i], a[j]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - low < high - i) {
      if (low < j) QuickSort(a, low, j, compare);
      low = i;
    } else {
      if (i < high) QuickSort(a, i, high, compare);
      high = j;
    }
  }
}

}  // namespace

ListIndexError::ListIndexError(int index)
    : std::out_of_range("List index out of bounds (" + std::to_string(index) + ")"),
      index_(index) {}

void PasswordStore::Clear() {
  Empty();
  // Swapped with empty ones: clear() and moves may keep the room.
  std::string().swap(chars_);
  std::vector<Entry>().swap(entries_);
}

void PasswordStore::Empty() {
  chars_.clear();
  entries_.clear();
  count_ = 0;
  implied_ = true;
  impliedLength_ = 0;
}

void PasswordStore::KeepEntries() {
  if (!implied_) return;
  // Into the room Reserve may have made; entries_ is empty until now.
  entries_.reserve(static_cast<std::size_t>(count_));
  for (std::size_t k = 0; k < static_cast<std::size_t>(count_); ++k) entries_.push_back(EntryAt(k));
  implied_ = false;
}

// Before a text of length characters is appended: it must fit the 32-bit
// offsets, and one of another length ends the implied references.
void PasswordStore::PrepareToAppend(std::size_t length) {
  if (count_ == INT_MAX || length > MaxCharacters - chars_.size()) {
    throw std::length_error("PasswordStore: too many characters for 32-bit offsets");
  }
  if (implied_ && count_ > 0 && length != impliedLength_) KeepEntries();
}

// Records the entry whose characters were just put at offset.
void PasswordStore::AddEntry(std::size_t offset, std::size_t length) {
  if (implied_) {
    impliedLength_ = static_cast<std::uint32_t>(length);
  } else {
    try {
      entries_.push_back(
          Entry{static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(length)});
    } catch (...) {
      chars_.resize(offset);
      throw;
    }
  }
  ++count_;
}

void PasswordStore::Append(std::string_view text) {
  PrepareToAppend(text.size());
  const std::size_t offset = chars_.size();
  chars_.append(text.data(), text.size());  // text may lie in chars_ itself
  AddEntry(offset, text.size());
}

char* PasswordStore::AppendSpace(std::size_t length) {
  PrepareToAppend(length);
  const std::size_t offset = chars_.size();
  chars_.resize(offset + length);
  AddEntry(offset, length);
  return chars_.data() + offset;
}

void PasswordStore::Reserve(int entries, std::size_t characters) {
  if (count_ == 0 && (chars_.capacity() / 2 > characters ||
                      entries_.capacity() / 2 > static_cast<std::size_t>(std::max(entries, 0)))) {
    Clear();
  }
  try {
    if (entries > 0) entries_.reserve(static_cast<std::size_t>(entries));
    chars_.reserve(characters < MaxCharacters ? characters : MaxCharacters);
  } catch (const std::bad_alloc&) {
    // Only a hint: growing on demand still works.
  } catch (const std::length_error&) {
  }
}

void PasswordStore::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) throw ListIndexError(index);
}

std::string_view PasswordStore::Get(int index) const {
  CheckIndex(index);
  return Text(EntryAt(static_cast<std::size_t>(index)));
}

void PasswordStore::Delete(int index) {
  CheckIndex(index);
  KeepEntries();
  entries_.erase(entries_.begin() + index);
  --count_;
}

void PasswordStore::Sort() {
  const int count = Count();
  if (count < 2) return;
  KeepEntries();

  bool allAlphanumeric = true;
  for (const Entry entry : entries_) {
    if (!IsAsciiAlphanumeric(Text(entry))) {
      allAlphanumeric = false;
      break;
    }
  }

  if (!allAlphanumeric) {
    QuickSort(entries_.data(), 0, count - 1, [this](Entry a, Entry b) {
      const std::string_view x = Text(a);
      const std::string_view y = Text(b);
      if (IsAsciiAlphanumeric(x) && IsAsciiAlphanumeric(y)) {
        return CompareAlphanumericFolded(x, y);
      }
      return CompareTextLocale(x, y);
    });
    return;
  }

  // Without two entries that compare equal the sorted order is unique, so
  // a radix sort finds the quicksort's result many times faster.
  if (SortDistinctAlphanumeric(chars_, entries_)) return;

  // Most comparisons are settled by the first eight characters; keeping
  // them as a number beside each reference spares a trip to the character
  // buffer, scattered across memory once the list is half sorted.
  struct Keyed {
    std::uint64_t key;
    Entry entry;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(entries_.size());
  for (const Entry entry : entries_) keyed.push_back({AlphanumericSortKey(Text(entry)), entry});

  QuickSort(keyed.data(), 0, count - 1, [this](const Keyed& a, const Keyed& b) {
    if (a.key != b.key) return a.key < b.key ? -1 : 1;
    // Equal keys: equal texts up to eight characters, and then a text of
    // at most eight is a prefix of the other (or equal to it).
    if (a.entry.length <= 8 || b.entry.length <= 8) {
      if (a.entry.length == b.entry.length) return 0;
      return a.entry.length < b.entry.length ? -1 : 1;
    }
    return CompareAlphanumericFolded(Text(a.entry).substr(8), Text(b.entry).substr(8));
  });

  for (std::size_t k = 0; k < keyed.size(); ++k) entries_[k] = keyed[k].entry;
}

void PasswordStore::SaveToFile(const std::string& path) const {
  LinesImage image(chars_, static_cast<std::size_t>(count_),
                   [this](std::size_t k) { return EntryAt(k); });
  ReplaceFileContents(path, [&image] { return image.Next(); });
}

std::size_t PasswordStore::MemoryUsage() const {
  return chars_.capacity() + entries_.capacity() * sizeof(Entry);
}

}  // namespace tessavo
