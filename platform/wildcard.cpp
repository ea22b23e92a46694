#include <string_view>

#include "platform/platform.h"

namespace platform {

namespace {

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// '*' matches any run of characters, '?' exactly one. After a mismatch the
// last '*' takes one more character, which keeps the work at length * length.
bool MatchStarAndQuestion(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0;
  std::size_t starAt = std::string_view::npos, resumeAt = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starAt = p++;
      resumeAt = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || FoldCase(pattern[p]) == FoldCase(name[n]))) {
      ++p;
      ++n;
    } else if (starAt != std::string_view::npos) {
      p = starAt + 1;
      n = ++resumeAt;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  if (MatchStarAndQuestion(pattern, name)) return true;
  // Windows' search lets a trailing ".*" also match a name without any
  // extension: "*.*" lists every name, "readme.*" finds "readme".
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*") {
    pattern.remove_suffix(2);
    return name.find('.') == std::string_view::npos && MatchStarAndQuestion(pattern, name);
  }
  return false;
}

}  // namespace platform
