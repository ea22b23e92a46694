#include "cleanup/status_cleanup.h"

#include <exception>
#include <vector>

#include "cleanup/cleanup_paths.h"
#include "common/strings.h"
#include "platform/platform.h"
#include "settings/checker_settings.h"
#include "settings/setting_lines.h"

namespace cleanup {

namespace {

// Every step of the clean-up may fail on its own; the run goes on regardless.
template <typename Step>
void IgnoreFailure(Step step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

struct ParentOverrides {
  std::string complete;    // PARENT_PATH_OVERRIDE_C
  std::string incomplete;  // PARENT_PATH_OVERRIDE_I
};

ParentOverrides ReadParentOverrides(const std::string& programFolder) {
  ParentOverrides overrides;
  IgnoreFailure([&] {
    for (const std::string& line :
         platform::ReadTextLines(settings::SettingsFilePath(programFolder))) {
      const auto setting = settings::SplitSettingLine(line);
      if (!setting) continue;
      if (setting->key == "PARENT_PATH_OVERRIDE_C") overrides.complete = setting->value;
      if (setting->key == "PARENT_PATH_OVERRIDE_I") overrides.incomplete = setting->value;
    }
  });
  return overrides;
}

// The checker makes its status folders empty. A folder with content is not
// one of them, whatever name a store gives: the name of the release itself,
// of a neighbouring release or of the section above would otherwise take all
// their files along.
void DeleteFolderIfPresent(const std::string& folder, const std::string& name) {
  const std::string path = folder + platform::kSeparatorText + name;
  IgnoreFailure([&] {
    if (platform::FolderExists(path) && platform::ListFolder(path).empty())
      platform::DeleteFolder(path);
  });
}

// The store is ordinary text that anyone with upload rights may have written:
// only a single plain name is looked for, so ".." or a path can never reach
// beyond the folder it is joined to. An empty name names no folder.
void RemoveStatusFolder(const std::string& name, const std::string& overrideFolder,
                        const CleanupPaths& paths) {
  if (!strings::IsPlainName(name)) return;
  if (!overrideFolder.empty()) {
    DeleteFolderIfPresent(overrideFolder, name);
    return;
  }
  DeleteFolderIfPresent(paths.parentPath, name);
  if (paths.grandparentPath) DeleteFolderIfPresent(*paths.grandparentPath, name);
}

}  // namespace

void RunStatusCleanup(const std::string& commandLine, const std::string& programFolder) {
  if (commandLine.empty()) return;
  if (!platform::FileExists(settings::SettingsFilePath(programFolder))) return;
  const auto paths = DeriveCleanupPaths(commandLine);
  if (!paths) return;
  const ParentOverrides overrides = ReadParentOverrides(programFolder);
  // The status store's own name must be written exactly, letter case included.
  if (!platform::FileExists(commandLine) || !commandLine.ends_with(kStatusStoreName)) return;

  std::vector<std::string> lines;
  IgnoreFailure([&] { lines = platform::ReadTextLines(commandLine); });
  const std::string headerName = lines.size() > 2 ? lines[2] : std::string();
  const std::string parentEntryName = lines.size() > 3 ? lines[3] : std::string();
  RemoveStatusFolder(headerName, overrides.complete, *paths);
  RemoveStatusFolder(parentEntryName, overrides.incomplete, *paths);
}

}  // namespace cleanup
