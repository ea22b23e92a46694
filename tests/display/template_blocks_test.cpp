// The template expander's own constructions: ranking block, progress bar,
// fixed-width columns and the line-width fill, with their failures.
#include <gtest/gtest.h>

#include "checker/run/phases.h"
#include "tests/display/display_fixture.h"

namespace display_test {
namespace {

class TemplateBlocks : public ::testing::Test {
 protected:
  std::string Expand(const std::string& text) { return ExpandTemplate(d.run, text, false); }
  void AddUser(const std::string& name, double sizeKb, float files, std::string key = "") {
    const auto ordinal = static_cast<std::int16_t>(d.run.userStats.size() + 1);
    d.run.userStats.push_back({ordinal, name, name + "-grp", sizeKb, 12.5, files});
    if (key.empty())
      key = std::to_string(static_cast<long>(sizeKb)) + "." + std::to_string(ordinal);
    d.run.rankKeys.push_back(key);
  }
  DisplayRun d;
};

TEST_F(TemplateBlocks, RankingBiggestFirst) {
  AddUser("amy", 300, 3);
  AddUser("ben", 100, 1);
  AddUser("cat", 200, 2);
  EXPECT_EQ(Expand("%RR %RU %RSb"), "01 amy 300\r\n02 cat 200\r\n03 ben 100");
  EXPECT_EQ(d.run.rankKeys, (std::vector<std::string>{"100.2", "200.3", "300.1"}));
}

TEST_F(TemplateBlocks, RankingRecordCodes) {
  d.SetCounts(3, 3);
  AddUser("amy", 1500.25, 1);
  AddUser("ben", 1000, 2);
  EXPECT_EQ(Expand("%RR|%RU|%RG|%RL|%RSm|%RF|%RCu|%RCg|%RP"),
            "01|amy|amy-grp|12.5|1.50025|1|2|2|30\r\n"
            "02|ben|ben-grp|12.5|1|2|2|2|70");
}

TEST_F(TemplateBlocks, RanksFromTenHaveNoLeadingZero) {
  for (int i = 1; i <= 10; ++i) AddUser("u" + std::to_string(i), 100 * i, 1);
  const std::string block = Expand("%RR");
  EXPECT_EQ(block.substr(0, 4), "01\r\n");
  EXPECT_EQ(block.substr(block.size() - 6), "09\r\n10");
}

TEST_F(TemplateBlocks, EqualSizesRankTheLaterRecordFirst) {
  AddUser("amy", 500, 1);
  AddUser("ben", 500, 1);  // key 500.2 reads larger than 500.1
  EXPECT_EQ(Expand("%RU"), "ben\r\namy");
}

TEST_F(TemplateBlocks, RankingWithoutRecordsKeepsTheCodes) {
  EXPECT_EQ(Expand("%RR %RU"), "%RR %RU");
}

TEST_F(TemplateBlocks, RankKeyNamingNoRecordFails) {
  AddUser("amy", 300, 1, "300.7");
  EXPECT_EQ(OsErrorOf([&] { Expand("%RU"); }), 9);
}

TEST_F(TemplateBlocks, RankingLinesArePaddedAndFilledAsOneText) {
  AddUser("amy", 300, 1);
  AddUser("bo", 100, 1);
  EXPECT_EQ(Expand("%<%RU%>4#|"), "amy |\r\nbo  |");
  // 2 lines of 3 + CR LF = 8 characters; filled to 20 with the two markers.
  EXPECT_EQ(Expand("%RU%#2"), "amy      \r\nbo       ");
}

TEST_F(TemplateBlocks, BarNeverFullForAnUnfinishedRelease) {
  d.SetCounts(40, 39);
  EXPECT_EQ(Expand("%p"), "XXXXXXXXXo");
  d.SetCounts(20, 19);  // exactly 95 %
  EXPECT_EQ(Expand("%p"), "XXXXXXXXXo");
  d.SetCounts(40, 0);
  EXPECT_EQ(Expand("%p"), "oooooooooo");
  d.SetCounts(40, 40);
  EXPECT_EQ(Expand("%p"), "XXXXXXXXXX");
}

TEST_F(TemplateBlocks, BarUnitsAndLength) {
  d.settings.PERBAR_CHR = "##";
  d.settings.PERBAR_NON = "--";
  d.SetCounts(40, 39);
  // The adjustment takes off one character, not one unit.
  EXPECT_EQ(Expand("%p"), std::string(19, '#') + "--");
  d.settings.PERBAR_LEN = 2.5f;  // 2.5 units give two
  d.SetCounts(4, 0);
  EXPECT_EQ(Expand("%p"), "----");
  d.settings.PERBAR_LEN = 0;  // no bar to shorten
  d.SetCounts(40, 39);
  EXPECT_EQ(Expand("%p"), "--");
}

TEST_F(TemplateBlocks, Columns) {
  EXPECT_EQ(Expand("%<ab%>5#|"), "ab   |");
  EXPECT_EQ(Expand("%<abcdef%>3#|"), "abcdef|");
  EXPECT_EQ(Expand("%<a%>3#%<bb%>4#|"), "a  bb  |");
  EXPECT_EQ(Expand("%<a%>3# %<a%>3#|"), "a   a  |");
  // A code replaced later is measured as its two characters.
  EXPECT_EQ(Expand("%<%n%>5#|"), "70   |");
}

TEST_F(TemplateBlocks, ColumnWidthWithLeadingZeroIsLeftAlone) {
  EXPECT_EQ(Expand("%<ab%>05#|"), "ab%>05#|");
  EXPECT_EQ(Expand("%<ab%>+5#|"), "ab%>+5#|");
}

TEST_F(TemplateBlocks, MalformedColumnsFail) {
  EXPECT_EQ(OsErrorOf([&] { Expand("%<ab%>5|"); }), platform::kInvalidArgument);
  EXPECT_EQ(OsErrorOf([&] { Expand("%>5# %<ab"); }), platform::kInvalidArgument);
  EXPECT_EQ(OsErrorOf([&] { Expand("%<ab%>x#"); }), platform::kTypeMismatch);
  EXPECT_EQ(OsErrorOf([&] { Expand("%<ab%>#"); }), platform::kTypeMismatch);
  EXPECT_EQ(OsErrorOf([&] { Expand("%<ab%>99999#"); }), platform::kOverflow);
  EXPECT_EQ(Expand("%<ab"), "ab");  // no group end: only the opening goes
}

TEST_F(TemplateBlocks, LineFillShares) {
  // Nine characters with two markers: 17 blanks, 8 for the first, 9 for the last.
  EXPECT_EQ(Expand("ab%#2c%#2"), "ab" + std::string(8, ' ') + "c" + std::string(9, ' '));
  EXPECT_EQ(Expand("a%#1"), "a" + std::string(19, ' '));
  // 17 blanks for three markers: 5, 5 and 7.
  EXPECT_EQ(Expand("%#3a%#3b%#3c"), "     a     b       c");
  // 16 blanks for four markers share evenly.
  EXPECT_EQ(Expand("%#4%#4%#4%#4abcd"), std::string(16, ' ') + "abcd");
  EXPECT_EQ(Expand("a long line of text%#1 that is past the width"),
            "a long line of text that is past the width");
}

TEST_F(TemplateBlocks, LineFillMeasuresTheFinalText) {
  EXPECT_EQ(Expand("%n%%%#1"), "70%" + std::string(17, ' '));
}

TEST_F(TemplateBlocks, MalformedLineFillFails) {
  EXPECT_EQ(OsErrorOf([&] { Expand("a%#"); }), platform::kTypeMismatch);
  EXPECT_EQ(OsErrorOf([&] { Expand("a%#x"); }), platform::kTypeMismatch);
  EXPECT_EQ(OsErrorOf([&] { Expand("a%#0"); }), platform::kDivisionByZero);
  // Two markers announced, one written, and an uneven share.
  EXPECT_EQ(OsErrorOf([&] { Expand("ab%#2"); }), platform::kInvalidArgument);
  // With three announced the third search starts over and finds the first.
  EXPECT_EQ(Expand("abc%#3"), "abc" + std::string(9, ' '));
}

}  // namespace
}  // namespace display_test
