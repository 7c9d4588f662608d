#include "common/paths.h"

#include <algorithm>

namespace tessavo {
namespace {

constexpr std::string_view kSeparators = "\\/:";

}  // namespace

std::string FolderOfPath(std::string_view path) {
  const std::size_t end = path.find_last_of(kSeparators);
  return end == std::string_view::npos ? std::string() : std::string(path.substr(0, end + 1));
}

std::string ExtensionOf(std::string_view path) {
  const std::size_t nameStart = path.find_last_of(kSeparators);
  const std::string_view name =
      nameStart == std::string_view::npos ? path : path.substr(nameStart + 1);
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

bool HasWavExtension(std::string_view path) {
  std::string extension = ExtensionOf(path);
  // ASCII only: the locale must not make another letter of "i" or "a".
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : char(c); });
  return extension == ".WAV";
}

}  // namespace tessavo
