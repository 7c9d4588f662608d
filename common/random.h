// The process-wide random generator and the character rule shared by both
// programs. Every character of every password is drawn through these.
#pragma once

#include <cstdint>

namespace tessavo {

// The complete state of the generator: a 32-bit linear congruential
// sequence (multiplier 134775813, increment 1, modulo 2^32). Starts at 0;
// SeedFromClock sets it once at start-up.
extern std::uint32_t RandomSeed;

// The seed for a UTC time of day: milliseconds since midnight,
// 0 to 86,399,999.
std::uint32_t SeedForTimeOfDay(int hour, int minute, int second, int millisecond);

// Sets RandomSeed from the current UTC time of day.
void SeedFromClock();

// Steps RandomSeed once and returns floor(n * RandomSeed / 2^32), a value
// from 0 to n - 1 (0 when n is 0).
std::uint32_t DrawRandom(std::uint32_t n);

// Number of distinct characters that DrawCharacter can produce for a type
// (0 Alphabetic, 1 Alphanumeric, 2 Numeric) and case (0 lower, 1 upper,
// 2 mixed): 26, 52, 36, 62 or 10; 0 for a type outside 0..2.
int AlphabetSize(int passwordType, int passwordCase);

// Draws one character: one draw for Numeric, a digit-or-letter draw first
// for Alphanumeric, then a letter draw, then a case draw for mixed case.
char DrawCharacter(int passwordType, int passwordCase);

}  // namespace tessavo
