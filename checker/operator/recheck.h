// corvane --recheck RELEASE_FOLDER: an operator's full re-check of a release
// that changed after its last run (a file replaced, damaged or removed).
#pragma once

#include <string>

#include "checker/run/permissions.h"
#include "platform/file_system.h"

// Re-checks the release folder `folder` with the program folder's settings
// and prints a short summary. Exit status: 0 the release is complete, 1 it is
// not (or the settings cannot be read, or the run failed into the error
// log), 2 the folder does not exist or holds neither an SFV nor a zip set.
int RecheckFolder(platform::FileSystem& files, PermissionControl& permissions,
                  const std::string& programFolder, const std::string& folder);
