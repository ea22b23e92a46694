// The line rules of corvane.ini, shared by the checker, the updater and the
// clean-up tool: empty lines and lines starting with "[" are skipped, a line
// without "=" is ignored, the key is everything before the first "=" (not
// trimmed) compared upper-cased, the value everything after it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace settings {

struct SettingLine {
  std::string key;    // upper-cased
  std::string value;  // as written
};

// The key and value of one line, or nullopt for a line that sets nothing.
std::optional<SettingLine> SplitSettingLine(std::string_view line);

}  // namespace settings
