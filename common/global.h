// Helpers shared by both programs: the registry helpers through which every
// stored setting passes, and the Windows directory. (The error box is the
// application's: tk::Application::ShowErrorBox.)
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessavo {

// Key paths are relative to the current user's root, without a leading
// backslash ("Software\\Korvel Software\\TessavoM\\Options").

// Whether the key can be opened; with create, makes sure it exists.
bool RegKeyExists(std::string_view path, bool create);

// The stored text (up to its first zero byte). Missing or empty: the empty
// text. Stored with another type, or unreadable: the default.
std::string RegReadString(std::string_view path, std::string_view name,
                          std::string_view defaultValue);

// The stored REG_DWORD as a signed integer; anything else: the default.
std::int32_t RegReadInteger(std::string_view path, std::string_view name,
                            std::int32_t defaultValue);

// Store a REG_SZ (text and one zero byte) or a REG_DWORD; true if written.
bool RegWriteString(std::string_view path, std::string_view name, std::string_view value);
bool RegWriteInteger(std::string_view path, std::string_view name, std::int32_t value);

// The Windows directory ending in a backslash; empty if there is none.
std::string WindowsDirectory();

}  // namespace tessavo
