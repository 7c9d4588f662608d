// The two batch generators. Each empties the store and fills it with
// passwordCount passwords (fewer if the user cancels), drawing every length
// and character from the given source: the secure generator, or the classic
// sequence of RandomSeed in a fixed order, so that the same seed always
// gives the same list. Requests that could never be met (no passwords, an
// empty or negative length range, or more distinct passwords than the rule
// can make) leave the store empty and draw nothing.
#pragma once

#include "batch/capacity.h"
#include "batch/generation_host.h"
#include "batch/password_store.h"
#include "common/secure_random.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace tessavo {

// The member the options' type calls for ("Numeric" or the other), with
// their length range, count and duplicates rule.
void GeneratePasswords(PasswordStore& store, const GenerationOptions& options,
                       GenerationHost& host, RandomSource source);

// "Alphabetic" and "Alphanumeric" (and, like DrawCharacter, letters for any
// other type index), in the given case style.
void GenerateAlphaPasswords(PasswordStore& store, int low, int high, int passwordCount,
                            int passwordType, int passwordCase, bool allowDuplicates,
                            GenerationHost& host, RandomSource source);

// "Numeric": one draw of 10 per digit (classic).
void GenerateNumericPasswords(PasswordStore& store, int low, int high, int passwordCount,
                              bool allowDuplicates, GenerationHost& host, RandomSource source);

// The progress bar position for a count of accepted passwords: the
// percentage rounded half to even.
int ProgressPercent(int accepted, int passwordCount);

// Whole seconds of an elapsed time as the time label counts them: rounded
// to milliseconds, then cut; a negative time (a start in the future) as 0.
std::int64_t ElapsedSeconds(std::chrono::nanoseconds elapsed);

// "hh:mm:ss" of an elapsed time, rounded to milliseconds, cut to whole
// seconds, hours wrapping after 23.
std::string FormatElapsed(std::chrono::nanoseconds elapsed, char timeSeparator = ':');

}  // namespace tessavo
