// Win32 platform: the system's Windows directory.
#include <windows.h>

#include <string>

#include "common/platform.h"

namespace tessavo::platform {

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
