// What differs between the real Windows build and the headless one for
// the shared helpers: the Windows directory. The headless side reports
// what the host set (common/stand_in.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessavo::platform {

// The Windows directory as the system reports it (no trailing backslash is
// added here); empty if there is none.
std::string SystemWindowsDirectory();

// Runs a Win32-style text getter: getter(buffer, size) copies the text and
// returns its length, returns the size it needs (terminating zero included)
// when the buffer is too small, and 0 on failure. The text may grow between
// two calls, so the buffer is enlarged a few times before giving up; an
// answer that never fits gives the empty text rather than a cut one.
template <class Getter>
std::string ReadSizedText(Getter&& getter, std::uint32_t firstSize) {
  std::uint32_t size = firstSize == 0 ? 1 : firstSize;
  for (int attempt = 0; attempt < 4; ++attempt) {
    std::string buffer(size, '\0');
    const std::uint32_t result = getter(buffer.data(), size);
    if (result == 0) return {};
    if (result < size) {
      buffer.resize(result);
      return buffer;
    }
    // Too small: grow to what was asked for, and at least by one so that a
    // getter reporting the old size again cannot keep us at the same size.
    if (size == UINT32_MAX) return {};
    size = result > size ? result : size + 1;
  }
  return {};
}

}  // namespace tessavo::platform
