#include "checker/run/phases.h"
#include "release/ignore_failure.h"

std::vector<platform::DirEntry>& ReleaseEntries(CheckRun& run) {
  if (!run.releaseEntries) {
    run.releaseEntries.emplace();
    release::IgnoreFailure(
        [&] { *run.releaseEntries = run.files.ListFolderRemovingLeftovers(run.releaseDir); });
  }
  return *run.releaseEntries;
}
