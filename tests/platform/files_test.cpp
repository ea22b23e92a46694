#include "tests/support/files.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// Failures carry the classic numbers, and leave what was there: names
// Windows refuses, a read-only file's unforced delete and writes, a move onto
// an existing target.
TEST(ErrorNumberTest, ClassicNumbersAndNothingChanged) {
  for (const char* bad : {"a\\b", "a|b", "\x1f", ""}) EXPECT_FALSE(IsValidName(bad)) << bad;
  EXPECT_TRUE(IsValidName("\xe9t\xe9 [####]"));
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
      {kPathNotFound, [&] { files.CreateFolder(temp / "no/sub"); }},
      {kPathNotFound, [&] { files.ListFolder(temp / "file"); }},
      {kPathFileAccessError, [&] { files.CreateFolder(temp / "full"); }},
      {kPathFileAccessError, [&] { files.DeleteFolder(temp / "full"); }},
      {kPathFileAccessError, [&] { files.CreateFolder(temp / "a:b"); }},
      {kPathFileAccessError, [&] { files.WriteTextLines(temp / "a*b", {"x"}); }},
      {kPathFileAccessError, [&] { files.WriteFileAtomically(temp / "a<b", "x"); }},
      {kPathFileAccessError, [&] { files.MoveFile(temp / "a", temp / "a>b"); }},
      {kPathFileAccessError, [&] { files.DeleteFile(temp / "locked.sfv", false); }},
      {kPathFileAccessError, [&] { files.WriteFileAtomically(temp / "locked.sfv", "new"); }},
      {kFileAlreadyExists, [&] { files.MoveFile(temp / "a", temp / "file"); }},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    EXPECT_EQ(rows[i].number, OsErrorOf(rows[i].action)) << "row " << i;
  }
  EXPECT_EQ(ListTree(temp.path()), before);
  EXPECT_EQ("old", ReadFile(temp / "locked.sfv"));
  EXPECT_STREQ("File not found", OsError(kFileNotFound).what());

  files.DeleteFile(temp / "locked.sfv", true);
  files.MoveFile(temp / "full", temp / "moved");
  EXPECT_EQ(ListTree(temp.path()), (std::vector<std::string>{"a", "file", "moved/", "moved/f"}));
}

// A tree goes whole, closed and read-only parts too; links in it, and a link
// given as the tree, go as links, never what they point to.
TEST(DeleteTreeTest, RemovesLinksButNeverWhatTheyPointTo) {
  TempFolder temp;
  WriteFile(temp / "outside/keep.txt", "keep");
  WriteFile(temp / "release/CD1/closed/a.r00", "data");
  fs::permissions(temp / "release/CD1/closed", fs::perms::none);
  WriteFile(temp / "release/locked.sfv", "sfv");
  MakeReadOnly(temp / "release/locked.sfv");
  fs::create_directory_symlink(temp / "outside", temp / "release/CD1/linkToFolder");
  fs::create_symlink(temp / "outside/keep.txt", temp / "release/linkToFile");
  fs::create_directory_symlink(temp / "outside", temp / "link");
  files.DeleteTree(temp / "release");
  files.DeleteTree(temp / "link");
  EXPECT_EQ(ListTree(temp.path()), (std::vector<std::string>{"outside/", "outside/keep.txt"}));
}

// The temporary files that atomic writes of ended processes left are removed
// by the listing that asks for it; those of running processes, and every
// other name, stay, and the listing is the folder's as it is left.
TEST(LeftoverTest, OnlyTemporaryFilesOfEndedWritersAreRemoved) {
  TempFolder temp;
  const std::string ended = "4194305";  // above the highest process number Linux gives
  WriteFile(temp / (".corvane-" + ended + "-0.tmp"), "");
  WriteFile(temp / ".corvane-0-7.tmp", "");                   // no process has the number 0
  const std::vector<std::string> kept = {".corvane-1-3.tmp",  // process 1 always runs
                                         ".corvane-1-x.tmp", ".corvane-" + ended + "-1.tmp/",
                                         "a.corvane-" + ended + "-0.tmp"};
  for (const std::string& name : kept) {
    if (name.ends_with('/')) {
      MakeFolder(temp / name);
    } else {
      WriteFile(temp / name, "");
    }
  }
  std::vector<std::string> listed;
  for (const DirEntry& entry : files.ListFolderRemovingLeftovers(temp.path()))
    listed.push_back(entry.name);
  EXPECT_EQ(ListTree(temp.path()), kept);
  std::sort(listed.begin(), listed.end());  // listing order is the system's
  EXPECT_EQ(listed,
            (std::vector<std::string>{".corvane-1-x.tmp", "a.corvane-" + ended + "-0.tmp"}));
}

// Links count as what they point to, a dangling one as nothing; an atomic
// write's temporary file is never listed. The system's own search finds every
// name, "." and ".." and dangling links too, with the case ignored.
TEST(ListingTest, ListsDotFilesAndLinksByWhatTheyPointTo) {
  TempFolder temp;
  WriteFile(temp / ".sfvStatus", "");
  files.CreateFolder(temp / "CD1");
  fs::create_directory_symlink(temp / "CD1", temp / "linkedFolder");
  fs::create_symlink(temp / ".sfvStatus", temp / "linkedFile");
  fs::create_symlink(temp / "gone", temp / "dangling");
  WriteFile(temp / ".corvane-12-0.tmp", "");
  std::vector<std::string> listed;
  for (const DirEntry& entry : files.ListFolder(temp.path())) {
    listed.push_back(entry.name + (entry.isFolder ? "/" : ""));
  }
  std::sort(listed.begin(), listed.end());  // listing order is the system's
  EXPECT_EQ(listed,
            (std::vector<std::string>{".sfvStatus", "CD1/", "linkedFile", "linkedFolder/"}));
  EXPECT_TRUE(files.FolderExists(temp / "linkedFolder") &&
              !files.FileExists(temp / "linkedFolder"));
  EXPECT_TRUE(files.FileExists(temp / "linkedFile") && !files.FolderExists(temp / "linkedFile"));
  for (const char* missing : {"gone", "dangling", "linkedFile/below"}) {
    EXPECT_FALSE(files.PathExists(temp / missing)) << missing;
  }
  std::vector<std::string> found = files.SystemSearch(temp.path(), "*");
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{".", "..", ".sfvStatus", "CD1", "dangling",
                                             "linkedFile", "linkedFolder"}));
  EXPECT_EQ(files.SystemSearch(temp.path(), "cd?"), std::vector<std::string>{"CD1"});
}

TEST(WildcardMatchTest, StarQuestionAndCase) {
  const struct {
    const char* pattern;
    const char* name;
    bool matches;
  } rows[] = {
      {"", "", true},
      {"?", "", false},
      {"a*b", "axxbxxb", true},
      {"a*b", "axxbxxc", false},
      {"*.r??", "movie.R01", true},
      {"*[", "x[y", false},
      {"readme.*", "README", true},  // a trailing ".*" matches no extension too
      {"a.*", "ab", false},
      {"\xe9*", "\xc9t\xe9", false},  // only ASCII letters fold
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.matches, WildcardMatch(row.pattern, row.name)) << row.pattern << " " << row.name;
  }
  // Long runs of stars stay cheap.
  EXPECT_FALSE(WildcardMatch(std::string(200, '*') + "b", std::string(5000, 'a')));
}
