// Whether a path names an existing directory (not a file, not nothing).
// The Win32 build asks the file system through the ANSI API, as every
// other path in the programs is narrow; the headless build asks the host.
#pragma once

#include <string>

namespace tessavo {

bool DirectoryExists(const std::string& path);

}  // namespace tessavo
