// brellun's terminal mode, for operators without a desktop:
//   brellun --update PATH [--keep-old]   and   brellun --help
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace updater {

enum ExitStatus : int {
  kExitUpdated = 0,
  kExitFileFailure = 1,  // the file could not be read or written
  kExitUsage = 2,        // wrong arguments, or a file not named corvane.ini
};

// Runs the terminal mode for the program's arguments (without its own name)
// and returns the exit status.
int RunCommandMode(platform::FileSystem& files, const std::vector<std::string>& args,
                   std::ostream& out, std::ostream& err);

}  // namespace updater
