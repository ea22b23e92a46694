// Progress headers inside the release folder: the in-progress marker while a
// check runs, one header whose name shows the state, and the sweep that
// clears leftover headers by keyword.
#include <string>

#include "checker/run/permissions.h"
#include "checker/run/phases.h"
#include "checker/run/status_entry.h"
#include "platform/platform.h"
#include "release/ignore_failure.h"
#include "release/own_files.h"
#include "release/removal.h"

namespace {

using release::IgnoreFailure;

constexpr const char* kNameCharsNote =
    " does not contain any of these characters /\\:*?<>|\"\r\n"
    "And make sure that your SITENAME & PERBAR_CHR & PERBAR_NON do not contain any of the "
    "characters mentioned above";

std::string ReleasePrefix(const CheckRun& run) { return run.releaseDir + platform::kSeparatorText; }

std::string InProgressPath(const CheckRun& run) {
  return ReleasePrefix(run) + release::kInProgressName;
}

// The sweep's rule for one entry: names holding the keyword go, or with
// DEL_NOT_CONTAIN the names without it. Folders go with their content; files
// only when empty. Each test ignores its own failure. True: the entry is gone.
bool SweepEntry(const CheckRun& run, const std::string& name) {
  const settings::CheckerSettings& s = run.settings;
  const bool holdsKeyword = name.find(s.DELKEYWORD) != std::string::npos;
  if (holdsKeyword == s.DEL_NOT_CONTAIN) return false;
  const std::string path = ReleasePrefix(run) + name;
  platform::FileSystem& files = run.files;
  IgnoreFailure([&] {
    if (files.FolderExists(path)) files.DeleteTree(path);
  });
  IgnoreFailure([&] {
    if (files.FileExists(path) && files.FileLength(path) == 0) files.DeleteFile(path, false);
  });
  bool gone = false;
  IgnoreFailure([&] { gone = !files.PathExists(path); });
  return gone;
}

// MP3 releases that came with ID3 details get the MP3 templates.
bool UsesMp3Templates(const CheckRun& run) {
  return run.isMp3Release &&
         (!run.bValue.empty() || !run.id3Genre.empty() || run.id3Year != "    ");
}

// Expands the state's template into `header` (the run's copy of the
// expansion), makes the header and hands it to its owner.
void MakeHeader(CheckRun& run, std::string& header, const std::string& templateText,
                const std::string& key, const std::string& keyNote) {
  header = ExpandTemplate(run, templateText, run.releaseComplete);
  SetErrorContext(run, "Writing status report folder header using " + key + " from corvane.ini",
                  "Make sure your " + key + keyNote + kNameCharsNote);
  if (!header.empty()) {
    MakeStatusEntry(run.files, ReleasePrefix(run), header, run.settings.FILE_HEADER);
    SetPermissions(run, kReleaseEntryMode, run.userName, run.groupName, ReleasePrefix(run) + header,
                   0);
  }
  run.headerName = header;
}

}  // namespace

void SweepOldHeaders(CheckRun& run) {
  std::erase_if(ReleaseEntries(run),
                [&](const platform::DirEntry& entry) { return SweepEntry(run, entry.name); });
}

void MarkCheckInProgress(CheckRun& run) {
  if (run.settings.MK_FOLDER_HEADER && !run.files.FolderExists(InProgressPath(run))) {
    run.files.CreateFolder(InProgressPath(run));
  }
}

void ClearCheckInProgress(CheckRun& run) {
  if (run.files.FolderExists(InProgressPath(run))) run.files.DeleteTree(InProgressPath(run));
}

void WriteProgressHeader(CheckRun& run) {
  const settings::CheckerSettings& s = run.settings;
  const bool mp3 = UsesMp3Templates(run);
  if (run.releaseComplete) {
    if (!s.BADMSG.empty())
      release::RemoveStatusEntry(run.files, ReleasePrefix(run), run.headerName, s.FILE_HEADER);
    MakeHeader(run, run.expanded.goodMsg, mp3 ? s.MP3GOODMSG : s.GOODMSG, "GOODMSG",
               " (defined in corvane.ini) entry");
  } else {
    release::RemoveStatusEntry(run.files, ReleasePrefix(run), run.headerName, s.FILE_HEADER);
    MakeHeader(run, run.expanded.badMsg, mp3 ? s.MP3BADMSG : s.BADMSG, "BADMSG",
               " entry in corvane.ini");
  }
}
