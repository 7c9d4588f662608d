// Passwords put on the clipboard and taken off again after a while, but
// only if nothing else has been copied since: what the user or another
// program put there is never touched.
#pragma once

#include <chrono>
#include <cstdint>
#include <string_view>

namespace tessavo::tk {

class ClipboardEraser {
 public:
  ClipboardEraser() = default;
  // A wait still running is dropped and the text stays on the clipboard:
  // a user who copies a password and closes the program means to paste it.
  ~ClipboardEraser();
  ClipboardEraser(const ClipboardEraser&) = delete;
  ClipboardEraser& operator=(const ClipboardEraser&) = delete;

  // How long the text stays; zero keeps it for good.
  void SetDelay(std::chrono::seconds delay) { delay_ = delay; }
  std::chrono::seconds Delay() const { return delay_; }

  // Puts text on the clipboard; the wait starts anew.
  void Copy(std::string_view text);
  bool Waiting() const { return timer_ != 0; }

 private:
  void Wait(std::chrono::milliseconds delay);
  void Stop();

  std::chrono::seconds delay_{30};
  int timer_ = 0;
  std::uint64_t sequence_ = 0;
};

// The delay stored as a registry integer: zero for never, at most an
// hour. The value is a DWORD, so a negative int is a large one.
std::chrono::seconds ClipboardDelayFromSetting(int seconds);

}  // namespace tessavo::tk
