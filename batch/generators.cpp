#include "batch/generators.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "batch/draw_ahead.h"
#include "batch/duplicate_index.h"
#include "common/character_rule.h"
#include "common/packed_characters.h"
#include "common/random.h"
#include "common/secure_random.h"

namespace tessavo {

namespace {

using Clock = GenerationHost::Clock;

// Messages are dispatched at least this often, so the window stays
// responsive, and not more often, so dispatching costs next to nothing.
constexpr auto MessageSlice = std::chrono::milliseconds(10);

// The clock is read only every so many candidates: the number doubles
// while readings come less than ClockReadingMin apart and halves when they
// come more than ClockReadingMax apart. A dispatch, and a change of the
// elapsed-time label, is thus about a millisecond late at most, and the
// clock costs next to nothing (under Wine one reading costs about as much
// as making ten candidates).
constexpr auto ClockReadingMin = std::chrono::microseconds(250);
constexpr auto ClockReadingMax = std::chrono::milliseconds(1);
constexpr int MaxClockStride = 1 << 16;

// Up-front allocations stay bounded when a huge count is asked for (and
// may well be cancelled); beyond these the containers grow on demand.
constexpr int MaxReservedEntries = 1 << 24;
constexpr std::size_t MaxReservedCharacters = std::size_t{1} << 28;

using character_rule::AlphabetSizeOf;
using character_rule::Kind;
using character_rule::Scaled;
using character_rule::Step1;
using character_rule::Style;

// --- Drawing --------------------------------------------------------------

// The length of the candidate drawn from seed: a draw only if the range
// offers more than one (it comes before the characters).
inline int DrawLength(std::uint32_t& seed, int low, std::uint32_t lengthChoices) {
  if (lengthChoices <= 1) return low;
  seed = seed * Step1 + 1u;
  return low + static_cast<int>(Scaled(lengthChoices, seed));
}

// Where a run's candidates come from. A drawer makes a candidate from a
// State into the room that room(length) gives and returns the State after
// it; Current and Commit tie the State to the drawer's source.

// The classic sequence: the State is RandomSeed itself, so a candidate can
// be made ahead of time from any seed, touching nothing shared.
template <Kind K, Style S>
class ClassicDraws {
 public:
  using State = std::uint32_t;
  ClassicDraws(int low, int high)
      : low_(low), lengthChoices_(static_cast<std::uint32_t>(high - low) + 1) {}

  State Current() const { return RandomSeed; }
  void Commit(State after) { RandomSeed = after; }
  template <typename Room>
  State Make(State seed, Room&& room) {
    const auto length = static_cast<std::size_t>(DrawLength(seed, low_, lengthChoices_));
    return draw_ahead::DrawCharacters<K, S>(seed, room(length), length);
  }

 private:
  const int low_;
  const std::uint32_t lengthChoices_;
};

// The secure generator: nobody sees its draws, so candidates are simply
// made in turn and there is no State to keep. The key is new for every run,
// and nothing drawn ahead outlives it.
template <Kind K, Style S>
class SecureDraws {
 public:
  struct State {
    bool operator==(const State&) const = default;
  };
  SecureDraws(int low, int high)
      : random_(SystemRandom()),
        low_(low),
        lengthChoices_(static_cast<std::uint32_t>(high - low) + 1) {
    random_.Rekey();
  }
  ~SecureDraws() { random_.Forget(); }
  SecureDraws(const SecureDraws&) = delete;
  SecureDraws& operator=(const SecureDraws&) = delete;

  State Current() const { return {}; }
  void Commit(State) {}
  template <typename Room>
  State Make(State, Room&& room) {
    const auto length = static_cast<std::size_t>(
        low_ + (lengthChoices_ > 1 ? static_cast<int>(random_.Below(lengthChoices_)) : 0));
    characters_.Fill(room(length), length, [this] { return random_.Next(); });
    return {};
  }

 private:
  SecureRandom& random_;
  const int low_;
  const std::uint32_t lengthChoices_;
  character_rule::PackedCharacters<K, S> characters_;
};

// --- Progress -------------------------------------------------------------

// The figures of a run while someone watches: the percentage after every
// candidate, reported when it rises; the elapsed seconds at every reading of
// the clock, reported when they change.
class ProgressReporter {
 public:
  ProgressReporter(GenerationHost& host, int passwordCount)
      : host_(host), passwordCount_(passwordCount) {}

