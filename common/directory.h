// Whether a path names an existing directory, or an existing file (an
// entry that is not a directory). The Win32 build asks the file system
// through the ANSI API, as every other path in the programs is narrow;
// the headless build asks the host.
#pragma once

#include <string>

namespace tessavo {

bool DirectoryExists(const std::string& path);
bool FileExists(const std::string& path);

}  // namespace tessavo
