#include "common/random.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <limits>
#include <map>
#include <set>
#include <string>

namespace tessavo {
namespace {

TEST(RandomGenerator, WorkedExampleDrawsAndStates) {
  RandomSeed = 1'000'000;
  const std::array<std::uint32_t, 5> n{26, 26, 26, 2, 10};
  const std::array<std::uint32_t, 5> draws{24, 14, 9, 1, 4};
  const std::array<std::uint32_t, 5> states{4034218817u, 2401238086u, 1541670239u, 2167477980u,
                                            1822351949u};
  for (std::size_t i = 0; i < n.size(); ++i) {
    EXPECT_EQ(DrawRandom(n[i]), draws[i]) << "draw " << i;
    EXPECT_EQ(RandomSeed, states[i]) << "state after draw " << i;
  }
}

TEST(RandomGenerator, SeedIsMillisecondsOfTheUtcDay) {
  EXPECT_EQ(SeedForTimeOfDay(0, 0, 0, 0), 0u);
  EXPECT_EQ(SeedForTimeOfDay(23, 59, 59, 999), 86'399'999u);
  EXPECT_EQ(SeedForTimeOfDay(1, 2, 3, 4), 3'723'004u);

  RandomSeed = SeedForTimeOfDay(0, 0, 0, 0);
  DrawRandom(7);
  EXPECT_EQ(RandomSeed, 1u) << "the first step from midnight";

  SeedFromClock();
  EXPECT_LT(RandomSeed, 86'400'000u);
}

TEST(RandomGenerator, DrawsStayBelowTheirBoundAtTheExtremes) {
  RandomSeed = 0;  // the next state is 1
  EXPECT_EQ(DrawRandom(0xFFFFFFFFu), 0u);
  for (std::uint32_t n : {1u, 2u, 10u, 26u, 0xFFFFFFFFu}) {
    for (int i = 0; i < 1000; ++i) ASSERT_LT(DrawRandom(n), n);
  }
  EXPECT_EQ(DrawRandom(0), 0u);
}

TEST(CharacterRule, AlphabetSizes) {
  EXPECT_EQ(AlphabetSize(0, 0), 26);
  EXPECT_EQ(AlphabetSize(0, 1), 26);
  EXPECT_EQ(AlphabetSize(0, 2), 52);
  EXPECT_EQ(AlphabetSize(1, 0), 36);
  EXPECT_EQ(AlphabetSize(1, 1), 36);
  EXPECT_EQ(AlphabetSize(1, 2), 62);
  for (int c : {-1, 0, 1, 2, 3}) EXPECT_EQ(AlphabetSize(2, c), 10);
  EXPECT_EQ(AlphabetSize(-1, 0), 0);
  EXPECT_EQ(AlphabetSize(3, 2), 0);
  // No case selected: the rule mixes the letters, and the count follows it.
  EXPECT_EQ(AlphabetSize(0, -1), 52);
  EXPECT_EQ(AlphabetSize(1, 5), 62);
}

// How many draws one character took, read off the generator's state.
int DrawsFor(int type, int passwordCase, std::uint32_t seed, char* out) {
  RandomSeed = seed;
  *out = DrawCharacter(type, passwordCase);
  std::uint32_t state = seed;
  for (int draws = 1; draws <= 4; ++draws) {
    state = state * 134775813u + 1u;
    if (state == RandomSeed) return draws;
  }
  return -1;
}

TEST(CharacterRule, LowercaseWorkedExample) {
  RandomSeed = 1'000'000;
  std::string password;
  for (int i = 0; i < 3; ++i) password += DrawCharacter(0, 0);
  EXPECT_EQ(password, "yoj");
}

TEST(CharacterRule, DrawCountsAndCharacterSetsPerTypeAndCase) {
  struct Case {
    int type, passwordCase;
    std::set<int> drawCounts;
    int distinct;
  };
  const Case cases[] = {
      {0, 0, {1}, 26},    {0, 1, {1}, 26},    {0, 2, {2}, 52},    {1, 0, {2}, 36},
      {1, 1, {2}, 36},    {1, 2, {2, 3}, 62}, {2, 0, {1}, 10},    {2, 2, {1}, 10},
      {2, 7, {1}, 10},    {-1, 0, {1}, 26},   {5, 9, {2}, 52},
  };
  for (const Case& c : cases) {
    std::set<int> drawCounts;
    std::set<char> seen;
    std::uint32_t seed = 12345;
    for (int i = 0; i < 20000; ++i) {
      char ch = 0;
      drawCounts.insert(DrawsFor(c.type, c.passwordCase, seed, &ch));
      seed = RandomSeed;
      seen.insert(ch);
      ASSERT_TRUE(std::isalnum(static_cast<unsigned char>(ch)));
    }
    EXPECT_EQ(drawCounts, c.drawCounts) << "type " << c.type << " case " << c.passwordCase;
    EXPECT_EQ(static_cast<int>(seen.size()), c.distinct)
        << "type " << c.type << " case " << c.passwordCase;
  }
}

// The rule as it reads, a branch per choice; DrawCharacter computes it
// without branches and must draw exactly this.
char ReferenceDrawCharacter(int type, int passwordCase) {
  if (type == 2) return static_cast<char>('0' + DrawRandom(10));
  if (type == 1 && DrawRandom(2) == 1) return static_cast<char>('0' + DrawRandom(10));
  const char letter = static_cast<char>('a' + DrawRandom(26));
  if (passwordCase == 0) return letter;
  const char upper = static_cast<char>(letter - 'a' + 'A');
  if (passwordCase == 1) return upper;
  return DrawRandom(2) == 1 ? upper : letter;
}

TEST(CharacterRule, DrawsExactlyAsTheBranchingRuleForEveryTypeAndCaseIndex) {
  const int outside = std::numeric_limits<int>::min();
  for (const int type : {0, 1, 2, -1, 3, 7, outside}) {
    for (const int passwordCase : {0, 1, 2, -1, 3, 9, outside}) {
      for (const std::uint32_t start : {0u, 1u, 1'000'000u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        std::uint32_t seed = start;
        for (int i = 0; i < 3000; ++i) {
          RandomSeed = seed;
          const char expected = ReferenceDrawCharacter(type, passwordCase);
          const std::uint32_t expectedSeed = RandomSeed;
          RandomSeed = seed;
          ASSERT_EQ(DrawCharacter(type, passwordCase), expected)
              << "type " << type << " case " << passwordCase << " from seed " << seed;
          ASSERT_EQ(RandomSeed, expectedSeed)
              << "type " << type << " case " << passwordCase << " from seed " << seed;
          seed = expectedSeed;
        }
      }
    }
  }
}

TEST(CharacterRule, AlphanumericDigitsAreAsLikelyAsAllLettersTogether) {
  RandomSeed = 99;
  int digits = 0;
  const int total = 200000;
  for (int i = 0; i < total; ++i) digits += std::isdigit(DrawCharacter(1, 2)) ? 1 : 0;
  EXPECT_NEAR(static_cast<double>(digits) / total, 0.5, 0.01);
}

TEST(CharacterRule, CaseStyleDecidesTheLetterForm) {
  RandomSeed = 4242;
  for (int i = 0; i < 1000; ++i) {
    EXPECT_TRUE(std::islower(DrawCharacter(0, 0)));
    EXPECT_TRUE(std::isupper(DrawCharacter(0, 1)));
  }
}

}  // namespace
}  // namespace tessavo
