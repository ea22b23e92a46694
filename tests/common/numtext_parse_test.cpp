#include <gtest/gtest.h>

#include <limits>

#include "common/numtext.h"

using namespace numtext;

// What the classic Val reads at the start of a text; out of range counts as
// no number.
TEST(ParseLeadingNumber, ReadsAsTheClassicValDoes) {
  const struct {
    std::string text;
    double value;
  } rows[] = {{"1abc", 1},
              {" 1 2 3", 123},
              {"\t-1\n", -1},
              {"- 1 . 5", -1.5},
              {"+7", 7},
              {"1e3", 1000},
              {"1D2", 100},
              {"2.5E-1x", 0.25},
              {".25", 0.25},
              {"5.", 5},
              {"1.2.3", 1.2},
              {"12,5", 12},
              {"1e", 1},
              {"1e+", 1},
              {"2Dx", 2},
              // No leading number.
              {"", 0},
              {".", 0},
              {"True", 0},
              {"-", 0},
              {"+.", 0},
              {"&", 0},
              {"&H", 0},
              {"&Z1", 0},
              {"e5", 0},
              {"-&H10", 0},
              // Hexadecimal and octal take sixteen, then thirty-two bits.
              {"&H7FFF", 32767},
              {"&h8000", -32768},
              {"&HFFFF", -1},
              {"&H10000", 65536},
              {"&HFFFFFFFF", -1},
              {"&H7FFFFFFF", 2147483647},
              {"&H1fz", 31},
              {"&O17", 15},
              {"&o177777", -1},
              {"&O178", 15},
              {"& H 1 0", 16},
              // Out of range.
              {"&H100000000", 0},
              {"1e999", 0},
              {"-1e999", 0},
              {"1e99999999999999999999", 0},
              {"1e-999", 0},
              {"0.000e99999", 0},
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
      {" 12.5 ", 12.5, true, 12, 12},
      {"-.5e1", -5, true, -5, -5},
      {"&HFFFF", -1, true, -1, -1},
      {"True", no, true, no, no},
      {" true ", no, true, no, no},
      {"FALSE", no, false, no, no},
      {"0.0", 0, false, 0, 0},
      {"2.5", 2.5, true, 2, 2},  // halves round to even
      {"3.5", 3.5, true, 4, 4},
      {"-2.5", -2.5, true, -2, -2},
      {"2.5000001", 2.5000001, true, 3, 3},
      {"32767.4", 32767.4, true, 32767, 32767},  // the range is checked after rounding
      {"32767.5", 32767.5, true, no, 32768},
      {"-32768.5", -32768.5, true, -32768, -32768},
      {"-32768.6", -32768.6, true, no, -32769},
      {"&H10000", 65536, true, no, 65536},
      {"2147483647.5", 2147483647.5, true, no, no},
      {"-2147483648.5", -2147483648.5, true, no, std::numeric_limits<std::int32_t>::min()},
      {"", no, no, no, no},
      {"1 2", no, no, no, no},
      {"1abc", no, no, no, no},
      {"1e", no, no, no, no},
      {"- 1", no, no, no, no},
      {"yes", no, no, no, no},
      {"1e999", no, no, no, no},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(ParseNumber(row.text), row.number);
    EXPECT_EQ(ParseYesNo(row.text), row.yesNo);
    EXPECT_EQ(ParseWholeNumber(row.text), row.whole);
    EXPECT_EQ(ParseLongNumber(row.text), row.longNumber);
  }
}

TEST(ParseNumber, SinglesAndDoublesRoundToTheNearestAndRefuseOverflow) {
  EXPECT_EQ(ParseSingle("16777217"), 16777216.0f);
  EXPECT_EQ(ParseSingle("3.402823E+38"), 3.402823E+38f);
  EXPECT_FALSE(ParseSingle("3.5E+38"));
  EXPECT_EQ(ParseSingle("1E-50"), 0.0f);
  EXPECT_FALSE(ParseSingle("abc"));
  EXPECT_EQ(ParseDouble("1.79769313486231E+308"), 1.79769313486231E+308);
  EXPECT_FALSE(ParseDouble("1.8E+308"));
  EXPECT_FALSE(RoundToInt16(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_EQ(RoundToInt16(-1.5), -2);
  EXPECT_EQ(RoundToInt16(0.49999999999999994), 0);
  EXPECT_FALSE(RoundToInt32(1e300));
}
