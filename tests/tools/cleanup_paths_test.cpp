#include "cleanup/cleanup_paths.h"

#include <gtest/gtest.h>

namespace cleanup {
namespace {

TEST(CleanupPaths, ReleaseParentAndGrandparentOfAStorePath) {
  const auto paths = DeriveCleanupPaths("/srv/ftp/Movie/.sfvStatus");
  ASSERT_TRUE(paths);
  EXPECT_EQ(paths->releasePath, "/srv/ftp/Movie");
  EXPECT_EQ(paths->parentPath, "/srv/ftp");
  EXPECT_EQ(paths->grandparentPath, "/srv");
}

TEST(CleanupPaths, StoreNameIsFoundInAnyLetterCaseAndAtItsFirstOccurrence) {
  EXPECT_EQ(DeriveCleanupPaths("/a/b/Rel/.SFVSTATUS")->releasePath, "/a/b/Rel");
  EXPECT_EQ(DeriveCleanupPaths("/a/b/.sfvStatus/c/.sfvStatus")->releasePath, "/a/b");
  EXPECT_EQ(DeriveCleanupPaths("/a/My Rel/.sfvStatus.bak")->releasePath, "/a/My Rel");
}

TEST(CleanupPaths, ShortPathsHaveNoGrandparent) {
  const auto bare = DeriveCleanupPaths("Rel/.sfvStatus");
  ASSERT_TRUE(bare);
  EXPECT_EQ(bare->parentPath, "Rel");  // no separator: the release path itself
  EXPECT_FALSE(bare->grandparentPath);

  const auto top = DeriveCleanupPaths("/Rel/.sfvStatus");
  ASSERT_TRUE(top);
  EXPECT_EQ(top->parentPath, "");
  EXPECT_FALSE(top->grandparentPath);
}

TEST(CleanupPaths, LinesWithoutTheStoreNameNameNothing) {
  EXPECT_FALSE(DeriveCleanupPaths(""));
  EXPECT_FALSE(DeriveCleanupPaths("/srv/ftp/Movie"));
  EXPECT_FALSE(DeriveCleanupPaths(".sfvStatus"));  // no separator before it
}

}  // namespace
}  // namespace cleanup
