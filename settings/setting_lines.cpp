#include "settings/setting_lines.h"

#include "common/strings.h"

namespace settings {

std::optional<SettingLine> SplitSettingLine(std::string_view line) {
  if (line.empty() || line.front() == '[') return std::nullopt;
  std::size_t equals = line.find('=');
  if (equals == std::string_view::npos || equals == 0) return std::nullopt;
  return SettingLine{strings::ToUpper(line.substr(0, equals)),
                     std::string(line.substr(equals + 1))};
}

}  // namespace settings
