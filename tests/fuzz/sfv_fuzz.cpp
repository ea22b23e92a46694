// SFV files as uploaders send them. A listed name that the verification pass
// accepts must lead to a path inside the release; rewriting the SFV keeps its
// entries exactly and is stable; and the verification pass itself, run over a
// small release, handles every entry without touching anything outside it.
#include <filesystem>
#include <memory>

#include "checker/run/check_run.h"
#include "checker/run/phases.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "release/paths.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/support/run_under_test.h"

namespace {

namespace fs = std::filesystem;

// The paths the pass makes for a listed file: the file and its markers.
void CheckStaysInRelease(const CheckRun& run, const std::string& name) {
  if (!release::StaysInRelease(name)) return;
  const fs::path release = fs::path(run.releaseDir).lexically_normal();
  for (const char* suffix : {"", ".missing", ".bad"}) {
    const auto path =
        fs::path(release::ListedFilePath(run.releaseDir, name) + suffix).lexically_normal();
    const auto relative = path.lexically_relative(release);
    FUZZ_CHECK(!relative.empty() && *relative.begin() != "..", name);
  }
}

// A fresh release with one good file, one bad file and a subfolder; the SFV
// under test lies in it.
std::string FreshRelease() {
  const std::string release = fuzz::ScratchPath("release");
  fs::remove_all(release);
  fs::create_directories(release + "/sub");
  fuzz::PutFile(release + "/good.r00", "123456789");  // CRC-32 CBF43926
  fuzz::PutFile(release + "/bad.r01", "x");
  fuzz::PutFile(release + "/sub/c.r02", "");
  return release;
}

std::unique_ptr<support::RunUnderTest> RunOn(const std::string& release) {
  auto fuzzRun = std::make_unique<support::RunUnderTest>();
  CheckRun& run = fuzzRun->run;
  run.releaseDir = release;
  run.targetPath = release + platform::kSeparator + "release.sfv";
  run.userName = "bob";
  settings::CheckerSettings& s = fuzzRun->settings;
  s.APPEND_MSG_TO_SFV = true;
  s.KEEP_WSFV_COMP = true;
  s.sfvCommentBlock = ";checked by corvane\r\n";
  s.ISSERVG6 = true;
  s.CREATE_MISSING = true;
  s.HANDLE_BAD_FILES = 1;
  return fuzzRun;
}

bool SameList(const SfvList& a, const SfvList& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].fileName != b[i].fileName || a[i].expectedCrc != b[i].expectedCrc) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::AsText(data, size);
  const std::string release = FreshRelease();
  const auto first = RunOn(release);
  CheckRun& run = first->run;
  fuzz::PutFile(run.targetPath, input);

  ReadSfvList(run);
  FUZZ_CHECK(run.counters.totalFiles == static_cast<float>(run.sfvList.size()), input);
  for (const SfvEntry& entry : run.sfvList) {
    FUZZ_CHECK(entry.expectedCrc.size() <= 8, input);
    FUZZ_CHECK(entry.fileName.find(';') == std::string::npos, input);
    CheckStaysInRelease(run, entry.fileName);
  }

  RewriteSfv(run);
  const std::string once = run.files.ReadWholeFile(run.targetPath);
  const auto second = RunOn(release);
  CheckRun& again = second->run;
  ReadSfvList(again);
  FUZZ_CHECK(SameList(run.sfvList, again.sfvList), input);
  RewriteSfv(again);
  FUZZ_CHECK(run.files.ReadWholeFile(run.targetPath) == once, input);

  // Only the checks above make this safe: every path the pass may touch lies
  // in the release.
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
