// The template expander over any template and any values the settings and
// the status store can hand it. Input lines: the template; SITENAME;
// PERBAR_CHR; PERBAR_NON; the numbers "total good bad missing ioerror blank
// sizeKb PERBAR_LEN OUTPUT_WIDTH complete" separated by blanks; then user
// record lines as the status store holds them. Only %-codes change a text;
// malformed padding codes and zero counts are errors for the run's error log.
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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::AsText(data, size);
  std::vector<std::string> lines = strings::Split(input, "\n");
  lines.resize(std::max<std::size_t>(lines.size(), 5));

  support::RunUnderTest fuzzRun;
  CheckRun& run = fuzzRun.run;
  settings::CheckerSettings& s = fuzzRun.settings;
  s.SITENAME = lines[1];
  // Longer bar units only measure the machine's memory.
  s.PERBAR_CHR = lines[2].substr(0, 16);
  s.PERBAR_NON = lines[3].substr(0, 16);
  ReleaseCounters& c = run.counters;
  float* const numbers[] = {&c.totalFiles,   &c.goodFiles,    &c.badFiles,      &c.missingFiles,
                            &c.ioErrorFiles, &c.blankEntries, &c.releaseSizeKb, &s.PERBAR_LEN};
  std::vector<std::string> fields = strings::Split(lines[4], " ");
  fields.resize(std::max<std::size_t>(fields.size(), 10));
  for (std::size_t i = 0; i < std::size(numbers); ++i) {
    *numbers[i] = numtext::ParseSingle(fields[i]).value_or(0);
  }
  s.OUTPUT_WIDTH = numtext::ParseWholeNumber(fields[8]).value_or(0);
  run.releaseComplete = numtext::ParseSingle(fields[9]).value_or(0) != 0;
  run.userName = run.groupName = "bob";
  run.lTotal = 12.5f;
  run.releaseName = "Some.Release-GRP";
  for (std::size_t i = 5; i < lines.size(); ++i) {
    run.userStats.push_back(ParseUserStat(lines[i], static_cast<std::int16_t>(i - 4)));
    run.rankKeys.push_back(RankKey(run.userStats.back()));
  }

  for (bool completeFlag : {false, true}) {
    try {
      const std::string text = ExpandTemplate(run, lines[0], completeFlag);
      if (lines[0].find('%') == std::string::npos) FUZZ_CHECK(text == lines[0], input);
    } catch (const platform::OsError&) {
    }
  }
  return 0;
}
