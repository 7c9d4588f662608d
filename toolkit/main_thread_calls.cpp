#include "toolkit/main_thread_calls.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <utility>

#include "toolkit/application.h"

namespace tessavo::tk {
namespace {

constexpr std::chrono::milliseconds kStopCheck{5};

}  // namespace

bool MainThreadCalls::Run(std::function<void()> fn, std::stop_token stop,
                          const std::function<void()>& wake) {
  auto call = std::make_shared<Call>();
  call->fn = std::move(fn);
  std::unique_lock lock(mutex_);
  if (closed_ || stop.stop_requested()) return false;
  queue_.push_back(call);
  lock.unlock();
  changed_.notify_all();
  wake();
  lock.lock();
  const auto finished = [&] {
    return call->state == Call::State::Done || call->state == Call::State::Abandoned;
  };
  // Stop is looked at every few milliseconds rather than through a stop
  // callback: under the Windows build's runtime a stop requested while a
  // callback is being registered can be lost, leaving the caller waiting
  // for good.
  while (!finished() && !stop.stop_requested()) changed_.wait_for(lock, kStopCheck);
  if (!finished()) {
    // Given up on. A call not yet started never will be; one under way
    // finishes by itself and owns everything it needs (the function lives
    // in the call, not in our frame).
    if (call->state == Call::State::Queued) {
      std::erase(queue_, call);
      call->state = Call::State::Abandoned;
    } else {
      call->callerGone = true;
    }
    return false;
  }
  if (call->state == Call::State::Abandoned) return false;
  if (call->error) std::rethrow_exception(call->error);
  return true;
}

bool MainThreadCalls::Serve() {
  bool any = false;
  for (;;) {
    std::shared_ptr<Call> call;
    {
      std::lock_guard lock(mutex_);
      if (queue_.empty()) return any;
      call = std::move(queue_.front());
      queue_.pop_front();
      call->state = Call::State::Running;
    }
    any = true;
    std::exception_ptr error;
    try {
      call->fn();
    } catch (...) {
      error = std::current_exception();
    }
    bool show = false;
    {
      std::lock_guard lock(mutex_);
      call->state = Call::State::Done;
      // The failure belongs to the thread that asked; with nobody left to
      // take it, it is shown like any handler's.
      if (call->callerGone) {
        show = error != nullptr;
      } else {
        call->error = error;
      }
    }
    changed_.notify_all();
    if (show) {
      App().Guard([&] { std::rethrow_exception(error); });
    }
  }
}

bool MainThreadCalls::Pending() const {
  std::lock_guard lock(mutex_);
  return !queue_.empty();
}

void MainThreadCalls::WaitForCall(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, timeout, [this] { return !queue_.empty(); });
}

void MainThreadCalls::Close() {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
    for (const auto& call : queue_) call->state = Call::State::Abandoned;
    queue_.clear();
  }
  changed_.notify_all();
}

void MainThreadCalls::Reopen() {
  Close();  // whatever was still queued belonged to the old loop
  std::lock_guard lock(mutex_);
  closed_ = false;
}

}  // namespace tessavo::tk
