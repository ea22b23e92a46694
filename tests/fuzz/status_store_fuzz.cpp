// A garbled or hostile .sfvStatus in the release folder. Reading it never
// fails, names that later runs delete stay plain names, and what a run writes
// reads back to the same text.
#include "checker/run/check_run.h"
#include "checker/run/phases.h"
#include "checker/run/status_store.h"
#include "common/strings.h"
#include "release/paths.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/support/run_under_test.h"

namespace {

// Reads the store the way a run does and gives the text it writes, its status
// text the same; `first` also checks what it read and counts an upload.
std::string ReadAndFormat(std::string_view input, bool first) {
  support::RunUnderTest fuzzRun;
  CheckRun& run = fuzzRun.run;
  run.releaseDir = fuzz::ScratchFolder();
  run.userName = run.statUserName = "bob";
  run.groupName = run.statGroupName = "grp";
  run.statLValue = 100;  // lTotal 0: the store's sum reads back unchanged
  run.id3Year = "no_id3_year";
  run.id3Genre = "no_id3_genre";
  ReadStatusStore(run);
  run.statusFlags = run.previousStatusFlags;
  const std::string text = FormatStatusStore(run);
  if (first) {
    for (const std::string* name : {&run.headerName, &run.parentEntryName}) {
      FUZZ_CHECK(name->empty() || strings::IsPlainName(*name), input);
    }
    FUZZ_CHECK(run.userStats.size() == run.rankKeys.size(), input);
    run.counters.runGoodCount = 2;
    run.counters.runSizeKb = 1234.5;
    UpdateUserStats(run);
    FormatStatusStore(run);
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::AsText(data, size);
  const std::string path = fuzz::ScratchPath(release::kStatusStoreName);
  support::WriteFile(path, input);
  const std::string written = ReadAndFormat(input, true);
  support::WriteFile(path, written);
  FUZZ_CHECK(ReadAndFormat(input, false) == written, input);
  return 0;
}
