// The generation core's fast paths held to the plain way of doing the same
// thing: characters drawn several at a time, entries implied by a common
// length, a duplicate index squeezed for room, and the bar's percentages
// worked out ahead.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "batch/draw_ahead.h"
#include "batch/generators.h"
#include "batch/password_store.h"
#include "common/random.h"

namespace tessavo {
namespace {

using character_rule::Kind;
using character_rule::Style;

std::vector<std::string> Contents(const PasswordStore& store) {
  std::vector<std::string> texts;
  for (int k = 0; k < store.Count(); ++k) texts.emplace_back(store.Get(k));
  return texts;
}

TEST(FastPathsTest, CharactersDrawnAheadAreThoseDrawnOneAfterAnother) {
  const std::uint32_t seeds[] = {0u,          1u,        0x7FFFFFFFu, 0x80000000u,
                                 0xFFFFFFFFu, 86399999u, 2463534242u};
  for (const Kind kind : {Kind::Digits, Kind::DigitOrLetter, Kind::Letters}) {
    for (const Style style : {Style::Lower, Style::Upper, Style::Mixed}) {
      character_rule::WithRule(kind, style, [&]<Kind K, Style S>() {
        for (const std::uint32_t seed : seeds) {
          for (std::size_t count = 0; count <= 37; ++count) {
            std::uint32_t plainSeed = seed;
            std::string plain;
            for (std::size_t k = 0; k < count; ++k) {
              plain += character_rule::NextCharacter<K, S>(plainSeed);
            }
            std::string ahead(count, '?');
            const std::uint32_t aheadSeed =
                draw_ahead::DrawCharacters<K, S>(seed, ahead.data(), count);
            ASSERT_EQ(ahead, plain) << static_cast<int>(K) << static_cast<int>(S) << " " << seed;
            ASSERT_EQ(aheadSeed, plainSeed) << count;
          }
        }
      });
    }
  }
}

// A store whose entries are kept from the start: a first text of another
// length, deleted again.
PasswordStore StoreKeepingEntries() {
  PasswordStore store;
  store.Append("a text of its own length");
  store.Delete(0);
  return store;
}

TEST(FastPathsTest, ImpliedEntriesBehaveAsKeptOnes) {
  std::mt19937 random(2024);
  for (int round = 0; round < 40; ++round) {
    PasswordStore implied;
    PasswordStore kept = StoreKeepingEntries();
    std::vector<std::string> model;
    // Mostly one length (the implied form), now and then another, a delete
    // or a text written in place.
    for (int step = 0; step < 300; ++step) {
      const unsigned roll = random() % 100;
      if (roll < 3 && !model.empty()) {
        const int at = static_cast<int>(random() % model.size());
        implied.Delete(at);
        kept.Delete(at);
        model.erase(model.begin() + at);
        continue;
      }
      const std::size_t length = roll < 6 ? random() % 20 : 8;
      std::string text(length, ' ');
      for (char& c : text) c = "0aAzZ9bB"[random() % 8];
      if (roll % 2) {
        std::copy(text.begin(), text.end(), implied.AppendSpace(length));
      } else {
        implied.Append(text);
      }
      kept.Append(text);
      model.push_back(text);
    }
    ASSERT_EQ(Contents(implied), model);
    ASSERT_EQ(Contents(kept), model);
    implied.Sort();
    kept.Sort();
    ASSERT_EQ(Contents(implied), Contents(kept));
  }

  // Nothing but one length: no references kept, and a sort keeps them.
  PasswordStore uniform;
  PasswordStore explicitly = StoreKeepingEntries();
  for (int k = 0; k < 1000; ++k) {
    const std::string text = std::to_string(100000 + (k * 7919) % 900000);
    uniform.Append(text);
    explicitly.Append(text);
  }
  EXPECT_LT(uniform.MemoryUsage(), explicitly.MemoryUsage());
  EXPECT_EQ(uniform.Get(999), explicitly.Get(999));
  EXPECT_THROW(uniform.Get(1000), ListIndexError);
  uniform.Sort();
  explicitly.Sort();
  EXPECT_EQ(Contents(uniform), Contents(explicitly));
}

TEST(FastPathsTest, EmptyKeepsRoomForARunOfSimilarSizeOnly) {
  PasswordStore store;
  store.Reserve(1000, 16000);
  store.Append("sixteen letters!");
  const std::size_t room = store.MemoryUsage();
  store.Empty();
  EXPECT_EQ(store.Count(), 0);
  EXPECT_THROW(store.Get(0), ListIndexError);
  store.Reserve(600, 9000);  // fits, and not more than twice as much
  EXPECT_EQ(store.MemoryUsage(), room);
  store.Append("abc");
  store.Append("de");
  EXPECT_EQ(store.Get(1), "de");
  store.Empty();
  store.Reserve(10, 100);  // far less: the room goes back
  EXPECT_LT(store.MemoryUsage(), room / 10);
}

// Never visible; cancels after a number of candidates.
class CancellingHost : public HeadlessGenerationHost {
 public:
  explicit CancellingHost(int candidates) : left_(candidates) {}
  bool CancelRequested() override { return left_-- <= 0; }

 private:
  int left_;
};

TEST(FastPathsTest, DuplicateIndexForAHugeCountStaysExact) {
  // Two thousand million wanted leaves one bit of each slot for the hash;
  // short lengths repeat often enough to need it. Cancelled on the way.
  const int candidates = 400000;
  PasswordStore stream;
  HeadlessGenerationHost host;
  RandomSeed = 8128;
  GenerateAlphaPasswords(stream, 2, 6, candidates, 1, 2, true, host, RandomSource::Classic);
  std::vector<std::string_view> expected;
  std::unordered_set<std::string_view> seen;
  for (int k = 0; k < candidates; ++k) {
    if (seen.insert(stream.Get(k)).second) expected.push_back(stream.Get(k));
  }
  ASSERT_LT(expected.size(), candidates - 10000u);

  PasswordStore store;
  CancellingHost cancelling(candidates);
  RandomSeed = 8128;
  GenerateAlphaPasswords(store, 2, 6, 2000000000, 1, 2, false, cancelling, RandomSource::Classic);
  ASSERT_EQ(static_cast<std::size_t>(store.Count()), expected.size());
  for (int k = 0; k < store.Count(); ++k) ASSERT_EQ(store.Get(k), expected[k]) << k;
}

// Records the bar's positions with the count of entries at each.
class BarHost : public HeadlessGenerationHost {
 public:
  explicit BarHost(const PasswordStore& store) : store_(store) {}
  bool ProgressVisible() override { return true; }
  void ReportAccepted(int, int percent) override { positions.push_back({percent, store_.Count()}); }
  std::vector<std::pair<int, int>> positions;

 private:
  const PasswordStore& store_;
};

TEST(FastPathsTest, BarMovesAtTheCountsOfThePercentagePerCandidate) {
  for (const int count : {1, 2, 7, 199, 200, 201, 333, 1001, 99999}) {
    std::vector<std::pair<int, int>> expected;
    for (int accepted = 1, shown = 0; accepted <= count; ++accepted) {
      const int percent = ProgressPercent(accepted, count);
      if (percent > shown) expected.push_back({shown = percent, accepted});
    }
    PasswordStore store;
    BarHost host(store);
    GenerateNumericPasswords(store, 1, 12, count, true, host, RandomSource::Classic);
    EXPECT_EQ(host.positions, expected) << count;
  }
}

}  // namespace
}  // namespace tessavo
