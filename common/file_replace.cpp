#include "common/file_replace.h"

namespace tessavo {

// The whole image as one chunk.
void ReplaceFileContents(const std::string& path, std::string_view bytes) {
  bool given = false;
  ReplaceFileContents(path, [&]() -> std::string_view {
    if (given) return {};
    given = true;
    return bytes;
  });
}

}  // namespace tessavo
