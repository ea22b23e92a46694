#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "common/numtext.h"
#include "platform/os_error.h"

using namespace numtext;

TEST(FormatSingle, PlainForm) {
  EXPECT_EQ(FormatSingle(12.0f), "12");
  EXPECT_EQ(FormatSingle(12.5f), "12.5");
  EXPECT_EQ(FormatSingle(0.5f), "0.5");
  EXPECT_EQ(FormatSingle(-3.25f), "-3.25");
  EXPECT_EQ(FormatSingle(0.1f), "0.1");
  EXPECT_EQ(FormatSingle(1500.25f), "1500.25");
  EXPECT_EQ(FormatSingle(9999999.0f), "9999999");
  EXPECT_EQ(FormatSingle(0.0001f), "0.0001");
  EXPECT_EQ(FormatSingle(1.0f / 3), "0.3333333");
  EXPECT_EQ(FormatSingle(0.0f), "0");
  EXPECT_EQ(FormatSingle(-0.0f), "0");
}

TEST(FormatSingle, ExponentFormPastSevenDigits) {
  EXPECT_EQ(FormatSingle(12345678.0f), "1.234568E+07");
  EXPECT_EQ(FormatSingle(10000000.0f), "1E+07");
  EXPECT_EQ(FormatSingle(99999996.0f), "1E+08");  // rounds up into the next decade
  EXPECT_EQ(FormatSingle(0.00001f), "1E-05");
  EXPECT_EQ(FormatSingle(-0.000012345f), "-1.2345E-05");
  EXPECT_EQ(FormatSingle(1.5e30f), "1.5E+30");
  EXPECT_EQ(FormatSingle(std::numeric_limits<float>::max()), "3.402823E+38");
  EXPECT_EQ(FormatSingle(std::numeric_limits<float>::denorm_min()), "1.401298E-45");
}

TEST(FormatSingle, ExactHalvesAtTheSeventhDigitGoToEven) {
  EXPECT_EQ(FormatSingle(12345675.0f), "1.234568E+07");
  EXPECT_EQ(FormatSingle(12345665.0f), "1.234566E+07");
}

