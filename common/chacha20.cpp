#include "common/chacha20.h"

// The vectors never cross a function boundary that is not inlined, so the
// calling convention for them (which AVX would change) does not matter.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace tessavo::chacha20 {
namespace {

// Blocks are made several at a time, each word of the state held for all
// of them side by side in one vector (GCC's vector extension), so that
// every step of the rounds is one instruction for all the blocks: four
// with the SSE2 that every x86-64 processor has, eight where AVX2 is there.
template <int Lanes>
struct Wide {
  typedef std::uint32_t Vector __attribute__((vector_size(4 * Lanes)));
};

#define TESSAVO_INLINE inline __attribute__((always_inline))

template <typename Vector>
TESSAVO_INLINE Vector Rotate(Vector x, int bits) {
  return (x << bits) | (x >> (32 - bits));
}

template <typename Vector>
TESSAVO_INLINE void QuarterRound(Vector& a, Vector& b, Vector& c, Vector& d) {
  a += b;
  d = Rotate(d ^ a, 16);
  c += d;
  b = Rotate(b ^ c, 12);
  a += b;
  d = Rotate(d ^ a, 8);
  c += d;
  b = Rotate(b ^ c, 7);
}

TESSAVO_INLINE void StoreLittleEndian(std::uint32_t word, std::uint8_t* out) {
  out[0] = static_cast<std::uint8_t>(word);
  out[1] = static_cast<std::uint8_t>(word >> 8);
  out[2] = static_cast<std::uint8_t>(word >> 16);
  out[3] = static_cast<std::uint8_t>(word >> 24);
}

// Lanes blocks from counter on; the first count of them go to out.
template <int Lanes>
TESSAVO_INLINE void Blocks(const std::uint32_t (&input)[16], std::uint32_t counter,
                           std::uint8_t* out, int count) {
  using Vector = typename Wide<Lanes>::Vector;
  Vector start[16];
  for (int i = 0; i < 16; ++i) start[i] = Vector{} + input[i];
  Vector lane{};
  for (int l = 0; l < Lanes; ++l) lane[l] = static_cast<std::uint32_t>(l);
  start[12] = lane + counter;
  Vector x[16];
  for (int i = 0; i < 16; ++i) x[i] = start[i];
  for (int round = 0; round < 10; ++round) {
    QuarterRound(x[0], x[4], x[8], x[12]);
    QuarterRound(x[1], x[5], x[9], x[13]);
    QuarterRound(x[2], x[6], x[10], x[14]);
    QuarterRound(x[3], x[7], x[11], x[15]);
    QuarterRound(x[0], x[5], x[10], x[15]);
    QuarterRound(x[1], x[6], x[11], x[12]);
    QuarterRound(x[2], x[7], x[8], x[13]);
    QuarterRound(x[3], x[4], x[9], x[14]);
  }
  for (int i = 0; i < 16; ++i) x[i] += start[i];
  for (int l = 0; l < count; ++l) {
    for (int i = 0; i < 16; ++i) StoreLittleEndian(x[i][l], out + l * BlockBytes + i * 4);
  }
}

// The whole stream, Lanes blocks at a time.
template <int Lanes>
TESSAVO_INLINE void Stream(const std::uint32_t (&input)[16], std::uint32_t counter,
                           std::uint8_t* out, std::size_t blocks) {
  while (blocks > 0) {
    const int count = blocks < Lanes ? static_cast<int>(blocks) : Lanes;
    Blocks<Lanes>(input, counter, out, count);
    counter += Lanes;
    out += count * BlockBytes;
    blocks -= static_cast<std::size_t>(count);
  }
}

void StreamSse2(const std::uint32_t (&input)[16], std::uint32_t counter, std::uint8_t* out,
                std::size_t blocks) {
  Stream<4>(input, counter, out, blocks);
}

__attribute__((target("avx2"))) void StreamAvx2(const std::uint32_t (&input)[16],
                                                std::uint32_t counter, std::uint8_t* out,
                                                std::size_t blocks) {
  Stream<8>(input, counter, out, blocks);
}

#undef TESSAVO_INLINE

}  // namespace

Key KeyFromBytes(const std::uint8_t* bytes) {
  Key key;
  for (std::size_t i = 0; i < key.size(); ++i) {
    const std::uint8_t* b = bytes + 4 * i;
    key[i] = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
  }
  return key;
}

void Keystream(const Key& key, const Nonce& nonce, std::uint32_t counter, std::uint8_t* out,
               std::size_t blocks) {
  // "expand 32-byte k"
  std::uint32_t input[16] = {0x61707865, 0x3320646e, 0x79622d32, 0x6b206574};
  for (int i = 0; i < 8; ++i) input[4 + i] = key[i];
  for (int i = 0; i < 3; ++i) input[13 + i] = nonce[i];
  static const bool avx2 = __builtin_cpu_supports("avx2");
  if (avx2) {
    StreamAvx2(input, counter, out, blocks);
  } else {
    StreamSse2(input, counter, out, blocks);
  }
}

}  // namespace tessavo::chacha20
