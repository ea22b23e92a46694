#include "checker/run/permissions.h"

#include <string>
#include <vector>

#include "checker/run/check_run.h"
#include "checker/run/phases.h"
#include "checker/run/run_error.h"
#include "common/strings.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "release/ignore_failure.h"

namespace {

using release::IgnoreFailure;

// The control binds by these identifiers alone; the checker never looks a
// member up by name.
constexpr CvGuid kPermletClassId = platform::GuidLiteral("{0FC45993-7C08-4B1D-9FCC-3633210FCAF9}");
constexpr CvGuid kPermletDispatchId =
    platform::GuidLiteral("{7A39B829-F630-4261-B58B-E40EDA6B9320}");
constexpr std::int32_t kChmodDispId = 8;
constexpr std::int32_t kBeginUpdateDispId = 9;
constexpr std::int32_t kEndUpdateDispId = 10;

constexpr const char* kFolderLockAction =
    "Cannot execute CHMOD because user didn't register permlet.ocx in their system.";

void LockOne(CheckRun& run, const std::string& path) {
  const settings::CheckerSettings& s = run.settings;
  SetPermissions(run, s.LOCK_CHMOD, s.LOCK_USER, s.LOCK_GROUP, path, 1);
}

// A folder's entry lies in the permission file of the folder above, which is
// replaced: runs killed while replacing it left their temporary files there.
void LockFolder(CheckRun& run, const std::string& folder) {
  run.files.RemoveLeftoverTemporaries(strings::BeforeLastSeparator(folder));
  LockOne(run, folder);
}

}  // namespace

void RegisteredPermissionControl::Chmod(const std::string& mode, const std::string& owner,
                                        const std::string& group, const std::string& path,
                                        std::int16_t complete, std::int16_t free) {
  if (!object_) {
    try {
      object_ = platform::CreateComponent(kPermletClassId, kPermletDispatchId);
    } catch (const platform::OsError& error) {
      throw ControlNotMade(error.number(), error.what());
    }
    IgnoreFailure([&] {
      object_->Invoke(kBeginUpdateDispId, kCvMethod, {});
      updating_ = true;
    });
  }
  using platform::Variant;
  object_->Invoke(kChmodDispId, kCvMethod,
                  {Variant::Text(mode), Variant::Text(owner), Variant::Text(group),
                   Variant::Text(path), Variant::Int16(complete), Variant::Int16(free)});
}

int RegisteredPermissionControl::EndUpdate() {
  if (!updating_) return 0;
  updating_ = false;
  return object_->Invoke(kEndUpdateDispId, kCvMethod, {}).number;
}

void SetPermissions(CheckRun& run, const std::string& mode, const std::string& owner,
                    const std::string& group, const std::string& path, int complete) {
  if (run.settings.ISSERVG6) return;
  run.permissions.Chmod(mode, owner, group, path, static_cast<std::int16_t>(complete), 0);
}

void SavePermissionChanges(CheckRun& run) {
  SetErrorContext(run, "Saving the permission changes into .raidenftpd.acl",
                  "Make sure the disk is not full and that the account running corvane can "
                  "write the release folder and its parent (section) folder.\r\n"
                  "User and group names (LOCK_USER, LOCK_GROUP, CHMOD_SFVSTATUSU, "
                  "CHMOD_SFVSTATUSG and the uploader's) must not hold | or = or line breaks, "
                  "and the user, group and mode of one entry must stay within 119 characters "
                  "together");
  if (const int failure = run.permissions.EndUpdate()) throw RunError(failure);
}

void BlameUnmadeControl(CheckRun& run) {
  if (run.errorContext.action == kFolderLockAction) return;
  SetErrorContext(run, "Creating the permission control permlet.ocx",
                  "Register permlet.ocx: run the following in the program folder, " +
                      run.programFolder + ":\r\n" + platform::kRegistrationTool + " permlet.ocx");
}

void LockRelease(CheckRun& run) {
  const settings::CheckerSettings& s = run.settings;
  if (s.ISSERVG6) return;
  if (s.LOCK_FOLDER_IF_COMPLETE) {
    SetErrorContext(run, kFolderLockAction,
                    "Copy permlet.ocx into your windows\\system32 folder & run the following at a "
                    "dos prompt:\r\nregsvr32.exe permlet.ocx");
    LockFolder(run, run.releaseDir);
    if (run.isMultiCd) LockFolder(run, run.parentPath + run.mainReleaseName);
  }
  if (s.LOCK_FILES_IF_COMPLETE) {
    std::vector<platform::DirEntry> entries;
    IgnoreFailure([&] { entries = run.files.ListFolder(run.releaseDir); });
    for (const platform::DirEntry& entry : entries) {
      IgnoreFailure([&] { LockOne(run, run.releaseDir + platform::kSeparatorText + entry.name); });
    }
  }
}
