// brellun — the settings updater. Without arguments it opens its window;
// with --update it works in the terminal (see --help).
#include <iostream>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "updater/command_mode.h"
#include "updater/main_window.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return updater::RunWindow(false);
  if (args.size() == 1 && args[0] == "--selftest") return updater::RunWindow(true);
  return updater::RunCommandMode(platform::SystemFileSystem(), args, std::cout, std::cerr);
}
