// The processor time the whole process has used so far, user and kernel
// together; one file per platform (bench/win32/, bench/headless/).
#pragma once

#include <chrono>

namespace tessavo::bench {

std::chrono::microseconds ProcessCpuTime();

}  // namespace tessavo::bench
