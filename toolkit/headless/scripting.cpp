#include <utility>

#include "toolkit/headless/headless_app.h"
#include "toolkit/headless/headless_services.h"
#include "toolkit/headless_scripting.h"

namespace tessavo::tk::headless {

void QueueUserAction(std::function<void()> action) { Platform().QueueAction(std::move(action)); }

std::size_t PendingUserActions() { return Platform().PendingActions(); }

const std::vector<MessageBoxCall>& MessageBoxes() { return Dialogs().boxes; }
void QueueMessageBoxAnswer(int answer) { Dialogs().boxAnswers.push_back(answer); }

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
  App().Reset();
}

}  // namespace tessavo::tk::headless
