// Text order for sorting password lists: the user's locale, ignoring case,
// plus an exact shortcut for texts made only of ASCII letters and digits,
// which is what the generators produce.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace tessavo {

// <0, 0 or >0 as a sorts before, with or after b in the user's locale,
// case ignored. Win32: CompareStringA with the user's default locale;
// elsewhere a byte comparison with ASCII letters folded to lowercase.
int CompareTextLocale(std::string_view a, std::string_view b);

// True when every byte is an ASCII letter or digit (also for the empty text).
inline bool IsAsciiAlphanumeric(std::string_view text) {
  for (const char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    const unsigned char folded = u | 0x20;
    if (!((u >= '0' && u <= '9') || (folded >= 'a' && folded <= 'z'))) return false;
  }
  return true;
}

// Bytes compared with ASCII letters folded to lowercase: the order where no
// locale service can answer.
inline int CompareAsciiFolded(std::string_view a, std::string_view b) {
  const std::size_t common = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t k = 0; k < common; ++k) {
    unsigned char x = static_cast<unsigned char>(a[k]);
    unsigned char y = static_cast<unsigned char>(b[k]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

namespace collate_detail {

// Up to eight bytes (n <= 8) as a big-endian number with letters folded to
// lowercase, missing bytes zero. Setting bit 0x20 folds letters and leaves
// digits alone, which is all an alphanumeric text needs; as every folded
// byte is non-zero, the zero padding sorts a prefix first.
inline std::uint64_t FoldedChunk(const char* p, std::size_t n) {
  static_assert(std::endian::native == std::endian::little, "keys are built little-endian");
  std::uint64_t raw = 0;
  std::memcpy(&raw, p, n);
  const std::uint64_t fold = n == 0 ? 0 : 0x2020202020202020ull >> (8 * (8 - n));
  return __builtin_bswap64(raw | fold);
}

}  // namespace collate_detail

// The locale order restricted to ASCII letters and digits (both texts must
// pass IsAsciiAlphanumeric): digits before letters, letters alphabetical
// whatever their case, a prefix before the longer text; texts equal but for
// case compare equal.
inline int CompareAlphanumericFolded(std::string_view a, std::string_view b) {
  const std::size_t common = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t at = 0; at < common; at += 8) {
    const std::size_t n = common - at < 8 ? common - at : 8;
    const std::uint64_t x = collate_detail::FoldedChunk(a.data() + at, n);
    const std::uint64_t y = collate_detail::FoldedChunk(b.data() + at, n);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

// The first eight bytes of an alphanumeric text as CompareAlphanumericFolded
// orders them: two texts whose keys differ compare as their keys do.
inline std::uint64_t AlphanumericSortKey(std::string_view text) {
  return collate_detail::FoldedChunk(text.data(), text.size() < 8 ? text.size() : 8);
}

}  // namespace tessavo
