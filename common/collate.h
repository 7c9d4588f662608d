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

namespace collate_detail {

constexpr std::uint64_t EveryByte(unsigned char value) { return 0x0101010101010101ull * value; }

// Bit 7 of each byte of x set where that byte lies in low..high. Adding
// 0x80 - low sets bit 7 exactly for the bytes from low up, adding
// 0x7f - high exactly for those above high; no sum carries into the next
// byte while every byte of x is below 0x80.
constexpr std::uint64_t BytesWithin(std::uint64_t x, unsigned char low, unsigned char high) {
  return (x + EveryByte(static_cast<unsigned char>(0x80 - low))) &
         ~(x + EveryByte(static_cast<unsigned char>(0x7f - high))) & EveryByte(0x80);
}

// Eight characters tested at once: sorting a list tests every character of
// it, and digits mixed with letters at random defeat a branch per character.
inline bool AsciiAlphanumericWord(const char* p) {
  std::uint64_t x;
  std::memcpy(&x, p, 8);
  if ((x & EveryByte(0x80)) != 0) return false;
  const std::uint64_t digits = BytesWithin(x, '0', '9');
  const std::uint64_t letters = BytesWithin(x | EveryByte(0x20), 'a', 'z');
  return (digits | letters) == EveryByte(0x80);
}

// Without a branch on the character's kind, for the same reason.
inline bool AsciiAlphanumericByte(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  const unsigned char folded = u | 0x20;
  return (static_cast<unsigned char>(u - '0') <= 9) |
         (static_cast<unsigned char>(folded - 'a') <= 25);
}

}  // namespace collate_detail

// True when every byte is an ASCII letter or digit (also for the empty text).
inline bool IsAsciiAlphanumeric(std::string_view text) {
  std::size_t at = 0;
  bool all = true;
  for (; at + 8 <= text.size(); at += 8) {
    all &= collate_detail::AsciiAlphanumericWord(text.data() + at);
  }
  for (; at < text.size(); ++at) all &= collate_detail::AsciiAlphanumericByte(text[at]);
  return all;
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
