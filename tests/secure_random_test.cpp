// The secure generator: ChaCha20 against its published vectors, draws that
// are exactly uniform, the character rule's chances through it, and the
// generators and the single password on it.
#include "common/secure_random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "batch/generators.h"
#include "common/chacha20.h"
#include "common/packed_characters.h"
#include "common/random.h"
#include "single/generation.h"

namespace tessavo {
namespace {

using character_rule::Kind;
using character_rule::Style;

std::vector<std::uint8_t> Hex(const std::string& text) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
    bytes.push_back(static_cast<std::uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

// RFC 8439: the block function of 2.3.2, the keystream under the
// encryption of 2.4.2 (two blocks from counter 1: ciphertext XOR
// plaintext) and the first block of A.1.
TEST(ChaCha20, MatchesThePublishedVectors) {
  const std::string plain =
      "Ladies and Gentlemen of the class of '99: If I could offer you only one tip for the "
      "future, sunscreen would be it.";
  struct Vector {
    std::string key, nonce;
    std::uint32_t counter;
    std::vector<std::uint8_t> keystream;
  };
  std::vector<std::uint8_t> encryption =
      Hex("6e2e359a2568f98041ba0728dd0d6981e97e7aec1d4360c20a27afccfd9fae0bf91b65c5524733ab8f593dab"
          "cd62b3571639d624e65152ab8f530c359f0861d807ca0dbf500d6a6156a38e088a22b65e52bc514d16ccf806"
          "818ce91ab77937365af90bbf74a35be6b40b8eedf2785e42874d");
  for (std::size_t i = 0; i < encryption.size(); ++i) encryption[i] ^= plain[i];
  const std::string counting = "000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f";
  const Vector vectors[] = {
      {counting, "000000090000004a00000000", 1,
       Hex("10f1e7e4d13b5915500fdd1fa32071c4c7d1f4c733c068030422aa9ac3d46c4ed2826446079faa0914c2"
           "d705d98b02a2b5129cd1de164eb9cbd083e8a2503c4e")},
      {counting, "000000000000004a00000000", 1, encryption},
      {std::string(64, '0'), std::string(24, '0'), 0,
       Hex("76b8e0ada0f13d90405d6ae55386bd28bdd219b8a08ded1aa836efcc8b770dc7da41597c5157488d7724"
           "e03fb8d84a376a43b8f41518a11cc387b669b2ee6586")},
  };
  for (const Vector& v : vectors) {
    SCOPED_TRACE(v.nonce);
    const auto key = chacha20::KeyFromBytes(Hex(v.key).data());
    auto nonceBytes = Hex(v.nonce);
    nonceBytes.resize(32);
    const auto words = chacha20::KeyFromBytes(nonceBytes.data());
    const chacha20::Nonce nonce = {words[0], words[1], words[2]};
    // Twelve blocks, more than one batch of lanes; each block alike alone.
    std::vector<std::uint8_t> stream(12 * chacha20::BlockBytes);
    chacha20::Keystream(key, nonce, v.counter, stream.data(), 12);
    std::vector<std::uint8_t> block(chacha20::BlockBytes);
    chacha20::Keystream(key, nonce, v.counter + 11, block.data(), 1);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), stream.end() - chacha20::BlockBytes));
    stream.resize(v.keystream.size());
    EXPECT_EQ(stream, v.keystream);
  }
}

// Every 16-bit word once: each value of a range comes exactly equally
// often, and the rule's characters exactly as often as their chances say,
// however many are packed into one draw.
template <Kind K, Style S>
void ExpectExactCounts(std::map<char, double> chance) {
  using Packed = character_rule::PackedCharacters<K, S, std::uint16_t, 1>;
  std::uint32_t word = 0;
  auto next = [&word] {
    EXPECT_LT(word, 65536u) << "ran out of words";
    return static_cast<std::uint16_t>(word++);
  };
  std::uint32_t range = 1;
  for (int k = 0; k < Packed::PerDraw; ++k) range *= static_cast<std::uint32_t>(Packed::Count);
  const std::uint32_t draws = 65536 - 65536 % range;  // the words that are not drawn again
  Packed packed;
  std::vector<char> out(static_cast<std::size_t>(draws) * Packed::PerDraw);
  packed.Fill(out.data(), out.size(), next);
  std::map<char, double> counts;
  for (char c : out) ++counts[c];
  ASSERT_EQ(counts.size(), chance.size());
  for (const auto& [c, p] : chance) EXPECT_EQ(counts[c], p * out.size()) << c;
}

std::map<char, double> Chances(const std::string& characters, double each) {
  std::map<char, double> chance;
  for (char c : characters) chance[c] = each;
  return chance;
}
std::map<char, double> Merge(std::map<char, double> a, const std::map<char, double>& b) {
  a.insert(b.begin(), b.end());
  return a;
}

const std::string kDigits = "0123456789";
const std::string kLower = "abcdefghijklmnopqrstuvwxyz";
const std::string kUpper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// Runs check.operator()<K, S>(chances) for the rules with their chances
// (one case style of each rule stands for the other).
template <typename Check>
void ForEachRule(Check&& check) {
  check.template operator()<Kind::Digits, Style::Lower>(Chances(kDigits, 1.0 / 10));
  check.template operator()<Kind::Letters, Style::Upper>(Chances(kUpper, 1.0 / 26));
  check.template operator()<Kind::Letters, Style::Mixed>(Chances(kLower + kUpper, 1.0 / 52));
  check.template operator()<Kind::DigitOrLetter, Style::Lower>(
      Merge(Chances(kDigits, 1.0 / 20), Chances(kLower, 1.0 / 52)));
  check.template operator()<Kind::DigitOrLetter, Style::Mixed>(
      Merge(Chances(kDigits, 1.0 / 20), Chances(kLower + kUpper, 1.0 / 104)));
}

