#include "updater/settings_update.h"

#include <cstdint>
#include <exception>
#include <vector>

#include "common/numtext.h"
#include "common/strings.h"
#include "platform/platform.h"
#include "settings/checker_settings.h"
#include "updater/settings_migration.h"

namespace updater {

namespace {

constexpr const char* kUnchanged = " The file was left unchanged.";

// What could not be done, and why.
std::string Failed(const std::string& what, const std::exception& e) {
  return what + ": " + e.what() + ".";
}

// Runs one file operation that comes before the file is touched; its failure
// becomes an UpdateFailure.
template <typename Operation>
auto Attempt(const std::string& what, Operation operation) {
  try {
    return operation();
  } catch (const std::exception& e) {
    throw UpdateFailure(Failed(what, e) + kUnchanged);
  }
}

bool HasContent(platform::FileSystem& files, const std::string& path, const std::string& bytes) {
  try {
    return files.ReadWholeFile(path) == bytes;
  } catch (const platform::OsError&) {
    return false;
  }
}

// Rewrites the file over its old content, for a folder that refuses new
// files. A write that fails after it began puts the old content back.
void RewriteInPlace(platform::FileSystem& files, const std::string& path,
                    const std::string& oldBytes, const std::string& newBytes) {
  try {
    files.WriteWholeFile(path, newBytes);
    return;
  } catch (const platform::OsError& e) {
    const std::string failure = Failed("Cannot write " + path, e);
    if (HasContent(files, path, oldBytes)) throw UpdateFailure(failure + kUnchanged);
    try {
      files.WriteWholeFile(path, oldBytes);
    } catch (const platform::OsError&) {
      throw UpdateFailure(failure +
                          " Its old content could not be put back: the file may be incomplete.");
    }
    throw UpdateFailure(failure + kUnchanged);
  }
}

// `path` + ".old", or, for numbered copies, the first free `path` + ".old.N".
std::string BackupPath(platform::FileSystem& files, const std::string& path, KeepOld keepOld) {
  const std::string first = path + ".old";
  std::string candidate = first;
  if (keepOld != KeepOld::kNumbered) return candidate;
  for (std::int64_t n = 1; files.PathExists(candidate); ++n) {
    candidate = first + "." + numtext::FormatInteger(n);
  }
  return candidate;
}

}  // namespace

bool IsSettingsFileName(const std::string& path) {
  return strings::AfterLastSeparator(path) == settings::kSettingsFileName;
}

void loadsettings(platform::FileSystem& files, const std::string& path) {
  const std::string file = files.ResolvedPath(path).value_or(path);
  const std::string oldBytes =
      Attempt("Cannot read " + path, [&] { return files.ReadWholeFile(file); });
  const std::string migrated = MigrateSettings(platform::SplitTextLines(oldBytes));
  try {
    files.WriteFileAtomically(file, migrated);
  } catch (const platform::OsError& e) {
    // A folder where only the file was made writable (Program Files) refuses
    // the new file beside it; any other failure is the file's own.
    if (e.number() != platform::kPathFileAccessError) {
      throw UpdateFailure(Failed("Cannot write " + file, e) + kUnchanged);
    }
    RewriteInPlace(files, file, oldBytes, migrated);
  }
}

UpdateResult UpdateSettingsFile(platform::FileSystem& files, const std::string& path,
                                KeepOld keepOld) {
  UpdateResult result;
  if (keepOld != KeepOld::kNo) {
    const std::string oldContent =
        Attempt("Cannot read " + path, [&] { return files.ReadWholeFile(path); });
    result.backupPath = BackupPath(files, path, keepOld);
    Attempt("Cannot keep the old file as " + result.backupPath,
            [&] { files.WriteFileAtomically(result.backupPath, oldContent); });
  }
  loadsettings(files, path);
  return result;
}

}  // namespace updater
