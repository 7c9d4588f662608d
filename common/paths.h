// Pieces of file paths, with the separators both programs accept ("\\",
// "/" and a drive's ":").
#pragma once

#include <string>
#include <string_view>

namespace tessavo {

// The folder part of a file path with its trailing separator
// ("C:\\Data\\pw.txt" gives "C:\\Data\\"); empty for a bare name.
std::string FolderOfPath(std::string_view path);

// The extension of the file name: from its last "." on, the "." included
// ("done.Wav" gives ".Wav"); empty when the name has none.
std::string ExtensionOf(std::string_view path);

// Whether the extension is ".WAV" in any letter case.
bool HasWavExtension(std::string_view path);

}  // namespace tessavo
