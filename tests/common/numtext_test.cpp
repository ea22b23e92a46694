#include "common/numtext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "platform/os_error.h"
#include "tests/support/files.h"

using namespace numtext;

// What the classic Val reads at the start of a text; out of range counts as
// no number.
TEST(ParseLeadingNumber, ReadsAsTheClassicValDoes) {
  const struct {
    std::string text;
    double value;
  } rows[] = {{" 1 2 3", 123},
              {"- 1 . 5", -1.5},
              {"1D2", 100},
              {"2.5E-1x", 0.25},
              {"True", 0},
              {"-&H10", 0},
              // Hexadecimal and octal take sixteen, then thirty-two bits.
              {"&h8000", -32768},
              {"&H10000", 65536},
              {"&HFFFFFFFF", -1},
              {"&o177777", -1},
              {"& H 1 0", 16},
              // Out of range.
              {"&H100000000", 0},
              {std::string(400, '9'), 0},
              {"0." + std::string(400, '0') + "1e400", 0.1}};
  for (const auto& row : rows) EXPECT_EQ(ParseLeadingNumber(row.text), row.value) << row.text;
}

TEST(ParseNumber, WholeTextsOfEachKind) {
  const std::optional<double> no;
  const struct {
    const char* text;
    std::optional<double> number, yesNo, whole, longNumber;
  } rows[] = {
      {" 12.5 ", 12.5, true, 12, 12},  // halves round to even
      {"&HFFFF", -1, true, -1, -1},
      {" true ", no, true, no, no},
      {"0.0", 0, false, 0, 0},
      {"2.5000001", 2.5000001, true, 3, 3},
      {"0.49999999999999994", 0.49999999999999994, true, 0, 0},
      {"32767.5", 32767.5, true, no, 32768},  // the range is checked after rounding
      {"-32768.5", -32768.5, true, -32768, -32768},
      {"2147483647.5", 2147483647.5, true, no, no},
      {"-2147483648.5", -2147483648.5, true, no, std::numeric_limits<std::int32_t>::min()},
      {"", no, no, no, no},
      {"1e", no, no, no, no},
      {"1.8E+308", no, no, no, no},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(ParseNumber(row.text), row.number);
    EXPECT_EQ(ParseYesNo(row.text), row.yesNo);
    EXPECT_EQ(ParseWholeNumber(row.text), row.whole);
    EXPECT_EQ(ParseLongNumber(row.text), row.longNumber);
  }
}

TEST(Format, NumbersAsTheClassicStrDoes) {
  const struct {
    float value;
    const char* text;
  } singles[] = {{-3.25f, "-3.25"},
                 {1.0f / 3, "0.3333333"},
                 {-0.0f, "0"},
                 // Past seven digits: the exponent form, halves at the seventh digit to even.
                 {99999996.0f, "1E+08"},
                 {std::numeric_limits<float>::max(), "3.402823E+38"},
                 {12345665.0f, "1.234566E+07"}};
  for (const auto& row : singles) EXPECT_EQ(FormatSingle(row.value), row.text);
  const struct {
    double value;
    const char* text;
  } doubles[] = {{1.0 / 3, "0.333333333333333"},
                 {1e15, "1E+15"},
                 {0.1 + 0.2, "0.3"},
                 {0.99999999999999989, "1"},
                 // The largest value is cut so that it reads back.
                 {std::numeric_limits<double>::max(), "1.79769313486231E+308"}};
  for (const auto& row : doubles) EXPECT_EQ(FormatDouble(row.value), row.text);
  EXPECT_EQ(FormatInteger(4294967295LL), "4294967295");
  // A value without digits is an overflow.
  EXPECT_EQ(support::OsErrorOf([] { FormatSingle(std::numeric_limits<float>::infinity()); }),
            platform::kOverflow);
  EXPECT_EQ(support::OsErrorOf([] { FormatDouble(std::nan("")); }), platform::kOverflow);
}

TEST(RoundHalfEven, RoundsTheValueAsShown) {
  const struct {
    double value;
    int decimals;
    double rounded;
  } rows[] = {{1500.25, 1, 1500.2}, {2.675, 2, 2.68}, {2.5, 0, 2},     {3.5, 0, 4},
              {-2.5, 0, -2},        {0.51, 0, 1},     {99.95, 1, 100}, {25, -1, 20},
              {12.34, 5, 12.34},    {1e300, 2, 1e300}};
  for (const auto& row : rows) {
    EXPECT_EQ(RoundHalfEven(row.value, row.decimals), row.rounded) << row.value;
  }
  EXPECT_EQ(RoundHalfEvenSingle(2.675f, 2), 2.68f);  // at seven digits
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
