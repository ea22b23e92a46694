// The checker's permission changes through the real control: creation on
// first use, the ISSERVG6 switch, and the two lock steps of a complete release.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "checker/run/check_run.h"
#include "checker/run/permissions.h"
#include "checker/run/phases.h"
#include "platform/component.h"
#include "platform/os_error.h"
#include "tests/e2e/harness.h"
#include "tests/permlet/registered_folder.h"

namespace {

const char kLockAction[] =
    "Cannot execute CHMOD because user didn't register permlet.ocx in their system.";
const char kLockSolution[] =
    "Copy permlet.ocx into your windows\\system32 folder & run the following at a dos "
    "prompt:\r\nregsvr32.exe permlet.ocx";

int OsErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const platform::OsError& error) {
    return error.number();
  }
  return 0;
}

// Site/Some.Album/CD2 holding two files and a header folder.
class CheckerPermissionsTest : public ::testing::Test {
 protected:
  CheckerPermissionsTest() {
    e2e::WriteFile(site_ / "Some.Album/CD2/a.mp3", "a");
    e2e::WriteFile(site_ / "Some.Album/CD2/a.sfv", "a.mp3 00000000\r\n");
    e2e::MakeFolder(site_ / "Some.Album/CD2/[ complete ]");
    run_.releaseDir = site_ / "Some.Album/CD2";
    run_.parentPath = site_.path() + "/";
    run_.mainReleaseName = "Some.Album";
    run_.settings.LOCK_USER = "locker";
    run_.settings.LOCK_GROUP = "site";
    run_.settings.LOCK_CHMOD = "555";
  }
  // Points this process at a registry that lacks the control.
  void Unregister() { platform::SetComponentRegistryPath(site_ / "empty.reg"); }
  std::string Acl(const std::string& folder) const {
    const std::string path = site_ / (folder + "/.raidenftpd.acl");
    return e2e::Exists(path) ? e2e::ReadFile(path) : "";
  }

  permlet_test::RegisteredFolder registered_;
  e2e::TempFolder site_;
  CheckRun run_;
};

TEST_F(CheckerPermissionsTest, SetPermissionsMakesTheControlOnceAndWritesFreeZero) {
  e2e::WriteFile(site_ / "abc", "x");
  SetPermissions(run_, "554", "bob", "users", site_ / "abc", 0);
  const std::shared_ptr<PermissionControl> first = run_.permissionControl;
  ASSERT_NE(first, nullptr);
  SetPermissions(run_, "555", "bob", "users", site_ / "abc", 1);
  EXPECT_EQ(run_.permissionControl, first);
  EXPECT_EQ(Acl(""), "RD2 2238185766=bob|users|555|1|0|\r\n");
}

TEST_F(CheckerPermissionsTest, UnregisteredControlFailsAndIsTriedAgainNextTime) {
  Unregister();
  e2e::WriteFile(site_ / "abc", "x");
  EXPECT_EQ(OsErrorOf([&] { SetPermissions(run_, "554", "bob", "users", site_ / "abc", 0); }),
            platform::kCannotCreateObject);
  EXPECT_EQ(run_.permissionControl, nullptr);
  platform::SetComponentRegistryPath(registered_.Registry());
  SetPermissions(run_, "554", "bob", "users", site_ / "abc", 0);
  EXPECT_NE(run_.permissionControl, nullptr);
}

TEST_F(CheckerPermissionsTest, ServG6MakesNoCallAndNeverCreatesTheControl) {
  Unregister();
  run_.settings.ISSERVG6 = true;
  run_.settings.LOCK_FOLDER_IF_COMPLETE = true;
  run_.settings.LOCK_FILES_IF_COMPLETE = true;
  run_.isMultiCd = true;
  EXPECT_EQ(OsErrorOf([&] { SetPermissions(run_, "554", "bob", "users", run_.releaseDir, 0); }), 0);
  EXPECT_EQ(OsErrorOf([&] { LockRelease(run_); }), 0);
  EXPECT_EQ(run_.permissionControl, nullptr);
  EXPECT_EQ(run_.errorContext.action, "");
}

TEST_F(CheckerPermissionsTest, FolderLockOfADiskSubfolderLocksBothFolders) {
  run_.settings.LOCK_FOLDER_IF_COMPLETE = true;
  run_.isMultiCd = true;
  LockRelease(run_);
  EXPECT_EQ(run_.errorContext.action, kLockAction);
  EXPECT_EQ(run_.errorContext.solution, kLockSolution);
  EXPECT_EQ(Acl("Some.Album"), "RD2 2392391929=locker|site|555|1|0|\r\n");  // CD2
  EXPECT_EQ(Acl(""), "RD2 2170749939=locker|site|555|1|0|\r\n");            // Some.Album
  EXPECT_EQ(Acl("Some.Album/CD2"), "");
}

TEST_F(CheckerPermissionsTest, FileLockGivesEveryListedEntryTheLock) {
  run_.settings.LOCK_FILES_IF_COMPLETE = true;
  LockRelease(run_);
  const std::string acl = Acl("Some.Album/CD2");
  // a.mp3, a.sfv and the header folder; the order is the listing's.
  for (const char* line :
       {"RD2 2357264799=locker|site|555|1|0|\r\n", "RD2 2183725534=locker|site|555|1|0|\r\n",
        "RD2 871695441=locker|site|555|1|0|\r\n"})
    EXPECT_NE(acl.find(line), std::string::npos) << line;
  EXPECT_EQ(std::count(acl.begin(), acl.end(), '\n'), 3);
  EXPECT_EQ(Acl("Some.Album"), "");
}

TEST_F(CheckerPermissionsTest, UnregisteredFolderLockEndsWithTheLockContext) {
  Unregister();
  run_.settings.LOCK_FOLDER_IF_COMPLETE = true;
  EXPECT_EQ(OsErrorOf([&] { LockRelease(run_); }), platform::kCannotCreateObject);
  EXPECT_EQ(run_.errorContext.action, kLockAction);
  EXPECT_EQ(run_.errorContext.solution, kLockSolution);
}

TEST_F(CheckerPermissionsTest, UnregisteredFileLockIsIgnored) {
  Unregister();
  run_.settings.LOCK_FILES_IF_COMPLETE = true;
  EXPECT_EQ(OsErrorOf([&] { LockRelease(run_); }), 0);
  EXPECT_EQ(run_.permissionControl, nullptr);
}

}  // namespace
