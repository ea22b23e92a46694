#include "common/terminal.h"

#include <cstdio>

#include "common/version.h"
#include "platform/platform.h"

namespace terminal {

void Print(std::string_view text, bool toError) {
  platform::AttachToTerminal();
  std::FILE* stream = toError ? stderr : stdout;
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

std::string VersionLine(std::string_view program) {
  return std::string(program) + " " + std::string(ProgramVersion()) + "\n";
}

bool AnswerHelpOrVersion(std::string_view commandLine, std::string_view program,
                         std::string_view usage) {
  if (commandLine == "--version") {
    Print(VersionLine(program));
  } else if (commandLine == "--help") {
    Print(VersionLine(program) + "\n" + std::string(usage));
  } else {
    return false;
  }
  return true;
}

}  // namespace terminal
