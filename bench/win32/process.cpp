#include <windows.h>
// psapi.h needs windows.h before it.
#include <psapi.h>

#include "bench/process.h"

namespace tessavo::bench {

std::size_t PeakResidentBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
  return counters.PeakWorkingSetSize;
}

int RunProgram(const std::string& program, const std::string& first, const std::string& second) {
  // Arguments without quotes or trailing backslashes need only be quoted.
  std::string commandLine = "\"" + program + "\" \"" + first + "\" \"" + second + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return -1;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

}  // namespace tessavo::bench
