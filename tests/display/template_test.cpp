// The template expander: value codes and their order, the complete-only mark,
// ranking block, progress bar, fixed-width columns and the line-width fill,
// with their failures.
#include <gtest/gtest.h>

#include <functional>

#include "checker/run/phases.h"
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

// The expansion of `text`, or "!N" when it fails with error N.
std::string Expanded(DisplayRun& d, const std::string& text, bool completeFlag = false) {
  std::string expanded;
  const int error = OsErrorOf([&] { expanded = ExpandTemplate(d.run, text, completeFlag); });
  return error == 0 ? expanded : "!" + std::to_string(error);
}

// The fixture's run: Site, Rel, bob of grp, 7 of 10 good, 1 bad, 2 missing, a
// bar of 10 "X" and "o", lines 20 wide.
TEST(Template, ExpandsTheFixturesRun) {
  const std::pair<std::string, std::string> rows[] = {
      {"%g/%t/%b/%d/%c/%k/%m", "7/10/1/3/1/3/2"},
      {"%s|%r|%i|%w", "Site|Rel|bob|grp"},
      {"%%i", "bob"},
      {"%l", "0"},  // %l only with the flag
      {"%@All %t files here", ""},
      {"[%p] %n%%", "[XXXXXXXooo] 70%"},
      // Columns: a code replaced later is measured as its two characters.
      {"%<ab%>5#|", "ab   |"},
      {"%<%n%>5#|", "70   |"},
      {"%<ab%>+5#|", "ab%>+5#|"},
      {"%<ab%>5|", "!5"},
      {"%<ab%>x#", "!13"},
      {"%<ab%>99999#", "!6"},
      // Line fill: three characters and two markers share 17 blanks, the last the larger part.
      {"ab%#2c%#2", "ab        c         "},
      {"a long line of text%#1 past the width", "a long line of text past the width"},
      {"a%#0", "!11"},
      {"ab%#2", "!5"},             // two announced, one written, an uneven share
      {"abc%#3", "abc         "},  // the third search starts over and finds the first
  };
  for (const auto& [text, expanded] : rows) {
    DisplayRun d;
    EXPECT_EQ(Expanded(d, text), expanded) << text;
  }
}

TEST(Template, ExpandsOtherRuns) {
  struct Row {
    const char* name;
    Prepare prepare;
    std::string text;
    std::string expanded;
    bool completeFlag = false;
  };
  const Row rows[] = {
      {"more counters, ID3 values",
       [](DisplayRun& d) {
         d.run.counters.ioErrorFiles = 4, d.run.counters.blankEntries = 5;
         d.run.id3Year = "1999", d.run.id3Genre = "Rock", d.run.bValue = "192";
       },
       "%e/%u/%c|%y|%h|%o", "4/5/5|1999|Rock|192"},
      {"early values searched later, late values not",
       [](DisplayRun& d) { d.settings.SITENAME = "by %i", d.run.releaseName = "Rel %g"; }, "%s|%r",
       "by bob|Rel %g"},
      {"sizes", [](DisplayRun& d) { d.run.counters.releaseSizeKb = 123456.78f; }, "%f KB, %F MB",
       "123456.8 KB, 123.5 MB"},
      {"average", [](DisplayRun& d) { d.run.lTotal = 150; }, "%l", "21", true},
      {"complete-only mark", [](DisplayRun& d) { d.run.releaseComplete = true; }, "%@All %t%@",
       "All 10"},
      {"empty release", Counts(0, 0), "plain text", "!11"},
      {"no good file, flag", Counts(3, 0, 3), "x", "!11", true},
      {"ranking biggest first", Users({{"amy", 300}, {"ben", 100}, {"cat", 200}}), "%RR %RU %RSb",
       "01 amy 300\r\n02 cat 200\r\n03 ben 100"},
      {"ranking records",
       [](DisplayRun& d) {
         d.SetCounts(3, 3), AddUser(d, "amy", 1500.25, 1), AddUser(d, "ben", 1000, 2);
       },
       "%RU|%RG|%RL|%RSm|%RF|%RCu|%RCg|%RP",
       "amy|amy-grp|12.5|1.50025|1|2|2|30\r\nben|ben-grp|12.5|1|2|2|2|70"},
      {"rank key naming no record", [](DisplayRun& d) { AddUser(d, "amy", 300, 1, "300.7"); },
       "%RU", "!9"},
      // The bar is never full for an unfinished release.
      {"bar 95 %", Counts(20, 19), "%p", "XXXXXXXXXo"},
  };
  for (const Row& row : rows) {
    DisplayRun d;
    row.prepare(d);
    EXPECT_EQ(Expanded(d, row.text, row.completeFlag), row.expanded) << row.name;
  }
}

}  // namespace
}  // namespace display_test
