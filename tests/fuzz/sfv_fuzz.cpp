// SFV files as uploaders send them. A listed name that the verification pass
// accepts must lead to a path inside the release, and the pass itself, run
// over a small release, counts every entry once without touching anything
// outside it.
#include <filesystem>

#include "checker/run/check_run.h"
#include "checker/run/phases.h"
#include "platform/platform.h"
#include "release/paths.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/support/run_under_test.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace fs = std::filesystem;
  const std::string_view input = fuzz::AsText(data, size);
  // One good file, one bad file and a subfolder beside the SFV.
  const std::string release = fuzz::ScratchPath("release");
  fs::remove_all(release);
  support::WriteFile(release + "/good.r00", "123456789");  // CRC-32 CBF43926
  support::WriteFile(release + "/bad.r01", "x");
  support::WriteFile(release + "/sub/c.r02", "");
  support::RunUnderTest fuzzRun;
  CheckRun& run = fuzzRun.run;
  run.releaseDir = release;
  run.targetPath = release + platform::kSeparator + "release.sfv";
  support::WriteFile(run.targetPath, input);
  fuzzRun.settings.ISSERVG6 = fuzzRun.settings.CREATE_MISSING = true;
  fuzzRun.settings.HANDLE_BAD_FILES = 1;

  ReadSfvList(run);
  for (const SfvEntry& entry : run.sfvList) {
    if (!release::StaysInRelease(entry.fileName)) continue;
    for (const char* suffix : {"", ".missing", ".bad"}) {
      const fs::path path(release::ListedFilePath(release, entry.fileName) + suffix);
      const fs::path relative = path.lexically_normal().lexically_relative(release);
      FUZZ_CHECK(!relative.empty() && *relative.begin() != "..", entry.fileName);
    }
  }
  run.isDataUpload = true;
  VerifyRelease(run);
  const ReleaseCounters& c = run.counters;
  FUZZ_CHECK(
      c.goodFiles + c.badFiles + c.missingFiles + c.blankEntries + c.ioErrorFiles == c.totalFiles,
      input);
  for (const auto& entry : fs::directory_iterator(fuzz::ScratchFolder())) {
    FUZZ_CHECK(entry.path().filename() == "release", entry.path().string());
  }
  return 0;
}
