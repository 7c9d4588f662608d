// The passwords of the last run: an ordered list of texts kept compactly
// (one character buffer and a small reference per entry), so that a
// million passwords cost a few tens of megabytes, not a million heap blocks.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "common/file_replace.h"  // FileCreateError, StreamWriteError

namespace tessavo {

// Get or Delete with a position outside 0..Count()-1.
class ListIndexError : public std::out_of_range {
 public:
  explicit ListIndexError(int index);
  int Index() const { return index_; }

 private:
  int index_;
};

class PasswordStore {
 public:
  void Clear();
  int Count() const { return static_cast<int>(entries_.size()); }

  // Throws std::length_error once the texts would outgrow 32-bit offsets.
  void Append(std::string_view text);

  // Makes room for that many entries and characters in all, so that a run
  // of known size allocates once (a hint: never fails, never shrinks).
  void Reserve(int entries, std::size_t characters);

  // The entry at a position; the view stays valid until the store changes.
  std::string_view Get(int index) const;

  // Removes an entry; later entries move up by one.
  void Delete(int index);

  // Case-insensitive locale order by the classic middle-pivot quicksort
  // (not stable: entries equal but for case end where it leaves them).
  void Sort();

  // Writes every entry followed by CR LF. The file is replaced only once
  // the whole image is written, so a failure leaves an existing file as it
  // was.
  void SaveToFile(const std::string& path) const;

  // Bytes held, for the memory figures of the benchmarks.
  std::size_t MemoryUsage() const;

 private:
  struct Entry {
    std::uint32_t offset;
    std::uint32_t length;
  };

  std::string_view Text(Entry entry) const {
    return std::string_view(chars_).substr(entry.offset, entry.length);
  }
  void CheckIndex(int index) const;

  std::string chars_;          // the texts, back to back, in append order
  std::vector<Entry> entries_; // store order; Sort and Delete permute these
};

}  // namespace tessavo