TEST(FormatDouble, FifteenDigits) {
  EXPECT_EQ(FormatDouble(0.1), "0.1");
  EXPECT_EQ(FormatDouble(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(FormatDouble(1500.25), "1500.25");
  EXPECT_EQ(FormatDouble(999999999999999.0), "999999999999999");
  EXPECT_EQ(FormatDouble(1e15), "1E+15");
  EXPECT_EQ(FormatDouble(123456789012345678.0), "1.23456789012346E+17");
  EXPECT_EQ(FormatDouble(1e-300), "1E-300");
  EXPECT_EQ(FormatDouble(0.1 + 0.2), "0.3");
  EXPECT_EQ(FormatDouble(-0.0), "0");
  EXPECT_EQ(FormatDouble(0.99999999999999989), "1");
  EXPECT_EQ(FormatDouble(99999.9999999999952), "100000");
}

TEST(FormatDouble, LargestValueIsCutSoItReadsBack) {
  std::string text = FormatDouble(std::numeric_limits<double>::max());
  EXPECT_EQ(text, "1.79769313486231E+308");
  EXPECT_TRUE(ParseDouble(text));
  EXPECT_NE(ParseLeadingNumber(text), 0);
}

TEST(Format, NonFiniteValuesAreAnOverflow) {
  try {
    FormatSingle(std::numeric_limits<float>::infinity());
    FAIL();
  } catch (const platform::OsError& error) {
    EXPECT_EQ(error.number(), platform::kOverflow);
  }
  EXPECT_THROW(FormatDouble(std::nan("")), platform::OsError);
  EXPECT_THROW(RoundHalfEven(-std::numeric_limits<double>::infinity(), 1), platform::OsError);
}

TEST(FormatInteger, Plain) {
  EXPECT_EQ(FormatInteger(0), "0");
  EXPECT_EQ(FormatInteger(-32768), "-32768");
  EXPECT_EQ(FormatInteger(4294967295LL), "4294967295");
}

TEST(RoundHalfEven, RoundsTheValueAsShown) {
  EXPECT_EQ(RoundHalfEven(1500.25, 1), 1500.2);
  EXPECT_EQ(RoundHalfEven(1500.35, 1), 1500.4);
  EXPECT_EQ(RoundHalfEven(2.675, 2), 2.68);
  EXPECT_EQ(RoundHalfEven(2.665, 2), 2.66);
  EXPECT_EQ(RoundHalfEven(2.5, 0), 2);
  EXPECT_EQ(RoundHalfEven(3.5, 0), 4);
  EXPECT_EQ(RoundHalfEven(-2.5, 0), -2);
  EXPECT_EQ(RoundHalfEven(0.25, 0), 0);
  EXPECT_EQ(RoundHalfEven(0.5, 0), 0);
  EXPECT_EQ(RoundHalfEven(0.51, 0), 1);
  EXPECT_EQ(RoundHalfEven(0.004, 2), 0);
  EXPECT_EQ(RoundHalfEven(9.96, 1), 10);
  EXPECT_EQ(RoundHalfEven(99.95, 1), 100);
  EXPECT_EQ(RoundHalfEven(1234.5678, 2), 1234.57);
  EXPECT_EQ(RoundHalfEven(0.1 + 0.2, 1), 0.3);
  EXPECT_EQ(RoundHalfEven(25, -1), 20);
  EXPECT_EQ(RoundHalfEven(35, -1), 40);
  EXPECT_EQ(RoundHalfEven(12.34, 5), 12.34);
  EXPECT_EQ(RoundHalfEven(1e300, 2), 1e300);
  EXPECT_FALSE(std::signbit(RoundHalfEven(-0.2, 0)));
}

TEST(RoundHalfEven, SingleRoundsAtSevenDigits) {
  EXPECT_EQ(RoundHalfEvenSingle(2.675f, 2), 2.68f);
  EXPECT_EQ(RoundHalfEvenSingle(0.7f, 0), 1.0f);
  EXPECT_EQ(RoundHalfEvenSingle(8.5f, 0), 8.0f);
  EXPECT_EQ(RoundHalfEvenSingle(12.25f, 1), 12.2f);
}

// Random finite values over the whole range of exponents, from random bits.
template <typename Real, typename Bits>
std::vector<Real> RandomValues(int count) {
  std::mt19937_64 generator(20261207);
  std::vector<Real> values;
  while (static_cast<int>(values.size()) < count) {
    Bits bits = static_cast<Bits>(generator());
    Real value;
    std::memcpy(&value, &bits, sizeof value);
    if (std::isfinite(value)) values.push_back(value);
  }
  return values;
}

// Every text written reads back, by every parse, to one value that stays put
// when written and read again, within half a unit of the last digit written
// (plus half a unit of the type).
template <typename Real, typename Bits>
void ExpectStableRoundTrips(std::string (*format)(Real),
                            std::optional<Real> (*parse)(std::string_view), Real relativeError) {
  for (Real value : RandomValues<Real, Bits>(100000)) {
    std::string text = format(value);
    std::optional<Real> read = parse(text);
    ASSERT_TRUE(read) << text;
    ASSERT_LE(std::fabs(*read - value),
              std::fabs(value) * relativeError + std::numeric_limits<Real>::denorm_min())
        << text;
    ASSERT_EQ(parse(format(*read)), read) << text;
    ASSERT_EQ(static_cast<Real>(ParseLeadingNumber(text)), *read) << text;
  }
}

TEST(RoundTrip, SingleTextsReadBackToAStableValue) {
  ExpectStableRoundTrips<float, std::uint32_t>(FormatSingle, ParseSingle, 5.6e-7f);
}

TEST(RoundTrip, DoubleTextsReadBackToAStableValue) {
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

TEST(RoundTrip, KilobyteSumsRoundedToTwoDecimals) {
  double sum = 0;
  for (int i = 1; i < 5000; ++i) {
    sum = RoundHalfEven(sum + i * 1.001, 2);
    ASSERT_EQ(ParseLeadingNumber(FormatDouble(sum)), sum);
  }
}
