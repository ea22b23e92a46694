// The template expander over any template and any values the settings and
// the status store can hand it. Input lines: the template; SITENAME;
// PERBAR_CHR; PERBAR_NON; the numbers "total good bad missing ioerror blank
// sizeKb PERBAR_LEN OUTPUT_WIDTH complete" separated by blanks; then user
// record lines as the status store holds them. Malformed padding codes and
// zero counts are errors the expander hands to the run (its error log); no
// input may do anything else.
#include <algorithm>
#include <vector>

#include "checker/run/check_run.h"
#include "checker/run/phases.h"
#include "checker/run/status_store.h"
#include "common/numtext.h"
#include "common/strings.h"
#include "platform/os_error.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/support/run_under_test.h"

namespace {

constexpr std::size_t kMaxUnitLength = 16;

// Field `i` of a blank-separated line as a single, 0 when absent or not one.
float NumberField(const std::vector<std::string>& fields, std::size_t i) {
  return i < fields.size() ? numtext::ParseSingle(fields[i]).value_or(0) : 0;
}

void FillValues(support::RunUnderTest& fuzzRun, const std::string& numbers) {
  const std::vector<std::string> f = strings::Split(numbers, " ");
  CheckRun& run = fuzzRun.run;
  ReleaseCounters& c = run.counters;
  c.totalFiles = NumberField(f, 0);
  c.goodFiles = NumberField(f, 1);
  c.badFiles = NumberField(f, 2);
  c.missingFiles = NumberField(f, 3);
  c.ioErrorFiles = NumberField(f, 4);
  c.blankEntries = NumberField(f, 5);
  c.releaseSizeKb = NumberField(f, 6);
  fuzzRun.settings.PERBAR_LEN = NumberField(f, 7);
  fuzzRun.settings.OUTPUT_WIDTH = f.size() > 8 ? numtext::ParseWholeNumber(f[8]).value_or(0) : 0;
  run.releaseComplete = NumberField(f, 9) != 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::AsText(data, size);
  std::vector<std::string> lines = strings::Split(input, "\n");
  lines.resize(std::max<std::size_t>(lines.size(), 5));

  support::RunUnderTest fuzzRun;
  CheckRun& run = fuzzRun.run;
  fuzzRun.settings.SITENAME = lines[1];
  // A bar unit is a character or a few: the operator's choice, and a bar of
  // 32767 units of kilobytes each only measures the machine's memory.
  fuzzRun.settings.PERBAR_CHR = lines[2].substr(0, kMaxUnitLength);
  fuzzRun.settings.PERBAR_NON = lines[3].substr(0, kMaxUnitLength);
  FillValues(fuzzRun, lines[4]);
  run.userName = "bob";
  run.groupName = "grp";
  run.releaseName = "Some.Release-GRP";
  run.id3Year = "no_id3_year";
  run.id3Genre = "no_id3_genre";
  run.lTotal = 12.5f;
  for (std::size_t i = 5; i < lines.size(); ++i) {
    run.userStats.push_back(ParseUserStat(lines[i], static_cast<std::int16_t>(i - 4)));
    run.rankKeys.push_back(RankKey(run.userStats.back()));
  }

  // Only %-codes change a text.
  const bool plain = lines[0].find('%') == std::string::npos;
  for (bool completeFlag : {false, true}) {
    try {
      const std::string text = ExpandTemplate(run, lines[0], completeFlag);
      if (plain) FUZZ_CHECK(text == lines[0], input);
    } catch (const platform::OsError&) {
    }
  }
  return 0;
}
