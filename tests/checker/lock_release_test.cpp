// The two lock steps of a complete release, with a recorder in place of the
// permission control.
#include <gtest/gtest.h>

#include <algorithm>

#include "checker/run/phases.h"
#include "tests/support/files.h"
#include "tests/support/run_under_test.h"
#include "tests/support/temp_folder.h"

namespace {

using support::PermissionCall;

constexpr const char* kLockAction =
    "Cannot execute CHMOD because user didn't register permlet.ocx in their system.";

// Site/Some.Album/CD2 holding two files and a header folder.
class LockRelease : public ::testing::Test {
 protected:
  LockRelease() {
    support::WriteFile(site / "Some.Album/CD2/a.mp3", "a");
    support::WriteFile(site / "Some.Album/CD2/a.sfv", "a.mp3 00000000\r\n");
    support::MakeFolder(site / "Some.Album/CD2/[ complete ]");
    run.releaseDir = site / "Some.Album/CD2";
    run.parentPath = site.path() + "/";
    run.mainReleaseName = "Some.Album";
    run.isMultiCd = true;
    test.settings.LOCK_USER = "locker";
    test.settings.LOCK_GROUP = "site";
    test.settings.LOCK_CHMOD = "555";
  }
  PermissionCall Lock(const std::string& path) const { return {"555", "locker", "site", path, 1}; }

  support::TempFolder site;
  support::RunUnderTest test;
  CheckRun& run = test.run;
};

// The folder lock of a disk subfolder locks the main release folder too.
TEST_F(LockRelease, FolderAndFileLocks) {
  test.settings.LOCK_FOLDER_IF_COMPLETE = test.settings.LOCK_FILES_IF_COMPLETE = true;
  ::LockRelease(run);
  std::vector<PermissionCall> calls = test.permissions.calls;
  std::sort(calls.begin(), calls.end(), [](auto& a, auto& b) { return a.path < b.path; });
  EXPECT_EQ(calls, (std::vector{Lock(site / "Some.Album"), Lock(run.releaseDir),
                                Lock(run.releaseDir + "/[ complete ]"),
                                Lock(run.releaseDir + "/a.mp3"), Lock(run.releaseDir + "/a.sfv")}));
}

// A control that cannot be made ends the run from the folder lock, with the
// registration advice; in the file lock it is ignored.
TEST_F(LockRelease, OnlyTheFolderLockNeedsTheControl) {
  test.settings.LOCK_FILES_IF_COMPLETE = true;
  test.permissions.Refuse(429);
  EXPECT_EQ(support::OsErrorOf([&] { ::LockRelease(run); }), 0);
  test.settings.LOCK_FOLDER_IF_COMPLETE = true;
  EXPECT_EQ(support::OsErrorOf([&] { ::LockRelease(run); }), 429);
  EXPECT_EQ(run.errorContext.action, kLockAction);
}

}  // namespace
