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
    settings::CheckerSettings& s = d.run.settings;
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
    e2e::MakeFolder(d.InSection(old));
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
  d.run.settings.MK_PARENT = 0;
  d.run.settings.MK_FO_HEADER_PARENT = true;
  d.run.settings.UP_TWO_IF_MULTI = true;
  d.run.settings.MULTICD_KEYS = "REL";
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
  d.run.settings.UP_TWO_IF_MULTI = true;
  d.run.settings.MULTICD_KEYS = "cd1|CD2";
  d.run.releaseDir = d.InSection("Some.Album/CD1");
  LocateParent(d.run);
  EXPECT_EQ(d.run.parentPath, d.Section() + "/");
  EXPECT_EQ(d.run.releaseName, "Some.Album-CD1");
  EXPECT_EQ(d.run.mainReleaseName, "Some.Album");
  EXPECT_TRUE(d.run.isMultiCd);
}

TEST_F(Parent, DiskSubfolderOfARootReleaseFails) {
  d.run.settings.UP_TWO_IF_MULTI = true;
  d.run.settings.MULTICD_KEYS = "CD1";
  d.run.releaseDir = "/Album/CD1";
  EXPECT_NE(ErrorNumberOf([&] { LocateParent(d.run); }), 0);
  d.run.releaseDir = "/CD1";
  EXPECT_NE(ErrorNumberOf([&] { LocateParent(d.run); }), 0);
}

TEST_F(Parent, InProgressMarker) {
  const std::string marker = d.InSection("Rel - Currently being SFV checked...please wait");
  LocateParent(d.run);
  MarkParentInProgress(d.run);
  EXPECT_FALSE(e2e::Exists(marker));
  d.run.settings.MK_FO_HEADER_PARENT = true;
  MarkParentInProgress(d.run);
  EXPECT_TRUE(e2e::Exists(marker));
  d.run.settings.MK_FO_HEADER_PARENT = false;
  ClearParentInProgress(d.run);
  EXPECT_FALSE(e2e::Exists(marker));
}

TEST_F(Parent, IncompleteEntryReplacesThePreviousOne) {
  EntryAfter("(incomplete) old");
  EXPECT_EQ(d.Tree(), (Tree{"(incomplete) Rel/", "Rel/"}));
  EXPECT_EQ(d.run.parentEntryName, "(incomplete) Rel");
  EXPECT_EQ(d.run.settings.INC_MAKE_IN_PARENT, "(incomplete) Rel");
  EXPECT_EQ(d.run.errorContext.action, "Writing 'incomplete' folder to parent path");
  EXPECT_EQ(d.run.errorContext.solution,
            "Check to see if INC_MAKE_IN_PARENT in corvane.ini does not contain any of these "
            "characters /\\:*?<>|\"");
  EXPECT_TRUE(PermissionCalls().empty());
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
  d.run.settings.COM_MAKE_IN_PARENT = "%r - status";
  EntryAfter("Rel - status");
  EXPECT_EQ(d.Tree(), (Tree{"Rel - status/", "Rel/"}));
}

TEST_F(Parent, FileEntries) {
  d.run.settings.FILE_HEADER = true;
  e2e::WriteFile(d.InSection("(incomplete) old"), "");
  d.run.parentEntryName = "(incomplete) old";
  Entry(d.run.releaseDir);
  EXPECT_EQ(d.Tree(), (Tree{"(incomplete) Rel", "Rel/"}));
}

TEST_F(Parent, OnlyDiskSubfoldersWithMkParentTwo) {
  d.run.settings.MK_PARENT = 2;
  d.run.settings.MULTICD_KEYS = "CD1|CD2";
  e2e::MakeFolder(d.InSection("Some.Album/CD2"));
  e2e::MakeFolder(d.InSection("Some.Album/cd2"));
  Entry(d.InSection("Some.Album/cd2"));  // letter case counts here
  EXPECT_EQ(d.run.parentEntryName, "");
  Entry(d.InSection("Some.Album/CD2"));
  EXPECT_EQ(d.run.parentEntryName, "(incomplete) CD2");
  EXPECT_TRUE(e2e::Exists(d.InSection("Some.Album/(incomplete) CD2")));
}

TEST_F(Parent, UpTwoEntryGoesAboveTheMainRelease) {
  d.run.settings.UP_TWO_IF_MULTI = true;
  d.run.settings.MULTICD_KEYS = "CD1";
  e2e::MakeFolder(d.InSection("Some.Album/CD1"));
  Entry(d.InSection("Some.Album/CD1"));
  EXPECT_TRUE(e2e::Exists(d.InSection("(incomplete) Some.Album-CD1")));
}

TEST_F(Parent, CompleteOverrideOnly) {
  const std::string done = d.temp / "done";
  e2e::MakeFolder(done);
  d.run.settings.PARENT_PATH_OVERRIDE_C = done;
  Entry(d.run.releaseDir);
  EXPECT_EQ(d.Tree(), (Tree{"(incomplete) Rel/", "Rel/"}));

  Complete();
  WriteParentEntry(d.run);
  EXPECT_EQ(d.Tree(), Tree{"Rel/"});
  EXPECT_EQ(e2e::ListTree(done), Tree{"(complete) Rel/"});
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
    e2e::MakeFolder(folder + "/old entry");
  }
  d.run.settings.PARENT_PATH_OVERRIDE_I = incomplete;
  d.run.settings.PARENT_PATH_OVERRIDE_C = complete;
  d.run.parentEntryName = "old entry";
  Entry(d.run.releaseDir);
  EXPECT_EQ(d.Tree(), Tree{"Rel/"});
  EXPECT_EQ(e2e::ListTree(complete), Tree{});
  EXPECT_EQ(e2e::ListTree(incomplete), Tree{"(incomplete) Rel/"});
}

TEST_F(Parent, UnacceptableNameEndsTheRun) {
  d.run.settings.INC_MAKE_IN_PARENT = "%r|%g";
  EXPECT_NE(ErrorNumberOf([&] { Entry(d.run.releaseDir); }), 0);
  EXPECT_EQ(d.Tree(), Tree{"Rel/"});
}

// The parent entry's name comes from the status store, which a user can
// replace: only an empty entry of a plain name is ever removed.
TEST_F(Parent, CraftedStoreNamesAreIgnored) {
  e2e::WriteFile(d.InRelease(".sfvStatus"), "crafted");
  e2e::WriteFile(d.InSection("Other.Release/a.r00"), "data");
  e2e::WriteFile(d.temp / "outside/keep", "data");
  for (const std::string crafted : {"..", ".", "../outside", "Rel", "Other.Release"}) {
    SCOPED_TRACE(crafted);
    d.run.settings.INC_MAKE_IN_PARENT = "(incomplete) %r";
    d.run.parentEntryName = crafted;
    Entry(d.run.releaseDir);
  }
  EXPECT_EQ(d.Tree(), (Tree{"(incomplete) Rel/", "Other.Release/", "Other.Release/a.r00", "Rel/",
                            "Rel/.sfvStatus"}));
  EXPECT_TRUE(e2e::Exists(d.temp / "outside/keep"));
}

}  // namespace
}  // namespace display_test
