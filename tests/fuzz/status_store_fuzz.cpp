// A garbled or hostile .sfvStatus in the release folder. Reading it never
// fails, names that later runs delete stay plain names, what a run writes
// reads back to the same text, and the ranking codes never fail on it.
#include <algorithm>
#include <limits>

#include "checker/run/check_run.h"
#include "checker/run/phases.h"
#include "checker/run/status_store.h"
#include "common/strings.h"
#include "platform/os_error.h"
#include "release/paths.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/support/run_under_test.h"

namespace {

CheckRun FreshRun() {
  static support::RunUnderTest shared;  // the settings and control every run shares
  shared.settings.ISSERVG6 = true;
  CheckRun run(shared.settings, shared.run.files, shared.permissions);
  run.releaseDir = fuzz::ScratchFolder();
  run.userName = run.statUserName = "bob";
  run.groupName = run.statGroupName = "grp";
  run.statLValue = 100;  // lTotal 0: the store's sum reads back unchanged
  run.id3Year = "no_id3_year";
  run.id3Genre = "no_id3_genre";
  return run;
}

// Reads the store the way a run does; the store's status text is written back
// as this run's.
CheckRun ReadStore() {
  CheckRun run = FreshRun();
  ReadStatusStore(run);
  run.statusFlags = run.previousStatusFlags;
  return run;
}

// The text a run would write, or nothing when writing fails (a run ends
// through its error log then).
std::optional<std::string> StoreText(const CheckRun& run) {
  try {
    return FormatStatusStore(run);
  } catch (const platform::OsError&) {
    return std::nullopt;
  }
}

// No store can make the ranking fail, and with it every later run of the
// release; only names that carry template codes of their own may.
void CheckRanking(CheckRun& run, std::string_view input) {
  run.counters.totalFiles = 3;
  run.counters.goodFiles = 1;
  const bool plainNames = std::none_of(run.userStats.begin(), run.userStats.end(), [](auto& stat) {
    return (stat.userName + stat.groupName).find('%') != std::string::npos;
  });
  try {
    const std::string text =
        ExpandTemplate(run, "%RR %RU %RG %RL %RSb %RSm %RF %RCu %RCg %RP", false);
    FUZZ_CHECK(run.userStats.empty() || !text.empty(), input);
  } catch (const platform::OsError&) {
    FUZZ_CHECK(!plainNames, input);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::AsText(data, size);
  fuzz::PutFile(fuzz::ScratchPath(release::kStatusStoreName), input);

  CheckRun run = ReadStore();
  for (const std::string* name : {&run.headerName, &run.parentEntryName}) {
    FUZZ_CHECK(name->empty() || strings::IsPlainName(*name), input);
  }
  FUZZ_CHECK(run.userStats.size() == run.rankKeys.size(), input);
  FUZZ_CHECK(run.userStats.size() <= std::numeric_limits<std::int16_t>::max(), input);

  // Whatever a run read, it can write, and the next run reads it back to the
  // same text.
  const auto written = StoreText(run);
  FUZZ_CHECK(written, input);
  fuzz::PutFile(fuzz::ScratchPath(release::kStatusStoreName), *written);
  const auto rewritten = StoreText(ReadStore());
  FUZZ_CHECK(rewritten && *rewritten == *written, input);

  CheckRanking(run, input);
  run.counters.runGoodCount = 2;
  run.counters.runSizeKb = 1234.5;
  UpdateUserStats(run);
  FUZZ_CHECK(StoreText(run), input);
  return 0;
}
