#include "batch/generators.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "common/random.h"

namespace tessavo {
namespace {

using namespace std::chrono_literals;

// A progress window with a scripted clock, moved on by tick at every Now()
// and by perCandidate at every cancel check (once per candidate). Records
// what the generator shows and when it dispatches.
class ScriptedHost : public GenerationHost {
 public:
  explicit ScriptedHost(const PasswordStore& store) : store_(store) {}

  std::chrono::nanoseconds tick{0};
  std::chrono::nanoseconds perCandidate{0};
  std::function<bool(int stored)> visibleWhen = [](int) { return true; };
  int cancelAfterProcessings = -1;  // never
  std::function<void()> duringProcessing = [] {};
  char separator = ':';

  std::vector<std::pair<int, int>> positions;  // (position, entries stored)
  std::vector<std::string> passwordCaptions;
  std::vector<std::string> timeCaptions;
  std::vector<int> processedAt;  // entries stored at each dispatch
  std::vector<Clock::time_point> processedTimes;
  int cancelChecks = 0;

  bool CancelRequested() override {
    ++cancelChecks;
    now_ += perCandidate;
    return cancelAfterProcessings >= 0 &&
           static_cast<int>(processedAt.size()) >= cancelAfterProcessings;
  }
  bool ProgressVisible() override { return visibleWhen(store_.Count()); }
  void ReportAccepted(int accepted, int percent) override {
    positions.emplace_back(percent, store_.Count());
    passwordCaptions.push_back(std::to_string(accepted));
  }
  void ReportElapsed(std::chrono::seconds elapsed) override {
    timeCaptions.push_back(FormatElapsed(elapsed, separator));
  }
  Clock::time_point Now() override { return now_ += tick; }
  Clock::time_point RunStartTime() override { return Clock::time_point{}; }
  void ProcessMessages() override {
    duringProcessing();
    processedAt.push_back(store_.Count());
    processedTimes.push_back(now_);
  }

 private:
  const PasswordStore& store_;
  Clock::time_point now_{};
};

std::vector<std::string> Contents(const PasswordStore& store) {
  std::vector<std::string> texts;
  for (int k = 0; k < store.Count(); ++k) texts.emplace_back(store.Get(k));
  return texts;
}

// The generator's rule with the duplicate check as a plain scan of what
// was accepted so far, the way it reads.
std::vector<std::string> ReferenceGenerate(int low, int high, int count, bool allowDuplicates,
                                           const std::function<char()>& draw) {
  std::vector<std::string> accepted;
  while (static_cast<int>(accepted.size()) < count) {
    const auto span = static_cast<std::uint32_t>(high - low + 1);
    const int length = low == high ? low : low + static_cast<int>(DrawRandom(span));
    std::string candidate;
    for (int k = 0; k < length; ++k) candidate += draw();
    if (allowDuplicates ||
        std::find(accepted.begin(), accepted.end(), candidate) == accepted.end()) {
      accepted.push_back(candidate);
    }
  }
  return accepted;
}

std::function<char()> AlphaDraw(int type, int letterCase) {
  return [=] { return DrawCharacter(type, letterCase); };
}
char NumericDraw() { return static_cast<char>('0' + DrawRandom(10)); }

// The documented generator step, kept apart from the product code.
std::uint32_t Step(std::uint32_t& seed, std::uint32_t n) {
  seed = seed * 134775813u + 1u;
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(n) * seed) >> 32);
}

// --- Draw order ---------------------------------------------------------

TEST(GeneratorsTest, DrawsLengthOnlyForAVariableRangeAndBeforeTheCharacters) {
  PasswordStore store;
  HeadlessGenerationHost host;

  RandomSeed = 12345;
  GenerateNumericPasswords(store, 4, 4, 1, true, host, RandomSource::Classic);
  std::uint32_t seed = 12345;
  std::string expected;
  for (int k = 0; k < 4; ++k) expected += static_cast<char>('0' + Step(seed, 10));
  EXPECT_EQ(store.Get(0), expected);
  EXPECT_EQ(RandomSeed, seed);

  RandomSeed = 12345;
  GenerateNumericPasswords(store, 3, 5, 1, true, host, RandomSource::Classic);
  seed = 12345;
  const int length = 3 + static_cast<int>(Step(seed, 3));
  expected.clear();
  for (int k = 0; k < length; ++k) expected += static_cast<char>('0' + Step(seed, 10));
  EXPECT_EQ(store.Get(0), expected);
  EXPECT_EQ(RandomSeed, seed);
}

