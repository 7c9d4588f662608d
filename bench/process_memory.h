// The most memory the process has held resident so far; one file per
// platform (bench/win32/, bench/headless/).
#pragma once

#include <cstddef>

namespace tessavo::bench {

std::size_t PeakResidentBytes();

}  // namespace tessavo::bench
