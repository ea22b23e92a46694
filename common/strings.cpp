#include "common/strings.h"

#include <algorithm>

#include "platform/platform.h"

namespace strings {
namespace {

char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char LowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool CharsEqualIgnoreCase(char a, char b) { return UpperChar(a) == UpperChar(b); }

// The separators of both platforms.
constexpr std::string_view kEitherSeparator = "\\/";

}  // namespace

std::string ToUpper(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(), UpperChar);
  return result;
}

std::string ToLower(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(), LowerChar);
  return result;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), CharsEqualIgnoreCase);
}

std::size_t FindIgnoreCase(std::string_view text, std::string_view what, std::size_t from) {
  if (from > text.size()) return std::string_view::npos;
  auto found =
      std::search(text.begin() + from, text.end(), what.begin(), what.end(), CharsEqualIgnoreCase);
  if (found == text.end() && !what.empty()) return std::string_view::npos;
  return static_cast<std::size_t>(found - text.begin());
}

bool ContainsIgnoreCase(std::string_view text, std::string_view what) {
  return FindIgnoreCase(text, what) != std::string_view::npos;
}

bool EndsWithIgnoreCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         EqualsIgnoreCase(text.substr(text.size() - suffix.size()), suffix);
}

std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with) {
  if (what.empty()) return std::string(text);
  std::string result;
  std::size_t start = 0;
  for (std::size_t found; (found = text.find(what, start)) != std::string_view::npos;
       start = found + what.size()) {
    result.append(text, start, found - start);
    result.append(with);
  }
  result.append(text.substr(start));
  return result;
}

std::string RemoveAll(std::string_view text, char c) {
  std::string result;
  result.reserve(text.size());
  std::copy_if(text.begin(), text.end(), std::back_inserter(result),
               [c](char each) { return each != c; });
  return result;
}

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
  std::vector<std::string> fields;
  if (separator.empty()) {
    fields.emplace_back(text);
    return fields;
  }
  std::size_t start = 0;
  for (std::size_t found; (found = text.find(separator, start)) != std::string_view::npos;
       start = found + separator.size()) {
    fields.emplace_back(text.substr(start, found - start));
  }
  fields.emplace_back(text.substr(start));
  return fields;
}

std::string AfterLastSeparator(std::string_view path) {
  std::size_t last = path.rfind(platform::kSeparator);
  return std::string(last == std::string_view::npos ? path : path.substr(last + 1));
}

std::string BeforeLastSeparator(std::string_view path) {
  std::size_t last = path.rfind(platform::kSeparator);
  return std::string(last == std::string_view::npos ? std::string_view() : path.substr(0, last));
}

std::string_view DirectoryPart(std::string_view path) {
  const std::size_t last = path.find_last_of(kEitherSeparator);
  return last == std::string_view::npos ? std::string_view() : path.substr(0, last + 1);
}

std::string_view FileNamePart(std::string_view path) {
  const std::size_t last = path.find_last_of(kEitherSeparator);
  return last == std::string_view::npos ? path : path.substr(last + 1);
}

bool IsPlainName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\:") == std::string_view::npos;
}

}  // namespace strings
