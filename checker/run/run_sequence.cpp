// One checker run from its command line to its exit.
#include <functional>
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
// left beside it went when the run listed the release, at the latest here.
void MarkInProgress(CheckRun& run) {
  ReleaseEntries(run);
  if (!run.settings.DELKEYWORD.empty()) SweepOldHeaders(run);
  MarkCheckInProgress(run);
  WriteWaitMessage(run);
  IgnoreFailure([&] {
    LocateParent(run);
    MarkParentInProgress(run);
  });
}

// Reads, verifies and shows the release. False: a zip set that names no
// count, which goes straight to the clean-up.
bool RunPhases(CheckRun& run) {
  if (run.isZipUpload) {
    if (!ReadZipExpectedCount(run)) return false;
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
  return true;
}

// From the in-progress markers to the end-of-run clean-up. False: a zip set
// that names no count.
bool CheckRelease(CheckRun& run) {
  MarkInProgress(run);
  const bool counted = RunPhases(run);
  EndOfRunCleanup(run);
  return counted;
}

// Every change the run makes to the release comes after the release lock is
// taken, so runs for uploads into the same release take turns; the caller
// holds the lock to the end of the run, error log included.
void CheckUpload(CheckRun& run, std::optional<platform::FolderLock>& releaseLock) {
  ParseCommandLine(run);
  if (!TakeServerCrc(run)) return;
  releaseLock.emplace(run.releaseDir);
  if (!DispatchUpload(run)) return;
  CheckRelease(run);
}

// What a re-check goes through as its upload: the release's SFV, or else the
// first archive of its zip set. False: the folder has neither.
bool TakeRecheckTarget(CheckRun& run) {
  FindReleaseSfv(run);
  if (!run.targetPath.empty()) return true;
  std::vector<std::string> archives;
  IgnoreFailure([&] { archives = ListZipArchives(run); });
  if (archives.empty()) return false;
  run.targetPath = archives.front();
  return true;
}

// Runs `check`, all that can fail into the error log, with the release lock
// that `check` takes held to the end, error log included. False: the run
// failed.
bool RunWithErrorLog(CheckRun& run,
                     const std::function<void(std::optional<platform::FolderLock>&)>& check) {
  std::optional<platform::FolderLock> releaseLock;
  RunFailure failure;
  try {
    check(releaseLock);
    SavePermissionChanges(run);
    return true;
  } catch (const ControlNotMade&) {
    failure = CurrentFailure();
    BlameUnmadeControl(run);
  } catch (...) {
    failure = CurrentFailure();
  }
  // A run that failed before it took the release lock (on a bad option) still
  // writes its log under it. A failure of the handler itself is not handled
  // again.
  IgnoreFailure([&] {
    if (!releaseLock && !run.releaseDir.empty()) releaseLock.emplace(run.releaseDir);
  });
  IgnoreFailure([&] { HandleRunError(run, failure.number, failure.description); });
  return false;
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
  const bool ended = RunWithErrorLog(
      *run, [&](std::optional<platform::FolderLock>& lock) { CheckUpload(*run, lock); });
  return ended ? kExitNormal : kExitFailure;
}

RecheckEnd RecheckRelease(CheckRun& run, const std::string& releaseDir) {
  run.isRecheck = true;
  run.releaseDir = releaseDir;
  run.id3Year = kNoId3Year;
  run.id3Genre = kNoId3Genre;
  run.crc.Algorithm(1);
  bool checked = false;
  const bool ended = RunWithErrorLog(run, [&](std::optional<platform::FolderLock>& lock) {
    lock.emplace(run.releaseDir);
    checked = TakeRecheckTarget(run) && DispatchUpload(run) && CheckRelease(run);
  });
  if (!ended) return RecheckEnd::kFailed;
  return checked ? RecheckEnd::kChecked : RecheckEnd::kNoRelease;
}
