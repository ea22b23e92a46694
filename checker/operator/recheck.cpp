#include "checker/operator/recheck.h"

#include "checker/run/check_run.h"
#include "checker/run/phases.h"
#include "common/numtext.h"
#include "common/terminal.h"
#include "platform/platform.h"
#include "settings/checker_settings.h"

namespace {

constexpr int kComplete = 0;
constexpr int kIncomplete = 1;
constexpr int kNoRelease = 2;

int Refuse(const std::string& text, int status) {
  terminal::Print("corvane --recheck: " + text + "\n", true);
  return status;
}

// The folder as the run names folders: absolute, its links resolved, with no
// separator at the end. Empty for a root, which is no release.
std::string ReleaseFolderOf(platform::FileSystem& files, const std::string& folder) {
  if (!files.FolderExists(folder)) return "";
  std::string resolved = files.ResolvedPath(folder).value_or("");
  while (!resolved.empty() && resolved.back() == platform::kSeparator) resolved.pop_back();
  if (!resolved.empty() && resolved.back() == ':') resolved.clear();  // a drive
  return resolved;
}

std::string Summary(const std::string& folder, const CheckRun& run) {
  const ReleaseCounters& c = run.counters;
  using numtext::FormatSingle;
  return folder + ": " + (run.releaseComplete ? "complete" : "incomplete") + "\n  " +
         FormatSingle(c.goodFiles) + " good, " + FormatSingle(c.badFiles) + " bad, " +
         FormatSingle(c.missingFiles) + " missing, " + FormatSingle(c.ioErrorFiles) +
         " unreadable, of " + FormatSingle(c.totalFiles) + " files\n";
}

}  // namespace

int RecheckFolder(platform::FileSystem& files, PermissionControl& permissions,
                  const std::string& programFolder, const std::string& folder) {
  if (folder.empty())
    return Refuse("name the release folder: corvane --recheck RELEASE_FOLDER", kNoRelease);
  const std::string releaseDir = ReleaseFolderOf(files, folder);
  if (releaseDir.empty()) return Refuse("no release folder " + folder, kNoRelease);
  const std::string settingsPath = settings::SettingsFilePath(programFolder);
  settings::CheckerSettings loaded;
  try {
    loaded = settings::LoadSettings(files, programFolder);
  } catch (const std::exception& error) {
    return Refuse("cannot read " + settingsPath + ": " + error.what(), kIncomplete);
  }
  CheckRun run(loaded, files, permissions);
  run.programFolder = programFolder;
  run.commandLine = "--recheck " + folder;
  switch (RecheckRelease(run, releaseDir)) {
    case RecheckEnd::kNoRelease:
      return Refuse(
          releaseDir + " holds no SFV file and no zip set whose file_id.diz names a count",
          kNoRelease);
    case RecheckEnd::kFailed:
      return Refuse("the check of " + releaseDir + " failed" +
                        (loaded.ON_ERR_MK_FILE ? "; errorlog.txt there tells why" : ""),
                    kIncomplete);
    case RecheckEnd::kChecked:
      break;
  }
  terminal::Print(Summary(releaseDir, run));
  return run.releaseComplete ? kComplete : kIncomplete;
}
