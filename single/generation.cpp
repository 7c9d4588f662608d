#include "single/generation.h"

#include "common/character_rule.h"
#include "common/random.h"

namespace tessavo {

std::string MakePassword(int length, int passwordType, int passwordCase) {
  using namespace character_rule;
  std::string password;
  if (length < 1) return password;
  password.reserve(static_cast<std::size_t>(length));
  // The rule chosen once, then one character after the other, each with
  // all of its draws, from the one process-wide state.
  WithRule(KindOfType(passwordType), StyleOfCase(passwordCase), [&]<Kind K, Style S>() {
    for (int i = 0; i < length; ++i) password += NextCharacter<K, S>(RandomSeed);
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
