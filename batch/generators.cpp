#include "batch/generators.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "common/random.h"

namespace tessavo {

namespace {

using Clock = GenerationHost::Clock;

// Messages are dispatched at least this often, so the window stays
// responsive, and not more often, so dispatching costs next to nothing.
constexpr auto MessageSlice = std::chrono::milliseconds(10);

// While the window is hidden nothing else needs the time, so the clock is
// read only every so many candidates: the number doubles while readings
// come less than ClockReadingMin apart and halves when they come more than
// ClockReadingMax apart. A dispatch is thus about a millisecond late at
// most, and the clock costs next to nothing.
constexpr auto ClockReadingMin = std::chrono::microseconds(250);
constexpr auto ClockReadingMax = std::chrono::milliseconds(1);
constexpr int MaxClockStride = 1 << 16;

// Up-front allocations stay bounded when a huge count is asked for (and
// may well be cancelled); beyond these the containers grow on demand.
constexpr int MaxReservedEntries = 1 << 24;
constexpr std::size_t MaxReservedCharacters = std::size_t{1} << 28;
constexpr std::size_t MaxInitialIndexEntries = std::size_t{1} << 20;
constexpr std::uint64_t MaxDenseIndexBits = std::uint64_t{1} << 29;

// Number of distinct texts of the lengths low..high over an alphabet,
// saturating at Saturated (more than any count can ask for).
constexpr std::uint64_t Saturated = std::uint64_t{1} << 62;
std::uint64_t DistinctTexts(std::uint64_t alphabet, int low, int high) {
  std::uint64_t total = 0;
  std::uint64_t power = 1;  // alphabet^length
  for (int length = 0;; ++length) {
    // Every length from here to high alone would exceed any count.
    if (power >= Saturated) return Saturated;
    if (length >= low) total = std::min(Saturated, total + power);
    if (length == high || total >= Saturated) return total;
    power = power > Saturated / alphabet ? Saturated : power * alphabet;
  }
}

// --- Drawing --------------------------------------------------------------

// DrawCharacter's rule with the generator's steps unrolled: the successors
// of a seed are computed side by side and picked with masks, since the
// random digit-or-letter and case choices would otherwise cost a
// mispredicted branch apiece and dominate a run. The generators' tests hold
// this to DrawCharacter, draw for draw.
enum class Kind { Digits, DigitOrLetter, Letters };
enum class Style { Lower, Upper, Mixed };

constexpr std::uint64_t AlphabetSizeOf(Kind kind, Style style) {
  const std::uint64_t letters = style == Style::Mixed ? 52 : 26;
  return kind == Kind::Digits ? 10 : kind == Kind::Letters ? letters : 10 + letters;
}

constexpr std::uint32_t Step1 = 134775813u;  // seed' = Step1 * seed + 1
constexpr std::uint32_t Step2 = Step1 * Step1, Add2 = Step1 + 1u;
constexpr std::uint32_t Step3 = Step2 * Step1, Add3 = Step2 + Step1 + 1u;

// DrawRandom(n) for the seed it has just stepped to.
inline std::uint32_t Scaled(std::uint32_t n, std::uint32_t seed) {
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(n) * seed) >> 32);
}

template <Kind K, Style S>
char NextCharacter(std::uint32_t& seed) {
  const std::uint32_t s1 = seed * Step1 + 1u;
  if constexpr (K == Kind::Digits) {
    seed = s1;
    return static_cast<char>('0' + Scaled(10, s1));
  } else if constexpr (K == Kind::Letters) {
    std::uint32_t letter = 'a' + Scaled(26, s1);
    if constexpr (S == Style::Mixed) {
      const std::uint32_t s2 = seed * Step2 + Add2;
      letter -= (s2 >> 31) << 5;
      seed = s2;
    } else {
      if constexpr (S == Style::Upper) letter -= 32;
      seed = s1;
    }
    return static_cast<char>(letter);
  } else {
    const std::uint32_t s2 = seed * Step2 + Add2;
    const std::uint32_t digit = 0u - (s1 >> 31);  // all ones for a digit
    const std::uint32_t digitCharacter = '0' + Scaled(10, s2);
    std::uint32_t letter = 'a' + Scaled(26, s2);
    if constexpr (S == Style::Upper) letter -= 32;
    if constexpr (S == Style::Mixed) {
      const std::uint32_t s3 = seed * Step3 + Add3;
      letter -= (s3 >> 31) << 5;
      seed = (s2 & digit) | (s3 & ~digit);
    } else {
      seed = s2;
    }
    return static_cast<char>((digitCharacter & digit) | (letter & ~digit));
  }
}