  void UpdateBar(int accepted) {
    if (accepted >= nextPercentAt_) {
      percent_ = ProgressPercent(accepted, passwordCount_);
      nextPercentAt_ = FirstCountAbove(percent_, accepted);
    }
    if (percent_ > reportedPercent_) {
      reportedPercent_ = percent_;
      host_.ReportAccepted(accepted, percent_);
    }
  }

  void UpdateTime(Clock::time_point now) {
    // Only a change is reported, which keeps the label's formatting off the
    // per-candidate path.
    const std::int64_t seconds = ElapsedSeconds(now - host_.RunStartTime());
    if (timeReported_ && seconds == reportedSeconds_) return;
    host_.ReportElapsed(std::chrono::seconds(seconds));
    timeReported_ = true;
    reportedSeconds_ = seconds;
  }

 private:
  // The smallest count above accepted whose percentage exceeds percent:
  // the percentage never falls as the count grows, so a search finds it, and
  // the rounding stays ProgressPercent's own while it is computed about a
  // hundred times a run instead of once per candidate.
  int FirstCountAbove(int percent, int accepted) const {
    int low = accepted + 1;
    int high = passwordCount_;
    if (low > high || ProgressPercent(high, passwordCount_) <= percent) return INT_MAX;
    while (low < high) {
      const int middle = low + (high - low) / 2;
      if (ProgressPercent(middle, passwordCount_) > percent) {
        high = middle;
      } else {
        low = middle + 1;
      }
    }
    return low;
  }

  GenerationHost& host_;
  const int passwordCount_;
  int nextPercentAt_ = 0;  // the count at which percent_ changes next
  int percent_ = 0;
  int reportedPercent_ = 0;  // a run's bar starts at 0
  bool timeReported_ = false;
  std::int64_t reportedSeconds_ = 0;
};

// Candidates made ahead of their turn, so that the index memory each one
// will check is already being fetched: the index outgrows the caches, and
// waiting for it one candidate at a time would take most of a run. Making a
// candidate touches nothing shared, and one is used only if the drawer is
// still at the State it was made from, so the classic draws stay exactly
// those of making each in turn (a cancel still stops before the next
// candidate).
template <typename Draws>
class Lookahead {
 public:
  using State = typename Draws::State;
  struct Candidate {
    std::string_view Text() const { return std::string_view(text.data(), length); }
    std::string text;        // room for the longest candidate so far
    std::size_t length = 0;
    State from{};            // the drawer's State before it
    State to{};              // and after it
    std::uint64_t key = 0;   // for the index
  };

  Lookahead(Draws& draws, const DuplicateIndex& index) : draws_(draws), index_(index) {}

  // The candidate drawn from the drawer's current State; valid until the
  // next call.
  const Candidate& Take() {
    const State current = draws_.Current();
    if (ready_ > 0 && !(ring_[first_].from == current)) ready_ = 0;
    for (; ready_ < Depth; ++ready_) {
      const State from = ready_ == 0 ? current : ring_[(first_ + ready_ - 1) % Depth].to;
      Candidate& made = ring_[(first_ + ready_) % Depth];
      made.from = from;
      made.to = draws_.Make(from, [&made](std::size_t length) {
        if (made.text.size() < length) made.text.resize(length);
        made.length = length;
        return made.text.data();
      });
      made.key = index_.KeyOf(made.Text());
      // Issued here, not inside the index: the compiler takes a function
      // that only prefetches for one without effect and drops its calls.
      __builtin_prefetch(index_.Place(made.key));
    }
    const Candidate& taken = ring_[first_];
    first_ = (first_ + 1) % Depth;
    --ready_;
    draws_.Commit(taken.to);
    return taken;
  }