void RunGenerator(PasswordStore& store, int type, int letterCase, int low, int high, int count,
                  bool allowDuplicates, GenerationHost& host) {
  if (type == 2 && letterCase < 0) {
    GenerateNumericPasswords(store, low, high, count, allowDuplicates, host, RandomSource::Classic);
  } else {
    GenerateAlphaPasswords(store, low, high, count, type, letterCase, allowDuplicates, host,
                           RandomSource::Classic);
  }
}

// letterCase -1 with type 2 stands for the numeric generator.
void ExpectSameAsReference(int type, int letterCase, int low, int high, int count,
                           bool allowDuplicates, std::uint32_t seed) {
  RandomSeed = seed;
  const std::vector<std::string> expected = ReferenceGenerate(
      low, high, count, allowDuplicates,
      type == 2 ? std::function<char()>(NumericDraw) : AlphaDraw(type, letterCase));
  const std::uint32_t expectedSeed = RandomSeed;

  PasswordStore store;
  HeadlessGenerationHost host;
  RandomSeed = seed;
  RunGenerator(store, type, letterCase, low, high, count, allowDuplicates, host);
  ASSERT_EQ(Contents(store), expected)
      << type << " " << letterCase << " " << low << ".." << high << " " << count;
  ASSERT_EQ(RandomSeed, expectedSeed);
}

TEST(GeneratorsTest, EveryTypeAndCaseDrawsExactlyAsDrawCharacter) {
  for (const int type : {0, 1, 2, -1, 7}) {
    for (const int letterCase : {-1, 0, 1, 2, 5}) {
      if (letterCase < 0 && type != 2) continue;
      ExpectSameAsReference(type, letterCase, 12, 12, 300, true, 424242);
      ExpectSameAsReference(type, letterCase, 0, 9, 300, true, 424242);
    }
  }
}

TEST(GeneratorsTest, DuplicateIndexDecidesExactlyAsALinearScan) {
  const struct {
    int type, letterCase, low, high, count;
  } cases[] = {
      // Few possible texts: the one-bit-per-text index.
      {2, -1, 1, 2, 110},  // every text of the range
      {2, -1, 3, 3, 700},
      {0, 0, 2, 2, 600},
      {1, 2, 1, 3, 3000},
      {7, 1, 2, 2, 676},   // unknown type: letters, whole capacity
      {0, 2, 0, 1, 53},    // the empty text counts once
      // Many possible texts, duplicates among the short ones: the hash table.
      {2, -1, 1, 8, 3000},
      {1, 2, 1, 6, 5000},
      {0, 1, 0, 5, 4000},
  };
  for (const auto& c : cases) {
    for (const std::uint32_t seed : {1u, 99u, 4000000000u}) {
      ExpectSameAsReference(c.type, c.letterCase, c.low, c.high, c.count, false, seed);
    }
  }
}

TEST(GeneratorsTest, DuplicateIndexStaysExactWhenItGrowsPastAMillion) {
  // Past the index's first size. The candidates are those of a run that
  // keeps duplicates (held to DrawCharacter above); a set finds their
  // first occurrences, as a scan would take hours here.
  const int count = 1100000;
  PasswordStore stream;
  HeadlessGenerationHost host;
  RandomSeed = 5150;
  GenerateAlphaPasswords(stream, 3, 8, 1300000, 1, 2, true, host, RandomSource::Classic);
  std::vector<std::string_view> expected;
  std::unordered_set<std::string_view> seen(4000000);
  int consumed = 0;
  while (static_cast<int>(expected.size()) < count) {
    ASSERT_LT(consumed, stream.Count());
    const std::string_view candidate = stream.Get(consumed++);
    if (seen.insert(candidate).second) expected.push_back(candidate);
  }
  ASSERT_GT(consumed, count + 50000);  // the short lengths did repeat

  PasswordStore store;
  RandomSeed = 5150;
  GenerateAlphaPasswords(store, 3, 8, count, 1, 2, false, host, RandomSource::Classic);
  ASSERT_EQ(store.Count(), count);
  for (int k = 0; k < count; ++k) ASSERT_EQ(store.Get(k), expected[static_cast<std::size_t>(k)]);

  const std::uint32_t seedAfterRun = RandomSeed;
  RandomSeed = 5150;
  GenerateAlphaPasswords(stream, 3, 8, consumed, 1, 2, true, host, RandomSource::Classic);
  EXPECT_EQ(seedAfterRun, RandomSeed);
}

