#include <utility>

#include "common/headless/headless_platform.h"
#include "toolkit/headless/headless.h"
#include "toolkit/headless/headless_app.h"

namespace tessavo::tk::headless {
namespace {

HeadlessPlatform& Platform() { return static_cast<HeadlessPlatform&>(App().Platform()); }

}  // namespace

void QueueUserAction(std::function<void()> action) { Platform().QueueAction(std::move(action)); }

std::size_t PendingUserActions() { return Platform().PendingActions(); }

const std::vector<MessageBoxCall>& MessageBoxes() {
  // The log lives in the common platform; this copy is refreshed on each
  // call, so a reference kept from an earlier call sees the new boxes too.
  static std::vector<MessageBoxCall> calls;
  calls.clear();
  for (const auto& box : ::tessavo::headless::ShownMessageBoxes()) {
    calls.push_back({box.text, box.title, box.flags});
  }
  return calls;
}

void QueueSaveDialogResult(std::optional<std::string> path) {
  Platform().saveResults_.push_back(std::move(path));
}

const std::vector<SaveDialogOptions>& SaveDialogs() { return Platform().saveDialogs_; }

void SetScreenSize(Size size) { Platform().screen_ = size; }
std::string ClipboardText() { return Platform().clipboard_; }
Cursor CurrentCursor() { return Platform().cursor_; }
const std::vector<Cursor>& CursorHistory() { return Platform().cursorHistory_; }
int BeepCount() { return Platform().beeps_; }
int MinimizeCount() { return Platform().minimizeCount_; }

void AdvanceClock(std::chrono::milliseconds by) { Platform().AdvanceClock(by); }

std::size_t TimerCount() { return Platform().TimerCount(); }
void FireTimers() { Platform().FireAllTimers(); }

void SetTimeSeparator(char separator) { Platform().timeSeparator_ = separator; }
void SetDecimalSeparator(char separator) { Platform().decimalSeparator_ = separator; }

void Reset() {
  Platform().Reset();
  ::tessavo::headless::ResetPlatform();
  App().Reset();
}

}  // namespace tessavo::tk::headless
