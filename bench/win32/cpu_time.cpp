#include <windows.h>

#include "bench/cpu_time.h"

namespace tessavo::bench {
namespace {

long long Ticks(const FILETIME& time) {  // 100 ns units
  return (static_cast<long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

std::chrono::microseconds ProcessCpuTime() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  return std::chrono::microseconds((Ticks(kernel) + Ticks(user)) / 10);
}

}  // namespace tessavo::bench
