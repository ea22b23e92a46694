#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "common/numtext.h"
#include "platform/os_error.h"

using namespace numtext;

TEST(Format, NumbersAsTheClassicStrDoes) {
  constexpr float kMax = std::numeric_limits<float>::max();
  constexpr float kTiny = std::numeric_limits<float>::denorm_min();
  const struct {
    float value;
    const char* text;
  } singles[] = {{12.0f, "12"},
                 {12.5f, "12.5"},
                 {-3.25f, "-3.25"},
                 {0.1f, "0.1"},
                 {9999999.0f, "9999999"},
                 {0.0001f, "0.0001"},
                 {1.0f / 3, "0.3333333"},
                 {-0.0f, "0"},
                 // Past seven digits: the exponent form, halves at the seventh digit to even.
                 {12345678.0f, "1.234568E+07"},
                 {10000000.0f, "1E+07"},
                 {99999996.0f, "1E+08"},
                 {0.00001f, "1E-05"},
                 {-0.000012345f, "-1.2345E-05"},
                 {kMax, "3.402823E+38"},
                 {kTiny, "1.401298E-45"},
                 {12345675.0f, "1.234568E+07"},
                 {12345665.0f, "1.234566E+07"}};
  for (const auto& row : singles) EXPECT_EQ(FormatSingle(row.value), row.text);
  const struct {
    double value;
    const char* text;
  } doubles[] = {{1.0 / 3, "0.333333333333333"},
                 {999999999999999.0, "999999999999999"},
                 {1e15, "1E+15"},
                 {123456789012345678.0, "1.23456789012346E+17"},
                 {1e-300, "1E-300"},
                 {0.1 + 0.2, "0.3"},
                 {-0.0, "0"},
                 {0.99999999999999989, "1"},
                 {99999.9999999999952, "100000"},
                 // The largest value is cut so that it reads back.
                 {std::numeric_limits<double>::max(), "1.79769313486231E+308"}};
  for (const auto& row : doubles) EXPECT_EQ(FormatDouble(row.value), row.text);
  EXPECT_EQ(FormatInteger(-32768), "-32768");
  EXPECT_EQ(FormatInteger(4294967295LL), "4294967295");
}

TEST(Format, NonFiniteValuesAreAnOverflow) {
  const auto overflow = [](auto action) {
    try {
      action();
    } catch (const platform::OsError& error) {
      return error.number() == platform::kOverflow;
    }
    return false;
  };
  EXPECT_TRUE(overflow([] { FormatSingle(std::numeric_limits<float>::infinity()); }));
  EXPECT_TRUE(overflow([] { FormatDouble(std::nan("")); }));
  EXPECT_TRUE(overflow([] { RoundHalfEven(-std::numeric_limits<double>::infinity(), 1); }));
}

TEST(RoundHalfEven, RoundsTheValueAsShown) {
  const struct {
    double value;
    int decimals;
    double rounded;
  } rows[] = {{1500.25, 1, 1500.2}, {1500.35, 1, 1500.4}, {2.675, 2, 2.68},  {2.665, 2, 2.66},
              {2.5, 0, 2},          {3.5, 0, 4},          {-2.5, 0, -2},     {0.5, 0, 0},
              {0.51, 0, 1},         {0.004, 2, 0},        {99.95, 1, 100},   {0.1 + 0.2, 1, 0.3},
              {25, -1, 20},         {35, -1, 40},         {12.34, 5, 12.34}, {1e300, 2, 1e300}};
  for (const auto& row : rows) {
    EXPECT_EQ(RoundHalfEven(row.value, row.decimals), row.rounded) << row.value;
  }
  EXPECT_FALSE(std::signbit(RoundHalfEven(-0.2, 0)));
  EXPECT_EQ(RoundHalfEvenSingle(2.675f, 2), 2.68f);  // at seven digits
  EXPECT_EQ(RoundHalfEvenSingle(8.5f, 0), 8.0f);
  EXPECT_EQ(RoundHalfEvenSingle(12.25f, 1), 12.2f);
}

// Random finite values over the whole range of exponents, from random bits:
// every text written reads back, by every parse, to one value that stays put
// when written and read again, within half a unit of the last digit written
// (plus half a unit of the type).
template <typename Real, typename Bits>
void ExpectStableRoundTrips(std::string (*format)(Real),
                            std::optional<Real> (*parse)(std::string_view), Real relativeError) {
  std::mt19937_64 generator(20261207);
  for (int count = 0; count < 100000;) {
    const Bits bits = static_cast<Bits>(generator());
    Real value;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) continue;
    ++count;
    const std::string text = format(value);
    const std::optional<Real> read = parse(text);
    ASSERT_TRUE(read) << text;
    ASSERT_LE(std::fabs(*read - value),
              std::fabs(value) * relativeError + std::numeric_limits<Real>::denorm_min())
        << text;
    ASSERT_EQ(parse(format(*read)), read) << text;
    ASSERT_EQ(static_cast<Real>(ParseLeadingNumber(text)), *read) << text;
  }
}

TEST(RoundTrip, TextsReadBackToAStableValue) {
  ExpectStableRoundTrips<float, std::uint32_t>(FormatSingle, ParseSingle, 5.6e-7f);
  ExpectStableRoundTrips<double, std::uint64_t>(FormatDouble, ParseDouble, 5.2e-15);
}

TEST(RoundTrip, ValuesWithFewDigitsReadBackExactly) {
  std::mt19937 generator(7);
  std::uniform_int_distribution<int> mantissa(-9999999, 9999999);
  std::uniform_int_distribution<int> exponent(-40, 30);
  for (int i = 0; i < 100000; ++i) {
    std::string decimal =
        std::to_string(mantissa(generator)) + "e" + std::to_string(exponent(generator));
    float single = *ParseSingle(decimal);
    ASSERT_EQ(ParseSingle(FormatSingle(single)), single) << decimal;
    double value = *ParseDouble(decimal);
    ASSERT_EQ(ParseDouble(FormatDouble(value)), value) << decimal;
  }
}
