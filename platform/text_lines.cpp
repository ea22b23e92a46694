#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace platform {

std::vector<std::string> ReadTextLines(const std::string& path) {
  return SplitTextLines(ReadWholeFile(path));
}

std::vector<std::string> SplitTextLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string_view::size_type start = 0;
  while (start < text.size()) {
    std::string_view::size_type end = text.find('\n', start);
    std::string_view::size_type next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    if (end > start && text[end - 1] == '\r') --end;
    lines.emplace_back(text, start, end - start);
    start = next;
  }
  return lines;
}

void WriteTextLines(const std::string& path, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  WriteWholeFile(path, text);
}

}  // namespace platform
