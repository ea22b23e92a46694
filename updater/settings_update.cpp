#include "updater/settings_update.h"

#include <cstdint>
#include <exception>
#include <vector>

#include "common/numtext.h"
#include "common/strings.h"
#include "settings/checker_settings.h"
#include "updater/settings_migration.h"

namespace updater {

namespace {

// Runs one file operation; its failure becomes an UpdateFailure that says
// what could not be done.
template <typename Operation>
auto Attempt(const std::string& what, Operation operation) {
  try {
    return operation();
  } catch (const std::exception& e) {
    throw UpdateFailure(what + ": " + e.what());
  }
}

}  // namespace

bool IsSettingsFileName(const std::string& path) {
  return strings::AfterLastSeparator(path) == settings::kSettingsFileName;
}

void loadsettings(platform::FileSystem& files, const std::string& path) {
  const std::vector<std::string> lines =
      Attempt("Cannot read " + path, [&] { return files.ReadTextLines(path); });
  const std::string migrated = MigrateSettings(lines);
  Attempt("Cannot write " + path, [&] { files.WriteFileAtomically(path, migrated); });
}

std::string FreshBackupPath(platform::FileSystem& files, const std::string& path) {
  const std::string first = path + ".old";
  std::string candidate = first;
  for (std::int64_t n = 1; files.PathExists(candidate); ++n) {
    candidate = first + "." + numtext::FormatInteger(n);
  }
  return candidate;
}

UpdateResult UpdateSettingsFile(platform::FileSystem& files, const std::string& path,
                                bool keepOld) {
  UpdateResult result;
  if (keepOld) {
    const std::string oldContent =
        Attempt("Cannot read " + path, [&] { return files.ReadWholeFile(path); });
    result.backupPath = FreshBackupPath(files, path);
    Attempt("Cannot keep the old file as " + result.backupPath,
            [&] { files.WriteFileAtomically(result.backupPath, oldContent); });
  }
  loadsettings(files, path);
  return result;
}

}  // namespace updater
