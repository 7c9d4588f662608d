// Scripting the headless platform from tests: user actions delivered
// inside message processing, answers to message boxes and save dialogs,
// the screen size, the clipboard, the cursor, beeps and the clock.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/application.h"

namespace tessavo::tk::headless {

// Runs inside the next ProcessMessages (or modal loop), in order, through
// the application's error guard, as a real user's input would.
//
// ProcessMessages delivers, until nothing is left, one at a time: calls
// from other threads (RunOnMainThread), then the queued user actions;
// before each, the timers that are due by the manual clock run. RunLoop
// does the same until the main form closes or nothing is queued; a modal
// loop throws UnguardedError when nothing is queued while its form is
// still open.
void QueueUserAction(std::function<void()> action);
std::size_t PendingUserActions();

struct MessageBoxCall {
  std::string text;
  std::string title;
  unsigned flags;
};
// Every box shown since the last Reset, oldest first: the toolkit's and
// those of ShowErrorBox, which share the common platform's message box.
// Answers are scripted with tessavo::headless::QueueMessageBoxAnswer; an
// unscripted box answers with its default button (OK for an error box).
const std::vector<MessageBoxCall>& MessageBoxes();

// The next save dialog returns this (nullopt: the user cancels); the
// options it was shown with are kept.
void QueueSaveDialogResult(std::optional<std::string> path);
const std::vector<SaveDialogOptions>& SaveDialogs();

void SetScreenSize(Size size);
std::string ClipboardText();
Cursor CurrentCursor();
// Cursors set since the last Reset, in order.
const std::vector<Cursor>& CursorHistory();
int BeepCount();
int MinimizeCount();

// The clock moves only when tests move it.
void AdvanceClock(std::chrono::milliseconds by);

// Window timers: how many run, and running each one once now (through the
// error guard, as a timer message would), whatever the clock says.
std::size_t TimerCount();
void FireTimers();

// The locale's separators (':' and '.' until set).
void SetTimeSeparator(char separator);
void SetDecimalSeparator(char separator);

// Back to a clean state between tests: the above, the common platform's
// message box log and answers (common/headless/headless_platform.h), and
// the application's title, hint, handlers and main form.
void Reset();

}  // namespace tessavo::tk::headless
