#include "bench/process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

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

int RunProgram(const std::string& program, const std::string& first, const std::string& second) {
  // Not fork: that would leave every page of this process copy-on-write,
  // and each first write to one afterwards a fault, slowing every later
  // measurement here.
  char* const arguments[] = {const_cast<char*>(program.c_str()), const_cast<char*>(first.c_str()),
                             const_cast<char*>(second.c_str()), nullptr};
  pid_t child = 0;
  if (posix_spawn(&child, program.c_str(), nullptr, nullptr, arguments, environ) != 0) return -1;
  int status = 0;
  if (waitpid(child, &status, 0) < 0 || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace tessavo::bench