TEST(GeneratorsTest, NumericFixedThreeWithoutDuplicatesGivesEveryNumberInDrawnOrder) {
  PasswordStore store;
  HeadlessGenerationHost host;
  RandomSeed = 777;
  GenerateNumericPasswords(store, 3, 3, 1000, false, host, RandomSource::Classic);
  RandomSeed = 777;
  const std::vector<std::string> expected = ReferenceGenerate(3, 3, 1000, false, NumericDraw);
  EXPECT_EQ(Contents(store), expected);
  const std::set<std::string> distinct(expected.begin(), expected.end());
  EXPECT_EQ(distinct.size(), 1000u);
  EXPECT_EQ(*distinct.begin(), "000");
  EXPECT_EQ(*distinct.rbegin(), "999");
}

TEST(GeneratorsTest, RepeatsAreDroppedOnlyWhenAskedAndOnlyIfExactlyEqual) {
  PasswordStore store;
  HeadlessGenerationHost host;
  RandomSeed = 31337;
  GenerateNumericPasswords(store, 3, 4, 5000, false, host, RandomSource::Classic);
  std::vector<std::string> texts = Contents(store);
  std::set<std::size_t> lengths;
  for (const std::string& text : texts) lengths.insert(text.size());
  EXPECT_EQ(std::set<std::string>(texts.begin(), texts.end()).size(), 5000u);
  EXPECT_EQ(lengths, (std::set<std::size_t>{3, 4}));

  GenerateNumericPasswords(store, 1, 1, 200, true, host, RandomSource::Classic);
  texts = Contents(store);
  EXPECT_EQ(texts.size(), 200u);
  EXPECT_LE(std::set<std::string>(texts.begin(), texts.end()).size(), 10u);

  // Case-only variants are different passwords: all 52 one-letter texts.
  GenerateAlphaPasswords(store, 1, 1, 52, 0, 2, false, host, RandomSource::Classic);
  texts = Contents(store);
  const std::set<std::string> distinct(texts.begin(), texts.end());
  EXPECT_EQ(distinct.size(), 52u);
  EXPECT_TRUE(distinct.count("q") && distinct.count("Q"));
}

// --- Requests that can never be met -----------------------------------

TEST(GeneratorsTest, ImpossibleRequestsEmptyTheStoreWithoutDrawing) {
  struct Request {
    int type, letterCase, low, high, count;
    bool allowDuplicates;
  };
  // No count, an empty or negative range, more than the rule can make
  // (type 7 draws 26 letters, case 9 mixes 52, length 0 has one text).
  const Request refused[] = {
      {2, -1, 3, 3, 0, true},   {2, -1, 3, 3, -5, true}, {0, 0, 5, 4, 10, true},
      {1, 0, -1, 3, 10, true},  {2, -1, 1, 1, 11, false}, {7, 0, 1, 1, 27, false},
      {0, 9, 1, 1, 53, false},  {0, 0, 0, 0, 2, false},  {1, 1, 1, 1, 37, false},
  };
  for (const Request& c : refused) {
    PasswordStore store;
    store.Append("left over");
    ScriptedHost host(store);
    RandomSeed = 42;
    RunGenerator(store, c.type, c.letterCase, c.low, c.high, c.count, c.allowDuplicates, host);
    EXPECT_EQ(store.Count(), 0) << c.type << " " << c.low << ".." << c.high << " " << c.count;
    EXPECT_EQ(RandomSeed, 42u);
    EXPECT_TRUE(host.processedAt.empty());
  }

  // The same limits reached exactly, or passed with duplicates, still work.
  const Request accepted[] = {
      {2, -1, 1, 1, 10, false}, {2, -1, 1, 1, 11, true}, {7, 0, 1, 1, 26, false},
      {0, 9, 1, 1, 52, false},  {0, 0, 0, 0, 1, false},  {0, 0, 0, 0, 3, true},
      {1, 1, 1, 1, 36, false},
  };
  for (const Request& c : accepted) {
    PasswordStore store;
    HeadlessGenerationHost host;
    RunGenerator(store, c.type, c.letterCase, c.low, c.high, c.count, c.allowDuplicates, host);
    EXPECT_EQ(store.Count(), c.count) << c.type << " " << c.letterCase << " " << c.count;
  }
}

// --- Cancel and message processing --------------------------------------