 private:
  static constexpr unsigned Depth = 8;  // a power of two: % is a mask
  Draws& draws_;
  const DuplicateIndex& index_;
  std::array<Candidate, Depth> ring_;
  unsigned first_ = 0;
  unsigned ready_ = 0;
};

// --- The run --------------------------------------------------------------

// The passes of a run, each making one candidate (nextCandidate returns
// whether it was accepted) until passwordCount are, with the progress
// window kept up to date and messages dispatched between passes.
template <typename NextCandidate>
void RunPasses(GenerationHost& host, int passwordCount, NextCandidate&& nextCandidate) {
  int accepted = 0;
  ProgressReporter progress(host, passwordCount);
  Clock::time_point lastProcessed = host.Now();
  Clock::time_point lastReading = lastProcessed;
  int clockStride = 1;
  int untilReading = 1;
  bool wasVisible = false;

  for (;;) {
    if (host.CancelRequested()) return;
    if (nextCandidate()) ++accepted;

    // The last candidate is always followed by a dispatch, so that a
    // Cancel pressed meanwhile is seen by the caller.
    const bool done = accepted == passwordCount;
    bool sliceOver = false;
    const bool visible = host.ProgressVisible();
    if (visible) progress.UpdateBar(accepted);
    // A window shown again, and the last pass, show the time at once.
    if (visible && (!wasVisible || done)) untilReading = 1;
    wasVisible = visible;
    if (--untilReading == 0) {
      const Clock::time_point now = host.Now();
      if (visible) progress.UpdateTime(now);
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

// One run with the given drawer: straight into the store when duplicates
// are allowed, else through the index.
template <Kind K, Style S, typename Draws>
void Fill(Draws& draws, PasswordStore& store, int low, int high, int passwordCount,
          bool allowDuplicates, GenerationHost& host) {
  if (allowDuplicates) {
    // Nothing to look up: each candidate is drawn straight into the store.
    RunPasses(host, passwordCount, [&] {
      draws.Commit(draws.Make(draws.Current(), [&store](std::size_t length) {
        return store.AppendSpace(length);
      }));
      return true;
    });
  } else {
    DuplicateIndex index(K, S, low, high, passwordCount);
    Lookahead<Draws> lookahead(draws, index);
    RunPasses(host, passwordCount, [&] {
      const auto& candidate = lookahead.Take();
      return index.AppendIfNew(store, candidate.Text(), candidate.key);
    });
  }
}

template <Kind K, Style S>
void Generate(PasswordStore& store, int low, int high, int passwordCount, bool allowDuplicates,
              GenerationHost& host, RandomSource source) {
  // The window refuses all of these; they are caught here too because each
  // would otherwise never end.
  if (passwordCount < 1 || low < 0 || low > high ||
      (!allowDuplicates && static_cast<std::uint64_t>(passwordCount) >
                               DistinctTexts(AlphabetSizeOf(K, S), low, high))) {
    store.Clear();
    return;
  }
  store.Empty();  // its room is reused where it fits (Reserve)

  const int reservedEntries = std::min(passwordCount, MaxReservedEntries);
  const std::size_t typicalLength = (static_cast<std::size_t>(low) + high + 1) / 2;
  store.Reserve(reservedEntries,
                std::min(MaxReservedCharacters, reservedEntries * typicalLength));

  if (source == RandomSource::Classic) {
    ClassicDraws<K, S> draws(low, high);
    Fill<K, S>(draws, store, low, high, passwordCount, allowDuplicates, host);
  } else {
    SecureDraws<K, S> draws(low, high);
    Fill<K, S>(draws, store, low, high, passwordCount, allowDuplicates, host);
  }
}

}  // namespace

std::int64_t ElapsedSeconds(std::chrono::nanoseconds elapsed) {
  const auto ms = std::chrono::round<std::chrono::milliseconds>(elapsed).count();
  return ms < 0 ? 0 : ms / 1000;
}

void GeneratePasswords(PasswordStore& store, const GenerationOptions& options,
                       GenerationHost& host, RandomSource source) {
  const LengthRange lengths = EffectiveLengths(options);
  const bool allowDuplicates = !options.NoDuplicates;
  if (options.PasswordType == 2) {
    GenerateNumericPasswords(store, lengths.Low, lengths.High, options.PasswordCount,
                             allowDuplicates, host, source);
  } else {
    GenerateAlphaPasswords(store, lengths.Low, lengths.High, options.PasswordCount,
                           options.PasswordType, options.PasswordCase, allowDuplicates, host,
                           source);
  }
}

void GenerateAlphaPasswords(PasswordStore& store, int low, int high, int passwordCount,
                            int passwordType, int passwordCase, bool allowDuplicates,
                            GenerationHost& host, RandomSource source) {
  // The type and case indexes mean what they mean to DrawCharacter, unknown ones included.
  using namespace character_rule;
  WithRule(KindOfType(passwordType), StyleOfCase(passwordCase), [&]<Kind K, Style S>() {
    Generate<K, S>(store, low, high, passwordCount, allowDuplicates, host, source);
  });
}

void GenerateNumericPasswords(PasswordStore& store, int low, int high, int passwordCount,
                              bool allowDuplicates, GenerationHost& host,
                              RandomSource source) {
  Generate<Kind::Digits, Style::Lower>(store, low, high, passwordCount, allowDuplicates, host,
                                       source);
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

}  // namespace tessavo
