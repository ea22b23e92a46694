#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/file_system.h"
#include "platform/platform.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;
using namespace platform;
using namespace support;

namespace {
FileSystem& files = SystemFileSystem();
}  // namespace

TEST(DeleteTreeTest, RemovesLinksButNeverWhatTheyPointTo) {
  TempFolder temp;
  files.CreateFolder(temp / "outside");
  WriteFile(temp / "outside/keep.txt", "keep");
  WriteFile(temp / "outsideFile", "keep too");

  files.CreateFolder(temp / "release");
  files.CreateFolder(temp / "release/CD1");
  files.CreateFolder(temp / "release/CD1/closed");
  WriteFile(temp / "release/CD1/closed/a.r00", "data");
  fs::permissions(temp / "release/CD1/closed", fs::perms::none);
  WriteFile(temp / "release/.sfvStatus", "status");
  WriteFile(temp / "release/locked.sfv", "sfv");
  MakeReadOnly(temp / "release/locked.sfv");
  fs::create_directory_symlink(temp / "outside", temp / "release/CD1/linkToFolder");
  fs::create_symlink(temp / "outsideFile", temp / "release/linkToFile");
  fs::create_symlink(temp / "gone", temp / "release/dangling");

  files.DeleteTree(temp / "release");

  EXPECT_FALSE(files.PathExists(temp / "release"));
  EXPECT_EQ("keep", ReadFile(temp / "outside/keep.txt"));
  EXPECT_EQ("keep too", ReadFile(temp / "outsideFile"));
}

TEST(DeleteTreeTest, ALinkGivenAsTheTreeGoesAlone) {
  TempFolder temp;
  files.CreateFolder(temp / "target");
  WriteFile(temp / "target/keep", "k");
  fs::create_directory_symlink(temp / "target", temp / "link");

  files.DeleteTree(temp / "link");

  EXPECT_FALSE(fs::is_symlink(fs::symlink_status(temp / "link")));
  EXPECT_EQ("k", ReadFile(temp / "target/keep"));
}
