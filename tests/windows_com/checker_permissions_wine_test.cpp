// The checker's permission changes on Windows, end to end under wine: the
// Windows build's corvane.exe creates permlet.ocx through the system's
// component services. The suite Registered runs after "regsvr32
// permlet.ocx", Unregistered after "regsvr32 /u permlet.ocx"
// (run_wine_tests.sh); natively there is nothing to run.
#include <gtest/gtest.h>

#include <string>

#include "permlet/aclfile/name_key.h"
#include "tests/e2e/site.h"

namespace e2e {
namespace {

const FileList kFiles = {{"a.r00", "first part"}, {"a.r01", "second part"}};
const std::vector<std::string> kLockSettings = {"ISSERVG6=False", "LOCK_FOLDER_IF_COMPLETE=True",
                                                "LOCK_USER=locker", "LOCK_GROUP=site",
                                                "LOCK_CHMOD=555"};

class WineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!UnderWine()) GTEST_SKIP() << "runs against the Windows build under wine";
  }
};

using Registered = WineTest;
using Unregistered = WineTest;

TEST_F(Registered, CompleteReleaseIsLocked) {
  Site site(kLockSettings);
  support::WriteFile(site.InRelease("a.r00"), "first part");
  ASSERT_EQ(site.Upload("rel.sfv", support::SfvText(kFiles)).exitStatus, 0);
  ASSERT_EQ(site.Upload("a.r01", "second part").exitStatus, 0);
  EXPECT_FALSE(support::Exists(site.InRelease("errorlog.txt")));
  EXPECT_EQ(support::ReadFile(site.Section() + "/.raidenftpd.acl"),
            "RD2 " + std::to_string(permlet::NameKey("Rel")) + "=locker|site|555|1|0|\r\n");
}

TEST_F(Unregistered, TheRunEndsWithTheSystemsReasonAndTheRegistrationAdvice) {
  Site site(kLockSettings);
  support::WriteFile(site.InRelease("a.r00"), "first part");
  EXPECT_NE(site.Upload("rel.sfv", support::SfvText(kFiles)).exitStatus, 0);
  const std::string log = support::ReadFile(site.InRelease("errorlog.txt"));
  EXPECT_NE(log.find("Error Number: 429\r\nError Description: ActiveX component can't create "
                     "object: "),
            std::string::npos)
      << log;
  EXPECT_NE(log.find(":\r\nregsvr32 permlet.ocx\r\n"), std::string::npos) << log;
  EXPECT_FALSE(support::Exists(site.InRelease(".raidenftpd.acl")));
}

}  // namespace
}  // namespace e2e
