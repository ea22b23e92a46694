// permreg: registers a component library in the component registry of the
// program folder, as regsvr32 does on the server's platform.
//
//   permreg [/u] [/s] library
//
// /u unregisters, /s suppresses the messages. The exit status tells how far it
// got: 0 done, 1 bad arguments, 3 library not loadable, 4 entry point not
// found, 5 the library's registration failed. "--help" or "--version" as the
// whole command line prints the usage or the version.
#include <cstdio>
#include <string>
#include <string_view>

#include "common/terminal.h"
#include "platform/component.h"
#include "platform/os_error.h"
#include "platform/platform.h"

namespace {

enum ExitStatus { kDone = 0, kBadArguments = 1, kLoadFailed = 3, kNoEntry = 4, kFailed = 5 };

constexpr const char* kUsageLine = "Usage: permreg [/u] [/s] library\n";
constexpr const char* kHelp =
    "Registers a component library in the component registry of the program folder\n"
    "(components.reg), as regsvr32 does on Windows:\n"
    "  permreg permlet.ocx       registers the permission control for corvane\n"
    "  permreg /u permlet.ocx    unregisters it\n"
    "  /s                        prints no messages\n"
    "Exit status: 0 done, 1 bad arguments, 3 the library does not load, 4 it has no\n"
    "registration entry point, 5 its registration failed.\n";

struct Options {
  bool unregister = false;
  bool silent = false;
  std::string library;
};

bool IsSwitch(std::string_view arg, char letter) {
  return arg.size() == 2 && (arg[0] == '/' || arg[0] == '-') && (arg[1] | 0x20) == letter;
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (IsSwitch(arg, 'u')) {
      options.unregister = true;
    } else if (IsSwitch(arg, 's')) {
      options.silent = true;
    } else if (options.library.empty() && !arg.empty()) {
      options.library = arg;
    } else {
      return false;
    }
  }
  return !options.library.empty();
}

}  // namespace

int main(int argc, char** argv) {
  if (terminal::AnswerHelpOrVersion(platform::CommandLine(argc, argv), "permreg",
                                    std::string(kUsageLine) + kHelp)) {
    return kDone;
  }
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fputs(kUsageLine, stderr);
    return kBadArguments;
  }
  const char* entry = options.unregister ? "DllUnregisterServer" : "DllRegisterServer";
  auto say = [&](std::FILE* stream, const std::string& text) {
    if (!options.silent) std::fprintf(stream, "%s\n", text.c_str());
  };
  CvResult result;
  try {
    result = platform::RegisterServer(options.library, options.unregister);
  } catch (const platform::OsError& error) {
    if (error.number() == platform::kMemberNotSupported) {
      say(stderr,
          options.library + " was loaded, but the " + entry + " entry point was not found.");
      return kNoEntry;
    }
    say(stderr, "The module \"" + options.library + "\" failed to load.\n" + error.what());
    return kLoadFailed;
  }
  if (result != kCvOk) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08x", static_cast<unsigned>(result));
    say(stderr,
        std::string(entry) + " in " + options.library + " failed.\nReturn code was: " + code);
    return kFailed;
  }
  say(stdout, std::string(entry) + " in " + options.library + " succeeded.");
  return kDone;
}
