#include "checker/run/permissions.h"

#include <string>
#include <vector>

#include "checker/run/check_run.h"
#include "checker/run/phases.h"
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

void LockOne(CheckRun& run, const std::string& path) {
  const settings::CheckerSettings& s = run.settings;
  SetPermissions(run, s.LOCK_CHMOD, s.LOCK_USER, s.LOCK_GROUP, path, 1);
}

}  // namespace

void RegisteredPermissionControl::Chmod(const std::string& mode, const std::string& owner,
                                        const std::string& group, const std::string& path,
                                        std::int16_t complete, std::int16_t free) {
  if (!object_) object_ = platform::CreateComponent(kPermletClassId, kPermletDispatchId);
  using platform::Variant;
  object_->Invoke(kChmodDispId, kCvMethod,
                  {Variant::Text(mode), Variant::Text(owner), Variant::Text(group),
                   Variant::Text(path), Variant::Int16(complete), Variant::Int16(free)});
}

void SetPermissions(CheckRun& run, const std::string& mode, const std::string& owner,
                    const std::string& group, const std::string& path, int complete) {
  if (run.settings.ISSERVG6) return;
  run.permissions.Chmod(mode, owner, group, path, static_cast<std::int16_t>(complete), 0);
}

void LockRelease(CheckRun& run) {
  const settings::CheckerSettings& s = run.settings;
  if (s.ISSERVG6) return;
  if (s.LOCK_FOLDER_IF_COMPLETE) {
    SetErrorContext(
        run, "Cannot execute CHMOD because user didn't register permlet.ocx in their system.",
        "Copy permlet.ocx into your windows\\system32 folder & run the following at a "
        "dos prompt:\r\nregsvr32.exe permlet.ocx");
    LockOne(run, run.releaseDir);
    if (run.isMultiCd) LockOne(run, run.parentPath + run.mainReleaseName);
  }
  if (s.LOCK_FILES_IF_COMPLETE) {
    std::vector<platform::DirEntry> entries;
    IgnoreFailure([&] { entries = run.files.ListFolder(run.releaseDir); });
    for (const platform::DirEntry& entry : entries) {
      IgnoreFailure([&] { LockOne(run, run.releaseDir + platform::kSeparatorText + entry.name); });
    }
  }
}
