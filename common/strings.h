// Small text helpers over 8-bit byte strings. Case rules are ASCII: the
// system's texts are compared the way the classic runtime's binary compare
// with upper/lower-casing of the letters a-z does.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace strings {

std::string ToUpper(std::string_view text);
std::string ToLower(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// 0-based position of `what` at or after `from`, ignoring case; npos if none.
std::size_t FindIgnoreCase(std::string_view text, std::string_view what, std::size_t from = 0);
bool ContainsIgnoreCase(std::string_view text, std::string_view what);
bool EndsWithIgnoreCase(std::string_view text, std::string_view suffix);
// Every occurrence of `what` replaced by `with`, left to right, not rescanned.
std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with);
std::string RemoveAll(std::string_view text, char c);
// Splits at every occurrence of `separator` (an empty text gives one field).
std::vector<std::string> Split(std::string_view text, std::string_view separator);
// The part of `path` after its last host separator, and the part before it.
std::string AfterLastSeparator(std::string_view path);
std::string BeforeLastSeparator(std::string_view path);
// For paths that may use either separator (the server's are Windows paths, the
// host's its own): everything up to and including the last "\" or "/" (empty
// without one), and everything after it (the whole path without one): views
// into `path`.
std::string_view DirectoryPart(std::string_view path);
std::string_view FileNamePart(std::string_view path);
// A single plain name: not empty, not "." or "..", no separator of either
// platform, no drive colon. Stored names that later runs delete must be such.
bool IsPlainName(std::string_view name);

}  // namespace strings
