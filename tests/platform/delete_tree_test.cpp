#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "tests/platform/temp_folder.h"

namespace fs = std::filesystem;
using namespace platform;
using namespace platform_test;

TEST(DeleteTreeTest, RemovesLinksButNeverWhatTheyPointTo) {
  TempFolder temp;
  CreateFolder(temp / "outside");
  PutFile(temp / "outside/keep.txt", "keep");
  PutFile(temp / "outsideFile", "keep too");

  CreateFolder(temp / "release");
  CreateFolder(temp / "release/CD1");
  CreateFolder(temp / "release/CD1/closed");
  PutFile(temp / "release/CD1/closed/a.r00", "data");
  fs::permissions(temp / "release/CD1/closed", fs::perms::none);
  PutFile(temp / "release/.sfvStatus", "status");
  PutFile(temp / "release/locked.sfv", "sfv");
  SetReadOnly(temp / "release/locked.sfv", true);
  fs::create_directory_symlink(temp / "outside", temp / "release/CD1/linkToFolder");
  fs::create_symlink(temp / "outsideFile", temp / "release/linkToFile");
  fs::create_symlink(temp / "gone", temp / "release/dangling");

  DeleteTree(temp / "release");

  EXPECT_FALSE(PathExists(temp / "release"));
  EXPECT_EQ("keep", GetFile(temp / "outside/keep.txt"));
  EXPECT_EQ("keep too", GetFile(temp / "outsideFile"));
}

TEST(DeleteTreeTest, ALinkGivenAsTheTreeGoesAlone) {
  TempFolder temp;
  CreateFolder(temp / "target");
  PutFile(temp / "target/keep", "k");
  fs::create_directory_symlink(temp / "target", temp / "link");

  DeleteTree(temp / "link");

  EXPECT_FALSE(fs::is_symlink(fs::symlink_status(temp / "link")));
  EXPECT_EQ("k", GetFile(temp / "target/keep"));
}
