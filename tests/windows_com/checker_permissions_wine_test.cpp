// The checker's permission changes on Windows, end to end under wine: the
// Windows build's corvane.exe creates permlet.ocx through the system's
// component services, after "regsvr32 permlet.ocx" (run_wine_tests.sh);
// natively there is nothing to run.
#include <gtest/gtest.h>

#include <string>

#include "permlet/aclfile/name_key.h"
#include "tests/e2e/site.h"

namespace e2e {
namespace {

TEST(Registered, CompleteReleaseIsLocked) {
  if (!UnderWine()) GTEST_SKIP() << "runs against the Windows build under wine";
  Site site({"ISSERVG6=False", "LOCK_FOLDER_IF_COMPLETE=True", "LOCK_USER=locker",
             "LOCK_GROUP=site", "LOCK_CHMOD=555"});
  support::WriteFile(site.InRelease("a.r00"), "first part");
  const FileList files = {{"a.r00", "first part"}, {"a.r01", "second part"}};
  ASSERT_EQ(site.Upload("rel.sfv", support::SfvText(files)).exitStatus, 0);
  ASSERT_EQ(site.Upload("a.r01", "second part").exitStatus, 0);
  EXPECT_FALSE(support::Exists(site.InRelease("errorlog.txt")));
  EXPECT_EQ(support::ReadFile(site.Section() + "/.raidenftpd.acl"),
            "RD2 " + std::to_string(permlet::NameKey("Rel")) + "=locker|site|555|1|0|\r\n");
}

}  // namespace
}  // namespace e2e
