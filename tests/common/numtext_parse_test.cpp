#include <gtest/gtest.h>

#include <limits>

#include "common/numtext.h"

using namespace numtext;

TEST(ParseLeadingNumber, ReadsAsTheClassicValDoes) {
  EXPECT_EQ(ParseLeadingNumber("1abc"), 1);
  EXPECT_EQ(ParseLeadingNumber(" 1 2 3"), 123);
  EXPECT_EQ(ParseLeadingNumber("\t-1\n"), -1);
  EXPECT_EQ(ParseLeadingNumber("- 1 . 5"), -1.5);
  EXPECT_EQ(ParseLeadingNumber("+7"), 7);
  EXPECT_EQ(ParseLeadingNumber("1e3"), 1000);
  EXPECT_EQ(ParseLeadingNumber("1D2"), 100);
  EXPECT_EQ(ParseLeadingNumber("2.5E-1x"), 0.25);
  EXPECT_EQ(ParseLeadingNumber(".25"), 0.25);
  EXPECT_EQ(ParseLeadingNumber("5."), 5);
  EXPECT_EQ(ParseLeadingNumber("1.2.3"), 1.2);
  EXPECT_EQ(ParseLeadingNumber("12,5"), 12);
}

TEST(ParseLeadingNumber, NoLeadingNumberGivesZero) {
  for (const char* text :
       {"", " ", ".", "True", "yes", "-", "+.", "&", "&H", "&Z1", "e5", "-&H10"}) {
    EXPECT_EQ(ParseLeadingNumber(text), 0) << text;
  }
}

TEST(ParseLeadingNumber, ExponentWithoutDigitsIsNotPartOfTheNumber) {
  EXPECT_EQ(ParseLeadingNumber("1e"), 1);
  EXPECT_EQ(ParseLeadingNumber("1e+"), 1);
  EXPECT_EQ(ParseLeadingNumber("2Dx"), 2);
}

TEST(ParseLeadingNumber, HexAndOctalTakeSixteenThenThirtyTwoBits) {
  EXPECT_EQ(ParseLeadingNumber("&H7FFF"), 32767);
  EXPECT_EQ(ParseLeadingNumber("&h8000"), -32768);
  EXPECT_EQ(ParseLeadingNumber("&HFFFF"), -1);
  EXPECT_EQ(ParseLeadingNumber("&H10000"), 65536);
  EXPECT_EQ(ParseLeadingNumber("&HFFFFFFFF"), -1);
  EXPECT_EQ(ParseLeadingNumber("&H7FFFFFFF"), 2147483647);
  EXPECT_EQ(ParseLeadingNumber("&H1fz"), 31);
  EXPECT_EQ(ParseLeadingNumber("&O17"), 15);
  EXPECT_EQ(ParseLeadingNumber("&o177777"), -1);
  EXPECT_EQ(ParseLeadingNumber("&O178"), 15);
  EXPECT_EQ(ParseLeadingNumber("& H 1 0"), 16);
}

TEST(ParseLeadingNumber, OutOfRangeCountsAsNoNumber) {
  EXPECT_EQ(ParseLeadingNumber("&H100000000"), 0);
  EXPECT_EQ(ParseLeadingNumber("1e999"), 0);
  EXPECT_EQ(ParseLeadingNumber("-1e999"), 0);
  EXPECT_EQ(ParseLeadingNumber("1e99999999999999999999"), 0);
  EXPECT_EQ(ParseLeadingNumber("1e-999"), 0);
  EXPECT_EQ(ParseLeadingNumber("0.000e99999"), 0);
  EXPECT_EQ(ParseLeadingNumber(std::string(400, '9')), 0);
  EXPECT_EQ(ParseLeadingNumber("0." + std::string(400, '0') + "1e400"), 0.1);
}

TEST(ParseNumber, WholeTextMustBeTheNumber) {
  EXPECT_EQ(ParseNumber(" 12.5 "), 12.5);
  EXPECT_EQ(ParseNumber("-.5e1"), -5);
  EXPECT_EQ(ParseNumber("&HFFFF"), -1);
  for (const char* text : {"", " ", ".", "1 2", "1abc", "1e", "True", "- 1", "&H", "1e999"}) {
    EXPECT_FALSE(ParseNumber(text)) << text;
  }
}

