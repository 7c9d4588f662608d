#include "common/random.h"

#include <chrono>

#include "common/character_rule.h"

namespace tessavo {

std::uint32_t RandomSeed = 0;

std::uint32_t SeedForTimeOfDay(int hour, int minute, int second, int millisecond) {
  return static_cast<std::uint32_t>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond);
}

void SeedFromClock() {
  // The system clock counts UTC, so the time of day is the remainder of a
  // whole number of days; local time and daylight saving play no part.
  using namespace std::chrono;
  const auto sinceEpoch = duration_cast<milliseconds>(system_clock::now().time_since_epoch());
  auto ofDay = sinceEpoch % days(1);
  if (ofDay < milliseconds::zero()) ofDay += days(1);
  RandomSeed = static_cast<std::uint32_t>(ofDay.count());
}

std::uint32_t DrawRandom(std::uint32_t n) {
  RandomSeed = RandomSeed * 134775813u + 1u;
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(n) * RandomSeed) >> 32);
}

int AlphabetSize(int passwordType, int passwordCase) {
  // Counted as the character rule draws: any case style but lowercase and
  // uppercase mixes the letters (a list with no case selected included).
  const bool mixed = passwordCase != 0 && passwordCase != 1;
  switch (passwordType) {
    case 0: return mixed ? 52 : 26;
    case 1: return mixed ? 62 : 36;
    case 2: return 10;
    default: return 0;
  }
}

char DrawCharacter(int passwordType, int passwordCase) {
  using namespace character_rule;
  return WithRule(KindOfType(passwordType), StyleOfCase(passwordCase),
                  []<Kind K, Style S>() { return NextCharacter<K, S>(RandomSeed); });
}

}  // namespace tessavo
