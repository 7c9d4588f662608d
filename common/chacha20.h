// The ChaCha20 keystream of RFC 8439: a 256-bit key, a 96-bit nonce and a
// 32-bit block counter give 64 bytes a block.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tessavo::chacha20 {

using Key = std::array<std::uint32_t, 8>;    // the key's bytes read as little-endian words
using Nonce = std::array<std::uint32_t, 3>;  // likewise

inline constexpr std::size_t BlockBytes = 64;

// The key in the cipher's words, from its 32 bytes.
Key KeyFromBytes(const std::uint8_t* bytes);

// blocks keystream blocks, counter, counter + 1, ..., into out.
void Keystream(const Key& key, const Nonce& nonce, std::uint32_t counter, std::uint8_t* out,
               std::size_t blocks);

}  // namespace tessavo::chacha20
