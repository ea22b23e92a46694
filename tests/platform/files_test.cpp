#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/platform.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;
using namespace platform;
using namespace support;

namespace {
FileSystem& files = SystemFileSystem();
}  // namespace

TEST(ExistenceTest, TellsFilesFoldersAndLinksApart) {
  TempFolder temp;
  WriteFile(temp / "file", "x");
  files.CreateFolder(temp / "folder");
  fs::create_directory_symlink(temp / "folder", temp / "folderLink");
  fs::create_symlink(temp / "gone", temp / "dangling");

  EXPECT_TRUE(files.FileExists(temp / "file") && !files.FolderExists(temp / "file"));
  EXPECT_TRUE(files.FolderExists(temp / "folder") && !files.FileExists(temp / "folder"));
  EXPECT_TRUE(files.FolderExists(temp / "folderLink"));
  for (const char* missing : {"gone", "dangling", "file/below"}) {
    EXPECT_FALSE(files.PathExists(temp / missing)) << missing;
  }
}

TEST(ErrorNumberTest, ClassicNumbersForMissingAndRefused) {
  TempFolder temp;
  WriteFile(temp / "file", "");
  files.CreateFolder(temp / "full");
  WriteFile(temp / "full/f", "");
  EXPECT_EQ(kFileNotFound, OsErrorOf([&] { files.DeleteFile(temp / "none", true); }));
  EXPECT_EQ(kPathNotFound, OsErrorOf([&] { files.DeleteFile(temp / "no/none", true); }));
  EXPECT_EQ(kFileNotFound, OsErrorOf([&] { files.FileLength(temp / "none"); }));
  EXPECT_EQ(kPathNotFound, OsErrorOf([&] { files.CreateFolder(temp / "no/sub"); }));
  EXPECT_EQ(kPathNotFound, OsErrorOf([&] { files.DeleteFolder(temp / "none"); }));
  EXPECT_EQ(kPathNotFound, OsErrorOf([&] { files.DeleteTree(temp / "none"); }));
  EXPECT_EQ(kPathNotFound, OsErrorOf([&] { files.ListFolder(temp / "none"); }));
  EXPECT_EQ(kPathNotFound, OsErrorOf([&] { files.ListFolder(temp / "file"); }));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { files.CreateFolder(temp / "full"); }));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { files.DeleteFolder(temp / "full"); }));
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
  WriteFile(temp / "source", "x");
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { files.CreateFolder(temp / "a:b"); }));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { files.CreateEmptyFile(temp / "a?b"); }));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { files.WriteTextLines(temp / "a*b", {"x"}); }));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { files.WriteFileAtomically(temp / "a<b", "x"); }));
  EXPECT_EQ(kPathFileAccessError,
            OsErrorOf([&] { files.MoveFile(temp / "source", temp / "a>b"); }));
  EXPECT_EQ(1u, files.ListFolder(temp.path()).size());
}

TEST(ReadOnlyTest, UnforcedDeleteAndWritesAreRefused) {
  TempFolder temp;
  const std::string file = temp / "locked.sfv";
  WriteFile(file, "old");
  MakeReadOnly(file);

  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { files.DeleteFile(file, false); }));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { files.CreateEmptyFile(file); }));
  EXPECT_EQ(kPathFileAccessError, OsErrorOf([&] { files.WriteFileAtomically(file, "new"); }));
  EXPECT_EQ("old", ReadFile(file));

  files.DeleteFile(file, true);
  EXPECT_FALSE(files.PathExists(file));
}

TEST(MoveTest, RefusesAnExistingTarget) {
  TempFolder temp;
  WriteFile(temp / "a", "A");
  WriteFile(temp / "b", "B");
  EXPECT_EQ(kFileAlreadyExists, OsErrorOf([&] { files.MoveFile(temp / "a", temp / "b"); }));
  EXPECT_EQ("A", ReadFile(temp / "a"));
  EXPECT_EQ("B", ReadFile(temp / "b"));

  // Written whole but refused its place: the target is unchanged.
  files.CreateFolder(temp / "folder");
  WriteFile(temp / "folder/inside", "");
  EXPECT_THROW(files.WriteFileAtomically(temp / "folder", "new"), ReplaceRefused);
  EXPECT_EQ(3u, files.ListFolder(temp.path()).size());  // no temporary file left

  files.MoveFile(temp / "a", temp / "c");
  EXPECT_FALSE(files.PathExists(temp / "a"));
  EXPECT_EQ("A", ReadFile(temp / "c"));
  files.MoveFile(temp / "folder", temp / "moved");
  EXPECT_TRUE(files.FolderExists(temp / "moved"));
  EXPECT_EQ(kFileNotFound, OsErrorOf([&] { files.MoveFile(temp / "none", temp / "other"); }));
  EXPECT_EQ(kPathNotFound, OsErrorOf([&] { files.MoveFile(temp / "b", temp / "no/b"); }));
}

// The temporary files that atomic writes of ended processes left are removed;
// those of running processes, and every other name, stay.
TEST(LeftoverTest, OnlyTemporaryFilesOfEndedWritersAreRemoved) {
  TempFolder temp;
  // The shell that wrote its number has ended and been waited for.
  ASSERT_EQ(std::system(("echo $$ >'" + (temp / "ended") + "'").c_str()), 0);
  std::string ended = ReadFile(temp / "ended");
  ended.pop_back();
  files.DeleteFile(temp / "ended", false);
  struct Row {
    std::string name;
    bool folder;
    bool removed;
  };
  const Row rows[] = {
      {".corvane-" + ended + "-0.tmp", false, true},
      {".corvane-0-7.tmp", false, true},   // no process has the number 0
      {".corvane-1-3.tmp", false, false},  // process 1 always runs
      {".corvane-" + ended + "-1.tmp", true, false},
      {".corvane-" + ended + "-x.tmp", false, false},
      {".corvane--2.tmp", false, false},
      {"a.corvane-" + ended + "-0.tmp", false, false},
      {".corvane-99999999999999999999999-0.tmp", false, false},
  };
  std::vector<std::string> kept;
  for (const Row& row : rows) {
    if (row.folder) {
      MakeFolder(temp / row.name);
    } else {
      WriteFile(temp / row.name, "");
    }
    if (!row.removed) kept.push_back(row.name + (row.folder ? "/" : ""));
  }
  std::sort(kept.begin(), kept.end());
  files.RemoveLeftoverTemporaries(temp.path());
  EXPECT_EQ(ListTree(temp.path()), kept);
  files.RemoveLeftoverTemporaries(temp / "none");
}
