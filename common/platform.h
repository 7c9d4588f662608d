// The few services that differ between the real Windows build and the
// headless one: message boxes and the Windows directory. The headless side
// keeps what it was asked to show so that tests can see it
// (common/headless/headless_platform.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessavo::platform {

// Message box flags and answers, with the Win32 values so that callers need
// not include <windows.h>.
inline constexpr unsigned MbOk = 0x0;
inline constexpr unsigned MbOkCancel = 0x1;
inline constexpr unsigned MbAbortRetryIgnore = 0x2;
inline constexpr unsigned MbYesNoCancel = 0x3;
inline constexpr unsigned MbYesNo = 0x4;
inline constexpr unsigned MbRetryCancel = 0x5;
inline constexpr unsigned MbCancelTryContinue = 0x6;
inline constexpr unsigned MbTypeMask = 0xF;
inline constexpr unsigned MbIconHand = 0x10;
inline constexpr unsigned MbIconStop = MbIconHand;  // the same icon, Win32's other name
inline constexpr unsigned MbIconQuestion = 0x20;
inline constexpr unsigned MbIconExclamation = 0x30;
inline constexpr unsigned MbIconAsterisk = 0x40;
inline constexpr unsigned MbDefButtonMask = 0xF00;
inline constexpr unsigned MbSetForeground = 0x10000;

inline constexpr int IdOk = 1;
inline constexpr int IdCancel = 2;
inline constexpr int IdAbort = 3;
inline constexpr int IdRetry = 4;
inline constexpr int IdIgnore = 5;
inline constexpr int IdYes = 6;
inline constexpr int IdNo = 7;
inline constexpr int IdTryAgain = 10;
inline constexpr int IdContinue = 11;

// Shows a message box owned by the program's active window, so that the
// window stays disabled until the box is closed. Returns the button pressed.
int ShowMessageBox(std::string_view text, std::string_view title, unsigned flags);

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
