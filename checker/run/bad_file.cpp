// A file that failed its check: with HANDLE_BAD_FILES 1 it takes the place of
// an older ".bad" file and gets its permission entry, with 2 it is deleted,
// otherwise it stays. Each action's failure is ignored. A file that another
// process still writes into has no verdict yet: moving or deleting it would
// lose the upload that is arriving, so it is left alone.
#include "checker/run/permissions.h"
#include "checker/run/phases.h"
#include "release/ignore_failure.h"
#include "release/removal.h"

using release::IgnoreFailure;

bool SetBadFileAside(CheckRun& run, const std::string& path, OlderBadFile older) {
  if (run.files.IsBeingWritten(path)) return false;
  const std::int16_t handling = run.settings.HANDLE_BAD_FILES;
  const bool setAside = handling == 1 || handling == 2;
  const std::string moved = path + ".bad";
  if (setAside || older == OlderBadFile::kAlwaysRemoved)
    IgnoreFailure([&] { release::DeleteIfExists(run.files, moved); });
  if (handling == 1) {
    IgnoreFailure([&] { run.files.MoveFile(path, moved); });
    IgnoreFailure(
        [&] { SetPermissions(run, kReleaseEntryMode, run.userName, run.groupName, moved, 0); });
  } else if (handling == 2) {
    IgnoreFailure([&] { run.files.DeleteFile(path, false); });
  }
  return true;
}