TEST(GeneratorsTest, CancelKeepsExactlyThePasswordsAcceptedSoFar) {
  PasswordStore full;
  HeadlessGenerationHost headless;
  RandomSeed = 2718;
  GenerateAlphaPasswords(full, 8, 8, 100, 1, 2, true, headless, RandomSource::Classic);

  PasswordStore store;
  ScriptedHost host(store);
  host.tick = 1ms;
  host.cancelAfterProcessings = 2;
  RandomSeed = 2718;
  GenerateAlphaPasswords(store, 8, 8, 100, 1, 2, true, host, RandomSource::Classic);
  ASSERT_EQ(host.processedAt, (std::vector<int>{10, 20}));
  const std::vector<std::string> all = Contents(full);
  EXPECT_EQ(Contents(store), std::vector<std::string>(all.begin(), all.begin() + 20));

  // A cancel already pending: nothing drawn, nothing stored.
  store.Append("old");
  ScriptedHost cancelled(store);
  cancelled.cancelAfterProcessings = 0;
  RandomSeed = 2718;
  GenerateAlphaPasswords(store, 8, 8, 100, 1, 2, true, cancelled, RandomSource::Classic);
  EXPECT_EQ(store.Count(), 0);
  EXPECT_EQ(RandomSeed, 2718u);
}

TEST(GeneratorsTest, DispatchesMessagesEveryTenMillisecondsAndAfterTheLastPassword) {
  PasswordStore store;
  {
    // One Now() per candidate and one after each dispatch, 1 ms apiece.
    ScriptedHost host(store);
    host.tick = 1ms;
    GenerateNumericPasswords(store, 2, 2, 95, true, host, RandomSource::Classic);
    EXPECT_EQ(host.processedAt, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 95}));
  }
  {
    // A clock that stands still: only the final dispatch.
    ScriptedHost host(store);
    GenerateNumericPasswords(store, 2, 2, 95, true, host, RandomSource::Classic);
    EXPECT_EQ(host.processedAt, std::vector<int>{95});
  }
  {
    // Slow candidates: a dispatch after every one, dropped duplicates too.
    ScriptedHost host(store);
    host.tick = 20ms;
    GenerateNumericPasswords(store, 1, 1, 10, false, host, RandomSource::Classic);
    EXPECT_EQ(store.Count(), 10);
    EXPECT_GT(host.cancelChecks, 10);
    EXPECT_EQ(static_cast<int>(host.processedAt.size()), host.cancelChecks);
  }
  {
    // Fast candidates (10 us each) while hidden: the clock is read less
    // often, yet no slice runs much past its 10 ms.
    ScriptedHost host(store);
    host.perCandidate = 10us;
    host.visibleWhen = [](int) { return false; };
    GenerateNumericPasswords(store, 2, 2, 5000, true, host, RandomSource::Classic);
    ASSERT_EQ(host.processedAt.size(), 5u);  // at 10, 20, 30, 40 ms and the end
    for (std::size_t k = 1; k < 4; ++k) {
      const auto gap = host.processedTimes[k] - host.processedTimes[k - 1];
      EXPECT_GE(gap, 10ms);
      EXPECT_LE(gap, 11ms);
    }
    EXPECT_EQ(host.processedAt.back(), 5000);
  }
}

TEST(GeneratorsTest, DrawsMadeWhileDispatchingAreTakenIntoAccount) {
  // Something handled during a dispatch draws from the shared generator:
  // candidates already made ahead from the old seed must not be used.
  PasswordStore store;
  ScriptedHost host(store);
  host.tick = 1ms;
  host.duringProcessing = [] { DrawRandom(7); };
  RandomSeed = 99;
  GenerateAlphaPasswords(store, 8, 8, 35, 1, 2, false, host, RandomSource::Classic);
  ASSERT_EQ(host.processedAt, (std::vector<int>{10, 20, 30, 35}));

  RandomSeed = 99;
  std::vector<std::string> expected;
  for (int k = 1; k <= 35; ++k) {
    std::string candidate;
    for (int c = 0; c < 8; ++c) candidate += DrawCharacter(1, 2);
    expected.push_back(candidate);
    if (k % 10 == 0) DrawRandom(7);
  }
  EXPECT_EQ(Contents(store), expected);
}

// --- Progress -----------------------------------------------------------

std::vector<int> PositionsOnly(const ScriptedHost& host) {
  std::vector<int> values;
  for (const auto& [position, stored] : host.positions) values.push_back(position);
  return values;
}