TEST(SecureDraws, EveryWordOnceGivesExactlyTheRulesChances) {
  for (std::uint16_t range : {1, 3, 520, 10000, 65535}) {
    std::uint32_t word = 0;
    std::map<std::uint16_t, int> counts;
    for (int i = 0; i < 65536 - 65536 % range; ++i) {
      ++counts[UniformBelow<std::uint16_t>(range, [&word] { return word++; })];
    }
    EXPECT_LE(word, 65536u);
    EXPECT_EQ(counts.size(), range);
    for (const auto& [value, count] : counts) ASSERT_EQ(count, 65536 / range) << value;
  }
  ForEachRule([]<Kind K, Style S>(const auto& chance) { ExpectExactCounts<K, S>(chance); });
}

// Keys that are the same from one test run to the next (each new, since
// the generator asks again after a megabyte); Reset starts them over.
struct TestKeys {
  static inline int calls = 0;
  static void Reset() { calls = 0; }
};
void TestKey(std::uint8_t* out, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i)
    out[i] = static_cast<std::uint8_t>(7 * i + TestKeys::calls);
  ++TestKeys::calls;
}

// Chi-square over two million characters of the generator against
// the rule's chances; the bound is exceeded by chance about once in ten
// million (Wilson-Hilferty), by a wrong table or a skewed draw always.
template <Kind K, Style S>
void ExpectChances(const std::map<char, double>& chance) {
  SecureRandom random(TestKey);
  character_rule::PackedCharacters<K, S> packed;
  constexpr std::size_t n = 2'000'000;
  std::vector<char> out(n);
  // In uneven pieces, so that digits left over from a draw are used too.
  for (std::size_t at = 0, piece = 1; at < n; at += piece, piece = piece % 17 + 1) {
    packed.Fill(out.data() + at, std::min(piece, n - at), [&random] { return random.Next(); });
  }
  std::map<char, double> counts;
  for (char c : out) ++counts[c];
  ASSERT_EQ(counts.size(), chance.size());
  double chi = 0;
  for (const auto& [c, p] : chance) chi += std::pow(counts[c] - p * n, 2) / (p * n);
  const double df = static_cast<double>(chance.size() - 1);
  const double bound = df * std::pow(1 - 2 / (9 * df) + 5.2 * std::sqrt(2 / (9 * df)), 3);
  EXPECT_LT(chi, bound);
}

TEST(SecureDraws, TwoMillionCharactersFitTheRulesChances) {
  ForEachRule([]<Kind K, Style S>(const auto& chance) { ExpectChances<K, S>(chance); });
}

// The key comes from its source on first use and again after RekeyBytes;
// the same key gives the same words.
TEST(SecureRandomKeys, KeyedOnFirstUseAndAgainAfterAMegabyte) {
  TestKeys::Reset();
  SecureRandom random(TestKey);
  EXPECT_EQ(TestKeys::calls, 0);
  const std::uint32_t first = random.Next();
  EXPECT_EQ(TestKeys::calls, 1);
  TestKeys::Reset();
  SecureRandom same(TestKey);
  EXPECT_EQ(same.Next(), first);
  EXPECT_NE(random.Next(), first);
  for (std::size_t i = 0; i < SecureRandom::RekeyBytes / 4 + 1024; ++i) random.Next();
  EXPECT_EQ(TestKeys::calls, 2);

  std::uint8_t a[32] = {}, b[32] = {};
  OsRandomBytes(a, sizeof a);
  OsRandomBytes(b, sizeof b);
  EXPECT_FALSE(std::equal(a, a + 32, b));
}

// The generators and the single password on the secure generator: RandomSeed
// untouched, every length of the range about equally often, no duplicates
// through the whole capacity, only the rule's characters.
TEST(SecureGenerators, DrawLengthsUniformlyAndLeaveRandomSeedAlone) {
  SystemRandom().SetKeySource(TestKey);
  RandomSeed = 99;
  PasswordStore store;
  HeadlessGenerationHost host;
  GenerateAlphaPasswords(store, 3, 16, 140'000, 1, 2, true, host, RandomSource::Secure);
  std::map<std::size_t, double> lengths;
  for (int i = 0; i < store.Count(); ++i) ++lengths[store.Get(i).size()];
  ASSERT_EQ(lengths.size(), 14u);
  double chi = 0;
  for (const auto& [length, count] : lengths) chi += std::pow(count - 10'000, 2) / 10'000;
  EXPECT_LT(chi, 60);  // 13 degrees of freedom: 60 is beyond one in ten million

  GenerateNumericPasswords(store, 3, 3, 1000, false, host, RandomSource::Secure);
  std::set<std::string> distinct;
  for (int i = 0; i < store.Count(); ++i) distinct.insert(std::string(store.Get(i)));
  EXPECT_EQ(distinct.size(), 1000u);

  const std::string password = MakePassword(16, 1, 1, RandomSource::Secure);
  EXPECT_EQ(password.size(), 16u);
  EXPECT_EQ(password.find_first_not_of(kDigits + kUpper), std::string::npos) << password;
  EXPECT_NE(MakePassword(16, 1, 2, RandomSource::Secure),
            MakePassword(16, 1, 2, RandomSource::Secure));
  EXPECT_EQ(RandomSeed, 99u);
  SystemRandom().SetKeySource(OsRandomBytes);
}

}  // namespace
}  // namespace tessavo
