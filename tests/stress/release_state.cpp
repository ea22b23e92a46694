#include "tests/stress/release_state.h"

#include <gtest/gtest.h>

#include <regex>

#include "permlet/aclfile/name_key.h"
#include "tests/support/files.h"

namespace stress {

std::vector<std::string> CrLfLines(const std::string& text, const std::string& what) {
  std::vector<std::string> lines;
  if (!text.empty() && !text.ends_with("\r\n")) {
    ADD_FAILURE() << what << " ends in the middle of a line";
    return lines;
  }
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find("\r\n", at);
    lines.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return lines;
}

void ExpectWholeStatusStore(const std::string& path, std::size_t listedFiles) {
  const std::vector<std::string> lines = CrLfLines(support::ReadFile(path), path);
  ASSERT_GE(lines.size(), 10u) << "nine fixed lines and a user record";
  EXPECT_TRUE(std::regex_match(lines[0], std::regex("[01]{" + std::to_string(listedFiles) + "}")))
      << lines[0];
  const std::regex record(R"((\d+)\|[^|]*\|[^|]*\|[\d.]+\|[\d.]+\|\d+)");
  for (std::size_t i = 9; i < lines.size(); ++i)
    EXPECT_TRUE(std::regex_match(lines[i], record)) << lines[i];
}

std::set<std::string> PermissionKeys(const std::string& path) {
  std::set<std::string> keys;
  // Owner, group and mode come from the settings and may be empty.
  const std::regex entry(R"(RD2 (\d+)=[^|=]*\|[^|=]*\|([0-7]{3})?\|[01]\|0\|)");
  for (const std::string& line : CrLfLines(support::ReadFile(path), path)) {
    std::smatch parts;
    if (!std::regex_match(line, parts, entry)) {
      ADD_FAILURE() << path << " holds a broken line: " << line;
      continue;
    }
    keys.insert(parts[1].str());
  }
  return keys;
}

std::string KeyOf(const std::string& name) { return std::to_string(permlet::NameKey(name)); }

}  // namespace stress
