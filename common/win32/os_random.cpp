#include "common/os_random.h"

#include <windows.h>

#include <bcrypt.h>

#include <stdexcept>

namespace tessavo {

void OsRandomBytes(std::uint8_t* out, std::size_t size) {
  while (size > 0) {
    const ULONG part = size > 0x10000000 ? 0x10000000 : static_cast<ULONG>(size);
    if (!BCRYPT_SUCCESS(BCryptGenRandom(nullptr, out, part, BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
      throw std::runtime_error("The system's random number generator failed");
    }
    out += part;
    size -= part;
  }
}

}  // namespace tessavo
