// Win32 platform: user32 message boxes and the system's Windows directory.
#include <windows.h>

#include <string>

#include "common/platform.h"

namespace tessavo::platform {

static_assert(MbOk == MB_OK && MbOkCancel == MB_OKCANCEL &&
              MbAbortRetryIgnore == MB_ABORTRETRYIGNORE && MbYesNoCancel == MB_YESNOCANCEL &&
              MbYesNo == MB_YESNO && MbRetryCancel == MB_RETRYCANCEL &&
              MbCancelTryContinue == MB_CANCELTRYCONTINUE && MbTypeMask == MB_TYPEMASK);
static_assert(MbIconHand == MB_ICONHAND && MbIconQuestion == MB_ICONQUESTION &&
              MbIconExclamation == MB_ICONEXCLAMATION && MbIconAsterisk == MB_ICONASTERISK &&
              MbDefButtonMask == MB_DEFMASK && MbSetForeground == MB_SETFOREGROUND);
static_assert(IdOk == IDOK && IdCancel == IDCANCEL && IdAbort == IDABORT && IdRetry == IDRETRY &&
              IdIgnore == IDIGNORE && IdYes == IDYES && IdNo == IDNO &&
              IdTryAgain == IDTRYAGAIN && IdContinue == IDCONTINUE);

int ShowMessageBox(std::string_view text, std::string_view title, unsigned flags) {
  // Owned by the active window, the box disables it for as long as it is
  // up, so nothing else in the program can be clicked meanwhile; with no
  // active window the box stands on its own.
  const std::string textZ(text);
  const std::string titleZ(title);
  return MessageBoxA(GetActiveWindow(), textZ.c_str(), titleZ.c_str(), flags);
}

std::string SystemWindowsDirectory() {
  // 255 characters hold any ordinary path; a longer one is fetched again
  // with the size the system asks for instead of being used cut short.
  return ReadSizedText(
      [](char* buffer, std::uint32_t size) -> std::uint32_t {
        return GetWindowsDirectoryA(buffer, size);
      },
      255);
}

}  // namespace tessavo::platform