// The candidate drawn from seed (a length draw if the range offers more
// than one, then the characters); returns the seed after it. Touches no
// shared state, so a candidate can be made ahead of time.
template <Kind K, Style S>
std::uint32_t MakeCandidate(std::uint32_t seed, int low, std::uint32_t lengthChoices,
                            std::string& text) {
  int length = low;
  if (lengthChoices > 1) {
    seed = seed * Step1 + 1u;
    length = low + static_cast<int>(Scaled(lengthChoices, seed));
  }
  text.resize(static_cast<std::size_t>(length));
  for (char& c : text) c = NextCharacter<K, S>(seed);
  return seed;
}

// --- Duplicate check ------------------------------------------------------

std::uint64_t HashText(std::string_view text) {
  std::uint64_t h = 0x9E3779B97F4A7C15ull ^ text.size();
  for (std::size_t at = 0; at < text.size(); at += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + at, std::min<std::size_t>(8, text.size() - at));
    h = (h ^ word) * 0xBF58476D1CE4E5B9ull;
    h ^= h >> 29;
  }
  h ^= h >> 31;
  h *= 0x94D049BB133111EBull;
  return h ^ (h >> 32);
}

// The texts the store holds so far, answering exactly as a comparison with
// every entry would. Usually a hash table: open addressing with linear
// probing over entry numbers, each slot keeping 32 bits of the text's hash,
// which places the slot, lets the table grow without reading any text
// again, and rules out nearly every mismatch without touching the store.
// When the rule allows so few texts that one bit each takes no more room
// than that table, a bit per text instead, addressed by its rank among
// them: no probing, no text comparison, and it fits a cache (all six-digit
// numbers take 125 KB).
class DuplicateIndex {
 public:
  struct Slot {
    std::uint32_t entryPlusOne;  // 0: empty
    std::uint32_t tag;
  };

  static std::size_t SlotsFor(std::size_t entries) {
    return std::max<std::size_t>(16, std::bit_ceil(entries * 2));
  }

  DuplicateIndex(Kind kind, Style style, int low, int high, int passwordCount) : low_(low) {
    if (kind != Kind::Letters) AddSymbols('0', 10);
    if (kind != Kind::Digits && style != Style::Upper) AddSymbols('a', 26);
    if (kind != Kind::Digits && style != Style::Lower) AddSymbols('A', 26);
    assert(alphabet_ == AlphabetSizeOf(kind, style));
    const std::uint64_t texts = DistinctTexts(alphabet_, low, high);
    const auto count = static_cast<std::size_t>(passwordCount);
    if (texts <= MaxDenseIndexBits && texts / 8 <= SlotsFor(count) * sizeof(Slot)) {
      // Dense texts are at most eight characters long (10^9 > 2^29).
      std::uint64_t first = 0;
      std::uint64_t power = 1;
      for (int length = 0; length <= high; ++length, power *= alphabet_) {
        if (length < low) continue;
        firstRank_.push_back(first);
        first += power;
      }
      bits_.assign((texts + 63) / 64, 0);
    } else {
      slots_.assign(SlotsFor(std::min(count, MaxInitialIndexEntries)), Slot{0, 0});
    }
  }

  // The rank (dense) or the hash of a text drawn by the rule.
  std::uint64_t KeyOf(std::string_view text) const {
    if (slots_.empty()) {
      std::uint64_t value = 0;
      for (const char c : text) value = value * alphabet_ + symbol_[static_cast<unsigned char>(c)];
      return firstRank_[text.size() - static_cast<std::size_t>(low_)] + value;
    }
    return HashText(text);
  }

