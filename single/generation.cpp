#include "single/generation.h"

#include "common/character_rule.h"
#include "common/packed_characters.h"
#include "common/random.h"

namespace tessavo {

std::string MakePassword(int length, int passwordType, int passwordCase, RandomSource source) {
  using namespace character_rule;
  std::string password;
  if (length < 1) return password;
  password.reserve(static_cast<std::size_t>(length));
  WithRule(KindOfType(passwordType), StyleOfCase(passwordCase), [&]<Kind K, Style S>() {
    if (source == RandomSource::Classic) {
      // One character after the other, each with all of its draws, from the
      // one process-wide state.
      for (int i = 0; i < length; ++i) password += NextCharacter<K, S>(RandomSeed);
      return;
    }
    // Nothing of this password stays behind in the generator.
    SecureRandom& random = SystemRandom();
    password.resize(static_cast<std::size_t>(length));
    PackedCharacters<K, S>().Fill(password.data(), password.size(),
                                  [&random] { return random.Next(); });
    random.Forget();
  });
  return password;
}

SettingsText DescribeSettings(int length, int passwordType, int passwordCase) {
  static constexpr const char* kTypeCodes[] = {"AB", "AN", "NM"};
  static constexpr const char* kTypeWords[] = {"Alphabetic, ", "Alphanumeric, ", "Numeric, "};
  static constexpr const char* kCaseCodes[] = {"LC", "UC", "MC"};
  static constexpr const char* kCaseWords[] = {"Lowercase", "Uppercase", "Mixed Case"};

  const std::string number = std::to_string(length);
  SettingsText text{.code = number.size() == 1 ? "0" + number : number,
                    .description = number + " Chars, "};
  if (passwordType >= 0 && passwordType <= 2) {
    text.code += kTypeCodes[passwordType];
    text.description += kTypeWords[passwordType];
  }
  if (passwordCase >= 0 && passwordCase <= 2) {
    text.code += kCaseCodes[passwordCase];
    text.description += kCaseWords[passwordCase];
  }
  return text;
}

}  // namespace tessavo
