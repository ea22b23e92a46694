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

using support::Exists;
using support::ReadFile;
using support::SfvText;
using support::WriteFile;
namespace {

const FileList kFiles = {{"a.r00", "first part"}, {"a.r01", "second part"}};
const std::vector<std::string> kLockSettings = {"ISSERVG6=False",
                                                "LOCK_FOLDER_IF_COMPLETE=True",
                                                "LOCK_FILES_IF_COMPLETE=True",
                                                "LOCK_USER=locker",
                                                "LOCK_GROUP=site",
                                                "LOCK_CHMOD=555",
                                                "CHMOD_SFVSTATUS=770",
                                                "CHMOD_SFVSTATUSU=%i",
                                                "CHMOD_SFVSTATUSG=%w"};

// The permission file line of `name` with `record`.
std::string AclLine(const std::string& name, const std::string& record) {
  return "RD2 " + std::to_string(permlet::NameKey(name)) + "=" + record + "\r\n";
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t found = 0;
  for (std::size_t at = 0; (at = text.find(part, at)) != std::string::npos; ++at) ++found;
  return found;
}

class WineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!UnderWine()) GTEST_SKIP() << "runs against the Windows build under wine";
  }
};

using Registered = WineTest;
using Unregistered = WineTest;

TEST_F(Registered, IncompleteReleaseGivesMarkersHeaderStoreAndMessage) {
  Site site(kLockSettings);
  WriteFile(site.InRelease("a.r00"), "first part");
  ASSERT_EQ(site.Upload("rel.sfv", SfvText(kFiles)).exitStatus, 0);
  const std::string acl = ReadFile(site.InRelease(".raidenftpd.acl"));
  EXPECT_NE(acl.find(AclLine("a.r01.missing", "bob|grp|554|0|0|")), std::string::npos) << acl;
  EXPECT_NE(acl.find(AclLine("[1 of 2] incomplete", "bob|grp|554|0|0|")), std::string::npos);
  EXPECT_NE(acl.find(AclLine(".sfvStatus", "bob|grp|770|1|0|")), std::string::npos);
  EXPECT_NE(acl.find(AclLine(".message", "bob|grp|555|1|0|")), std::string::npos);
  // An incomplete release is not locked.
  EXPECT_EQ(Count(acl, "locker"), 0u);
  EXPECT_FALSE(Exists(site.Section() + "/.raidenftpd.acl"));
}

TEST_F(Registered, CompleteReleaseIsLockedFolderAndFiles) {
  Site site(kLockSettings);
  WriteFile(site.InRelease("a.r00"), "first part");
  ASSERT_EQ(site.Upload("rel.sfv", SfvText(kFiles)).exitStatus, 0);
  ASSERT_EQ(site.Upload("a.r01", "second part").exitStatus, 0);
  EXPECT_FALSE(Exists(site.InRelease("errorlog.txt")));
  EXPECT_EQ(ReadFile(site.Section() + "/.raidenftpd.acl"), AclLine("Rel", "locker|site|555|1|0|"));
  const std::string acl = ReadFile(site.InRelease(".raidenftpd.acl"));
  // Every listed entry, dot files included; the store of a complete release
  // is not rewritten, the message file is (after the lock).
  for (const char* name : {"a.r00", "a.r01", "rel.sfv", "[2 files] complete", ".sfvStatus"})
    EXPECT_NE(acl.find(AclLine(name, "locker|site|555|1|0|")), std::string::npos) << name;
  EXPECT_NE(acl.find(AclLine(".message", "bob|grp|555|1|0|")), std::string::npos);
}

// The log gives the system's reason and the registration command, whichever
// step needed the control; the folder lock keeps its own advice.
TEST_F(Unregistered, TheRunEndsWithTheRegistrationAdvice) {
  struct Case {
    bool complete;     // else a.r01 is missing
    const char* more;  // a setting after kLockSettings
    std::vector<std::string> advice;
  };
  const Case cases[] = {
      // Without a header the lock is the run's first permission change.
      {true,
       "GOODMSG=",
       {"Action When Error Occured: Cannot execute CHMOD because user didn't register "
        "permlet.ocx in their system.\r\n"
        "Recommended Solution: \r\n\r\n"
        "Copy permlet.ocx into your windows\\system32 folder & run the following at a dos "
        "prompt:\r\nregsvr32.exe permlet.ocx\r\n"}},
      {false,
       "",
       {"Action When Error Occured: Creating the permission control permlet.ocx\r\n",
        ":\r\nregsvr32 permlet.ocx\r\n"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> settings = kLockSettings;
    if (*c.more != 0) settings.push_back(c.more);
    Site site(settings);
    WriteFile(site.InRelease("a.r00"), "first part");
    if (c.complete) WriteFile(site.InRelease("a.r01"), "second part");
    EXPECT_NE(site.Upload("rel.sfv", SfvText(kFiles)).exitStatus, 0);
    const std::string log = ReadFile(site.InRelease("errorlog.txt"));
    EXPECT_NE(log.find("Error Number: 429\r\nError Description: ActiveX component can't create "
                       "object: "),
              std::string::npos)
        << log;
    for (const std::string& part : c.advice) EXPECT_NE(log.find(part), std::string::npos) << log;
    EXPECT_FALSE(Exists(site.InRelease(".raidenftpd.acl")));
  }
}

TEST_F(Unregistered, ServG6RunNeverNeedsTheControl) {
  Site site({"ISSERVG6=True", "LOCK_FOLDER_IF_COMPLETE=True", "LOCK_FILES_IF_COMPLETE=True"});
  WriteFile(site.InRelease("a.r00"), "first part");
  WriteFile(site.InRelease("a.r01"), "second part");
  EXPECT_EQ(site.Upload("rel.sfv", SfvText(kFiles)).exitStatus, 0);
  EXPECT_FALSE(Exists(site.InRelease("errorlog.txt")));
  EXPECT_FALSE(Exists(site.InRelease(".raidenftpd.acl")));
}

}  // namespace
}  // namespace e2e
