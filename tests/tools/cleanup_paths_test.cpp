#include "cleanup/cleanup_paths.h"

#include <gtest/gtest.h>

namespace cleanup {
namespace {

TEST(CleanupPaths, ReleaseParentAndGrandparentOfAStorePath) {
  struct Row {
    const char* line;
    bool found;
    const char* release;
    const char* parent;
    const char* grandparent;  // nullptr: none
  };
  const Row rows[] = {
      {"/srv/ftp/Movie/.sfvStatus", true, "/srv/ftp/Movie", "/srv/ftp", "/srv"},
      {"/a/b/Rel/.SFVSTATUS", true, "/a/b/Rel", "/a/b", "/a"},
      {"/a/b/.sfvStatus/c/.sfvStatus", true, "/a/b", "/a", ""},
      {"/a/My Rel/.sfvStatus.bak", true, "/a/My Rel", "/a", ""},
      {"Rel/.sfvStatus", true, "Rel", "Rel", nullptr},  // no separator: the release itself
      {"/Rel/.sfvStatus", true, "/Rel", "", nullptr},
      {"", false, "", "", nullptr},
      {"/srv/ftp/Movie", false, "", "", nullptr},
      {".sfvStatus", false, "", "", nullptr},  // no separator before it
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line);
    const auto paths = DeriveCleanupPaths(row.line);
    ASSERT_EQ(paths.has_value(), row.found);
    if (!paths) continue;
    EXPECT_EQ(paths->releasePath, row.release);
    EXPECT_EQ(paths->parentPath, row.parent);
    EXPECT_EQ(paths->grandparentPath,
              row.grandparent ? std::optional<std::string>(row.grandparent) : std::nullopt);
  }
}

}  // namespace
}  // namespace cleanup
