// The template expander: value codes and their order, the complete-only mark,
// ranking block, progress bar, fixed-width columns and the line-width fill,
// with their failures.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "checker/run/phases.h"
#include "platform/platform.h"
#include "tests/display/display_fixture.h"

namespace display_test {
namespace {

using Prepare = std::function<void(DisplayRun&)>;

void AddUser(DisplayRun& d, const std::string& name, double sizeKb, float files,
             std::string key = "") {
  const auto ordinal = static_cast<std::int16_t>(d.run.userStats.size() + 1);
  d.run.userStats.push_back({ordinal, name, name + "-grp", sizeKb, 12.5, files});
  if (key.empty()) key = std::to_string(static_cast<long>(sizeKb)) + "." + std::to_string(ordinal);
  d.run.rankKeys.push_back(key);
}

Prepare Counts(float total, float good, float bad = 0) {
  return [=](DisplayRun& d) { d.SetCounts(total, good, bad); };
}

Prepare Users(std::vector<std::pair<std::string, double>> users) {
  return [=](DisplayRun& d) {
    for (const auto& [name, size] : users) AddUser(d, name, size, 1);
  };
}

Prepare Bar(const char* full, const char* empty, float length, float total, float good) {
  return [=](DisplayRun& d) {
    d.settings.PERBAR_CHR = full;
    d.settings.PERBAR_NON = empty;
    d.settings.PERBAR_LEN = length;
    d.SetCounts(total, good);
  };
}

const Prepare kNone = [](DisplayRun&) {};

TEST(Template, Expands) {
  // The fixture: Site, Rel, bob of grp, 7 of 10 good, 1 bad, 2 missing, a bar
  // of 10 "X" and "o", lines 20 wide.
  struct Row {
    const char* name;
    Prepare setup;
    std::string text;
    bool completeFlag;
    std::string expanded;  // when no error
    int error;
  };
  const Row rows[] = {
      {"counters and sums",
       [](DisplayRun& d) { d.run.counters.ioErrorFiles = 4, d.run.counters.blankEntries = 5; },
       "%g/%t/%b/%d/%c/%k/%m/%e/%u", false, "7/10/1/3/5/7/2/4/5", 0},
      {"letter case counts", kNone, "%G %T", false, "%G %T", 0},
      {"text values",
       [](DisplayRun& d) { d.run.id3Year = "1999", d.run.id3Genre = "Rock", d.run.bValue = "192"; },
       "%s|%r|%i|%w|%y|%h|%o", false, "Site|Rel|bob|grp|1999|Rock|192", 0},
      {"%% before %i", kNone, "%%i", false, "bob", 0},
      {"%g before %%", kNone, "%%g", false, "%7", 0},
      {"%%", kNone, "100%%", false, "100%", 0},
      {"early values searched later", [](DisplayRun& d) { d.settings.SITENAME = "by %i"; }, "%s",
       false, "by bob", 0},
      {"late values not", [](DisplayRun& d) { d.run.releaseName = "Rel %g"; }, "%r", false,
       "Rel %g", 0},
      {"sizes", [](DisplayRun& d) { d.run.counters.releaseSizeKb = 123456.78f; }, "%f KB, %F MB",
       false, "123456.8 KB, 123.5 MB", 0},
      {"average needs the flag", [](DisplayRun& d) { d.run.lTotal = 150; }, "%l", false, "0", 0},
      {"average", [](DisplayRun& d) { d.run.lTotal = 150; }, "%l", true, "21", 0},
      {"average halves to even", [](DisplayRun& d) { d.SetCounts(4, 4), d.run.lTotal = 10; }, "%l",
       true, "2", 0},
      {"complete-only mark", kNone, "%@All %t files here", false, "", 0},
      {"complete-only mark, complete", [](DisplayRun& d) { d.run.releaseComplete = true; },
       "%@All %t files here%@", false, "All 10 files here", 0},
      {"bar and percent", kNone, "[%p] %n%%", false, "[XXXXXXXooo] 70%", 0},
      {"empty release", Counts(0, 0), "plain text", false, "", platform::kDivisionByZero},
      {"empty release, complete-only", Counts(0, 0), "%@done", false, "", 0},
      {"no good file, with the flag", Counts(3, 0, 3), "x", true, "", platform::kDivisionByZero},
      {"no good file", Counts(3, 0, 3), "x", false, "x", 0},
      // Ranking: biggest first, equal sizes the later record first.
      {"ranking", Users({{"amy", 300}, {"ben", 100}, {"cat", 200}}), "%RR %RU %RSb", false,
       "01 amy 300\r\n02 cat 200\r\n03 ben 100", 0},
      {"ranking records",
       [](DisplayRun& d) {
         d.SetCounts(3, 3), AddUser(d, "amy", 1500.25, 1), AddUser(d, "ben", 1000, 2);
       },
       "%RR|%RU|%RG|%RL|%RSm|%RF|%RCu|%RCg|%RP", false,
       "01|amy|amy-grp|12.5|1.50025|1|2|2|30\r\n02|ben|ben-grp|12.5|1|2|2|2|70", 0},
      {"ranks from ten",
       [](DisplayRun& d) {
         for (int i = 1; i <= 10; ++i) AddUser(d, "u" + std::to_string(i), 100 * i, 1);
       },
       "%RR", false, "01\r\n02\r\n03\r\n04\r\n05\r\n06\r\n07\r\n08\r\n09\r\n10", 0},
      {"equal sizes", Users({{"amy", 500}, {"ben", 500}}), "%RU", false, "ben\r\namy", 0},
      {"no records", kNone, "%RR %RU", false, "%RR %RU", 0},
      {"rank key naming no record", [](DisplayRun& d) { AddUser(d, "amy", 300, 1, "300.7"); },
       "%RU", false, "", 9},
      {"ranking in columns", Users({{"amy", 300}, {"bo", 100}}), "%<%RU%>4#|", false,
       "amy |\r\nbo  |", 0},
      // 2 lines of 3 + CR LF = 8 characters; filled to 20 with the two markers.
      {"ranking filled", Users({{"amy", 300}, {"bo", 100}}), "%RU%#2", false,
       "amy      \r\nbo       ", 0},
      // The bar is never full for an unfinished release.
      {"bar 39 of 40", Counts(40, 39), "%p", false, "XXXXXXXXXo", 0},
      {"bar 95 %", Counts(20, 19), "%p", false, "XXXXXXXXXo", 0},
      {"bar empty", Counts(40, 0), "%p", false, "oooooooooo", 0},
      {"bar full", Counts(40, 40), "%p", false, "XXXXXXXXXX", 0},
      {"bar takes off a character", Bar("##", "--", 10, 40, 39), "%p", false,
       std::string(19, '#') + "--", 0},
      {"bar of 2.5 units", Bar("##", "--", 2.5f, 4, 0), "%p", false, "----", 0},
      {"bar of no units", Bar("##", "--", 0, 40, 39), "%p", false, "--", 0},
      {"column", kNone, "%<ab%>5#|", false, "ab   |", 0},
      {"column overfull", kNone, "%<abcdef%>3#|", false, "abcdef|", 0},
      {"columns", kNone, "%<a%>3#%<bb%>4#|", false, "a  bb  |", 0},
      {"columns apart", kNone, "%<a%>3# %<a%>3#|", false, "a   a  |", 0},
      {"a later code measures 2", kNone, "%<%n%>5#|", false, "70   |", 0},
      {"width with leading zero", kNone, "%<ab%>05#|", false, "ab%>05#|", 0},
      {"width with sign", kNone, "%<ab%>+5#|", false, "ab%>+5#|", 0},
      {"column without #", kNone, "%<ab%>5|", false, "", platform::kInvalidArgument},
      {"column end first", kNone, "%>5# %<ab", false, "", platform::kInvalidArgument},
      {"column width no number", kNone, "%<ab%>x#", false, "", platform::kTypeMismatch},
      {"column width empty", kNone, "%<ab%>#", false, "", platform::kTypeMismatch},
      {"column width too big", kNone, "%<ab%>99999#", false, "", platform::kOverflow},
      {"no group end", kNone, "%<ab", false, "ab", 0},
      // Nine characters with two markers: 17 blanks, 8 for the first, 9 for the last.
      {"fill shares", kNone, "ab%#2c%#2", false,
       "ab" + std::string(8, ' ') + "c" + std::string(9, ' '), 0},
      {"fill one", kNone, "a%#1", false, "a" + std::string(19, ' '), 0},
      {"fill three", kNone, "%#3a%#3b%#3c", false, "     a     b       c", 0},
      {"fill four evenly", kNone, "%#4%#4%#4%#4abcd", false, std::string(16, ' ') + "abcd", 0},
      {"fill past the width", kNone, "a long line of text%#1 that is past the width", false,
       "a long line of text that is past the width", 0},
      {"fill measures the final text", kNone, "%n%%%#1", false, "70%" + std::string(17, ' '), 0},
      {"fill without count", kNone, "a%#", false, "", platform::kTypeMismatch},
      {"fill count no number", kNone, "a%#x", false, "", platform::kTypeMismatch},
      {"fill count 0", kNone, "a%#0", false, "", platform::kDivisionByZero},
      {"fill marker missing", kNone, "ab%#2", false, "", platform::kInvalidArgument},
      // With three announced the third search starts over and finds the first.
      {"fill of three, one written", kNone, "abc%#3", false, "abc" + std::string(9, ' '), 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    DisplayRun d;
    row.setup(d);
    std::string expanded;
    EXPECT_EQ(OsErrorOf([&] { expanded = ExpandTemplate(d.run, row.text, row.completeFlag); }),
              row.error);
    EXPECT_EQ(expanded, row.expanded);
  }
}

TEST(Template, ClockCodes) {
  DisplayRun d;
  const auto format = [](const platform::LocalTime& t) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return std::string(buffer);
  };
  const std::string before = format(platform::Now());
  const std::string text = ExpandTemplate(d.run, "%Q %q", false);
  EXPECT_TRUE(text == before || text == format(platform::Now())) << text;
}

}  // namespace
}  // namespace display_test
