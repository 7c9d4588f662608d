#include "gifanim/timer_ex.h"

#include <exception>
#include <utility>

#include "gifanim/thread_priority.h"
#include "toolkit/application.h"

namespace tessavo::gifanim {

int PlatformPriority(TThreadPriority priority) {
  switch (priority) {
    case TThreadPriority::tpIdle: return -15;
    case TThreadPriority::tpLowest: return -2;
    case TThreadPriority::tpLower: return -1;
    case TThreadPriority::tpNormal: return 0;
    case TThreadPriority::tpHigher: return 1;
    case TThreadPriority::tpHighest: return 2;
    case TThreadPriority::tpTimeCritical: return 15;
  }
  return 0;
}

// --- The worker -------------------------------------------------------------

TTimerThread::TTimerThread(TTimerEx& owner)
    : owner_(owner), thread_([this](std::stop_token stop) { Execute(std::move(stop)); }) {
  SetPriority(owner.threadPriority_);
}

TTimerThread::~TTimerThread() {
  RequestStop();
  thread_.join();
}

void TTimerThread::RequestStop() {
  {
    std::lock_guard lock(owner_.mutex_);
    stopRequested_ = true;
  }
  owner_.changed_.notify_all();
  // Also ends a wait for the main thread to run a tick, so that the main
  // thread never waits for a worker that waits for it.
  thread_.request_stop();
}

bool TTimerThread::StopRequested() const {
  std::lock_guard lock(owner_.mutex_);
  return stopRequested_;
}

int TTimerThread::Priority() { return ThreadLevel(thread_); }

void TTimerThread::SetPriority(TThreadPriority priority) {
  SetThreadLevel(thread_, PlatformPriority(priority));
}

void TTimerThread::Execute(std::stop_token stop) {
  // The waits here watch our own flag, not the stop token: under the
  // Windows build's runtime a stop token's wake-up can be lost.
  TTimerEx& owner = owner_;
  std::unique_lock lock(owner.mutex_);
  while (!stopRequested_) {
    if (!owner.Running()) {
      // Switched off: wait to be switched on again, which starts a whole
      // interval rather than ticking for a sleep that ended meanwhile.
      owner.changed_.wait(lock, [&] { return stopRequested_ || owner.Running(); });
      continue;
    }
    // The interval is read afresh for every sleep. Only a stop cuts the
    // sleep short: a change of settings applies from the next one.
    const auto wakeAt =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(owner.interval_);
    owner.changed_.wait_until(lock, wakeAt, [this] { return stopRequested_; });
    if (stopRequested_) break;
    if (!owner.Running()) continue;  // switched off during the sleep: no tick
    const bool onWorker = owner.threadSafe_;
    lock.unlock();
    Tick(stop, onWorker);
    lock.lock();
  }
}

void TTimerThread::Tick(std::stop_token stop, bool onWorker) {
  TTimerEx& owner = owner_;
  if (!onWorker) {
    // On the main thread, in its error guard like any handler; we wait
    // until it has run, so ticks never overlap or pile up. A stop gives
    // the wait up, so that the main thread may stop us while the tick
    // waits, or from inside the tick itself, and join us at once.
    try {
      tk::App().RunOnMainThread(
          [&owner] {
            tk::App().Guard([&owner] {
              // Checked again here: the call may have waited while the
              // main thread changed the settings.
              if (owner.interval_ != 0) owner.DoTimer();
            });
          },
          stop);
    } catch (...) {
      // Only what the guard lets through (a test's unanswered modal loop)
      // comes back; it has already stopped the main thread's work.
    }
    return;
  }
  std::exception_ptr error;
  try {
    owner.DoTimer();
  } catch (...) {
    error = std::current_exception();
  }
  if (error) {
    // Shown on the main thread, as an error in a tick there would be; the
    // timer keeps running.
    try {
      tk::App().RunOnMainThread(
          [error] { tk::App().Guard([&error] { std::rethrow_exception(error); }); }, stop);
    } catch (...) {
    }
  }
}

// --- The timer --------------------------------------------------------------

TTimerEx::TTimerEx() { worker_ = std::make_unique<TTimerThread>(*this); }

TTimerEx::~TTimerEx() {
  {
    std::lock_guard lock(mutex_);
    enabled_ = false;
  }
  if (windowTimer_) tk::App().StopTimer(*windowTimer_);
  ReleaseWorker();
}

void TTimerEx::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  {
    std::lock_guard lock(mutex_);
    enabled_ = enabled;
  }
  UpdateTimer();
}

void TTimerEx::SetInterval(std::uint32_t interval) {
  if (interval == interval_) return;
  {
    std::lock_guard lock(mutex_);
    interval_ = interval;
  }
  UpdateTimer();
}

void TTimerEx::SetOnTimer(TimerEvent handler) {
  {
    std::lock_guard lock(mutex_);
    onTimer_ = std::move(handler);
  }
  UpdateTimer();
}

void TTimerEx::SetThreaded(bool threaded) {
  if (threaded == threaded_) return;
  threaded_ = threaded;  // the worker never reads it
  UpdateTimer();
}

void TTimerEx::SetThreadPriority(TThreadPriority priority) {
  if (priority == threadPriority_) return;
  {
    std::lock_guard lock(mutex_);
    threadPriority_ = priority;
  }
  if (threaded_) UpdateTimer();
}

bool TTimerEx::ThreadSafe() const { return threadSafe_; }

void TTimerEx::SetThreadSafe(bool threadSafe) {
  std::lock_guard lock(mutex_);
  threadSafe_ = threadSafe;
}

void TTimerEx::UpdateTimer() {
  // The worker reads the settings only under the mutex, which every setter
  // held while it wrote: there is nothing to suspend.
  if (windowTimer_) {
    tk::App().StopTimer(*windowTimer_);
    windowTimer_.reset();
  }
  if (threaded_) {
    if (!worker_) worker_ = std::make_unique<TTimerThread>(*this);
  } else {
    ReleaseWorker();
  }
  const bool running = Running();
  if (threaded_) {
    if (running) worker_->SetPriority(threadPriority_);
    // Wakes a worker that waits to be switched on; a sleeping one sleeps on.
    changed_.notify_all();
  } else if (running) {
    try {
      windowTimer_ = tk::App().StartTimer(std::chrono::milliseconds(interval_),
                                          [this] { TimerWndProc(); });
    } catch (const std::exception&) {
      throw EOutOfResources("No More Timers Available");
    }
  }
}

void TTimerEx::ReleaseWorker() {
  // Joined by its destructor, outside the mutex: the worker needs it to
  // see the stop.
  std::unique_ptr<TTimerThread> worker = std::move(worker_);
  worker.reset();
}

void TTimerEx::TimerWndProc() {
  // The toolkit runs window timers inside the application's error guard:
  // an error goes to the error box, and the window timer keeps running.
  DoTimer();
}

void TTimerEx::DoTimer() {
  TimerEvent handler;
  {
    std::lock_guard lock(mutex_);
    if (!enabled_ || !onTimer_) return;
    handler = onTimer_;
  }
  // The copy keeps the handler alive if it replaces itself or destroys
  // the timer; nothing of the timer is touched after it.
  handler(*this);
}

}  // namespace tessavo::gifanim
