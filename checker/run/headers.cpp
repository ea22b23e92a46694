// Progress headers inside the release folder: the in-progress marker while a
// check runs, one header whose name shows the state, and the sweep that
// clears leftover headers by keyword.
#include <string>

#include "checker/run/phases.h"
#include "checker/run/run_error.h"
#include "checker/run/status_entry.h"
#include "platform/platform.h"

namespace {

constexpr const char* kInProgressName = "SFV CHECK IN PROGRESS - WAIT FOR RESULT";
constexpr const char* kNameCharsNote =
    " does not contain any of these characters /\\:*?<>|\"\r\n"
    "And make sure that your SITENAME & PERBAR_CHR & PERBAR_NON do not contain any of the "
    "characters mentioned above";

std::string ReleasePrefix(const CheckRun& run) { return run.releaseDir + platform::kSeparatorText; }

std::string InProgressPath(const CheckRun& run) { return ReleasePrefix(run) + kInProgressName; }

// The sweep's rule for one entry: names holding the keyword go, or with
// DEL_NOT_CONTAIN the names without it. Folders go with their content; files
// only when empty. Each test ignores its own failure.
void SweepEntry(const CheckRun& run, const std::string& name) {
  const settings::CheckerSettings& s = run.settings;
  const bool holdsKeyword = name.find(s.DELKEYWORD) != std::string::npos;
  if (holdsKeyword == s.DEL_NOT_CONTAIN) return;
  const std::string path = ReleasePrefix(run) + name;
  IgnoreFailure([&] {
    if (platform::FolderExists(path)) platform::DeleteTree(path);
  });
  IgnoreFailure([&] {
    if (platform::FileExists(path) && platform::FileLength(path) == 0) {
      platform::DeleteFile(path, false);
    }
  });
}

// MP3 releases that came with ID3 details get the MP3 templates.
bool UsesMp3Templates(const CheckRun& run) {
  return run.isMp3Release &&
         (!run.bValue.empty() || !run.id3Genre.empty() || run.id3Year != "    ");
}

// Expands the state's template into `header` (which keeps the expansion for
// the rest of the run), makes the header and hands it to its owner.
void MakeHeader(CheckRun& run, std::string& header, const std::string& templateText,
                const std::string& key, const std::string& keyNote) {
  header = ExpandTemplate(run, templateText, run.releaseComplete);
  SetErrorContext(run, "Writing status report folder header using " + key + " from corvane.ini",
                  "Make sure your " + key + keyNote + kNameCharsNote);
  if (!header.empty()) {
    MakeStatusEntry(ReleasePrefix(run), header, run.settings.FILE_HEADER);
    SetPermissions(run, "554", run.userName, run.groupName, ReleasePrefix(run) + header, 0);
  }
  run.headerName = header;
}

}  // namespace

void SweepOldHeaders(CheckRun& run) {
  IgnoreFailure([&] {
    for (const platform::DirEntry& entry : platform::ListFolder(run.releaseDir)) {
      SweepEntry(run, entry.name);
    }
  });
}

void MarkCheckInProgress(CheckRun& run) {
  if (run.settings.MK_FOLDER_HEADER && !platform::FolderExists(InProgressPath(run))) {
    platform::CreateFolder(InProgressPath(run));
  }
}

void ClearCheckInProgress(CheckRun& run) {
  if (platform::FolderExists(InProgressPath(run))) platform::DeleteTree(InProgressPath(run));
}

void WriteProgressHeader(CheckRun& run) {
  settings::CheckerSettings& s = run.settings;
  const bool mp3 = UsesMp3Templates(run);
  if (run.releaseComplete) {
    if (!s.BADMSG.empty()) RemoveStatusEntry(ReleasePrefix(run), run.headerName, s.FILE_HEADER);
    MakeHeader(run, s.GOODMSG, mp3 ? s.MP3GOODMSG : s.GOODMSG, "GOODMSG",
               " (defined in corvane.ini) entry");
  } else {
    RemoveStatusEntry(ReleasePrefix(run), run.headerName, s.FILE_HEADER);
    MakeHeader(run, s.BADMSG, mp3 ? s.MP3BADMSG : s.BADMSG, "BADMSG", " entry in corvane.ini");
  }
}
