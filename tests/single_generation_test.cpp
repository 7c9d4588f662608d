// One password at a time: the same characters as the batch generator from
// the same seed, the draws each takes, and the settings code with its
// description.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <string>

#include "batch/generation_host.h"
#include "batch/generators.h"
#include "batch/password_store.h"
#include "common/random.h"
#include "single/generation.h"

namespace tessavo {
namespace {

std::uint32_t Stepped(std::uint32_t seed, int steps) {
  for (int i = 0; i < steps; ++i) seed = seed * 134775813u + 1u;
  return seed;
}

TEST(MakePassword, IsLengthCallsOfTheCharacterRuleForEveryTypeAndCase) {
  for (int type = -1; type <= 3; ++type) {
    for (int letterCase = -1; letterCase <= 3; ++letterCase) {
      for (const int length : {MinSingleLength, 9, MaxSingleLength}) {
        RandomSeed = 0xC0FFEEu + static_cast<std::uint32_t>(length);
        std::string expected;
        for (int i = 0; i < length; ++i) expected += DrawCharacter(type, letterCase);
        const std::uint32_t after = RandomSeed;

        RandomSeed = 0xC0FFEEu + static_cast<std::uint32_t>(length);
        EXPECT_EQ(MakePassword(length, type, letterCase, RandomSource::Classic), expected)
            << "type " << type << " case " << letterCase << " length " << length;
        EXPECT_EQ(RandomSeed, after) << "type " << type << " case " << letterCase;
      }
    }
  }
}

TEST(MakePassword, MakesWhatTheBatchGeneratorMakesFromTheSameSeed) {
  HeadlessGenerationHost host;
  PasswordStore store;
  for (int type = 0; type <= 2; ++type) {
    for (int letterCase = 0; letterCase <= 2; ++letterCase) {
      RandomSeed = 424242;
      if (type == 2) {
        GenerateNumericPasswords(store, 16, 16, 1, true, host, RandomSource::Classic);
      } else {
        GenerateAlphaPasswords(store, 16, 16, 1, type, letterCase, true, host,
                               RandomSource::Classic);
      }
      ASSERT_EQ(store.Count(), 1);
      const std::uint32_t batchAfter = RandomSeed;
      RandomSeed = 424242;
      EXPECT_EQ(MakePassword(16, type, letterCase, RandomSource::Classic), store.Get(0))
          << "type " << type << " case " << letterCase;
      EXPECT_EQ(RandomSeed, batchAfter);
    }
  }
}

TEST(MakePassword, StartsWithTheWorkedExampleLetters) {
  RandomSeed = 1'000'000;
  EXPECT_EQ(MakePassword(4, 0, 0, RandomSource::Classic).substr(0, 3), "yoj");
}

TEST(MakePassword, NumericTakesOneDrawPerDigitWhateverTheCase) {
  RandomSeed = 777;
  const std::string reference = MakePassword(12, 2, 0, RandomSource::Classic);
  EXPECT_EQ(RandomSeed, Stepped(777, 12));
  for (const int letterCase : {1, 2, -1, 9}) {
    RandomSeed = 777;
    EXPECT_EQ(MakePassword(12, 2, letterCase, RandomSource::Classic), reference) << letterCase;
  }
  for (const char c : reference) EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(c)));
}

TEST(MakePassword, CharacterSetsFollowTypeAndCase) {
  RandomSeed = 99;
  bool upper = false, lower = false, digit = false;
  for (int i = 0; i < 200; ++i) {
    for (const char c : MakePassword(16, 1, 1, RandomSource::Classic)) {
      ASSERT_TRUE(std::isdigit(static_cast<unsigned char>(c)) ||
                  std::isupper(static_cast<unsigned char>(c)))
          << c;
    }
    // No type selected (-1) draws letters only; no case selected mixes.
    for (const char c : MakePassword(16, -1, -1, RandomSource::Classic)) {
      ASSERT_TRUE(std::isalpha(static_cast<unsigned char>(c))) << c;
      upper = upper || std::isupper(static_cast<unsigned char>(c));
      lower = lower || std::islower(static_cast<unsigned char>(c));
    }
    for (const char c : MakePassword(16, 1, 0, RandomSource::Classic)) {
      digit = digit || std::isdigit(static_cast<unsigned char>(c));
      ASSERT_FALSE(std::isupper(static_cast<unsigned char>(c))) << c;
    }
  }
  EXPECT_TRUE(upper && lower && digit);
  EXPECT_EQ(MakePassword(0, 0, 0, RandomSource::Classic), "");
}

TEST(DescribeSettings, GivesTheCodeAndTheWords) {
  struct Case {
    int length, type, letterCase;
    const char* code;
    const char* description;
  };
  const Case cases[] = {
      {4, 0, 0, "04ABLC", "4 Chars, Alphabetic, Lowercase"},
      {12, 2, 1, "12NMUC", "12 Chars, Numeric, Uppercase"},
      {16, 1, 2, "16ANMC", "16 Chars, Alphanumeric, Mixed Case"},
      {9, 0, 1, "09ABUC", "9 Chars, Alphabetic, Uppercase"},
      {10, 1, 0, "10ANLC", "10 Chars, Alphanumeric, Lowercase"},
      // Indexes outside 0..2 (a list without a selection) add nothing.
      {4, -1, -1, "04", "4 Chars, "},
      {5, 3, 0, "05LC", "5 Chars, Lowercase"},
      {6, 2, 3, "06NM", "6 Chars, Numeric, "},
  };
  for (const Case& c : cases) {
    const SettingsText text = DescribeSettings(c.length, c.type, c.letterCase);
    EXPECT_EQ(text.code, c.code);
    EXPECT_EQ(text.description, c.description);
  }
}

TEST(DescribeSettings, CaseAppliesExceptToNumeric) {
  EXPECT_TRUE(CaseApplies(0));
  EXPECT_TRUE(CaseApplies(1));
  EXPECT_FALSE(CaseApplies(2));
  EXPECT_TRUE(CaseApplies(-1));
}

}  // namespace
}  // namespace tessavo
