#include "common/collate.h"

#include <windows.h>

#include <climits>

namespace tessavo {

int CompareTextLocale(std::string_view a, std::string_view b) {
  if (a.size() <= static_cast<std::size_t>(INT_MAX) &&
      b.size() <= static_cast<std::size_t>(INT_MAX)) {
    const int result =
        CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                       b.data(), static_cast<int>(b.size()));
    if (result != 0) return result - CSTR_EQUAL;
  }
  // Only where the locale service cannot answer, so that a sort still sees
  // one consistent order.
  return CompareAsciiFolded(a, b);
}

}  // namespace tessavo
