#include "checker/run/error_log.h"

#include "checker/run/permissions.h"
#include "checker/run/phases.h"
#include "common/contact.h"
#include "common/numtext.h"
#include "common/strings.h"
#include "common/version.h"
#include "platform/platform.h"
#include "release/ignore_failure.h"
#include "release/own_files.h"
#include "release/removal.h"

namespace {

std::string ErrorLogPath(const CheckRun& run) {
  return run.releaseDir + platform::kSeparator + release::kErrorLogName;
}

// A folder to write the log into: the release folder once it is known. A
// release in a drive root ("R:") has its log there; an upload without any
// folder has none (a bare "\errorlog.txt" would land in a root it never named).
bool HasReleaseFolder(const CheckRun& run) {
  return !run.releaseDir.empty() && run.files.FolderExists(run.releaseDir);
}

void DeleteFolderIfExists(CheckRun& run, const std::string& path) {
  if (!path.empty() && run.files.FolderExists(path)) run.files.DeleteFolder(path);
}

}  // namespace

std::vector<std::string> ErrorLogLines(const CheckRun& run, int number,
                                       const std::string& description) {
  const std::string version(ProgramVersion());
  std::vector<std::string> lines = {
      "corvane " + version + " error log",
      "",
      "---------Error Information----------",
      "",
      "Error Number: " + numtext::FormatInteger(number),
      "Error Description: " + description,
      "",
      "Executed with parameters: \"" + run.commandLine + "\"",
      "",
      "Action When Error Occured: " + run.errorContext.action,
      "Recommended Solution: ",
      "",
  };
  for (std::string& line : strings::Split(run.errorContext.solution, "\r\n"))
    lines.push_back(std::move(line));
  std::vector<std::string> note = {
      "",
      "",
      "----------------[Note to FTP sysops]---",
      "If suggested solution does not work, e-mail me your corvane.ini file, along with this "
      "errorlog",
      "and a brief explanation of how the situation occured (if possible)",
      "If you do not have the newest version of corvane (build " + version + ") then don't bother",
      "e-mailing me.  I ONLY SUPPORT LATEST VERSION",
      contact::kWebAddress,
      contact::kForumAddress,
      contact::kEmailAddress,
  };
  lines.insert(lines.end(), note.begin(), note.end());
  return lines;
}

void HandleRunError(CheckRun& run, int number, const std::string& description) {
  // The permission changes made before the failure are written; a failure to
  // write them does not hide the one logged.
  release::IgnoreFailure([&] { run.permissions.EndUpdate(); });
  // Before the release folder is known the run has made nothing, and has
  // nowhere to put its log.
  if (!run.settings.ON_ERR_MK_FILE || !HasReleaseFolder(run)) return;
  DeleteFolderIfExists(run, run.estimateFolder);
  ClearCheckInProgress(run);
  ClearParentInProgress(run);
  run.files.WriteTextLines(ErrorLogPath(run), ErrorLogLines(run, number, description));
}

void EndOfRunCleanup(CheckRun& run) {
  ClearCheckInProgress(run);
  DeleteFolderIfExists(run, run.estimateFolder);
  ClearParentInProgress(run);
  release::DeleteIfExists(run.files, ErrorLogPath(run));
}
