// The headless build's stand-in for what the system would report to the
// shared helpers, set by tests and anything else that runs the programs
// without Windows. Defined by the headless platform file only.
#pragma once

#include <string>

namespace tessavo::stand_in {

// The directory that SystemWindowsDirectory reports; empty by default,
// since a headless run has no Windows directory.
void SetSystemWindowsDirectory(std::string directory);

// Back to the start state: no Windows directory.
void ResetPlatform();

}  // namespace tessavo::stand_in