  // The memory that a check of this key reads first.
  const void* Place(std::uint64_t key) const {
    if (slots_.empty()) return &bits_[key >> 6];
    return &slots_[Tag(key) & (slots_.size() - 1)];
  }

  // Appends text (whose key is given) to the store unless an equal entry is
  // there already; true when it was appended.
  bool AppendIfNew(PasswordStore& store, std::string_view text, std::uint64_t key) {
    if (slots_.empty()) {
      std::uint64_t& word = bits_[key >> 6];
      const std::uint64_t bit = std::uint64_t{1} << (key & 63);
      if (word & bit) return false;
      store.Append(text);
      word |= bit;
      return true;
    }
    const std::uint32_t tag = Tag(key);
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = tag & mask;
    for (; slots_[at].entryPlusOne != 0; at = (at + 1) & mask) {
      if (slots_[at].tag == tag &&
          store.Get(static_cast<int>(slots_[at].entryPlusOne - 1)) == text) {
        return false;
      }
    }
    store.Append(text);
    slots_[at] = Slot{static_cast<std::uint32_t>(store.Count()), tag};
    if (++used_ * 2 > slots_.size()) Grow();
    return true;
  }

 private:
  static std::uint32_t Tag(std::uint64_t hash) { return static_cast<std::uint32_t>(hash >> 32); }

  void AddSymbols(char first, int count) {
    for (int k = 0; k < count; ++k) {
      symbol_[static_cast<unsigned char>(first + k)] = static_cast<std::uint8_t>(alphabet_++);
    }
  }

  void Grow() {
    std::vector<Slot> larger(slots_.size() * 2, Slot{0, 0});
    const std::size_t mask = larger.size() - 1;
    for (const Slot slot : slots_) {
      if (slot.entryPlusOne == 0) continue;
      std::size_t at = slot.tag & mask;
      while (larger[at].entryPlusOne != 0) at = (at + 1) & mask;
      larger[at] = slot;
    }
    slots_.swap(larger);
  }

  int low_;
  std::uint64_t alphabet_ = 0;
  std::array<std::uint8_t, 256> symbol_{};  // a character's digit in its rank
  std::vector<std::uint64_t> firstRank_;    // per length from low on
  std::vector<std::uint64_t> bits_;
  std::vector<Slot> slots_;
  std::size_t used_ = 0;
};

// --- Progress -------------------------------------------------------------

// Whole seconds of an elapsed time as the time label shows them: rounded
// to milliseconds, then cut; a negative time (a start in the future) as 0.
std::int64_t ElapsedSeconds(std::chrono::nanoseconds elapsed) {
  const auto ms = std::chrono::round<std::chrono::milliseconds>(elapsed).count();
  return ms < 0 ? 0 : ms / 1000;
}

// The progress window's bar and labels, updated after every candidate
// while the window is shown.
class ProgressReporter {
 public:
  ProgressReporter(GenerationHost& host, int passwordCount)
      : host_(host), passwordCount_(passwordCount) {}

  void Update(int accepted, Clock::time_point now) {
    if (accepted != percentFor_) {
      percent_ = ProgressPercent(accepted, passwordCount_);
      percentFor_ = accepted;
    }
    if (percent_ > host_.ProgressPosition()) {
      host_.SetProgressPosition(percent_);
      host_.SetPasswordCaption(std::to_string(accepted));
    }

    // The label shows whole seconds of the day; formatting it only when
    // those (or the separator) change keeps it off the per-candidate path.
    const auto elapsed = now - host_.RunStartTime();
    const std::int64_t secondOfDay = ElapsedSeconds(elapsed) % 86400;
    const char separator = host_.TimeSeparator();
    if (timeWritten_ && secondOfDay == timeSecond_ && separator == timeSeparator_) return;
    host_.SetTimeCaption(FormatElapsed(elapsed, separator));
    timeWritten_ = true;
    timeSecond_ = secondOfDay;
    timeSeparator_ = separator;
  }

