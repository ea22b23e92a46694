// corvane: started by the FTP server once for every finished upload.
#include "checker/run/phases.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  return RunChecker(platform::ProgramFolder(), platform::CommandLine(argc, argv));
}
