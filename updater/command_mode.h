// brellun's command line. Without arguments it opens the window; for
// operators without a desktop:
//   brellun --update PATH [--keep-old]   and   brellun --help | --version
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace updater {

enum ExitStatus : int {
  kExitUpdated = 0,
  kExitFileFailure = 1,  // the file could not be read or written
  kExitUsage = 2,        // wrong arguments, a file not named corvane.ini, or no window
};

// Opens the window and runs until it is closed; with `selfTest` it closes
// again after a moment. Returns the exit status.
using WindowRunner = int (*)(bool selfTest);

// What --help shows after the version line, and wrong arguments on
// standard error: the usage of a build with a window, or of one without.
std::string Usage(bool withWindow);

// Runs brellun for the program's arguments (without its own name) and
// returns the exit status. `window` is null in a build without a window.
// "--help" and "--version" are main's, answered before this is called.
int RunCommandMode(platform::FileSystem& files, const std::vector<std::string>& args,
                   WindowRunner window, std::ostream& out, std::ostream& err);

}  // namespace updater