TEST(GeneratorsTest, BarAndCountLabelFollowTheRoundedPercentage) {
  PasswordStore store;
  ScriptedHost eight(store);
  GenerateNumericPasswords(store, 4, 4, 8, true, eight, RandomSource::Classic);
  EXPECT_EQ(PositionsOnly(eight), (std::vector<int>{12, 25, 38, 50, 62, 75, 88, 100}));
  EXPECT_EQ(eight.passwordCaptions,
            (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8"}));

  ScriptedHost three(store);
  GenerateNumericPasswords(store, 4, 4, 3, true, three, RandomSource::Classic);
  EXPECT_EQ(PositionsOnly(three), (std::vector<int>{33, 67, 100}));

  ScriptedHost million(store);
  GenerateNumericPasswords(store, 1, 1, 1000000, true, million, RandomSource::Classic);
  ASSERT_EQ(million.positions.size(), 100u);
  EXPECT_EQ(million.positions[0], std::make_pair(1, 5001));
  EXPECT_EQ(million.positions[1], std::make_pair(2, 15000));
  EXPECT_EQ(million.positions[99], std::make_pair(100, 995000));
  EXPECT_EQ(million.passwordCaptions[99], "995000");
}

TEST(GeneratorsTest, PercentageRoundsHalvesToEven) {
  EXPECT_EQ(ProgressPercent(1, 8), 12);
  EXPECT_EQ(ProgressPercent(3, 8), 38);
  EXPECT_EQ(ProgressPercent(5000, 1000000), 0);
  EXPECT_EQ(ProgressPercent(14999, 1000000), 1);
  EXPECT_EQ(ProgressPercent(994999, 1000000), 99);
  EXPECT_EQ(ProgressPercent(2147483647, 2147483647), 100);
  EXPECT_EQ(ProgressPercent(5, 0), 0);
}

TEST(GeneratorsTest, HiddenWindowIsLeftAloneAndCatchesUpWhenShown) {
  PasswordStore store;
  ScriptedHost host(store);
  host.tick = 100ms;
  host.visibleWhen = [](int stored) { return stored <= 2 || stored >= 6; };
  GenerateNumericPasswords(store, 4, 4, 8, true, host, RandomSource::Classic);
  EXPECT_EQ(host.positions, (std::vector<std::pair<int, int>>{
                                {12, 1}, {25, 2}, {75, 6}, {88, 7}, {100, 8}}));
  EXPECT_EQ(host.passwordCaptions, (std::vector<std::string>{"1", "2", "6", "7", "8"}));

  // Never shown: no bar, no labels.
  ScriptedHost hidden(store);
  hidden.tick = 100ms;
  hidden.visibleWhen = [](int) { return false; };
  GenerateNumericPasswords(store, 4, 4, 8, true, hidden, RandomSource::Classic);
  EXPECT_TRUE(hidden.positions.empty());
  EXPECT_TRUE(hidden.passwordCaptions.empty());
  EXPECT_TRUE(hidden.timeCaptions.empty());

  // First shown late: the time label is written then for the first time.
  ScriptedHost late(store);
  late.tick = 400ms;
  late.visibleWhen = [](int stored) { return stored >= 5; };
  GenerateNumericPasswords(store, 4, 4, 6, true, late, RandomSource::Classic);
  // Candidate k is read at 0.8 s * k (a dispatch follows each).
  EXPECT_EQ(late.timeCaptions, (std::vector<std::string>{"00:00:04"}));
}

TEST(GeneratorsTest, TimeLabelIsWrittenOnlyWhenItsTextChanges) {
  PasswordStore store;
  ScriptedHost host(store);
  host.tick = 400ms;
  host.separator = '.';
  GenerateNumericPasswords(store, 2, 2, 10, true, host, RandomSource::Classic);
  // Candidate k is read at 0.8 s * k: 0.8, 1.6, ... 8.0; 4.0 and 4.8 share
  // a second.
  EXPECT_EQ(host.timeCaptions,
            (std::vector<std::string>{"00.00.00", "00.00.01", "00.00.02", "00.00.03", "00.00.04",
                                      "00.00.05", "00.00.06", "00.00.07", "00.00.08"}));
}

TEST(GeneratorsTest, ElapsedTimeRoundsToMillisecondsCutsToSecondsAndWrapsHours) {
  EXPECT_EQ(FormatElapsed(0ns), "00:00:00");
  EXPECT_EQ(FormatElapsed(999ms + 499us), "00:00:00");
  EXPECT_EQ(FormatElapsed(999ms + 500us + 1ns), "00:00:01");
  EXPECT_EQ(FormatElapsed(1h + 2min + 3s + 999ms), "01:02:03");
  EXPECT_EQ(FormatElapsed(23h + 59min + 59s), "23:59:59");
  EXPECT_EQ(FormatElapsed(24h + 5s), "00:00:05");
  EXPECT_EQ(FormatElapsed(100h, '.'), "04.00.00");
  EXPECT_EQ(FormatElapsed(-5s), "00:00:00");
}

}  // namespace
}  // namespace tessavo
