#include <stdexcept>
#include <utility>

#include "common/platform.h"
#include "toolkit/form.h"
#include "toolkit/headless/headless_app.h"
#include "toolkit/peer_factory.h"

namespace tessavo::tk {

std::unique_ptr<AppPlatform> CreateAppPlatform() {
  return std::make_unique<headless::HeadlessPlatform>();
}

std::unique_ptr<FormPeer> CreateFormPeer(Form&) { return nullptr; }

namespace headless {
namespace {

// Not the steady clock's own zero, so that "a while before the start" is
// still a valid time point.
constexpr AppPlatform::Clock::time_point kClockStart =
    AppPlatform::Clock::time_point{} + std::chrono::hours(24);

}  // namespace

HeadlessPlatform::HeadlessPlatform() : mainThread_(std::this_thread::get_id()), now_(kClockStart) {}

void HeadlessPlatform::ProcessMessages() {
  Pump([] { return false; });
}

void HeadlessPlatform::WaitAndProcess(std::chrono::milliseconds timeout) {
  if (actions_.empty()) {
    // Only another thread can bring something while we wait.
    std::unique_lock lock(callsMutex_);
    callArrived_.wait_for(lock, timeout, [this] { return !calls_.empty(); });
  }
  ProcessMessages();
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
    FireDueTimers();
    if (stop()) return true;
    if (!DeliverOne()) return false;
  }
}

bool HeadlessPlatform::DeliverOne() {
  std::shared_ptr<CrossThreadCall> call;
  {
    std::lock_guard lock(callsMutex_);
    if (!calls_.empty()) {
      call = std::move(calls_.front());
      calls_.pop_front();
    }
  }
  if (call) {
    // The failure belongs to the thread that asked: it gets it back.
    try {
      (*call->fn)();
      call->done.set_value();
    } catch (...) {
      call->done.set_exception(std::current_exception());
    }
    return true;
  }
  if (actions_.empty()) return false;
  // Taken off the queue first: the action may process messages itself.
  std::function<void()> action = std::move(actions_.front());
  actions_.pop_front();
  App().Guard(action);
  return true;
}

void HeadlessPlatform::FireTimer(int id) {
  const auto it = timers_.find(id);
  if (it == timers_.end()) return;
  it->second.due = now_ + it->second.interval;
  // A copy: the handler may stop its own timer.
  const std::function<void()> fn = it->second.fn;
  App().Guard(fn);
}

void HeadlessPlatform::FireDueTimers() {
  std::vector<int> due;
  for (const auto& [id, timer] : timers_) {
    if (timer.due <= now_) due.push_back(id);
  }
  for (int id : due) FireTimer(id);
}

void HeadlessPlatform::FireAllTimers() {
  std::vector<int> ids;
  for (const auto& entry : timers_) ids.push_back(entry.first);
  for (int id : ids) FireTimer(id);
}

Size HeadlessPlatform::FrameSize(const Form& form) {
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
  return frame;
}

int HeadlessPlatform::MessageBox(std::string_view text, std::string_view title, unsigned flags) {
  // The same box as the error box of the common helpers, so that one log
  // holds both.
  return platform::ShowMessageBox(text, title, flags);
}

std::optional<std::string> HeadlessPlatform::SaveDialog(const SaveDialogOptions& options) {
  saveDialogs_.push_back(options);
  if (saveResults_.empty()) return std::nullopt;
  std::optional<std::string> result = std::move(saveResults_.front());
  saveResults_.pop_front();
  return result;
}

void HeadlessPlatform::SetCursor(Cursor cursor) {
  cursor_ = cursor;
  cursorHistory_.push_back(cursor);
}

int HeadlessPlatform::StartTimer(std::chrono::milliseconds interval, std::function<void()> fn) {
  const int id = nextTimerId_++;
  timers_[id] = Timer{interval, std::move(fn), now_ + interval};
  return id;
}

void HeadlessPlatform::RunOnMainThread(const std::function<void()>& fn) {
  if (std::this_thread::get_id() == mainThread_) {
    fn();
    return;
  }
  auto call = std::make_shared<CrossThreadCall>();
  call->fn = &fn;
  std::future<void> done = call->done.get_future();
  {
    std::lock_guard lock(callsMutex_);
    calls_.push_back(std::move(call));
  }
  callArrived_.notify_all();
  done.get();
}

void HeadlessPlatform::Reset() {
  saveResults_.clear();
  saveDialogs_.clear();
  screen_ = {1024, 768};
  clipboard_.clear();
  cursor_ = Cursor::Default;
  cursorHistory_.clear();
  beeps_ = 0;
  minimizeCount_ = 0;
  timeSeparator_ = ':';
  decimalSeparator_ = '.';
  now_ = kClockStart;
  quit_ = false;
  actions_.clear();
  timers_.clear();
  std::deque<std::shared_ptr<CrossThreadCall>> abandoned;
  {
    std::lock_guard lock(callsMutex_);
    abandoned.swap(calls_);
  }
  // A thread still waiting must not wait for ever.
  for (const auto& call : abandoned) {
    call->done.set_exception(
        std::make_exception_ptr(std::logic_error("The main thread was reset before the call ran")));
  }
}

}  // namespace headless
}  // namespace tessavo::tk
