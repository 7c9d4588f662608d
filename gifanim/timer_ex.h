// A timer that calls its OnTimer handler every Interval milliseconds, in
// one of two modes:
// - threaded (the default): a worker thread sleeps for the interval and
//   then has the main thread run the tick while it waits (ticks therefore
//   come only while the main thread processes messages, never overlap and
//   never pile up), or, with ThreadSafe, runs the tick itself;
// - message mode: a window timer of the toolkit, ticking on the main
//   thread.
// Ticks run only while the timer is Enabled, its Interval is not 0 and
// OnTimer is set; an error a tick raises goes to the application's error
// box and the timer keeps running.
//
// The timer belongs to the main thread: its setters and its destructor run
// there only. Destroying it, switching its mode or disabling it is safe at
// any moment, from inside its own tick too; no tick begins afterwards.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <stop_token>
#include <thread>

namespace tessavo::gifanim {

class TTimerEx;

// The system has no window timer left for a timer in message mode.
class EOutOfResources : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TThreadPriority {
  tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical,
};

// The Windows thread priority level of each (-15, -2, -1, 0, 1, 2, 15).
int PlatformPriority(TThreadPriority priority);

using TimerEvent = std::function<void(TTimerEx& sender)>;

// The worker of a timer in threaded mode. It lives only as long as its
// owner wants it: a stop wakes it from any wait, the wait for the main
// thread to run a tick included, and its destructor joins it.
class TTimerThread {
 public:
  explicit TTimerThread(TTimerEx& owner);
  // Stops and joins the worker.
  ~TTimerThread();
  TTimerThread(const TTimerThread&) = delete;
  TTimerThread& operator=(const TTimerThread&) = delete;

  TTimerEx& OwnerTimer() const { return owner_; }
  // Once set, the worker delivers no further tick and ends.
  void RequestStop();
  bool StopRequested() const;

  // The platform level the thread runs at now.
  int Priority();
  void SetPriority(TThreadPriority priority);
  std::thread::id Id() const { return thread_.get_id(); }

 private:
  void Execute(std::stop_token stop);
  void Tick(std::stop_token stop, bool onWorker);

  TTimerEx& owner_;
  bool stopRequested_ = false;  // under the owner's mutex_
  std::jthread thread_;
};

class TTimerEx {
 public:
  // Enabled, 1000 ms, threaded at normal priority, ticks on the main
  // thread; the worker exists from here on (with no OnTimer it waits).
  TTimerEx();
  virtual ~TTimerEx();
  TTimerEx(const TTimerEx&) = delete;
  TTimerEx& operator=(const TTimerEx&) = delete;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Milliseconds between ticks; 0 stops the ticks without disabling the
  // timer. A new interval applies from the next one.
  std::uint32_t Interval() const { return interval_; }
  void SetInterval(std::uint32_t interval);
  const TimerEvent& OnTimer() const { return onTimer_; }
  // Setting the handler, even the same one, starts the timer over: in
  // message mode the period restarts; in threaded mode the current sleep
  // still ends when it would have.
  void SetOnTimer(TimerEvent handler);
  bool Threaded() const { return threaded_; }
  void SetThreaded(bool threaded);
  // The worker's priority; in message mode it is kept for the next worker.
  TThreadPriority ThreadPriority() const { return threadPriority_; }
  void SetThreadPriority(TThreadPriority priority);
  // In threaded mode, run OnTimer on the worker instead of the main
  // thread; the handler then does its own locking, and must not wait for
  // the main thread, since stopping the timer waits for a tick under way
  // there. Read at every tick.
  bool ThreadSafe() const;
  void SetThreadSafe(bool threadSafe);

  // The worker in threaded mode, nothing in message mode.
  TTimerThread* Worker() const { return worker_.get(); }
  // Whether a window timer runs for it (message mode).
  bool WindowTimerRunning() const { return windowTimer_.has_value(); }

 protected:
  // One tick: calls OnTimer when the timer is enabled and has one. A class
  // that overrides it and ticks on the worker stops the ticks in its own
  // destructor (SetThreaded(false)), before its part of the object goes.
  virtual void DoTimer();

 private:
  friend class TTimerThread;

  // Every change of settings ends here: stops the window timer, makes or
  // releases the worker for the mode, and starts the ticks again when the
  // timer should run.
  void UpdateTimer();
  // The window timer's tick (message mode).
  void TimerWndProc();
  // Whether ticks should come (the worker asks under mutex_).
  bool Running() const { return enabled_ && interval_ != 0 && onTimer_ != nullptr; }
  void ReleaseWorker();

  // The worker reads the settings under mutex_ and sleeps on changed_; the
  // main thread writes them under mutex_ and notifies changed_ in
  // UpdateTimer.
  mutable std::mutex mutex_;
  std::condition_variable_any changed_;
  bool enabled_ = true;
  std::uint32_t interval_ = 1000;
  TimerEvent onTimer_;
  bool threaded_ = true;
  TThreadPriority threadPriority_ = TThreadPriority::tpNormal;
  bool threadSafe_ = false;

  std::unique_ptr<TTimerThread> worker_;
  std::optional<int> windowTimer_;
};

}  // namespace tessavo::gifanim
