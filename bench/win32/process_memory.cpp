#include <windows.h>
#include <psapi.h>

#include "bench/process_memory.h"

namespace tessavo::bench {

std::size_t PeakResidentBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
  return counters.PeakWorkingSetSize;
}

}  // namespace tessavo::bench
