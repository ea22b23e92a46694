#include "tests/hostile/outside_snapshot.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/files.h"

namespace fs = std::filesystem;

namespace hostile {

namespace {

std::string Describe(const fs::directory_entry& entry) {
  const fs::file_status status = entry.symlink_status();
  if (fs::is_symlink(status)) return "link to " + fs::read_symlink(entry.path()).string();
  const std::string changed =
      std::to_string(fs::last_write_time(entry.path()).time_since_epoch().count());
  if (fs::is_directory(status)) return "folder changed " + changed;
  if (!fs::is_regular_file(status)) return "other";
  const std::string content = support::ReadFile(entry.path().string());
  return "file of " + std::to_string(content.size()) + " bytes, CRC " +
         support::Crc32Text(content) + ", changed " + changed;
}

}  // namespace

OutsideSnapshot::OutsideSnapshot(std::string root, std::string release)
    : root_(fs::canonical(root).string()),
      release_(release.empty() ? std::string() : fs::canonical(release).string()),
      before_(Take()) {}

std::map<std::string, std::string> OutsideSnapshot::Take() const {
  std::map<std::string, std::string> entries;
  for (auto it = fs::recursive_directory_iterator(root_); it != fs::recursive_directory_iterator();
       ++it) {
    if (!release_.empty() && it->path() == release_) {
      it.disable_recursion_pending();
      continue;
    }
    entries[fs::relative(it->path(), root_).string()] = Describe(*it);
  }
  return entries;
}

void OutsideSnapshot::ExpectUnchanged() const {
  const std::map<std::string, std::string> after = Take();
  for (const auto& [path, was] : before_) {
    const auto now = after.find(path);
    if (now == after.end()) {
      ADD_FAILURE() << "removed outside the release: " << path;
    } else if (now->second != was) {
      ADD_FAILURE() << "changed outside the release: " << path << " (" << was << " -> "
                    << now->second << ")";
    }
  }
  for (const auto& [path, is] : after) {
    if (!before_.contains(path)) ADD_FAILURE() << "made outside the release: " << path;
  }
}

}  // namespace hostile
