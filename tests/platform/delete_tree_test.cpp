#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/file_system.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;
using namespace support;

// A tree goes whole, closed and read-only parts too; links in it, and a link
// given as the tree, go as links, never what they point to.
TEST(DeleteTreeTest, RemovesLinksButNeverWhatTheyPointTo) {
  platform::FileSystem& files = platform::SystemFileSystem();
  TempFolder temp;
  WriteFile(temp / "outside/keep.txt", "keep");
  WriteFile(temp / "outsideFile", "keep too");
  WriteFile(temp / "release/CD1/closed/a.r00", "data");
  fs::permissions(temp / "release/CD1/closed", fs::perms::none);
  WriteFile(temp / "release/locked.sfv", "sfv");
  MakeReadOnly(temp / "release/locked.sfv");
  fs::create_directory_symlink(temp / "outside", temp / "release/CD1/linkToFolder");
  fs::create_symlink(temp / "outsideFile", temp / "release/linkToFile");
  fs::create_symlink(temp / "gone", temp / "release/dangling");
  fs::create_directory_symlink(temp / "outside", temp / "link");

  files.DeleteTree(temp / "release");
  files.DeleteTree(temp / "link");

  EXPECT_EQ(ListTree(temp.path()),
            (std::vector<std::string>{"outside/", "outside/keep.txt", "outsideFile"}));
  EXPECT_EQ("keep", ReadFile(temp / "outside/keep.txt"));
}
