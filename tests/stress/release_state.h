// What a release folder's files must look like at every moment, whatever
// runs were interrupted: checks shared by the stress tests.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace stress {

// The lines of a text whose every line ends with CR LF; a text that is cut
// short (its last line without an end) fails the test and gives no lines.
std::vector<std::string> CrLfLines(const std::string& text, const std::string& what);

// Checks the status store as the checker writes it: nine fixed lines, the
// first with one status character per listed file, and user records of six
// fields.
void ExpectWholeStatusStore(const std::string& path, std::size_t listedFiles);

// Checks that every line of a permission file is a whole entry and returns
// the keys of its entries.
std::set<std::string> PermissionKeys(const std::string& path);
// The key of the entry for `name`.
std::string KeyOf(const std::string& name);

}  // namespace stress
