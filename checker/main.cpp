// corvane: started by the FTP server once for every finished upload; an
// operator's option alone on the command line is answered instead.
#include "checker/operator/operator_options.h"
#include "checker/run/permissions.h"
#include "checker/run/phases.h"
#include "platform/file_system.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  const std::string programFolder = platform::ProgramFolder();
  const std::string commandLine = platform::CommandLine(argc, argv);
  platform::FileSystem& files = platform::SystemFileSystem();
  // The control is made on its first change only.
  RegisteredPermissionControl permissions;
  if (const std::optional<int> status =
          RunOperatorOption(files, permissions, programFolder, commandLine)) {
    return *status;
  }
  return RunChecker(programFolder, commandLine, files, permissions);
}
