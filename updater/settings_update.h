// The Update action shared by the window and the terminal mode: keep a copy
// of the old settings file when asked, then migrate the file in place.
#pragma once

#include <stdexcept>
#include <string>

#include "platform/file_system.h"

namespace updater {

// Only a file named exactly "corvane.ini" (letter case counts) is accepted.
bool IsSettingsFileName(const std::string& path);

// A failed update; what() is the sentences for the operator, ending with
// what became of the file (as a rule it is left unchanged).
class UpdateFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the settings file and writes it anew in the sectioned layout. A link
// is followed: the file it names is rewritten and the link stays. The new
// content replaces the old in one step, or, where the folder refuses new
// files but the file may be written, over the old content in place. Throws
// UpdateFailure.
void loadsettings(platform::FileSystem& files, const std::string& path);

// Whether and how the old content is kept before the file is rewritten.
enum class KeepOld {
  kNo,
  kReplacing,  // as `path` + ".old", replacing an older copy
  kNumbered,   // as `path` + ".old", or the first free ".old.N" when that is taken
};

struct UpdateResult {
  std::string backupPath;  // where the old content was kept; empty when not asked
};

// Keeps the old content as asked, then loadsettings. Throws UpdateFailure;
// nothing is rewritten when the copy fails.
UpdateResult UpdateSettingsFile(platform::FileSystem& files, const std::string& path,
                                KeepOld keepOld);

}  // namespace updater
