#include <utility>

#include "common/headless/headless_platform.h"
#include "toolkit/headless/headless.h"
#include "toolkit/headless/headless_app.h"
#include "toolkit/headless/headless_services.h"

namespace tessavo::tk::headless {

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
  Dialogs().saveResults.push_back(std::move(path));
}
const std::vector<SaveDialogOptions>& SaveDialogs() { return Dialogs().saveDialogs; }
void QueueOpenDialogResult(std::optional<std::string> path) {
  Dialogs().openResults.push_back(std::move(path));
}
const std::vector<OpenDialogOptions>& OpenDialogs() { return Dialogs().openDialogs; }

void SetScreenSize(Size size) { Platform().screen_ = size; }
std::string ClipboardText() { return Clipboard().text; }
void CopyInAnotherProgram(std::string_view text) { Clipboard().SetText(text); }
Cursor CurrentCursor() { return Platform().cursor_; }
const std::vector<Cursor>& CursorHistory() { return Platform().cursorHistory_; }
int BeepCount() { return Notify().beeps; }
int MinimizeCount() { return Platform().minimizeCount_; }
const std::vector<std::string>& PlayedSounds() { return Notify().sounds; }
const std::vector<bool>& TaskbarFlashes() { return Notify().flashes; }
const std::vector<std::string>& OpenedTargets() { return Shell().opened; }
void QueueShellResult(long long result) { Shell().results.push_back(result); }

void AdvanceClock(std::chrono::milliseconds by) { Platform().AdvanceClock(by); }
void SetClockStep(std::chrono::microseconds step) { Platform().clockStep_ = step; }

std::size_t TimerCount() { return Timers().Count(); }
void FireTimers() { Timers().FireAll(Platform().Now()); }
void RefuseTimers(bool refusing) { Timers().refuse = refusing; }

void SetTimeSeparator(char separator) { Platform().timeSeparator_ = separator; }
void SetDecimalSeparator(char separator) { Platform().decimalSeparator_ = separator; }

void Reset() {
  Platform().Reset();
  Dialogs() = HeadlessDialogs();
  Notify() = HeadlessNotify();
  Timers().Reset();
  Timers().refuse = false;
  Clipboard() = HeadlessClipboard();
  Shell() = HeadlessShell();
  ::tessavo::headless::ResetPlatform();
  App().Reset();
}

}  // namespace tessavo::tk::headless
