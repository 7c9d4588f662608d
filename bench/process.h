// What a benchmark needs of its own process and of the ones it starts; one
// file per platform (bench/win32/, bench/headless/).
#pragma once

#include <cstddef>
#include <string>

namespace tessavo::bench {

// The most memory the process has held resident so far.
std::size_t PeakResidentBytes();

// Runs program with the arguments (each passed as one, spaces and all) and
// waits for it; its exit code, or -1 if it could not be started.
int RunProgram(const std::string& program, const std::string& first, const std::string& second);

}  // namespace tessavo::bench
