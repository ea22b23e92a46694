// brellun, the settings updater. Without arguments it opens its window;
// with --update it works in the terminal (see --help).
#include <iostream>
#include <string>
#include <vector>

#include "common/terminal.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "updater/command_mode.h"
#if BRELLUN_WINDOW
#include "updater/main_window.h"
#endif

int main(int argc, char** argv) {
#if BRELLUN_WINDOW
  constexpr updater::WindowRunner window = updater::RunWindow;
#else
  constexpr updater::WindowRunner window = nullptr;
#endif
  if (terminal::AnswerHelpOrVersion(platform::CommandLine(argc, argv), "brellun",
                                    updater::Usage(BRELLUN_WINDOW))) {
    return updater::kExitUpdated;
  }
  const std::vector<std::string> args(argv + 1, argv + argc);
  return updater::RunCommandMode(platform::SystemFileSystem(), args, window, std::cout, std::cerr);
}
