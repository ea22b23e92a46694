// One checker run from its command line to its exit.
#include <memory>
#include <optional>

#include "checker/run/phases.h"
#include "checker/run/run_error.h"
#include "common/strings.h"
#include "platform/platform.h"
#include "settings/checker_settings.h"

namespace {

constexpr int kExitNormal = 0;
constexpr int kExitFailure = 1;

void ShowSettingsError(const std::string& text) {
  platform::ShowMessageBox("Critical Error", text, platform::MessageIcon::kError);
}

// Stage 4: what kind of upload this is. False when the run ends here.
bool DispatchUpload(CheckRun& run) {
  if (strings::ContainsIgnoreCase(run.targetPath, ".sfvStatus")) {
    HandleStatusStoreUpload(run);
    return false;
  }
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
  return platform::FileExists(run.targetPath);
}

// Stage 5: show that a check runs. The parent folder is a courtesy: a failure
// while finding it or marking it skips the rest of both.
void MarkInProgress(CheckRun& run) {
  if (!run.settings.DELKEYWORD.empty()) SweepOldHeaders(run);
  MarkCheckInProgress(run);
  WriteWaitMessage(run);
  IgnoreFailure([&] {
    LocateParent(run);
    MarkParentInProgress(run);
  });
}

// Stage 6; a zip set that names no count goes straight to the clean-up.
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

// Stages 2 to 7, everything that can fail into the error log. Every change
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

int RunChecker(const std::string& programFolder, const std::string& commandLine) {
  if (!platform::FileExists(settings::SettingsFilePath(programFolder))) {
    ShowSettingsError(
        "corvane.ini not found. Cannot execute program without settings file. "
        "Aborting.");
    return kExitFailure;
  }
  auto run = std::make_unique<CheckRun>();
  try {
    run->settings = settings::LoadSettings(programFolder);
  } catch (const std::exception&) {
    ShowSettingsError(
        "corvane.ini could not be read. Cannot execute program without settings "
        "file. Aborting.");
    return kExitFailure;
  }
  run->programFolder = programFolder;
  run->commandLine = commandLine;
  run->targetPath = commandLine;

  std::optional<platform::FolderLock> releaseLock;
  RunFailure failure;
  try {
    CheckUpload(*run, releaseLock);
    return kExitNormal;
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
