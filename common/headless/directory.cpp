#include "common/directory.h"

#include <filesystem>
#include <system_error>

namespace tessavo {
namespace {

// The programs write Windows paths; here a backslash separates too.
std::filesystem::path HostPath(std::string path) {
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

}  // namespace

bool DirectoryExists(const std::string& path) {
  // The empty path is no directory here, as on Windows; errors (no access
  // to a parent, say) count as "not there".
  if (path.empty()) return false;
  std::error_code error;
  return std::filesystem::is_directory(HostPath(path), error);
}

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  std::error_code error;
  const auto status = std::filesystem::status(HostPath(path), error);
  return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

}  // namespace tessavo
