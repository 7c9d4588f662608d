#include "common/os_random.h"

#include <sys/random.h>

#include <cerrno>
#include <stdexcept>

namespace tessavo {

void OsRandomBytes(std::uint8_t* out, std::size_t size) {
  while (size > 0) {
    const ssize_t got = getrandom(out, size, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error("The system's random number generator failed");
    }
    out += got;
    size -= static_cast<std::size_t>(got);
  }
}

}  // namespace tessavo
