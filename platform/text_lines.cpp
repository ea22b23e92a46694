#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

std::vector<std::string> ReadTextLines(const std::string& path) {
  std::string text = ReadWholeFile(path);
  std::vector<std::string> lines;
  std::string::size_type start = 0;
  while (start < text.size()) {
    std::string::size_type end = text.find('\n', start);
    std::string::size_type next = end == std::string::npos ? text.size() : end + 1;
    if (end == std::string::npos) end = text.size();
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
