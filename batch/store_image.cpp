#include "batch/store_image.h"

#include <algorithm>

namespace tessavo::store_image_detail {

char* CopyLinePart(std::string_view text, std::size_t& done, char* out, char* end) {
  if (done < text.size()) {
    const std::size_t part = std::min(text.size() - done, static_cast<std::size_t>(end - out));
    std::memcpy(out, text.data() + done, part);
    out += part;
    done += part;
  }
  while (out < end && done < text.size() + 2) *out++ = "\r\n"[done++ - text.size()];
  return out;
}

}  // namespace tessavo::store_image_detail
