// Scripting the headless platform from tests: user actions delivered
// inside message processing, answers to dialogs, the screen size, the
// services' records, the clock, and what the peers were told. Only the
// headless build defines these (toolkit/headless/).
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/application.h"
#include "toolkit/form.h"

namespace tessavo::tk::headless {

// Runs inside the next ProcessMessages (or modal loop), in order, through
// the application's error guard, as a real user's input would.
//
// ProcessMessages delivers, until nothing is left, one at a time: calls
// from other threads (RunOnMainThread), then the queued user actions;
// before each, the timers that are due by the manual clock run.
// WaitAndProcess delivers the due timers, the calls and at most one
// action; with nothing queued it throws UnguardedError once ten minutes
// of the manual clock have passed that way. RunLoop
// does the same until the main form closes or nothing is queued; a modal
// loop throws UnguardedError when nothing is queued while its form is
// still open.
void QueueUserAction(std::function<void()> action);
std::size_t PendingUserActions();

struct MessageBoxCall {
  std::string text;
  std::string title;
  unsigned flags = 0;
  int answer = 0;  // the button the box was closed with
};
// Every box shown since the last Reset, oldest first.
const std::vector<MessageBoxCall>& MessageBoxes();
// Answers for the next boxes, used once each in order. When none is queued
// a box is closed with its default button, as pressing Enter would (OK for
// an error box).
void QueueMessageBoxAnswer(int answer);

// The next save or open dialog returns this (nullopt: the user cancels);
// the options each was shown with are kept.
void QueueSaveDialogResult(std::optional<std::string> path);
const std::vector<SaveDialogOptions>& SaveDialogs();
void QueueOpenDialogResult(std::optional<std::string> path);
const std::vector<OpenDialogOptions>& OpenDialogs();

void SetScreenSize(Size size);
std::string ClipboardText();
// Another program (or the user elsewhere) puts text on the clipboard.
void CopyInAnotherProgram(std::string_view text);
Cursor CurrentCursor();
// Cursors set since the last Reset, in order.
const std::vector<Cursor>& CursorHistory();
int BeepCount();
int MinimizeCount();
// Sounds started, and the taskbar button's flashes (true: toggled, false:
// back to normal), in order.
const std::vector<std::string>& PlayedSounds();
const std::vector<bool>& TaskbarFlashes();
// Targets opened through the shell; the next opens answer these (success,
// 42, when none is queued).
const std::vector<std::string>& OpenedTargets();
void QueueShellResult(long long result);

// The clock moves only when tests move it, when WaitAndProcess waits with
// nothing queued (by its timeout), and, with a step set, by that step
// after every reading (so that long work that processes messages every
// few milliseconds does so while a test watches).
void AdvanceClock(std::chrono::milliseconds by);
void SetClockStep(std::chrono::microseconds step);

// Window timers: how many run, and running each one once now (through the
// error guard, as a timer message would), whatever the clock says. With
// refusing set, starting a timer fails as when the system has none left.
std::size_t TimerCount();
void FireTimers();
void RefuseTimers(bool refusing);

// The locale's separators (':' and '.' until set).
void SetTimeSeparator(char separator);
void SetDecimalSeparator(char separator);

// The pointer moves over a form (its client coordinates) or off it
// (nullopt): the form hears it, and PointerPosition reports it.
void MovePointer(Form& form, std::optional<Point> p);

// What the peers were told. UnreportedChanges lists every control of a
// form whose state differs from what its peer last saw (a change made
// without Changed), and every control without a peer; empty when the form
// has no peer yet. PeerUpdates is the log of one control's reports.
std::vector<std::string> UnreportedChanges(const Form& form);
std::vector<Change> PeerUpdates(const Control& control);
// The state a peer mirrors, as one line of text.
std::string DescribeControl(const Control& control);

// Back to a clean state between tests: the above, and the application's
// title, hint, handlers and main form.
void Reset();

}  // namespace tessavo::tk::headless
