#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <utility>

#include "toolkit/form.h"
#include "toolkit/headless/headless_app.h"
#include "toolkit/headless/headless_services.h"

namespace tessavo::tk {

std::unique_ptr<AppPlatform> CreateAppPlatform() {
  return std::make_unique<headless::HeadlessPlatform>();
}
std::unique_ptr<DialogService> CreateDialogService() {
  return std::make_unique<headless::HeadlessDialogs>();
}
std::unique_ptr<NotifyService> CreateNotifyService() {
  return std::make_unique<headless::HeadlessNotify>();
}
std::unique_ptr<TimerService> CreateTimerService() {
  return std::make_unique<headless::HeadlessTimers>();
}
std::unique_ptr<ClipboardService> CreateClipboardService() {
  return std::make_unique<headless::HeadlessClipboard>();
}
std::unique_ptr<ShellService> CreateShellService() {
  return std::make_unique<headless::HeadlessShell>();
}

namespace headless {
namespace {

// Not the steady clock's own zero, so that "a while before the start" is
// still a valid time point.
constexpr AppPlatform::Clock::time_point kClockStart =
    AppPlatform::Clock::time_point{} + std::chrono::hours(24);

}  // namespace

HeadlessPlatform& Platform() { return static_cast<HeadlessPlatform&>(App().Platform()); }
HeadlessDialogs& Dialogs() { return static_cast<HeadlessDialogs&>(App().Dialogs()); }
HeadlessNotify& Notify() { return static_cast<HeadlessNotify&>(App().Notify()); }
HeadlessTimers& Timers() { return static_cast<HeadlessTimers&>(App().Timers()); }
HeadlessClipboard& Clipboard() { return static_cast<HeadlessClipboard&>(App().Clipboard()); }
HeadlessShell& Shell() { return static_cast<HeadlessShell&>(App().Shell()); }

HeadlessPlatform::HeadlessPlatform() : now_(kClockStart) {}

void HeadlessPlatform::ProcessMessages() {
  Pump([] { return false; });
}

AppPlatform::Clock::time_point HeadlessPlatform::Now() {
  const Clock::time_point now = now_;
  now_ += clockStep_;
  return now;
}

void HeadlessPlatform::WaitAndProcess(std::chrono::milliseconds timeout) {
  // One user action at a time, so that a test can interleave its input
  // with a loop that waits. With nothing queued the time passes on the
  // manual clock, while another thread gets a moment to call.
  if (actions_.empty() && !App().Calls().Pending()) {
    App().Calls().WaitForCall(std::min(timeout, std::chrono::milliseconds(1)));
    now_ += timeout;
    // Ten minutes of the manual clock with nothing to do: a test waits
    // for input it never queued.
    if (!App().Calls().Pending() && ++idleWaits_ * timeout > std::chrono::minutes(10)) {
      idleWaits_ = 0;
      throw UnguardedError("A loop waits for user input, and none is queued");
    }
  } else {
    idleWaits_ = 0;
  }
  Timers().FireDue(now_);
  App().ServeMainThreadCalls();
  if (actions_.empty()) return;
  std::function<void()> action = std::move(actions_.front());
  actions_.pop_front();
  App().Guard(action);
}

void HeadlessPlatform::RunLoop() {
  quit_ = false;
  Pump([this] { return quit_; });
  quit_ = false;
}

void HeadlessPlatform::RunModalLoop(const std::function<bool()>& finished) {
  if (!Pump(finished)) {
    throw UnguardedError("A modal form waits for user input, and none is queued");
  }
}

bool HeadlessPlatform::Pump(const std::function<bool()>& stop) {
  for (;;) {
    if (stop()) return true;
    Timers().FireDue(now_);
    if (stop()) return true;
    if (!DeliverOne()) return false;
  }
}

bool HeadlessPlatform::DeliverOne() {
  // Calls from other threads first, as the window system's sent messages
  // come before posted ones.
  if (App().ServeMainThreadCalls()) return true;
  if (actions_.empty()) return false;
  // Taken off the queue first: the action may process messages itself.
  std::function<void()> action = std::move(actions_.front());
  actions_.pop_front();
  App().Guard(action);
  return true;
}

Size HeadlessPlatform::OuterSize(const Form& form) {
  // The classic metrics: a fixed frame of 4 pixels a side and a 27-pixel
  // caption; a sizing frame one pixel wider; a 19-pixel menu bar.
  Size frame;
  switch (form.GetBorderStyle()) {
    case BorderStyle::Sizeable:
      frame = {10, 37};
      break;
    case BorderStyle::Single:
    case BorderStyle::Dialog:
      frame = {8, 35};
      break;
    case BorderStyle::None:
      break;
  }
  if (form.Menu()) frame.height += 19;
  return {form.ClientWidth() + frame.width, form.ClientHeight() + frame.height};
}

void HeadlessPlatform::SetCursor(Cursor cursor) {
  cursor_ = cursor;
  cursorHistory_.push_back(cursor);
}

void HeadlessPlatform::Reset() {
  screen_ = {1024, 768};
  cursor_ = Cursor::Default;
  cursorHistory_.clear();
  minimizeCount_ = 0;
  timeSeparator_ = ':';
  decimalSeparator_ = '.';
  now_ = kClockStart;
  clockStep_ = {};
  idleWaits_ = 0;
  quit_ = false;
  actions_.clear();
}

// --- Services -------------------------------------------------------------

namespace {

// The button that Enter would press: the one picked by the default-button
// flag among those the box type shows, or the first when the flag points
// past them.
int DefaultButton(unsigned flags) {
  static constexpr int kButtons[][3] = {
      {IdOk, 0, 0},                        // MB_OK
      {IdOk, IdCancel, 0},                 // MB_OKCANCEL
      {IdAbort, IdRetry, IdIgnore},        // MB_ABORTRETRYIGNORE
      {IdYes, IdNo, IdCancel},             // MB_YESNOCANCEL
      {IdYes, IdNo, 0},                    // MB_YESNO
      {IdRetry, IdCancel, 0},              // MB_RETRYCANCEL
      {IdCancel, IdTryAgain, IdContinue},  // MB_CANCELTRYCONTINUE
  };
  const unsigned type = flags & MbTypeMask;
  if (type >= std::size(kButtons)) return IdOk;
  const unsigned index = (flags & MbDefButtonMask) >> 8;
  if (index < 3 && kButtons[type][index] != 0) return kButtons[type][index];
  return kButtons[type][0];
}

}  // namespace

int HeadlessDialogs::MessageBox(std::string_view text, std::string_view title, unsigned flags) {
  int answer = DefaultButton(flags);
  if (!boxAnswers.empty()) {
    answer = boxAnswers.front();
    boxAnswers.pop_front();
  }
  boxes.push_back({std::string(text), std::string(title), flags, answer});
  return answer;
}

namespace {

template <class Options>
std::optional<std::string> Answer(const Options& options, std::vector<Options>& log,
                                  std::deque<std::optional<std::string>>& results) {
  log.push_back(options);
  if (results.empty()) return std::nullopt;
  std::optional<std::string> result = std::move(results.front());
  results.pop_front();
  return result;
}

}  // namespace

std::optional<std::string> HeadlessDialogs::SaveDialog(const SaveDialogOptions& options) {
  return Answer(options, saveDialogs, saveResults);
}

std::optional<std::string> HeadlessDialogs::OpenDialog(const OpenDialogOptions& options) {
  return Answer(options, openDialogs, openResults);
}

int HeadlessTimers::StartTimer(std::chrono::milliseconds interval, std::function<void()> fn) {
  if (refuse) throw std::runtime_error("Cannot start a timer");
  const int id = nextId_++;
  timers_[id] = Timer{interval, std::move(fn), Platform().Now() + interval};
  return id;
}

void HeadlessTimers::Fire(int id, Clock::time_point now) {
  const auto it = timers_.find(id);
  if (it == timers_.end()) return;
  it->second.due = now + it->second.interval;
  // A copy: the handler may stop its own timer.
  const std::function<void()> fn = it->second.fn;
  App().Guard(fn);
}

void HeadlessTimers::FireDue(Clock::time_point now) {
  std::vector<int> due;
  for (const auto& [id, timer] : timers_) {
    if (timer.due <= now) due.push_back(id);
  }
  for (int id : due) Fire(id, now);
}

void HeadlessTimers::FireAll(Clock::time_point now) {
  std::vector<int> ids;
  for (const auto& entry : timers_) ids.push_back(entry.first);
  for (int id : ids) Fire(id, now);
}

long long HeadlessShell::Open(const std::string& target) {
  opened.push_back(target);
  if (results.empty()) return 42;
  const long long result = results.front();
  results.pop_front();
  return result;
}

}  // namespace headless
}  // namespace tessavo::tk
