#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

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

namespace {

// "name/" for folders, "name" for files, sorted: listing order is the system's.
std::vector<std::string> Describe(std::vector<DirEntry> entries) {
  std::vector<std::string> described;
  for (const DirEntry& entry : entries)
    described.push_back(entry.name + (entry.isFolder ? "/" : ""));
  std::sort(described.begin(), described.end());
  return described;
}

}  // namespace

TEST(ListFolderTest, ListsDotFilesAndLinksByWhatTheyPointTo) {
  TempFolder temp;
  WriteFile(temp / ".sfvStatus", "");
  WriteFile(temp / "a.sfv", "");
  files.CreateFolder(temp / "CD1");
  files.CreateFolder(temp / ".hidden");
  fs::create_directory_symlink(temp / "CD1", temp / "linkedFolder");
  fs::create_symlink(temp / "a.sfv", temp / "linkedFile");
  fs::create_symlink(temp / "gone", temp / "dangling");
  WriteFile(temp / ".corvane-12-0.tmp", "");  // an atomic write's temporary file

  EXPECT_EQ((std::vector<std::string>{".hidden/", ".sfvStatus", "CD1/", "a.sfv", "linkedFile",
                                      "linkedFolder/"}),
            Describe(files.ListFolder(temp.path())));
  EXPECT_TRUE(files.ListFolder(temp / "CD1").empty());
}

TEST(FindEntriesTest, MatchesIgnoringCase) {
  TempFolder temp;
  for (const char* name : {"a.sfv", "B.SFV", "c.sfv.bak", "readme", "x.nfo"})
    WriteFile(temp / name, "");
  files.CreateFolder(temp / "folder.sfv");

  EXPECT_EQ((std::vector<std::string>{"B.SFV", "a.sfv", "folder.sfv/"}),
            Describe(files.FindEntries(temp.path(), "*.sfv")));
  EXPECT_EQ(6u, files.FindEntries(temp.path(), "*.*").size());
  EXPECT_EQ((std::vector<std::string>{"readme"}),
            Describe(files.FindEntries(temp.path(), "README.*")));
}

TEST(WildcardMatchTest, StarQuestionAndCase) {
  struct Case {
    const char* pattern;
    const char* name;
    bool matches;
  };
  const Case cases[] = {
      {"*", "anything", true},
      {"", "", true},
      {"?", "", false},
      {"?", "a", true},
      {"a*b", "axxbxxb", true},
      {"a*b", "axxbxxc", false},
      {"*.r??", "movie.R01", true},
      {"*[*", "x[y", true},
      {"*[", "x[y", false},
      {"file_id.diz", "FILE_ID.DIZ", true},
      {"*.*", "noext", true},
      {"a.*", "ab", false},
      {"*.zip", "a.zip.d", false},
      {"\xe9*", "\xc9t\xe9", false},  // only ASCII letters fold
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.matches, WildcardMatch(c.pattern, c.name)) << c.pattern << " vs " << c.name;
  }
  // Long runs of stars stay cheap.
  EXPECT_FALSE(WildcardMatch(std::string(200, '*') + "b", std::string(5000, 'a')));
}

// The system's own search: every name the folder holds, "." and ".." too,
// found with the case ignored; never an atomic write's temporary file.
TEST(SystemSearchTest, FindsEveryNameThePatternMatches) {
  TempFolder temp;
  for (const char* name : {".sfvStatus", "a.sfv", "B.SFV", ".corvane-12-0.tmp"})
    WriteFile(temp / name, "");
  files.CreateFolder(temp / "Sub");
  fs::create_symlink(temp / "gone", temp / "dangling");
  struct Case {
    const char* pattern;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {"*", {".", "..", ".sfvStatus", "B.SFV", "Sub", "a.sfv", "dangling"}},
      {"*.sfv", {"B.SFV", "a.sfv"}},
      {"b.sfv", {"B.SFV"}},
      {".sfvStatus", {".sfvStatus"}},
      {"dangling", {"dangling"}},
      {".corvane-12-0.tmp", {}},
      {"none", {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> found = files.SystemSearch(temp.path(), c.pattern);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, c.names) << c.pattern;
  }
  EXPECT_EQ(kPathNotFound, OsErrorOf([&] { files.SystemSearch(temp / "none", "*"); }));
}
