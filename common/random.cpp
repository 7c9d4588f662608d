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
  // Counted from the rule itself, which draws letters for an unknown type;
  // only the three listed types have an alphabet to count.
  if (passwordType < 0 || passwordType > 2) return 0;
  using namespace character_rule;
  return static_cast<int>(AlphabetSizeOf(KindOfType(passwordType), StyleOfCase(passwordCase)));
}

char DrawCharacter(int passwordType, int passwordCase) {
  using namespace character_rule;
  return WithRule(KindOfType(passwordType), StyleOfCase(passwordCase),
                  []<Kind K, Style S>() { return NextCharacter<K, S>(RandomSeed); });
}

}  // namespace tessavo
