// Reading the command line the server starts the checker with. Positions in
// these helpers are 1-based, 0 meaning "not found", the way the rules for the
// server's line are written down.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace command_line {

// Position of the first `what` at or after position `from` (letter case
// ignored), or 0.
std::size_t Find(std::string_view text, std::string_view what, std::size_t from);
// The `count` characters from position `from`: empty past the end; a negative
// count is an error (RunError, invalid argument).
std::string Mid(std::string_view text, std::size_t from, std::ptrdiff_t count);

}  // namespace command_line
