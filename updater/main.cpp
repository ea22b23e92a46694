// brellun, the settings updater. Without arguments it opens its window;
// with --update it works in the terminal (see --help).
#include <iostream>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "updater/command_mode.h"
#if BRELLUN_WINDOW
#include "updater/main_window.h"
#endif

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
#if BRELLUN_WINDOW
  constexpr updater::WindowRunner window = updater::RunWindow;
#else
  constexpr updater::WindowRunner window = nullptr;
#endif
  return updater::RunCommandMode(platform::SystemFileSystem(), args, window, std::cout, std::cerr);
}
