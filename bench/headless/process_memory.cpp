#include <cstdio>
#include <cstring>

#include "bench/process_memory.h"

namespace tessavo::bench {

std::size_t PeakResidentBytes() {
  // VmHWM is the resident high-water mark, in kB.
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (!status) return 0;
  char line[256];
  std::size_t kilobytes = 0;
  while (std::fgets(line, sizeof line, status)) {
    if (std::strncmp(line, "VmHWM:", 6) == 0) std::sscanf(line + 6, "%zu", &kilobytes);
  }
  std::fclose(status);
  return kilobytes * 1024;
}

}  // namespace tessavo::bench
