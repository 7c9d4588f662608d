#include "common/secure_random.h"

#include <cstring>

namespace tessavo {
namespace {

// Stores the compiler may not drop although nothing reads them again.
void Wipe(void* data, std::size_t size) {
  auto* bytes = static_cast<volatile std::uint8_t*>(data);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = 0;
}

}  // namespace

void SecureRandom::Rekey() {
  std::uint8_t key[KeyBytes];
  keySource_(key, sizeof key);
  key_ = chacha20::KeyFromBytes(key);
  Wipe(key, sizeof key);
  keyed_ = true;
  sinceKeyed_ = 0;
  Forget();
}

void SecureRandom::Forget() {
  Wipe(buffer_.data(), sizeof buffer_);
  next_ = buffer_.size();
}

void SecureRandom::Refill() {
  if (!keyed_ || sinceKeyed_ >= RekeyBytes) Rekey();
  // Every refill has a key of its own, so the nonce and counter can start
  // at zero each time.
  alignas(16) std::uint8_t stream[Blocks * chacha20::BlockBytes];
  chacha20::Keystream(key_, chacha20::Nonce{}, 0, stream, Blocks);
  key_ = chacha20::KeyFromBytes(stream);
  std::memcpy(buffer_.data(), stream + KeyBytes, sizeof buffer_);
  Wipe(stream, sizeof stream);
  sinceKeyed_ += sizeof buffer_;
  next_ = 0;
}

SecureRandom& SystemRandom() {
  static SecureRandom random;
  return random;
}

}  // namespace tessavo
