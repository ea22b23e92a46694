// Parent-folder status entries: where a release reports (its parent folder,
// or for a disk subfolder the folder above its main release), the parent
// in-progress marker, and the entry whose name shows the release's state.
#include <string>

#include "checker/run/phases.h"
#include "checker/run/run_error.h"
#include "checker/run/status_entry.h"
#include "common/strings.h"
#include "platform/platform.h"
#include "release/removal.h"

namespace {

using platform::kSeparator;
using platform::kSeparatorText;

constexpr const char* kDriveRootName = "Cannot_Write_Parent_Status--Release_uploaded_to_drive_root";
constexpr const char* kInProgressSuffix = " - Currently being SFV checked...please wait";
constexpr const char* kNameChars = "/\\:*?<>|\"";

std::string ParentInProgressPath(const CheckRun& run) {
  return run.parentPath + run.releaseName + kInProgressSuffix;
}

// A release folder in a drive root (or, on POSIX, directly in the file-system
// root) has no parent of its own: its entries go into the folder itself.
void ReportIntoDriveRoot(CheckRun& run) {
  SetErrorContext(run, "SFV is in the root folder of a drive, no parent can be found",
                  "Don't upload to drive roots.  If you need to, keep in mind that parent "
                  "headers will not be created");
  run.parentPath = run.releaseDir + kSeparatorText;
  run.releaseName = kDriveRootName;
}

// A disk subfolder (CD1, DVD ...) reports to the folder above its main release
// as "<main>-<disk>". A main release in a root has nothing above it.
void ReportAboveMainRelease(CheckRun& run, const std::string& diskName) {
  const std::string mainFolder = run.parentPath.substr(0, run.parentPath.size() - 1);
  const std::size_t q = mainFolder.rfind(kSeparator);
  if (q == std::string::npos || q == 0) throw RunError(platform::kInvalidArgument);
  run.mainReleaseName = mainFolder.substr(q + 1);
  run.releaseName = run.mainReleaseName + "-" + diskName;
  run.parentPath = run.releaseDir.substr(0, q) + kSeparatorText;
  run.isMultiCd = true;
}

struct EntryState {
  const std::string& templateText;
  std::string& expansion;  // the run's copy of the expanded template
  const std::string& ownOverride;
  const std::string& otherOverride;
  std::string word;  // "complete" or "incomplete"
  std::string key;   // the template's settings key
  std::string overrideKey;
};

void SetEntryContext(CheckRun& run, const EntryState& state, bool viaOverride) {
  const std::string action = "Writing '" + state.word + "' folder to parent path";
  if (viaOverride) {
    SetErrorContext(run, action + " using override",
                    "Check to see that entry " + state.overrideKey +
                        " in corvane.ini does not end with a slash (\\)\r\nAlso check to make "
                        "sure your " +
                        state.key + " ini entry does not contain any of these characters " +
                        kNameChars);
  } else {
    SetErrorContext(run, action,
                    "Check to see if " + state.key +
                        " in corvane.ini does not contain any of these characters " + kNameChars);
  }
}

// Replaces the entry named `old` (from the status store) by the one for the
// current state. In the parent folder itself a complete entry is made before
// the old one goes, and an old one that carries the very same name is kept.
void ReplaceEntry(CheckRun& run, EntryState state, bool makeFirst) {
  const bool asFile = run.settings.FILE_HEADER;
  platform::FileSystem& files = run.files;
  const std::string old = run.parentEntryName;
  state.expansion = ExpandTemplate(run, state.templateText, false);
  const std::string& made = state.expansion;
  auto remove = [&](const std::string& prefix) {
    release::RemoveStatusEntry(files, prefix, old, asFile);
  };
  auto make = [&](const std::string& prefix) {
    if (!made.empty()) MakeStatusEntry(files, prefix, made, asFile);
  };
  if (!state.ownOverride.empty()) {
    SetEntryContext(run, state, true);
    remove(state.ownOverride + kSeparatorText);
    if (!state.otherOverride.empty()) remove(state.otherOverride + kSeparatorText);
    remove(run.parentPath);
    make(state.ownOverride + kSeparatorText);
  } else {
    SetEntryContext(run, state, false);
    if (makeFirst) {
      make(run.parentPath);
      if (old != made) remove(run.parentPath);
    } else {
      if (old != made) remove(run.parentPath);
      make(run.parentPath);
    }
  }
  run.parentEntryName = made;
}

}  // namespace

void LocateParent(CheckRun& run) {
  const std::size_t p = run.releaseDir.rfind(kSeparator);
  const std::string ownName =
      p == std::string::npos ? run.releaseDir : run.releaseDir.substr(p + 1);
  // Without parent entries the release still has its display name for the
  // templates, but no parent folder: no marker, no disk-subfolder report.
  run.releaseName = ownName;
  if (run.settings.MK_PARENT == 0) return;

  if (p == std::string::npos || p == 0) {
    ReportIntoDriveRoot(run);
  } else {
    run.parentPath = run.releaseDir.substr(0, p + 1);
  }
  if (run.settings.UP_TWO_IF_MULTI && !ownName.empty() &&
      strings::ContainsIgnoreCase(run.settings.MULTICD_KEYS, ownName)) {
    ReportAboveMainRelease(run, ownName);
  }
}

void MarkParentInProgress(CheckRun& run) {
  if (run.parentPath.empty() || !run.settings.MK_FO_HEADER_PARENT) return;
  if (!run.files.FolderExists(ParentInProgressPath(run))) {
    run.files.CreateFolder(ParentInProgressPath(run));
  }
}

void ClearParentInProgress(CheckRun& run) {
  if (!run.parentPath.empty() && run.files.FolderExists(ParentInProgressPath(run))) {
    run.files.DeleteTree(ParentInProgressPath(run));
  }
}

void WriteParentEntry(CheckRun& run) {
  const settings::CheckerSettings& s = run.settings;
  const bool wanted =
      s.MK_PARENT == 1 || (s.MK_PARENT == 2 && !run.releaseName.empty() &&
                           s.MULTICD_KEYS.find(run.releaseName) != std::string::npos);
  if (!wanted) return;
  if (run.releaseComplete) {
    ReplaceEntry(
        run,
        {s.COM_MAKE_IN_PARENT, run.expanded.comMakeInParent, s.PARENT_PATH_OVERRIDE_C,
         s.PARENT_PATH_OVERRIDE_I, "complete", "COM_MAKE_IN_PARENT", "PARENT_PATH_OVERRIDE_C"},
        true);
  } else {
    ReplaceEntry(
        run,
        {s.INC_MAKE_IN_PARENT, run.expanded.incMakeInParent, s.PARENT_PATH_OVERRIDE_I,
         s.PARENT_PATH_OVERRIDE_C, "incomplete", "INC_MAKE_IN_PARENT", "PARENT_PATH_OVERRIDE_I"},
        false);
  }
}
