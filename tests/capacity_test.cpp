#include "batch/capacity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tessavo {
namespace {

GenerationOptions Fixed(int type, int passwordCase, int length) {
  GenerationOptions o;
  o.PasswordType = type;
  o.PasswordCase = passwordCase;
  o.LengthType = LengthType::Fixed;
  o.FixedLength = length;
  return o;
}

GenerationOptions Variable(int type, int passwordCase, int min, int max) {
  GenerationOptions o = Fixed(type, passwordCase, 8);
  o.LengthType = LengthType::Variable;
  o.MinLength = min;
  o.MaxLength = max;
  return o;
}

std::string Text(const GenerationOptions& o) { return FormatCapacity(ComputeCapacity(o)); }

TEST(Capacity, DisplayedExamples) {
  EXPECT_EQ(Text(Fixed(2, 0, 3)), "Max: 1000");
  EXPECT_EQ(Text(Fixed(0, 0, 8)), "Max: 208827064576");
  EXPECT_EQ(Text(Variable(0, 0, 5, 8)), "Max: 217179671904");
  EXPECT_EQ(Text(Fixed(1, 2, 8)), "Max: 218340105584896");
  EXPECT_EQ(Text(Fixed(2, 0, 14)), "Max: 100000000000000");
  EXPECT_EQ(Text(Fixed(2, 0, 15)), "Max: 1E15");
  EXPECT_EQ(Text(Fixed(0, 0, 11)), "Max: 3.67034448698778E15");
  EXPECT_EQ(Text(Variable(2, 0, 3, 16)), "Max: 1.1111111111111E16");
  EXPECT_EQ(Text(Fixed(1, 2, 16)), "Max: 4.76724017068235E28");
  EXPECT_EQ(Text(Variable(1, 2, 3, 16)), "Max: 4.84539164889026E28");
}

TEST(Capacity, ExactUpToTwoToTheSixtyFour) {
  // 62^10 and 26^13 need more than a double's 53 bits.
  EXPECT_EQ(ComputeCapacity(Fixed(1, 2, 10)), 839299365868340224.0L);
  EXPECT_EQ(ComputeCapacity(Fixed(0, 1, 13)), 2481152873203736576.0L);
  EXPECT_EQ(Text(Fixed(1, 2, 10)), "Max: 8.3929936586834E17");
}

TEST(Capacity, PlainUpToFifteenDigitsThenScientific) {
  EXPECT_EQ(FormatCapacity(1e14L), "Max: 100000000000000");
  EXPECT_EQ(FormatCapacity(999999999999999.0L), "Max: 999999999999999");
  EXPECT_EQ(FormatCapacity(9999999999999995.0L), "Max: 1E16") << "rounding carries a digit";
  EXPECT_EQ(FormatCapacity(1e15L), "Max: 1E15");
  EXPECT_EQ(FormatCapacity(0), "Max: 0");
  EXPECT_EQ(FormatCapacity(0.5L), "Max: 0.5");
  EXPECT_EQ(FormatCapacity(3.67034448698778e15L, ','), "Max: 3,67034448698778E15");
  EXPECT_EQ(FormatCapacity(std::numeric_limits<long double>::infinity()), "Max: INF");
}

TEST(Capacity, FixedEqualsVariableWithEqualBounds) {
  for (int type = 0; type <= 2; ++type)
    for (int length = 3; length <= 16; ++length)
      EXPECT_EQ(ComputeCapacity(Fixed(type, 2, length)),
                ComputeCapacity(Variable(type, 2, length, length)));
}

TEST(Capacity, NumericIgnoresCaseAndNoTypeAllowsNothing) {
  for (int c : {-1, 0, 1, 2})
    EXPECT_EQ(ComputeCapacity(Fixed(2, c, 6)), 1e6L);
  EXPECT_EQ(ComputeCapacity(Fixed(-1, 0, 8)), 0);
  EXPECT_EQ(Text(Fixed(-1, 0, 8)), "Max: 0");
  EXPECT_FALSE(CheckCount(1, 0));
}

TEST(Capacity, NoCaseSelectedCountsMixedCaseAsTheRuleDraws) {
  EXPECT_EQ(Text(Fixed(0, -1, 3)), "Max: 140608");
  EXPECT_EQ(ComputeCapacity(Fixed(1, -1, 3)), ComputeCapacity(Fixed(1, 2, 3)));
}

TEST(Capacity, MaximumBelowMinimumAllowsNothing) {
  EXPECT_EQ(ComputeCapacity(Variable(0, 0, 5, 4)), 0);
}

TEST(Capacity, AbsurdLengthsFromDirectCallsStayFinite) {
  EXPECT_TRUE(std::isinf(ComputeCapacity(Variable(1, 2, 3, 2'000'000'000))));
  EXPECT_EQ(ComputeCapacity(Variable(2, 0, -5, -1)), 0);
  EXPECT_EQ(ComputeCapacity(Variable(2, 0, 0, 1)), 11) << "empty password plus ten digits";
}

TEST(CountCheck, EqualAcceptedAboveRefused) {
  const long double capacity = ComputeCapacity(Fixed(2, 0, 3));
  EXPECT_TRUE(CheckCount(1000, capacity));
  EXPECT_FALSE(CheckCount(1001, capacity));
  EXPECT_TRUE(CheckCount(1'000'000, ComputeCapacity(Fixed(2, 0, 6))));
}

TEST(CountCheck, RefusalTextByteForByte) {
  const std::string expected =
      "Nnumber of passwords to generate exceeds the maximum possible\x0A"
      "number of passwords.  Either decrease the number of passwords\x0A"
      "to generate, or adjust the password generation options";
  EXPECT_EQ(std::string(CapacityErrorMessage), expected);
  EXPECT_EQ(CapacityErrorMessage.find('\r'), std::string_view::npos);
  EXPECT_NE(CapacityErrorMessage.back(), '.');
}

}  // namespace
}  // namespace tessavo
