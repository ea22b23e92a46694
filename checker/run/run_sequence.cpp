// One checker run from its command line to its exit.
#include <memory>
#include <optional>

#include "checker/run/permissions.h"
#include "checker/run/phases.h"
#include "checker/run/run_error.h"
#include "common/strings.h"
#include "platform/platform.h"
#include "release/ignore_failure.h"
#include "settings/checker_settings.h"

namespace {

using release::IgnoreFailure;

constexpr int kExitNormal = 0;
constexpr int kExitFailure = 1;

void ShowSettingsError(const std::string& text) {
  platform::ShowMessageBox("Critical Error", text, platform::MessageIcon::kError);
}

// What kind of upload this is. False when the run ends here.
bool DispatchUpload(CheckRun& run) {
  if (HandleStatusStoreUpload(run)) return false;
  const std::string lowerPath = strings::ToLower(run.targetPath);
  run.isZipUpload = lowerPath.find(".zip") != std::string::npos;
  if (lowerPath.find(".sfv") == std::string::npos) {
    run.uploadedName = strings::AfterLastSeparator(run.targetPath);
    run.isDataUpload = true;
    if (!run.isZipUpload) FindReleaseSfv(run);
  }
  SetErrorContext(run, "Unzipping file_id.diz from ZIP file",
                  "Make sure unzip.exe is in the same folder as corvane.exe");
  // A data file of a release without an SFV file.
  if (!run.isZipUpload && !strings::EndsWithIgnoreCase(run.targetPath, "sfv")) return false;
  if (run.isZipUpload && !ExtractFileIdDiz(run)) return false;
  return run.files.FileExists(run.targetPath);
}

// Shows that a check runs. The parent folder is a courtesy: a failure
// while finding it or marking it skips the rest of both. The run replaces
// files of the release from here on; what runs killed while replacing one
// left beside it goes first.
void MarkInProgress(CheckRun& run) {
  run.files.RemoveLeftoverTemporaries(run.releaseDir);
  if (!run.settings.DELKEYWORD.empty()) SweepOldHeaders(run);
  MarkCheckInProgress(run);
  WriteWaitMessage(run);
  IgnoreFailure([&] {
    LocateParent(run);
    MarkParentInProgress(run);
  });
}

// Reads, verifies and shows the release; a zip set that names no count goes
// straight to the clean-up.
void RunPhases(CheckRun& run) {
  if (run.isZipUpload) {
    if (!ReadZipExpectedCount(run)) return;
  } else {
    ReadSfvList(run);
  }
  ReadStatusStore(run);
  if (run.isZipUpload) {
    TestZipRelease(run);
  } else {
    VerifyRelease(run);
  }
  WriteProgressHeader(run);
  WriteParentEntry(run);
  if (run.releaseComplete) {
    RewriteSfv(run);
    LockRelease(run);
  }
  UpdateUserStats(run);
  WriteStatusStore(run);
  WriteMessageFile(run);
  DeleteStatusStore(run);
}

// Everything after the settings, all that can fail into the error log. Every change
// the run makes to the release comes after the release lock is taken, so runs
// for uploads into the same release take turns; the caller holds the lock to
// the end of the run, error log included.
void CheckUpload(CheckRun& run, std::optional<platform::FolderLock>& releaseLock) {
  ParseCommandLine(run);
  if (!TakeServerCrc(run)) return;
  releaseLock.emplace(run.releaseDir);
  if (!DispatchUpload(run)) return;
  MarkInProgress(run);
  RunPhases(run);
  EndOfRunCleanup(run);
}

}  // namespace

int RunChecker(const std::string& programFolder, const std::string& commandLine,
               platform::FileSystem& files, PermissionControl& permissions) {
  if (!files.FileExists(settings::SettingsFilePath(programFolder))) {
    ShowSettingsError(
        "corvane.ini not found. Cannot execute program without settings file. "
        "Aborting.");
    return kExitFailure;
  }
  settings::CheckerSettings loaded;
  try {
    loaded = settings::LoadSettings(files, programFolder);
  } catch (const std::exception&) {
    ShowSettingsError(
        "corvane.ini could not be read. Cannot execute program without settings "
        "file. Aborting.");
    return kExitFailure;
  }
  auto run = std::make_unique<CheckRun>(loaded, files, permissions);
  run->programFolder = programFolder;
  run->commandLine = commandLine;
  run->targetPath = commandLine;

  std::optional<platform::FolderLock> releaseLock;
  RunFailure failure;
  try {
    CheckUpload(*run, releaseLock);
    SavePermissionChanges(*run);
    return kExitNormal;
  } catch (const ControlNotMade&) {
    failure = CurrentFailure();
    BlameUnmadeControl(*run);
  } catch (...) {
    failure = CurrentFailure();
  }
  // A run that failed before it took the release lock (on a bad option) still
  // writes its log under it. A failure of the handler itself is not handled
  // again.
  IgnoreFailure([&] {
    if (!releaseLock && !run->releaseDir.empty()) releaseLock.emplace(run->releaseDir);
  });
  IgnoreFailure([&] { HandleRunError(*run, failure.number, failure.description); });
  return kExitFailure;
}
