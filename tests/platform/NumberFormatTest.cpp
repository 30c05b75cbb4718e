// Number texts for files and cells: fixed-point only, significant-digit rounding, strict parsing,
// and the bound on values that keeps every written text readable.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <utility>

#include "platform/NumberFormat.h"

namespace {

struct FixedCase {
  double value;
  const char* text;
  friend std::ostream& operator<<(std::ostream& os, const FixedCase& c) { return os << c.text; }
};

class FormatFixedSignificant : public ::testing::TestWithParam<FixedCase> {};

TEST_P(FormatFixedSignificant, WritesTwoDecimalsAfterSixDigitRounding) {
  EXPECT_EQ(platform::formatFixedSignificant(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cases, FormatFixedSignificant,
                         ::testing::Values(FixedCase{1.0, "1.00"}, FixedCase{0.25, "0.25"}, FixedCase{-12.5, "-12.50"},
                                           FixedCase{-6.0, "-6.00"}, FixedCase{12345.678, "12345.70"},
                                           FixedCase{0.0, "0.00"}, FixedCase{-0.0, "0.00"}, FixedCase{-0.001, "0.00"},
                                           FixedCase{2.345, "2.35"}, FixedCase{-2.345, "-2.35"},
                                           FixedCase{0.005, "0.01"}, FixedCase{99.995, "100.00"},
                                           FixedCase{999999.4, "999999.00"}, FixedCase{0.0012345, "0.00"},
                                           FixedCase{999999.5, "1000000.00"}, FixedCase{1234567.0, "1234567.00"},
                                           FixedCase{1e6, "1000000.00"}, FixedCase{1e12, "1000000000000.00"},
                                           FixedCase{std::numeric_limits<double>::quiet_NaN(), "0.00"}));

TEST(FormatFixed, NeverUsesExponentOrNegativeZero) {
  EXPECT_EQ(platform::formatFixed(1e20, 2), "100000000000000000000.00");
  EXPECT_EQ(platform::formatFixed(-0.004, 2), "0.00");
  EXPECT_EQ(platform::formatFixed(1.5, 0), "2");
  EXPECT_EQ(platform::formatFixed(0.1, 3), "0.100");
}

TEST(FormatGeneral, WritesTheShortestTextOfFifteenDigits) {
  const std::pair<double, const char*> cases[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {0.5, "0.5"},
      {-12.25, "-12.25"},
      {100.0, "100"},
      {0.1, "0.1"},
      {1.0 / 3.0, "0.333333333333333"},
      {0.00001, "0.00001"},
      {0.000001, "1E-6"},
      {1.5e-7, "1.5E-7"},
      {123456789012345.0, "123456789012345"},
      {1e15, "1E15"},
      {-2.5e20, "-2.5E20"},
      {4.2, "4.2"},
      {99.995, "99.995"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(platform::formatGeneral(value), text) << value;
}

struct ParseCase {
  const char* text;
  std::optional<double> value;
  friend std::ostream& operator<<(std::ostream& os, const ParseCase& c) { return os << '"' << c.text << '"'; }
};

class ParseDecimal : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseDecimal, AcceptsOnlyPlainDecimals) {
  const auto result = platform::parseDecimal(GetParam().text);
  ASSERT_EQ(result.has_value(), GetParam().value.has_value()) << GetParam().text;
  if (result) {
    EXPECT_DOUBLE_EQ(*result, *GetParam().value);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseDecimal,
                         ::testing::Values(ParseCase{"1.5", 1.5}, ParseCase{"-0.25", -0.25}, ParseCase{"+3", 3.0},
                                           ParseCase{".5", 0.5}, ParseCase{"5.", 5.0}, ParseCase{"007", 7.0},
                                           ParseCase{"", std::nullopt}, ParseCase{"-", std::nullopt},
                                           ParseCase{".", std::nullopt}, ParseCase{"1e3", std::nullopt},
                                           ParseCase{"1,5", std::nullopt}, ParseCase{"1.2.3", std::nullopt},
                                           ParseCase{" 1", std::nullopt}, ParseCase{"inf", std::nullopt},
                                           ParseCase{"nan", std::nullopt}, ParseCase{"--1", std::nullopt}));

TEST(ParseInt32, AcceptsTheWholeRangeAndNothingElse) {
  EXPECT_EQ(platform::parseInt32("2147483647"), 2147483647);
  EXPECT_EQ(platform::parseInt32("-2147483648"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(platform::parseInt32("+12"), 12);
  EXPECT_FALSE(platform::parseInt32("2147483648"));
  EXPECT_FALSE(platform::parseInt32("99999999999999999999"));
  EXPECT_FALSE(platform::parseInt32("1.5"));
  EXPECT_FALSE(platform::parseInt32("0x10"));
  EXPECT_FALSE(platform::parseInt32("+"));
  EXPECT_FALSE(platform::parseInt32(""));
}

// Values are held within plus or minus 1e9, so that their written text always reads back.
TEST(BoundedValue, HoldsEveryValueWithinTheFileRange) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::pair<double, double> cases[] = {{12.5, 12.5},     {1e9, 1e9},          {-1e9, -1e9},
                                             {1e9 + 1.0, 1e9}, {-4e28, -1e9},       {inf, 1e9},
                                             {-inf, -1e9},     {std::nan(""), 0.0}, {999999999.99, 999999999.99}};
  for (const auto& [value, bounded] : cases) EXPECT_EQ(platform::boundedValue(value), bounded) << value;
  EXPECT_EQ(platform::formatFixed(platform::boundedValue(-inf), 2), "-1000000000.00");
}

TEST(SaturatingConversion, ClampsInsteadOfOverflowing) {
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
  EXPECT_EQ(platform::saturatingTrunc(1e300), kMax);
  EXPECT_EQ(platform::saturatingTrunc(-1e300), kMin);
  EXPECT_EQ(platform::saturatingTrunc(INFINITY), kMax);
  EXPECT_EQ(platform::saturatingTrunc(std::nan("")), 0);
  EXPECT_EQ(platform::saturatingTrunc(2.9), 2);
  EXPECT_EQ(platform::saturatingTrunc(-2.9), -2);
  EXPECT_EQ(platform::saturatingRound(2.5), 3);
  EXPECT_EQ(platform::saturatingRound(-2.5), -3);
  EXPECT_EQ(platform::saturatingRound(2147483647.4), kMax);
}

}  // namespace