 private:
  GenerationHost& host_;
  const int passwordCount_;
  int percentFor_ = -1;
  int percent_ = 0;
  bool timeWritten_ = false;
  std::int64_t timeSecond_ = 0;
  char timeSeparator_ = 0;
};

// Candidates made ahead of their turn, so that the index memory each one
// will check is already being fetched: the index outgrows the caches, and
// waiting for it one candidate at a time would take most of a run. Making a
// candidate touches nothing shared, and one is used only if RandomSeed is
// still the seed it was made from, so the draws stay exactly those of
// making each in turn (a cancel still stops before the next candidate).
template <Kind K, Style S>
class Lookahead {
 public:
  struct Candidate {
    std::string text;
    std::uint32_t from = 0;  // RandomSeed before it
    std::uint32_t to = 0;    // and after it
    std::uint64_t key = 0;   // for the index
  };

  Lookahead(int low, std::uint32_t lengthChoices, const DuplicateIndex* index)
      : low_(low), lengthChoices_(lengthChoices), index_(index), depth_(index ? Depth : 1) {}

  // The candidate drawn from seed; valid until the next call.
  const Candidate& Take(std::uint32_t seed) {
    if (ready_ > 0 && ring_[first_].from != seed) ready_ = 0;
    for (; ready_ < depth_; ++ready_) {
      const std::uint32_t from = ready_ == 0 ? seed : ring_[(first_ + ready_ - 1) % Depth].to;
      Candidate& made = ring_[(first_ + ready_) % Depth];
      made.from = from;
      made.to = MakeCandidate<K, S>(from, low_, lengthChoices_, made.text);
      if (index_) {
        made.key = index_->KeyOf(made.text);
        // Issued here, not inside the index: the compiler takes a function
        // that only prefetches for one without effect and drops its calls.
        __builtin_prefetch(index_->Place(made.key));
      }
    }
    const Candidate& taken = ring_[first_];
    first_ = (first_ + 1) % Depth;
    --ready_;
    return taken;
  }

 private:
  static constexpr int Depth = 8;
  const int low_;
  const std::uint32_t lengthChoices_;
  const DuplicateIndex* const index_;
  const int depth_;
  std::array<Candidate, Depth> ring_;
  int first_ = 0;
  int ready_ = 0;
};

// --- The run --------------------------------------------------------------

template <Kind K, Style S>
void Generate(PasswordStore& store, int low, int high, int passwordCount, bool allowDuplicates,
              GenerationHost& host) {
  store.Clear();
  // The window refuses all of these; they are caught here too because each
  // would otherwise never end.
  if (passwordCount < 1 || low < 0 || low > high) return;
  if (!allowDuplicates &&
      static_cast<std::uint64_t>(passwordCount) > DistinctTexts(AlphabetSizeOf(K, S), low, high)) {
    return;
  }

  const int reservedEntries = std::min(passwordCount, MaxReservedEntries);
  const std::size_t typicalLength = (static_cast<std::size_t>(low) + high + 1) / 2;
  store.Reserve(reservedEntries,
                std::min(MaxReservedCharacters, reservedEntries * typicalLength));
  std::optional<DuplicateIndex> index;
  if (!allowDuplicates) index.emplace(K, S, low, high, passwordCount);

  Lookahead<K, S> lookahead(low, static_cast<std::uint32_t>(high - low) + 1,
                            index ? &*index : nullptr);
  int accepted = 0;
  ProgressReporter progress(host, passwordCount);
  Clock::time_point lastProcessed = host.Now();
  Clock::time_point lastReading = lastProcessed;
  int clockStride = 1;
  int untilReading = 1;

  for (;;) {
    if (host.CancelRequested()) return;

    const auto& candidate = lookahead.Take(RandomSeed);
    RandomSeed = candidate.to;
    if (!index) {
      store.Append(candidate.text);
      ++accepted;
    } else if (index->AppendIfNew(store, candidate.text, candidate.key)) {
      ++accepted;
    }

    // The last candidate is always followed by a dispatch, so that a
    // Cancel pressed meanwhile is seen by the caller.
    const bool done = accepted == passwordCount;
    bool sliceOver = false;
    const bool visible = host.ProgressVisible();
    if (visible || --untilReading == 0) {
      const Clock::time_point now = host.Now();
      if (visible) progress.Update(accepted, now);
      sliceOver = now - lastProcessed >= MessageSlice;
      const auto sinceReading = now - lastReading;
      lastReading = now;
      if (sinceReading < ClockReadingMin) {
        clockStride = std::min(clockStride * 2, MaxClockStride);
      } else if (sinceReading > ClockReadingMax) {
        clockStride = std::max(clockStride / 2, 1);
      }
      untilReading = clockStride;
    }
    if (done || sliceOver) {
      host.ProcessMessages();
      if (done) return;
      // From the end of the dispatch: a slow one (a window being dragged)
      // must not leave the next slice without any work.
      lastProcessed = lastReading = host.Now();
    }
  }
}

