// Telling the user: the default beep, .WAV sounds played asynchronously,
// and the flashed look of the taskbar button.
#include <windows.h>

#include <mmsystem.h>

#include "toolkit/services.h"
#include "toolkit/win32/win32_platform.h"

namespace tessavo::tk::win32 {
namespace {

int g_beeps = 0;

class Win32Notify final : public NotifyService {
 public:
  void Beep() override {
    ++g_beeps;
    MessageBeep(0);
  }
  void PlaySoundFile(const std::string& path) override {
    // SND_ASYNC (1): returns at once while the sound plays on; a file the
    // system cannot play is not reported.
    PlaySoundA(path.c_str(), nullptr, SND_ASYNC);
  }
  void FlashTaskbarButton(bool invert) override {
    // The application window owns the taskbar button.
    FlashWindow(ApplicationWindow(), invert ? TRUE : FALSE);
  }
};

}  // namespace

int BeepCount() { return g_beeps; }

}  // namespace tessavo::tk::win32

namespace tessavo::tk {

std::unique_ptr<NotifyService> CreateNotifyService() {
  return std::make_unique<win32::Win32Notify>();
}

}  // namespace tessavo::tk
