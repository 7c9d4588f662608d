// Unpredictable bytes from the operating system's own cryptographic
// generator: the only source of key material for the password generator.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tessavo {

// Fills out with size bytes; throws std::runtime_error when the system
// cannot supply them (nothing weaker is ever used instead).
void OsRandomBytes(std::uint8_t* out, std::size_t size);

}  // namespace tessavo
