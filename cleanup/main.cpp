// skarrow PATH\.sfvStatus — removes the status folders that the checker made
// for a release outside the release folder. Silent; no exit code of its own.
#include "cleanup/status_cleanup.h"
#include "platform/file_system.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
  try {
    cleanup::RunStatusCleanup(platform::SystemFileSystem(), platform::CommandLine(argc, argv),
                              platform::ProgramFolder());
  } catch (...) {
    // Nothing is ever reported: a clean-up that cannot run just ends.
  }
  return 0;
}
