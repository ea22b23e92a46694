#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "tests/platform/temp_folder.h"

namespace fs = std::filesystem;
using namespace platform;
using namespace platform_test;

TEST(ExistenceTest, TellsFilesFoldersAndLinksApart) {
  TempFolder temp;
  PutFile(temp / "file", "x");
  CreateFolder(temp / "folder");
  fs::create_directory_symlink(temp / "folder", temp / "folderLink");
  fs::create_symlink(temp / "gone", temp / "dangling");

  EXPECT_TRUE(FileExists(temp / "file") && !FolderExists(temp / "file"));
  EXPECT_TRUE(FolderExists(temp / "folder") && !FileExists(temp / "folder"));
  EXPECT_TRUE(FolderExists(temp / "folderLink"));
  for (const char* missing : {"gone", "dangling", "file/below"}) {
    EXPECT_FALSE(PathExists(temp / missing)) << missing;
  }
}

TEST(ErrorNumberTest, ClassicNumbersForMissingAndRefused) {
  TempFolder temp;
  PutFile(temp / "file", "");
  CreateFolder(temp / "full");
  PutFile(temp / "full/f", "");
  EXPECT_EQ(kFileNotFound, OsErrorOf([&] { DeleteFile(temp / "none", true); }));
  EXPECT_EQ(kPathNotFound, OsErrorOf([&] { DeleteFile(temp / "no/none", true); }));
  EXPECT_EQ(kFileNotFound, OsErrorOf([&] { FileLength(temp / "none"); }));
  EXPECT_EQ(kPathNotFound, OsErrorOf([&] { CreateFolder(temp / "no/sub"); }));
  EXPECT_EQ(kPathNotFound, OsErrorOf([&] { DeleteFolder(temp / "none"); }));
  EXPECT_EQ(kPathNotFound, OsErrorOf([&] { DeleteTree(temp / "none"); }));
  EXPECT_EQ(kPathNotFound, OsErrorOf([&] { ListFolder(temp / "none"); }));
  EXPECT_EQ(kPathNotFound, OsErrorOf([&] { ListFolder(temp / "file"); }));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { CreateFolder(temp / "full"); }));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { DeleteFolder(temp / "full"); }));
  EXPECT_STREQ("File not found", OsError(kFileNotFound).what());
}

TEST(NameTest, RefusesWhatWindowsCannotHold) {
  for (const char* bad :
       {"a\\b", "a/b", "a:b", "a*", "a?", "<a", "a>", "a|b", "\"a\"", "\x1f", ""}) {
    EXPECT_FALSE(IsValidName(bad)) << bad;
  }
  for (const char* good : {".sfvStatus", "Movie - 12 of 20 [####]", "x.missing", "\xe9t\xe9"}) {
    EXPECT_TRUE(IsValidName(good)) << good;
  }

  TempFolder temp;
  PutFile(temp / "source", "x");
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { CreateFolder(temp / "a:b"); }));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { CreateEmptyFile(temp / "a?b"); }));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { WriteTextLines(temp / "a*b", {"x"}); }));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { WriteFileAtomically(temp / "a<b", "x"); }));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { MoveFile(temp / "source", temp / "a>b"); }));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { ReplaceFile(temp / "source", temp / "a|b"); }));
  EXPECT_EQ(1u, ListFolder(temp.path()).size());
}

TEST(ReadOnlyTest, UnforcedDeleteAndWritesAreRefused) {
  TempFolder temp;
  const std::string file = temp / "locked.sfv";
  PutFile(file, "old");
  PutFile(temp / "other", "other");
  SetReadOnly(file, true);

  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { DeleteFile(file, false); }));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { CreateEmptyFile(file); }));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { WriteFileAtomically(file, "new"); }));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { ReplaceFile(temp / "other", file); }));
  EXPECT_EQ("old", GetFile(file));

  SetReadOnly(file, false);
  WriteWholeFile(file, "new");
  EXPECT_EQ("new", GetFile(file));
  SetReadOnly(file, true);
  DeleteFile(file, true);
  EXPECT_FALSE(PathExists(file));

  // A folder's content stays changeable, as on Windows.
  const fs::perms before = fs::status(temp.path()).permissions();
  SetReadOnly(temp.path(), true);
  EXPECT_EQ(before, fs::status(temp.path()).permissions());
}

TEST(MoveTest, RefusesAnExistingTargetReplaceDoesNot) {
  TempFolder temp;
  PutFile(temp / "a", "A");
  PutFile(temp / "b", "B");
  EXPECT_EQ(kFileAlreadyExists, OsErrorOf([&] { MoveFile(temp / "a", temp / "b"); }));
  EXPECT_EQ("A", GetFile(temp / "a"));
  EXPECT_EQ("B", GetFile(temp / "b"));

  // Written whole but refused its place: the target is unchanged.
  CreateFolder(temp / "folder");
  PutFile(temp / "folder/inside", "");
  EXPECT_THROW(WriteFileAtomically(temp / "folder", "new"), ReplaceRefused);
  EXPECT_EQ(3u, ListFolder(temp.path()).size());  // no temporary file left

  MoveFile(temp / "a", temp / "c");
  ReplaceFile(temp / "c", temp / "b");
  EXPECT_FALSE(PathExists(temp / "a") || PathExists(temp / "c"));
  EXPECT_EQ("A", GetFile(temp / "b"));

  MoveFile(temp / "folder", temp / "moved");
  EXPECT_TRUE(FolderExists(temp / "moved"));
  EXPECT_EQ(kFileNotFound, OsErrorOf([&] { MoveFile(temp / "none", temp / "other"); }));
  EXPECT_EQ(kPathNotFound, OsErrorOf([&] { MoveFile(temp / "b", temp / "no/b"); }));
}
