#include <sys/resource.h>

#include "bench/cpu_time.h"

namespace tessavo::bench {
namespace {

std::chrono::microseconds Of(const timeval& time) {
  return std::chrono::seconds(time.tv_sec) + std::chrono::microseconds(time.tv_usec);
}

}  // namespace

std::chrono::microseconds ProcessCpuTime() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return Of(usage.ru_utime) + Of(usage.ru_stime);
}

}  // namespace tessavo::bench
