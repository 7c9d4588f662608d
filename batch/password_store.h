// The passwords of the last run: an ordered list of texts kept compactly
// (one character buffer and a small reference per entry), so that a
// million passwords cost a few tens of megabytes, not a million heap blocks.
// While every text has the same length and the order is still that of
// appending, as after most runs, the references are implied by the length
// and none are kept: a million 16-character passwords then take 16 MB.
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
  // Removes every entry and gives back all memory.
  void Clear();

  // Removes every entry but keeps the room they took, so that the next run
  // of similar size writes to memory that is already there: fresh memory
  // costs the system a fault per page as it is first touched.
  void Empty();
  int Count() const { return count_; }

  // Throws std::length_error once the texts would outgrow 32-bit offsets.
  void Append(std::string_view text);

  // Appends an entry of length characters and returns where they go, for
  // the caller to write (straight into the store, not through a copy);
  // valid until the store changes. Throws as Append does.
  char* AppendSpace(std::size_t length);

  // Makes room for that many entries and characters in all, so that a run
  // of known size allocates once (a hint: never fails). Room kept by Empty
  // that is more than twice what is asked for is given back first.
  void Reserve(int entries, std::size_t characters);

  // The entry at a position; the view stays valid until the store changes.
  std::string_view Get(int index) const;

  // Removes an entry; later entries move up by one.
  void Delete(int index);

  // Case-insensitive locale order by the classic middle-pivot quicksort
  // (not stable: entries equal but for case end where it leaves them). A
  // list of letters and digits without two equal entries has one order
  // only, which a radix sort reaches much sooner; it is taken then.
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
  Entry EntryAt(std::size_t index) const {
    if (!implied_) return entries_[index];
    return Entry{static_cast<std::uint32_t>(index * impliedLength_), impliedLength_};
  }
  // Makes the references explicit, before anything that needs them in
  // their own right: a text of another length, Sort or Delete.
  void KeepEntries();
  void PrepareToAppend(std::size_t length);
  void AddEntry(std::size_t offset, std::size_t length);
  void CheckIndex(int index) const;

  std::string chars_;           // the texts, back to back, in append order
  std::vector<Entry> entries_;  // store order, unless implied_
  int count_ = 0;
  bool implied_ = true;         // entry k is the k-th text of impliedLength_
  std::uint32_t impliedLength_ = 0;
};

}  // namespace tessavo
