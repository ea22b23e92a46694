// The template expander's value codes, their order, the complete-only mark and
// the division failures.
#include <gtest/gtest.h>

#include "checker/run/phases.h"
#include "platform/platform.h"
#include "tests/display/display_fixture.h"

namespace display_test {
namespace {

class TemplateCodes : public ::testing::Test {
 protected:
  std::string Expand(const std::string& text, bool completeFlag = false) {
    return ExpandTemplate(d.run, text, completeFlag);
  }
  DisplayRun d;
};

TEST_F(TemplateCodes, CountersAndTheirSums) {
  d.run.counters.ioErrorFiles = 4;
  d.run.counters.blankEntries = 5;
  EXPECT_EQ(Expand("%g/%t/%b/%d/%c/%k/%m/%e/%u"), "7/10/1/3/5/7/2/4/5");
  EXPECT_EQ(Expand("%G %T"), "%G %T");  // letter case counts
}

TEST_F(TemplateCodes, TextValues) {
  d.run.id3Year = "1999";
  d.run.id3Genre = "Rock";
  d.run.bValue = "192";
  EXPECT_EQ(Expand("%s|%r|%i|%w|%y|%h|%o"), "Site|Rel|bob|grp|1999|Rock|192");
}

TEST_F(TemplateCodes, PercentPairIsReplacedBetweenTheCodeGroups) {
  EXPECT_EQ(Expand("%%i"), "bob");  // "%%" becomes "%" before %i is looked for
  EXPECT_EQ(Expand("%%g"), "%7");   // %g is found inside "%%g" first
  EXPECT_EQ(Expand("100%%"), "100%");
}

TEST_F(TemplateCodes, EarlyValuesAreSearchedByLaterSteps) {
  d.settings.SITENAME = "by %i";
  EXPECT_EQ(Expand("%s"), "by bob");
  d.run.releaseName = "Rel %g";  // %g comes before %r: stays
  EXPECT_EQ(Expand("%r"), "Rel %g");
}

TEST_F(TemplateCodes, SizesRoundToOneDecimal) {
  d.run.counters.releaseSizeKb = 123456.78f;
  EXPECT_EQ(Expand("%f KB, %F MB"), "123456.8 KB, 123.5 MB");
}

TEST_F(TemplateCodes, AverageOnlyWithTheCompleteFlag) {
  d.run.lTotal = 150;
  EXPECT_EQ(Expand("%l"), "0");
  EXPECT_EQ(Expand("%l", true), "21");  // 150 / 7 = 21.43
  d.SetCounts(4, 4);
  d.run.lTotal = 10;
  EXPECT_EQ(Expand("%l", true), "2");  // 2.5: halves go to the even neighbour
}

TEST_F(TemplateCodes, ClockCodes) {
  const platform::LocalTime before = platform::Now();
  const std::string text = Expand("%Q %q");
  const platform::LocalTime after = platform::Now();
  auto format = [](const platform::LocalTime& t) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return std::string(buffer);
  };
  EXPECT_TRUE(text == format(before) || text == format(after)) << text;
}

TEST_F(TemplateCodes, CompleteOnlyMark) {
  EXPECT_EQ(Expand("%@All %t files here"), "");
  d.run.releaseComplete = true;
  EXPECT_EQ(Expand("%@All %t files here%@"), "All 10 files here");
}

TEST_F(TemplateCodes, PercentAndBarExample) { EXPECT_EQ(Expand("[%p] %n%%"), "[XXXXXXXooo] 70%"); }

TEST_F(TemplateCodes, EmptyReleaseFailsWithDivisionByZero) {
  d.SetCounts(0, 0);
  EXPECT_EQ(OsErrorOf([&] { Expand("plain text"); }), platform::kDivisionByZero);
  EXPECT_EQ(OsErrorOf([&] { Expand("%@done"); }), 0);  // ends before the division
  d.SetCounts(3, 0, 3);
  EXPECT_EQ(OsErrorOf([&] { Expand("x", true); }), platform::kDivisionByZero);
  EXPECT_EQ(Expand("x"), "x");
}

}  // namespace
}  // namespace display_test
