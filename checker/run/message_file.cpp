// The release's message file, which the server shows to users entering the
// folder: a waiting note while the first check runs, then the release's state
// from the MSGLINE templates. Each write replaces the file in one step, so a
// user (or a crash) never leaves it half written.
#include <string>

#include "checker/run/phases.h"
#include "platform/platform.h"

namespace {

constexpr const char* kCrLf = "\r\n";

std::string MessageFilePath(const CheckRun& run) {
  return run.releaseDir + platform::kSeparatorText + run.settings.MSGFILE;
}

}  // namespace

void WriteWaitMessage(CheckRun& run) {
  if (run.settings.MSGFILE.empty() || run.files.FileExists(MessageFilePath(run))) return;
  run.files.WriteFileAtomically(MessageFilePath(run),
                                "SFV currently being checked.\r\n"
                                "Please wait a minute for it to complete.\r\n");
}

void WriteMessageFile(CheckRun& run) {
  SetErrorContext(run, "Writing to message file",
                  "Make sure your MSGFILE (defined in corvane.ini) does not contain any of these "
                  "characters /\\:*?<>|\"");
  const settings::CheckerSettings& s = run.settings;
  if (!s.MSGFILE.empty()) {
    std::string content;
    if (s.SHOW_IND_STATUS_IN_MSG) content = run.resultReport + kCrLf;
    for (const std::string& line : s.messageLines) {
      const std::string expanded = ExpandTemplate(run, line, false);
      if (!expanded.empty()) content += expanded + kCrLf;
    }
    run.files.WriteFileAtomically(MessageFilePath(run), content + kCrLf);
  }
  // The server knows the message file as .message whatever MSGFILE names.
  SetPermissions(run, "555", run.userName, run.groupName,
                 run.releaseDir + platform::kSeparatorText + ".message", 1);
}
