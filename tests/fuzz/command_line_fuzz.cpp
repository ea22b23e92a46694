// The command line the server starts the checker with, behind a first line
// that is the SITECMD setting. Taking the server's CRC off the parsed path, an
// upload inside the scratch folder, leaves it inside the release folder.
#include <algorithm>

#include "checker/run/check_run.h"
#include "checker/run/phases.h"
#include "platform/os_error.h"
#include "platform/platform.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/support/run_under_test.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::AsText(data, size);
  const std::size_t lineEnd = std::min(input.find('\n'), input.size());
  support::RunUnderTest fuzzRun;
  CheckRun& run = fuzzRun.run;
  fuzzRun.settings.SITECMD = input.substr(0, lineEnd);
  run.targetPath = input.substr(std::min(lineEnd + 1, input.size()));
  try {
    ParseCommandLine(run);
  } catch (const platform::OsError&) {
    return 0;  // a line the server would not send: the run's error log
  }
  support::WriteFile(fuzz::ScratchPath("a.r01"), "data");
  run.targetPath = fuzz::ScratchFolder() + platform::kSeparator + run.targetPath;
  if (TakeServerCrc(run)) {
    FUZZ_CHECK(run.serverCrc.size() <= 8, input);
    FUZZ_CHECK(run.targetPath.starts_with(run.releaseDir + platform::kSeparator), input);
  }
  return 0;
}
