// Calls from other threads that run on the main thread while their caller
// waits: the one road from a worker to the windows. The platform only
// wakes the main thread; the queue, the waiting and the giving up are the
// same everywhere.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>

namespace tessavo::tk {

class MainThreadCalls {
 public:
  // From a thread other than the main one: queues fn, wakes the main
  // thread with wake and waits until fn has run there. Returns true when
  // it ran (rethrowing what it threw), false when the call was abandoned
  // instead: stop was requested while it waited (fn then either never
  // runs or finishes on its own), or the queue is closed.
  bool Run(std::function<void()> fn, std::stop_token stop, const std::function<void()>& wake);

  // On the main thread: runs the calls queued so far, oldest first.
  // Returns whether any ran.
  bool Serve();
  bool Pending() const;
  // Waits up to timeout for a call to arrive.
  void WaitForCall(std::chrono::milliseconds timeout);

  // The main loop has ended: what is queued is abandoned, and new calls
  // are abandoned at once until Reopen.
  void Close();
  void Reopen();

 private:
  struct Call {
    std::function<void()> fn;
    enum class State { Queued, Running, Done, Abandoned } state = State::Queued;
    bool callerGone = false;
    std::exception_ptr error;
  };

  mutable std::mutex mutex_;
  std::condition_variable_any changed_;
  std::deque<std::shared_ptr<Call>> queue_;
  bool closed_ = false;
};

}  // namespace tessavo::tk
