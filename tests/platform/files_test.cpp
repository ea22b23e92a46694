#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
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

// Failures carry the classic numbers, and leave what was there: names
// Windows refuses, a read-only file's unforced delete and writes, a move onto
// an existing target.
TEST(ErrorNumberTest, ClassicNumbersAndNothingChanged) {
  for (const char* bad :
       {"a\\b", "a/b", "a:b", "a*", "a?", "<a", "a>", "a|b", "\"a\"", "\x1f", ""}) {
    EXPECT_FALSE(IsValidName(bad)) << bad;
  }
  for (const char* good : {".sfvStatus", "Movie - 12 of 20 [####]", "x.missing", "\xe9t\xe9"}) {
    EXPECT_TRUE(IsValidName(good)) << good;
  }
  TempFolder temp;
  WriteFile(temp / "file", "");
  WriteFile(temp / "full/f", "");
  WriteFile(temp / "a", "A");
  WriteFile(temp / "locked.sfv", "old");
  MakeReadOnly(temp / "locked.sfv");
  const std::vector<std::string> before = ListTree(temp.path());
  const struct {
    int number;
    std::function<void()> action;
  } rows[] = {
      {kFileNotFound, [&] { files.DeleteFile(temp / "none", true); }},
      {kPathNotFound, [&] { files.DeleteFile(temp / "no/none", true); }},
      {kFileNotFound, [&] { files.FileLength(temp / "none"); }},
      {kPathNotFound, [&] { files.CreateFolder(temp / "no/sub"); }},
      {kPathNotFound, [&] { files.DeleteFolder(temp / "none"); }},
      {kPathNotFound, [&] { files.DeleteTree(temp / "none"); }},
      {kPathNotFound, [&] { files.ListFolder(temp / "none"); }},
      {kPathNotFound, [&] { files.ListFolder(temp / "file"); }},
      {kPathFileAccessError, [&] { files.CreateFolder(temp / "full"); }},
      {kPathFileAccessError, [&] { files.DeleteFolder(temp / "full"); }},
      {kPathFileAccessError, [&] { files.CreateFolder(temp / "a:b"); }},
      {kPathFileAccessError, [&] { files.CreateEmptyFile(temp / "a?b"); }},
      {kPathFileAccessError, [&] { files.WriteTextLines(temp / "a*b", {"x"}); }},
      {kPathFileAccessError, [&] { files.WriteFileAtomically(temp / "a<b", "x"); }},
      {kPathFileAccessError, [&] { files.MoveFile(temp / "a", temp / "a>b"); }},
      {kPathFileAccessError, [&] { files.DeleteFile(temp / "locked.sfv", false); }},
      {kPathFileAccessError, [&] { files.CreateEmptyFile(temp / "locked.sfv"); }},
      {kPathFileAccessError, [&] { files.WriteFileAtomically(temp / "locked.sfv", "new"); }},
      {kFileAlreadyExists, [&] { files.MoveFile(temp / "a", temp / "file"); }},
      {kFileNotFound, [&] { files.MoveFile(temp / "none", temp / "other"); }},
      {kPathNotFound, [&] { files.MoveFile(temp / "a", temp / "no/a"); }},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    EXPECT_EQ(rows[i].number, OsErrorOf(rows[i].action)) << "row " << i;
  }
  EXPECT_EQ(ListTree(temp.path()), before);
  EXPECT_EQ("old", ReadFile(temp / "locked.sfv"));
  EXPECT_EQ("A", ReadFile(temp / "a"));
  EXPECT_STREQ("File not found", OsError(kFileNotFound).what());

  // Written whole but refused its place: the target is unchanged, and no
  // temporary file is left.
  files.CreateFolder(temp / "folder");
  EXPECT_THROW(files.WriteFileAtomically(temp / "folder", "new"), ReplaceRefused);

  files.DeleteFile(temp / "locked.sfv", true);
  files.MoveFile(temp / "a", temp / "c");
  files.MoveFile(temp / "full", temp / "moved");
  EXPECT_EQ(ListTree(temp.path()),
            (std::vector<std::string>{"c", "file", "folder/", "moved/", "moved/f"}));
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
