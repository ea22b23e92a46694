// skarrow PATH\.sfvStatus — removes the status folders that the checker made
// for a release outside the release folder. Silent; no exit code of its own.
// "--help" or "--version" alone on the command line, which names no status
// store, is answered on the terminal instead.
#include "cleanup/status_cleanup.h"
#include "common/strings.h"
#include "common/terminal.h"
#include "platform/file_system.h"
#include "platform/platform.h"

namespace {

// The usage, with the host's separator in the example path.
std::string Usage() {
  return "Removes the progress header and parent status folders that corvane made for a\n"
         "release outside the release folder, by the names in its status store:\n"
         "  skarrow " +
         strings::ReplaceAll("/srv/ftp/Movies/Some.Release/.sfvStatus", "/",
                             platform::kSeparatorText) +
         "\n"
         "The whole command line is the status store's path, ending in \".sfvStatus\". The\n"
         "folders go from the parent and grandparent folders, or from the override folders\n"
         "of corvane.ini. Only empty folders with a plain name are removed. It prints\n"
         "nothing and always exits 0.\n";
}

}  // namespace

int main(int argc, char** argv) {
  const std::string commandLine = platform::CommandLine(argc, argv);
  try {
    if (terminal::AnswerHelpOrVersion(commandLine, "skarrow", Usage())) return 0;
    cleanup::RunStatusCleanup(platform::SystemFileSystem(), commandLine, platform::ProgramFolder());
  } catch (...) {
    // Nothing is ever reported: a clean-up that cannot run just ends.
  }
  return 0;
}
