#include "checker/run/error_log.h"

#include "checker/run/phases.h"
#include "common/numtext.h"
#include "common/strings.h"
#include "common/version.h"
#include "platform/platform.h"

namespace {

std::string ErrorLogPath(const CheckRun& run) {
  return run.releaseDir + platform::kSeparator + kErrorLogName;
}

// A folder to write the log into: the release folder once it is known, and
// never a drive or file-system root (which a bare "\errorlog.txt" would be).
bool HasReleaseFolder(const CheckRun& run) {
  const std::string& folder = run.releaseDir;
  bool isDrive = folder.size() == 2 && folder[1] == ':';
  return !folder.empty() && !isDrive && platform::FolderExists(folder);
}

void DeleteFolderIfExists(const std::string& path) {
  if (!path.empty() && platform::FolderExists(path)) platform::DeleteFolder(path);
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
      "http://www.example.org/corvane",
      "http://forum.example.org/corvane",
      "support@example.org",
  };
  lines.insert(lines.end(), note.begin(), note.end());
  return lines;
}

void HandleRunError(CheckRun& run, int number, const std::string& description) {
  // Before the release folder is known the run has made nothing, and has
  // nowhere to put its log.
  if (!run.settings.ON_ERR_MK_FILE || !HasReleaseFolder(run)) return;
  DeleteFolderIfExists(run.estimateFolder);
  ClearCheckInProgress(run);
  ClearParentInProgress(run);
  platform::WriteTextLines(ErrorLogPath(run), ErrorLogLines(run, number, description));
}

void EndOfRunCleanup(CheckRun& run) {
  ClearCheckInProgress(run);
  DeleteFolderIfExists(run.estimateFolder);
  ClearParentInProgress(run);
  const std::string log = ErrorLogPath(run);
  if (platform::FileExists(log)) platform::DeleteFile(log, false);
}
