// file_id.diz as it comes out of an uploaded archive: any text. A count that
// is not a number is an error the run logs; anything else gives a count or
// none.
#include "checker/run/check_run.h"
#include "checker/run/phases.h"
#include "platform/os_error.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/support/run_under_test.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::AsText(data, size);
  support::WriteFile(fuzz::ScratchPath("file_id.diz"), input);
  support::RunUnderTest fuzzRun;
  fuzzRun.run.releaseDir = fuzz::ScratchFolder();
  fuzzRun.run.isZipUpload = true;
  try {
    FUZZ_CHECK(ReadZipExpectedCount(fuzzRun.run) == (fuzzRun.run.counters.totalFiles != 0), input);
  } catch (const platform::OsError&) {
  }
  return 0;
}
