// What the timer tests need of the platform they run on: letting time pass
// while the main thread processes messages (the window timers' clock moves
// with it), and the error boxes shown meanwhile. Defined once per platform
// (tests/headless/, tests/win32/).
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace tessavo::gifanim::testing {

// Processes messages, waiting for them, for about this much real time.
void PassTime(std::chrono::milliseconds time);

// Processes messages until the condition holds; false after the timeout.
bool ProcessUntil(const std::function<bool()>& condition,
                  std::chrono::milliseconds timeout = std::chrono::seconds(2));

// Runs fn and returns the texts of the error boxes shown meanwhile, each
// answered with OK.
std::vector<std::string> ErrorBoxesDuring(const std::function<void()>& fn);

// Back to a clean application between tests.
void ResetPlatform();

}  // namespace tessavo::gifanim::testing
