#include "toolkit/clipboard_eraser.h"

#include <algorithm>
#include <exception>

#include "toolkit/application.h"

namespace tessavo::tk {

ClipboardEraser::~ClipboardEraser() { Stop(); }

void ClipboardEraser::Copy(std::string_view text) {
  Stop();
  App().SetClipboardText(text);
  if (delay_ <= std::chrono::seconds::zero()) return;
  sequence_ = App().Clipboard().SequenceNumber();
  Wait(delay_);
}

void ClipboardEraser::Wait(std::chrono::milliseconds delay) {
  timer_ = App().StartTimer(delay, [this] {
    Stop();
    try {
      App().Clipboard().EmptyIfUnchanged(sequence_);
    } catch (const std::exception&) {
      // Another program holds the clipboard open: nobody asked for this,
      // so no error box; the next try comes soon.
      Wait(std::chrono::seconds(1));
    }
  });
}

void ClipboardEraser::Stop() {
  if (timer_ == 0) return;
  App().StopTimer(timer_);
  timer_ = 0;
}

std::chrono::seconds ClipboardDelayFromSetting(int seconds) {
  const auto stored = static_cast<std::uint32_t>(seconds);
  return std::chrono::seconds(std::min<std::uint32_t>(stored, 3600));
}

}  // namespace tessavo::tk
