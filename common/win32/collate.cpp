#include "common/collate.h"

#include <windows.h>

#include <climits>

namespace tessavo {

namespace {

// Used only where the locale service cannot answer, so that a sort still
// sees one consistent order.
int CompareBytesFolded(std::string_view a, std::string_view b) {
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

}  // namespace

int CompareTextLocale(std::string_view a, std::string_view b) {
  if (a.size() <= static_cast<std::size_t>(INT_MAX) &&
      b.size() <= static_cast<std::size_t>(INT_MAX)) {
    const int result =
        CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                       b.data(), static_cast<int>(b.size()));
    if (result != 0) return result - CSTR_EQUAL;
  }
  return CompareBytesFolded(a, b);
}

}  // namespace tessavo
