// The rules of what a run may touch: names from a release's files that lead
// elsewhere or name the release's own files, and the removal of status
// entries.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "release/own_files.h"
#include "release/paths.h"
#include "release/removal.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(ReleasePaths, NamesThatLeadOutOfTheRelease) {
  struct Row {
    const char* name;
    bool stepsUp;
    bool staysInRelease;
  };
  const Row rows[] = {
      {"a.r00", false, true},
      {"Sub/a..b.r00", false, true},
      {"", false, true},
      {"..\\Victim\\data.r00", true, false},
      {"sub/../../victim.r00", true, false},
      {"...\\victim.r00", true, false},  // Windows takes "..." for ".."
      {"\\victim.r00", false, false},
      {"C:victim.r00", false, false},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(release::StepsUp(row.name), row.stepsUp) << row.name;
    EXPECT_EQ(release::StaysInRelease(row.name), row.staysInRelease) << row.name;
  }
}

// The files that the checker and the server keep in a release, whatever
// spelling an SFV gives them.
TEST(OwnFiles, NamesOfTheCheckersAndTheServersFiles) {
  release::OwnFiles own{"Rel.sfv", ".message", "[1 of 2] incomplete", false};
  release::OwnFiles zipSet = own;
  zipSet.zipSet = true;
  zipSet.messageFile.clear();
  struct Row {
    const char* name;
    bool own;
    bool ownInZipSet;
  };
  const Row rows[] = {
      {"CD1\\.RaidenFTPD.acl", true, true},
      {"rel.SFV", true, true},
      {".message. .", true, false},
      {".corvane-77-0.tmp", true, true},
      {"FILE_ID.DIZ.", false, true},
      {"a.r00", false, false},
      {"...", false, false},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(release::IsOwnFile(row.name, own), row.own) << row.name;
    EXPECT_EQ(release::IsOwnFile(row.name, zipSet), row.ownInZipSet) << row.name;
  }
}

// Only a plain name is removed, and only while it is empty as a run made it:
// a folder for a folder entry, a file for a file entry.
TEST(StatusEntries, OnlyEmptyEntriesOfPlainNamesAreRemoved) {
  struct Row {
    const char* name;
    bool asFile;
    bool removed;
  };
  const Row rows[] = {
      {"[1 of 2] incomplete", false, true}, {"empty file", true, true},
      {"full folder", false, false},        {"data.r00", true, false},
      {"empty file", false, false},         {"[1 of 2] incomplete", true, false},
      {"Rel/inner", false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    support::TempFolder site;
    const std::string folder = site / "section";
    support::MakeFolder(folder + "/[1 of 2] incomplete");
    support::MakeFolder(folder + "/Rel/inner");
    support::WriteFile(folder + "/empty file", "");
    support::WriteFile(folder + "/full folder/a.r00", "data");
    support::WriteFile(folder + "/data.r00", "data");
    std::vector<std::string> expected = support::ListTree(site.path());
    if (row.removed)
      std::erase(expected, "section/" + std::string(row.name) + (row.asFile ? "" : "/"));
    release::RemoveStatusEntry(platform::SystemFileSystem(), folder + "/", row.name, row.asFile);
    EXPECT_EQ(support::ListTree(site.path()), expected);
  }
}

}  // namespace
