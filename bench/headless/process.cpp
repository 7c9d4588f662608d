#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "bench/process.h"

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
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    execl(program.c_str(), program.c_str(), first.c_str(), second.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  if (waitpid(child, &status, 0) < 0 || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace tessavo::bench
