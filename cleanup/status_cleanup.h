// skarrow's run: removes the progress header and parent status entry folders
// that the checker last made for a release, as recorded in its status store.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace cleanup {

// `commandLine` is the whole command line, taken as the status store's path;
// `programFolder` holds corvane.ini. Shows nothing, reports nothing and never
// stops on a failing step.
void RunStatusCleanup(platform::FileSystem& files, const std::string& commandLine,
                      const std::string& programFolder);

}  // namespace cleanup
