#include "common/secure_random.h"

#include <cstring>

namespace tessavo {
namespace {

// Zeros the compiler may not drop although nothing reads them again: the
// empty statement claims to read the memory.
void Wipe(void* data, std::size_t size) {
  std::memset(data, 0, size);
  asm volatile("" : : "r"(data) : "memory");
}

}  // namespace

void SecureRandom::Rekey() {
  std::uint8_t key[KeyWords * 4];
  keySource_(key, sizeof key);
  key_ = chacha20::KeyFromBytes(key);
  Wipe(key, sizeof key);
  keyed_ = true;
  sinceKeyed_ = 0;
  Forget();
}

void SecureRandom::Forget() {
  Wipe(stream_.data(), sizeof stream_);
  next_ = stream_.size();
}

void SecureRandom::Refill() {
  if (!keyed_ || sinceKeyed_ >= RekeyBytes) Rekey();
  // Every refill has a key of its own, so the nonce and counter can start
  // at zero each time.
  auto* bytes = reinterpret_cast<std::uint8_t*>(stream_.data());
  chacha20::Keystream(key_, chacha20::Nonce{}, 0, bytes, Blocks);
  key_ = chacha20::KeyFromBytes(bytes);
  Wipe(bytes, KeyWords * 4);
  next_ = KeyWords;
  sinceKeyed_ += sizeof stream_ - KeyWords * 4;
}

SecureRandom& SystemRandom() {
  static SecureRandom random;
  return random;
}

}  // namespace tessavo
