#include "cleanup/status_cleanup.h"

#include <vector>

#include "cleanup/cleanup_paths.h"
#include "platform/platform.h"
#include "release/ignore_failure.h"
#include "release/paths.h"
#include "release/removal.h"
#include "settings/checker_settings.h"
#include "settings/setting_lines.h"

namespace cleanup {

namespace {

// Every step of the clean-up may fail on its own; the run goes on regardless.
using release::IgnoreFailure;

struct ParentOverrides {
  std::string complete;    // PARENT_PATH_OVERRIDE_C
  std::string incomplete;  // PARENT_PATH_OVERRIDE_I
};

ParentOverrides ReadParentOverrides(platform::FileSystem& files, const std::string& programFolder) {
  ParentOverrides overrides;
  IgnoreFailure([&] {
    for (const std::string& line : files.ReadTextLines(settings::SettingsFilePath(programFolder))) {
      const auto setting = settings::SplitSettingLine(line);
      if (!setting) continue;
      if (setting->key == "PARENT_PATH_OVERRIDE_C") overrides.complete = setting->value;
      if (setting->key == "PARENT_PATH_OVERRIDE_I") overrides.incomplete = setting->value;
    }
  });
  return overrides;
}

// The store is ordinary text that anyone with upload rights may have written:
// only an empty folder of a single plain name is removed, so neither ".." nor
// a path nor the name of a release with content takes anything along.
void RemoveStatusFolder(platform::FileSystem& files, const std::string& name,
                        const std::string& overrideFolder, const CleanupPaths& paths) {
  auto removeFrom = [&](const std::string& folder) {
    IgnoreFailure(
        [&] { release::RemoveStatusEntry(files, folder + platform::kSeparatorText, name, false); });
  };
  if (!overrideFolder.empty()) {
    removeFrom(overrideFolder);
    return;
  }
  removeFrom(paths.parentPath);
  if (paths.grandparentPath) removeFrom(*paths.grandparentPath);
}

}  // namespace

void RunStatusCleanup(platform::FileSystem& files, const std::string& commandLine,
                      const std::string& programFolder) {
  if (commandLine.empty()) return;
  if (!files.FileExists(settings::SettingsFilePath(programFolder))) return;
  const auto paths = DeriveCleanupPaths(commandLine);
  if (!paths) return;
  const ParentOverrides overrides = ReadParentOverrides(files, programFolder);
  // The status store's own name must be written exactly, letter case included.
  if (!files.FileExists(commandLine) || !commandLine.ends_with(release::kStatusStoreName)) return;

  std::vector<std::string> lines;
  IgnoreFailure([&] { lines = files.ReadTextLines(commandLine); });
  const std::string headerName = lines.size() > 2 ? lines[2] : std::string();
  const std::string parentEntryName = lines.size() > 3 ? lines[3] : std::string();
  RemoveStatusFolder(files, headerName, overrides.complete, *paths);
  RemoveStatusFolder(files, parentEntryName, overrides.incomplete, *paths);
}

}  // namespace cleanup
