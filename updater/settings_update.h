// The Update action shared by the window and the terminal mode: keep a copy
// of the old settings file when asked, then migrate the file in place.
#pragma once

#include <stdexcept>
#include <string>

#include "platform/file_system.h"

namespace updater {

// Only a file named exactly "corvane.ini" (letter case counts) is accepted.
bool IsSettingsFileName(const std::string& path);

// A failed update; what() is a sentence for the operator. The settings file
// is unchanged whenever this is thrown.
class UpdateFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the settings file and writes it anew in the sectioned layout. The
// new content replaces the old in one step, so a failure leaves the old file
// as it was. Throws UpdateFailure.
void loadsettings(platform::FileSystem& files, const std::string& path);

// The path that the old content is kept under: `path` + ".old", or, when that
// name is taken by an earlier copy, the first free `path` + ".old.N".
std::string FreshBackupPath(platform::FileSystem& files, const std::string& path);

struct UpdateResult {
  std::string backupPath;  // where the old content was kept; empty when not asked
};

// Copies the file to FreshBackupPath when `keepOld`, then loadsettings.
// Throws UpdateFailure; nothing is rewritten when the copy fails.
UpdateResult UpdateSettingsFile(platform::FileSystem& files, const std::string& path, bool keepOld);

}  // namespace updater
