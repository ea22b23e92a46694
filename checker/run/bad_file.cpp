// A file that failed its check: with HANDLE_BAD_FILES 1 it takes the place of
// an older ".bad" file and gets its permission entry, with 2 it is deleted,
// otherwise it stays. Each action's failure is ignored.
#include "checker/run/permissions.h"
#include "checker/run/phases.h"
#include "release/ignore_failure.h"
#include "release/removal.h"

using release::IgnoreFailure;

void SetBadFileAside(CheckRun& run, const std::string& path) {
  const std::int16_t handling = run.settings.HANDLE_BAD_FILES;
  if (handling != 1 && handling != 2) return;
  const std::string moved = path + ".bad";
  IgnoreFailure([&] { release::DeleteIfExists(run.files, moved); });
  if (handling == 1) {
    IgnoreFailure([&] { run.files.MoveFile(path, moved); });
    IgnoreFailure(
        [&] { SetPermissions(run, kReleaseEntryMode, run.userName, run.groupName, moved, 0); });
  } else {
    IgnoreFailure([&] { run.files.DeleteFile(path, false); });
  }
}
