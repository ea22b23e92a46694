// What the programs print for an operator at a terminal. Only options that
// are the whole command line lead here, and the server never passes one, so a
// run started by the server still writes nothing to a console.
#pragma once

#include <string>
#include <string_view>

namespace terminal {

// Writes to the terminal the program was started from: standard output, or
// standard error with `toError`.
void Print(std::string_view text, bool toError = false);

// "--help" or "--version" as the whole command line: prints `usage` (with the
// version line first) or "PROGRAM VERSION" and returns true; false for any
// other line.
bool AnswerHelpOrVersion(std::string_view commandLine, std::string_view program,
                         std::string_view usage);

// "PROGRAM VERSION", the first line of every help text.
std::string VersionLine(std::string_view program);

}  // namespace terminal