template <Kind K>
void GenerateInStyle(Style style, PasswordStore& store, int low, int high, int passwordCount,
                     bool allowDuplicates, GenerationHost& host) {
  switch (style) {
    case Style::Lower:
      return Generate<K, Style::Lower>(store, low, high, passwordCount, allowDuplicates, host);
    case Style::Upper:
      return Generate<K, Style::Upper>(store, low, high, passwordCount, allowDuplicates, host);
    case Style::Mixed:
      return Generate<K, Style::Mixed>(store, low, high, passwordCount, allowDuplicates, host);
  }
}

}  // namespace

void GenerateAlphaPasswords(PasswordStore& store, int low, int high, int passwordCount,
                            int passwordType, int passwordCase, bool allowDuplicates,
                            GenerationHost& host) {
  // As DrawCharacter: any case style but lower or upper mixes the letters,
  // any type but Alphanumeric or Numeric draws letters only.
  const Style style = passwordCase == 0   ? Style::Lower
                      : passwordCase == 1 ? Style::Upper
                                          : Style::Mixed;
  if (passwordType == 2) {
    Generate<Kind::Digits, Style::Lower>(store, low, high, passwordCount, allowDuplicates, host);
  } else if (passwordType == 1) {
    GenerateInStyle<Kind::DigitOrLetter>(style, store, low, high, passwordCount,
                                         allowDuplicates, host);
  } else {
    GenerateInStyle<Kind::Letters>(style, store, low, high, passwordCount, allowDuplicates,
                                   host);
  }
}

void GenerateNumericPasswords(PasswordStore& store, int low, int high, int passwordCount,
                              bool allowDuplicates, GenerationHost& host) {
  Generate<Kind::Digits, Style::Lower>(store, low, high, passwordCount, allowDuplicates, host);
}

int ProgressPercent(int accepted, int passwordCount) {
  if (passwordCount < 1) return 0;
  const long double exact =
      static_cast<long double>(accepted) / static_cast<long double>(passwordCount) * 100.0L;
  // Halves go to the even neighbour, whatever the FPU's rounding mode.
  const long double below = std::floor(exact);
  const long double fraction = exact - below;
  long double rounded = below;
  if (fraction > 0.5L || (fraction == 0.5L && std::fmod(below, 2.0L) != 0)) rounded += 1;
  return static_cast<int>(rounded);
}

std::string FormatElapsed(std::chrono::nanoseconds elapsed, char timeSeparator) {
  const std::int64_t seconds = ElapsedSeconds(elapsed);
  char text[16];
  std::snprintf(text, sizeof text, "%02d%c%02d%c%02d", static_cast<int>(seconds / 3600 % 24),
                timeSeparator, static_cast<int>(seconds / 60 % 60), timeSeparator,
                static_cast<int>(seconds % 60));
  return text;
}

std::size_t DuplicateIndexBytes(int passwordCount) {
  if (passwordCount < 1) return 0;
  return DuplicateIndex::SlotsFor(static_cast<std::size_t>(passwordCount)) *
         sizeof(DuplicateIndex::Slot);
}

}  // namespace tessavo