TEST(ParseYesNo, WordsOrNumbers) {
  EXPECT_EQ(ParseYesNo("True"), true);
  EXPECT_EQ(ParseYesNo("tRUE"), true);
  EXPECT_EQ(ParseYesNo("FALSE"), false);
  EXPECT_EQ(ParseYesNo(" true "), true);
  EXPECT_EQ(ParseYesNo("1"), true);
  EXPECT_EQ(ParseYesNo("-1"), true);
  EXPECT_EQ(ParseYesNo("0.5"), true);
  EXPECT_EQ(ParseYesNo("0"), false);
  EXPECT_EQ(ParseYesNo("0.0"), false);
  for (const char* text : {"", "yes", "no", "on", "Truex", "1abc"}) {
    EXPECT_FALSE(ParseYesNo(text)) << text;
  }
}

TEST(ParseWholeNumber, RoundsHalvesToEven) {
  EXPECT_EQ(ParseWholeNumber("2.5"), 2);
  EXPECT_EQ(ParseWholeNumber("3.5"), 4);
  EXPECT_EQ(ParseWholeNumber("-2.5"), -2);
  EXPECT_EQ(ParseWholeNumber("-3.5"), -4);
  EXPECT_EQ(ParseWholeNumber(".25"), 0);
  EXPECT_EQ(ParseWholeNumber("2.5000001"), 3);
  EXPECT_EQ(ParseWholeNumber("1e2"), 100);
}

TEST(ParseWholeNumber, RangeIsCheckedAfterRounding) {
  EXPECT_EQ(ParseWholeNumber("32767"), 32767);
  EXPECT_EQ(ParseWholeNumber("32767.4"), 32767);
  EXPECT_FALSE(ParseWholeNumber("32767.5"));
  EXPECT_EQ(ParseWholeNumber("-32768.5"), -32768);
  EXPECT_FALSE(ParseWholeNumber("-32768.6"));
  EXPECT_FALSE(ParseWholeNumber("40000"));
  EXPECT_EQ(ParseWholeNumber("&HFFFF"), -1);
  EXPECT_FALSE(ParseWholeNumber("&H10000"));
  EXPECT_FALSE(ParseWholeNumber(""));
}

TEST(ParseLongNumber, ThirtyTwoBitRange) {
  EXPECT_EQ(ParseLongNumber("2147483647"), 2147483647);
  EXPECT_FALSE(ParseLongNumber("2147483647.5"));
  EXPECT_EQ(ParseLongNumber("-2147483648.5"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(ParseLongNumber("&HFFFFFFFF"), -1);
  EXPECT_EQ(ParseLongNumber("0.5"), 0);
  EXPECT_EQ(ParseLongNumber("1.5"), 2);
}

TEST(RoundToInt, HalvesToEvenAndRejectsNaN) {
  EXPECT_EQ(RoundToInt16(0.5), 0);
  EXPECT_EQ(RoundToInt16(1.5), 2);
  EXPECT_EQ(RoundToInt16(-0.5), 0);
  EXPECT_EQ(RoundToInt16(-1.5), -2);
  EXPECT_EQ(RoundToInt16(0.49999999999999994), 0);
  EXPECT_FALSE(RoundToInt16(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_FALSE(RoundToInt32(std::numeric_limits<double>::infinity()));
  EXPECT_FALSE(RoundToInt32(1e300));
}

TEST(ParseSingle, RoundsTheTextToTheNearestFloat) {
  EXPECT_EQ(ParseSingle("0.1"), 0.1f);
  EXPECT_EQ(ParseSingle("16777217"), 16777216.0f);
  EXPECT_EQ(ParseSingle("3.402823E+38"), 3.402823E+38f);
  EXPECT_FALSE(ParseSingle("3.5E+38"));
  EXPECT_EQ(ParseSingle("1E-50"), 0.0f);
  EXPECT_EQ(ParseSingle("&H10000"), 65536.0f);
  EXPECT_FALSE(ParseSingle("abc"));
  EXPECT_FALSE(ParseSingle(""));
}

TEST(ParseDouble, RejectsOverflow) {
  EXPECT_EQ(ParseDouble("1.79769313486231E+308"), 1.79769313486231E+308);
  EXPECT_FALSE(ParseDouble("1.8E+308"));
  EXPECT_EQ(ParseDouble("-0"), 0.0);
}
