// Parent status entries: where a release reports, the parent in-progress
// marker and the entries of both states, on real folders.
#include <gtest/gtest.h>

#include "checker/run/phases.h"
#include "tests/display/display_fixture.h"

namespace display_test {
namespace {

using Tree = std::vector<std::string>;

constexpr const char* kDriveRootName = "Cannot_Write_Parent_Status--Release_uploaded_to_drive_root";

class Parent : public ::testing::Test {
 protected:
  Parent() {
    settings::CheckerSettings& s = d.settings;
    s.MK_PARENT = 1;
    s.INC_MAKE_IN_PARENT = "(incomplete) %r";
    s.COM_MAKE_IN_PARENT = "(complete) %r";
    d.run.parentPath.clear();
    d.run.releaseName.clear();
  }
  void Complete() {
    d.SetCounts(10, 10);
    d.run.releaseComplete = true;
  }
  // Writes the entry after an earlier run left the folder entry `old`.
  void EntryAfter(const std::string& old) {
    support::MakeFolder(d.InSection(old));
    d.run.parentEntryName = old;
    Entry(d.run.releaseDir);
  }
  // Locates the parent of `releaseDir` and writes the entry.
  void Entry(const std::string& releaseDir) {
    d.run.releaseDir = releaseDir;
    LocateParent(d.run);
    WriteParentEntry(d.run);
  }
  DisplayRun d;
};

TEST_F(Parent, LocatesTheParentFolder) {
  LocateParent(d.run);
  EXPECT_EQ(d.run.parentPath, d.Section() + "/");
  EXPECT_EQ(d.run.releaseName, "Rel");
  EXPECT_FALSE(d.run.isMultiCd);
}

// Without parent entries nothing is located: the release keeps its own name
// for the templates, and no parent marker is made or looked for.
TEST_F(Parent, NoParentWithMkParentZero) {
  d.settings.MK_PARENT = 0;
  d.settings.MK_FO_HEADER_PARENT = true;
  d.settings.UP_TWO_IF_MULTI = true;
  d.settings.MULTICD_KEYS = "REL";
  d.run.parentEntryName = "(incomplete) Rel";
  LocateParent(d.run);
  EXPECT_EQ(d.run.parentPath, "");
  EXPECT_EQ(d.run.releaseName, "Rel");
  EXPECT_FALSE(d.run.isMultiCd);
  MarkParentInProgress(d.run);
  WriteParentEntry(d.run);
  ClearParentInProgress(d.run);
  EXPECT_EQ(d.Tree(), Tree{"Rel/"});
  EXPECT_EQ(d.run.parentEntryName, "(incomplete) Rel");
}

// On POSIX a release folder directly in the file-system root stands for a
// release uploaded to a drive root.
TEST_F(Parent, DriveRoot) {
  d.run.releaseDir = "/rel";
  LocateParent(d.run);
  EXPECT_EQ(d.run.parentPath, "/rel/");
  EXPECT_EQ(d.run.releaseName, kDriveRootName);
  EXPECT_EQ(d.run.errorContext.action,
            "SFV is in the root folder of a drive, no parent can be found");
  EXPECT_EQ(d.run.errorContext.solution,
            "Don't upload to drive roots.  If you need to, keep in mind that parent headers will "
            "not be created");
}

TEST_F(Parent, DiskSubfolderReportsAboveItsMainRelease) {
  d.settings.UP_TWO_IF_MULTI = true;
  d.settings.MULTICD_KEYS = "cd1|CD2";
  d.run.releaseDir = d.InSection("Some.Album/CD1");
  LocateParent(d.run);
  EXPECT_EQ(d.run.parentPath, d.Section() + "/");
  EXPECT_EQ(d.run.releaseName, "Some.Album-CD1");
  EXPECT_EQ(d.run.mainReleaseName, "Some.Album");
  EXPECT_TRUE(d.run.isMultiCd);
}

TEST_F(Parent, DiskSubfolderOfARootReleaseFails) {
  d.settings.UP_TWO_IF_MULTI = true;
  d.settings.MULTICD_KEYS = "CD1";
  d.run.releaseDir = "/Album/CD1";
  EXPECT_NE(OsErrorOf([&] { LocateParent(d.run); }), 0);
  d.run.releaseDir = "/CD1";
  EXPECT_NE(OsErrorOf([&] { LocateParent(d.run); }), 0);
}

TEST_F(Parent, InProgressMarker) {
  const std::string marker = d.InSection("Rel - Currently being SFV checked...please wait");
  LocateParent(d.run);
  MarkParentInProgress(d.run);
  EXPECT_FALSE(support::Exists(marker));
  d.settings.MK_FO_HEADER_PARENT = true;
  MarkParentInProgress(d.run);
  EXPECT_TRUE(support::Exists(marker));
  d.settings.MK_FO_HEADER_PARENT = false;
  ClearParentInProgress(d.run);
  EXPECT_FALSE(support::Exists(marker));
}

TEST_F(Parent, IncompleteEntryReplacesThePreviousOne) {
  EntryAfter("(incomplete) old");
  EXPECT_EQ(d.Tree(), (Tree{"(incomplete) Rel/", "Rel/"}));
  EXPECT_EQ(d.run.parentEntryName, "(incomplete) Rel");
  EXPECT_EQ(d.run.expanded.incMakeInParent, "(incomplete) Rel");
  EXPECT_EQ(d.run.errorContext.action, "Writing 'incomplete' folder to parent path");
  EXPECT_EQ(d.run.errorContext.solution,
            "Check to see if INC_MAKE_IN_PARENT in corvane.ini does not contain any of these "
            "characters /\\:*?<>|\"");
  EXPECT_TRUE(d.PermissionCalls().empty());
}

TEST_F(Parent, CompleteEntryReplacesTheIncompleteOne) {
  Complete();
  EntryAfter("(incomplete) Rel");
  EXPECT_EQ(d.Tree(), (Tree{"(complete) Rel/", "Rel/"}));
  EXPECT_EQ(d.run.parentEntryName, "(complete) Rel");
  EXPECT_EQ(d.run.errorContext.action, "Writing 'complete' folder to parent path");
}

// Both states named alike: the complete run makes the entry first, and must
// not then take it away as the previous one.
TEST_F(Parent, CompleteEntryOfTheSameNameStays) {
  Complete();
  d.settings.COM_MAKE_IN_PARENT = "%r - status";
  EntryAfter("Rel - status");
  EXPECT_EQ(d.Tree(), (Tree{"Rel - status/", "Rel/"}));
}

TEST_F(Parent, FileEntries) {
  d.settings.FILE_HEADER = true;
  support::WriteFile(d.InSection("(incomplete) old"), "");
  d.run.parentEntryName = "(incomplete) old";
  Entry(d.run.releaseDir);
  EXPECT_EQ(d.Tree(), (Tree{"(incomplete) Rel", "Rel/"}));
}

TEST_F(Parent, OnlyDiskSubfoldersWithMkParentTwo) {
  d.settings.MK_PARENT = 2;
  d.settings.MULTICD_KEYS = "CD1|CD2";
  support::MakeFolder(d.InSection("Some.Album/CD2"));
  support::MakeFolder(d.InSection("Some.Album/cd2"));
  Entry(d.InSection("Some.Album/cd2"));  // letter case counts here
  EXPECT_EQ(d.run.parentEntryName, "");
  Entry(d.InSection("Some.Album/CD2"));
  EXPECT_EQ(d.run.parentEntryName, "(incomplete) CD2");
  EXPECT_TRUE(support::Exists(d.InSection("Some.Album/(incomplete) CD2")));
}

TEST_F(Parent, UpTwoEntryGoesAboveTheMainRelease) {
  d.settings.UP_TWO_IF_MULTI = true;
  d.settings.MULTICD_KEYS = "CD1";
  support::MakeFolder(d.InSection("Some.Album/CD1"));
  Entry(d.InSection("Some.Album/CD1"));
  EXPECT_TRUE(support::Exists(d.InSection("(incomplete) Some.Album-CD1")));
}

TEST_F(Parent, CompleteOverrideOnly) {
  const std::string done = d.temp / "done";
  support::MakeFolder(done);
  d.settings.PARENT_PATH_OVERRIDE_C = done;
  Entry(d.run.releaseDir);
  EXPECT_EQ(d.Tree(), (Tree{"(incomplete) Rel/", "Rel/"}));

  Complete();
  WriteParentEntry(d.run);
  EXPECT_EQ(d.Tree(), Tree{"Rel/"});
  EXPECT_EQ(support::ListTree(done), Tree{"(complete) Rel/"});
  EXPECT_EQ(d.run.errorContext.action, "Writing 'complete' folder to parent path using override");
  EXPECT_EQ(d.run.errorContext.solution,
            "Check to see that entry PARENT_PATH_OVERRIDE_C in corvane.ini does not end with a "
            "slash (\\)\r\nAlso check to make sure your COM_MAKE_IN_PARENT ini entry does not "
            "contain any of these characters /\\:*?<>|\"");
}

TEST_F(Parent, IncompleteOverrideClearsEveryPlace) {
  const std::string incomplete = d.temp / "inc";
  const std::string complete = d.temp / "done";
  for (const std::string& folder : {incomplete, complete, d.Section()}) {
    support::MakeFolder(folder + "/old entry");
  }
  d.settings.PARENT_PATH_OVERRIDE_I = incomplete;
  d.settings.PARENT_PATH_OVERRIDE_C = complete;
  d.run.parentEntryName = "old entry";
  Entry(d.run.releaseDir);
  EXPECT_EQ(d.Tree(), Tree{"Rel/"});
  EXPECT_EQ(support::ListTree(complete), Tree{});
  EXPECT_EQ(support::ListTree(incomplete), Tree{"(incomplete) Rel/"});
}

TEST_F(Parent, UnacceptableNameEndsTheRun) {
  d.settings.INC_MAKE_IN_PARENT = "%r|%g";
  EXPECT_NE(OsErrorOf([&] { Entry(d.run.releaseDir); }), 0);
  EXPECT_EQ(d.Tree(), Tree{"Rel/"});
}

}  // namespace
}  // namespace display_test
