// corvane: started by the FTP server once for every finished upload.
#include "checker/run/permissions.h"
#include "checker/run/phases.h"
#include "platform/file_system.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  RegisteredPermissionControl permissions;
  return RunChecker(platform::ProgramFolder(), platform::CommandLine(argc, argv),
                    platform::SystemFileSystem(), permissions);
}
