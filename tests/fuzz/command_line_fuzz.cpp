// The command line the server starts the checker with. The first input line
// is the SITECMD setting, the rest the command line. The parsed path is then
// taken as an upload inside the scratch folder, where "a.r01" exists, for the
// server-CRC step.
#include "checker/run/check_run.h"
#include "checker/run/phases.h"
#include "platform/os_error.h"
#include "platform/platform.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/support/run_under_test.h"

namespace {

const std::string& ScratchWithUpload() {
  static const std::string folder = [] {
    fuzz::PutFile(fuzz::ScratchPath("a.r01"), "data");
    return fuzz::ScratchFolder();
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::AsText(data, size);
  const fuzz::HeadAndRest parts = fuzz::SplitHead(input);
  support::RunUnderTest fuzzRun;
  CheckRun& run = fuzzRun.run;
  fuzzRun.settings.SITECMD = parts.head;
  run.targetPath = parts.rest;
  try {
    ParseCommandLine(run);
  } catch (const platform::OsError&) {
    return 0;  // a line the server would not send: the run's error log
  }
  FUZZ_CHECK(run.targetPath.find('"') == std::string::npos, input);
  FUZZ_CHECK(run.targetPath.size() <= parts.rest.size(), input);
  if (!run.id3Genre.empty()) FUZZ_CHECK(run.id3Genre.find('/') == std::string::npos, input);
  FUZZ_CHECK(run.bValue.find('/') == std::string::npos, input);

  run.targetPath = ScratchWithUpload() + platform::kSeparator + run.targetPath;
  if (TakeServerCrc(run)) {
    FUZZ_CHECK(run.serverCrc.size() <= 8, input);
    FUZZ_CHECK(!run.releaseDir.empty(), input);
    FUZZ_CHECK(run.targetPath.starts_with(run.releaseDir + platform::kSeparator), input);
  }
  return 0;
}
