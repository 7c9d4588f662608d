// Window timers and the wake-up for calls from other threads, both on a
// message-only window of the main thread.
#include <windows.h>

#include <algorithm>
#include <map>
#include <memory>
#include <stdexcept>

#include "toolkit/application.h"
#include "toolkit/services.h"
#include "toolkit/win32/win32_util.h"

namespace tessavo::tk::win32 {
namespace {

constexpr const char* kMessageClass = "TessavoMessages";

class Win32Timers final : public TimerService {
 public:
  Win32Timers() {
    WNDCLASSEXA messages{sizeof(WNDCLASSEXA)};
    messages.lpfnWndProc = MessageProc;
    messages.hInstance = Instance();
    messages.lpszClassName = kMessageClass;
    RegisterClassExA(&messages);
    window_ = CreateWindowExA(0, kMessageClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              Instance(), nullptr);
    if (!window_) throw std::runtime_error("Cannot create the timer window");
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }

  int StartTimer(std::chrono::milliseconds interval, std::function<void()> fn) override {
    const UINT_PTR id = ++nextTimer_;
    const auto ms = std::clamp<long long>(interval.count(), USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    if (!SetTimer(window_, id, static_cast<UINT>(ms), nullptr))
      throw std::runtime_error("Cannot start a timer");
    timers_[id] = std::make_shared<std::function<void()>>(std::move(fn));
    return static_cast<int>(id);
  }

  void StopTimer(int id) override {
    const auto key = static_cast<UINT_PTR>(id);
    if (timers_.erase(key)) KillTimer(window_, key);
  }

  void WakeMainThread() override {
    // Posted: the main thread serves the queue whenever it next processes
    // messages, the generators' and modal loops' processing included.
    PostMessageA(window_, kCallOnMainThread, 0, 0);
  }

 private:
  static LRESULT CALLBACK MessageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Win32Timers*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
    switch (msg) {
      case WM_TIMER: {
        auto it = self->timers_.find(wParam);
        if (it == self->timers_.end()) return 0;
        // Held here: the handler may stop its own timer.
        const std::shared_ptr<std::function<void()>> fn = it->second;
        Call(*fn);
        return 0;
      }
      case kCallOnMainThread:
        App().ServeMainThreadCalls();
        return 0;
      default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
  }

  HWND window_ = nullptr;
  UINT_PTR nextTimer_ = 0;
  std::map<UINT_PTR, std::shared_ptr<std::function<void()>>> timers_;
};

}  // namespace
}  // namespace tessavo::tk::win32

namespace tessavo::tk {

std::unique_ptr<TimerService> CreateTimerService() {
  return std::make_unique<win32::Win32Timers>();
}

}  // namespace tessavo::tk
