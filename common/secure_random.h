// The generator every password character comes from unless the classic
// sequence is asked for: ChaCha20 keyed with 256 bits from the operating
// system. Each refill's first 32 bytes of keystream replace the key at once
// ("fast key erasure"), so what is in memory cannot give back anything
// drawn before; the key comes afresh from the system at every run, after
// every RekeyBytes drawn and on first use.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "common/chacha20.h"
#include "common/os_random.h"
#include "common/uniform.h"

namespace tessavo {

// Where the characters of a password come from: the secure generator, or
// the classic sequence of RandomSeed, which anybody who sees one password
// can follow.
enum class RandomSource { Secure, Classic };

class SecureRandom {
 public:
  // Fills its buffer with fresh key material.
  using KeySource = void (*)(std::uint8_t* out, std::size_t size);
  static constexpr std::size_t RekeyBytes = std::size_t{1} << 20;

  explicit SecureRandom(KeySource keySource = OsRandomBytes) : keySource_(keySource) {}
  ~SecureRandom() { Forget(); }
  SecureRandom(const SecureRandom&) = delete;
  SecureRandom& operator=(const SecureRandom&) = delete;

  // A new key from the key source; nothing buffered from the old one stays.
  void Rekey();
  // Where keys come from from the next Rekey on (tests make it repeatable).
  void SetKeySource(KeySource keySource) { keySource_ = keySource; }
  // Wipes the draws made ahead, so that none of them waits in memory until
  // the next use.
  void Forget();

  // 32 uniform bits: draws of a few characters or a length take no more,
  // and are cheaper to take apart than 64.
  std::uint32_t Next() {
    if (next_ == stream_.size()) Refill();
    const std::uint32_t word = stream_[next_];
    stream_[next_++] = 0;
    return word;
  }
  // A value from 0 to range - 1, each exactly as likely (range at least 1).
  std::uint32_t Below(std::uint32_t range) {
    return UniformBelow<std::uint32_t>(range, [this] { return Next(); });
  }

 private:
  static constexpr std::size_t Blocks = 16;
  static constexpr std::size_t KeyWords = 8;

  void Refill();

  KeySource keySource_;
  chacha20::Key key_{};
  bool keyed_ = false;
  std::size_t sinceKeyed_ = 0;  // bytes drawn since the key came from the source
  // A refill's keystream: its first KeyWords are the next key (wiped once
  // taken), the rest are handed out and wiped one by one.
  alignas(32) std::array<std::uint32_t, Blocks * chacha20::BlockBytes / 4> stream_{};
  std::size_t next_ = stream_.size();
};

// The process-wide generator, keyed from the operating system; for the
// main thread only, like RandomSeed.
SecureRandom& SystemRandom();

}  // namespace tessavo
