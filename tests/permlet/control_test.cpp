// The control as its callers see it: created by class identifier through the
// component registry and called by dispatch identifier.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/component.h"
#include "platform/os_error.h"
#include "tests/permlet/registered_folder.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace {

using platform::Variant;

enum : std::int32_t {
  kOwner = 1,
  kGroup,
  kMode,
  kFree,
  kComplete,
  kErrormsg,
  kSetFilePath,
  kChmod,
  kBeginUpdate,
  kEndUpdate
};

class ControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    permlet_test::RegisterForThisProgram();
    control_ = platform::CreateComponent(permlet_test::kPermletClsid, permlet_test::kDPermletIid);
  }

  std::string Get(std::int32_t property) {
    return control_->Invoke(property, kCvPropertyGet, {}).text;
  }
  void Put(std::int32_t property, const std::string& text) {
    control_->Invoke(property, kCvPropertyPut, {Variant::Text(text)});
  }
  bool SetFilePath(const std::string& path) {
    const Variant result = control_->Invoke(kSetFilePath, kCvMethod, {Variant::Text(path)});
    EXPECT_EQ(result.type, kCvBool);
    return result.number != 0;
  }
  std::int32_t Chmod(const std::string& mode, const std::string& path, std::int16_t complete,
                     std::int16_t free = 0, const std::string& user = "bob",
                     const std::string& group = "users") {
    const Variant result =
        control_->Invoke(kChmod, kCvMethod,
                         {Variant::Text(mode), Variant::Text(user), Variant::Text(group),
                          Variant::Text(path), Variant::Int16(complete), Variant::Int16(free)});
    EXPECT_EQ(result.type, kCvInt32);
    return result.number;
  }
  std::int32_t Call(std::int32_t method) {
    const Variant result = control_->Invoke(method, kCvMethod, {});
    EXPECT_EQ(result.type, kCvInt32);
    return result.number;
  }
  // The six properties in dispatch order, as one text.
  std::string Properties() {
    std::string all;
    for (std::int32_t property = kOwner; property <= kErrormsg; ++property)
      all += Get(property) + ";";
    return all;
  }
  std::string Acl(const std::string& folder = "") const {
    return support::ReadFile(site_ / (folder + ".raidenftpd.acl"));
  }

  support::TempFolder site_;
  std::unique_ptr<platform::ComponentObject> control_;
};

TEST_F(ControlTest, StartsWithItsInitialTexts) { EXPECT_EQ(Properties(), ";;000;0;0;;"); }

TEST_F(ControlTest, SetFilePathReadsAnEntryIntoTheProperties) {
  support::WriteFile(site_ / "abc", "data");
  EXPECT_FALSE(SetFilePath(site_ / "abc"));
  EXPECT_EQ(Properties(), ";;000;0;0;Error getting file entry;");

  Chmod("554", site_ / "abc", 5);
  EXPECT_TRUE(SetFilePath(site_ / "abc"));
  EXPECT_EQ(Properties(), "bob;users;554;0;1;;");
}

TEST_F(ControlTest, PropertiesWrittenByHandAreOverwrittenBySetFilePath) {
  support::WriteFile(site_ / "abc", "data");
  Chmod("555", site_ / "abc", 0);
  Put(kOwner, "mallory");
  Put(kErrormsg, "anything");
  EXPECT_EQ(Get(kOwner), "mallory");
  EXPECT_TRUE(SetFilePath(site_ / "ABC"));
  EXPECT_EQ(Properties(), "bob;users;555;0;0;;");
}

TEST_F(ControlTest, ThePermissionFileReadsAsRootsAndComplete) {
  EXPECT_TRUE(SetFilePath(site_ / ".RaidenFTPD.ACL"));
  EXPECT_EQ(Properties(), "root;root;000;0;1;;");
}

TEST_F(ControlTest, ChmodWritesTheEntryWithFreeAlwaysZero) {
  support::WriteFile(site_ / "abc", "data");
  EXPECT_EQ(Chmod("554", site_ / "abc", 0, 1), 0);
  EXPECT_EQ(Acl(), "RD2 2238185766=bob|users|554|0|0|\r\n");
}

TEST_F(ControlTest, ChmodOfAMissingPathWritesNothing) {
  EXPECT_EQ(Chmod("554", site_ / "nothing.here", 1), 0);
  EXPECT_EQ(Chmod("554", site_ / "no/such/folder/*", 1), 0);
  EXPECT_FALSE(support::Exists(site_ / ".raidenftpd.acl"));
}

TEST_F(ControlTest, ChmodOfAFolderSetsItsEntryInTheParent) {
  support::MakeFolder(site_ / "Release");
  Chmod("555", site_ / "Release/", 1);  // with a trailing separator nothing is found
  EXPECT_FALSE(support::Exists(site_ / ".raidenftpd.acl"));
  Chmod("555", site_ / "Release", 1);
  EXPECT_TRUE(SetFilePath(site_ / "release"));
  EXPECT_EQ(Properties(), "bob;users;555;0;1;;");
  EXPECT_FALSE(support::Exists(site_ / "Release/.raidenftpd.acl"));
}

TEST_F(ControlTest, PatternGivesNewNamesCompleteOneAndKnownNamesTheCallersFlag) {
  for (const char* name : {"a.r00", "a.r01", "a.nfo"}) support::WriteFile(site_ / name, "x");
  Chmod("554", site_ / "a.r00", 0);
  Chmod("555", site_ / "A.R*", 0, 0, "lock", "grp");

  EXPECT_TRUE(SetFilePath(site_ / "a.r00"));
  EXPECT_EQ(Properties(), "lock;grp;555;0;0;;");
  EXPECT_TRUE(SetFilePath(site_ / "a.r01"));
  EXPECT_EQ(Properties(), "lock;grp;555;0;1;;");
  EXPECT_FALSE(SetFilePath(site_ / "a.nfo"));
}

TEST_F(ControlTest, StarPatternAlsoCoversThePermissionFileAndTheDotNames) {
  support::WriteFile(site_ / "abc", "x");
  Chmod("554", site_ / "abc", 0);
  Chmod("555", site_ / "*", 1, 0, "lock", "grp");
  // Keys of abc, the permission file, "." and "..", in bucket order.
  EXPECT_EQ(Acl(),
            "RD2 2238185766=lock|grp|555|1|0|\r\n"
            "RD2 970458541=lock|grp|555|1|0|\r\n"
            "RD2 150863918=lock|grp|555|1|0|\r\n"
            "RD2 3631349852=lock|grp|555|1|0|\r\n");
}

// Inside an update every Chmod has the effect it has alone (a pattern's test
// for an existing entry sees the changes before it; the searches see the
// folder as it is), but the file is written only at EndUpdate, which reports
// the first change that could not be made.
TEST_F(ControlTest, AnUpdateLeavesTheBytesOfChangesMadeAlone) {
  struct Step {
    const char* mode;
    const char* name;
    std::int16_t complete;
    const char* user;
  };
  const Step steps[] = {
      {"554", "a.r00", 0, "bob"},   {"555", "A.R*", 0, "lock"}, {"554", "a.nfo", 1, "bob"},
      {"554", "missing", 1, "bob"}, {"554", "Sub", 1, "bob"},   {"770", "*", 0, "site"},
      {"554", "a.r01", 0, "b|ob"},
  };
  const std::string alone = site_ / "alone/", update = site_ / "update/";
  for (const std::string& folder : {alone, update}) {
    for (const char* name : {"a.r00", "a.r01", "a.nfo"}) support::WriteFile(folder + name, "x");
    support::WriteFile(folder + ".raidenftpd.acl", "RD2 77=a|b|c|1|0|\r\n");
    support::MakeFolder(folder + "Sub");
  }
  for (const Step& step : steps) Chmod(step.mode, alone + step.name, step.complete, 0, step.user);

  EXPECT_EQ(Call(kBeginUpdate), 0);
  EXPECT_EQ(Call(kBeginUpdate), 0);  // joins the open update
  for (const Step& step : steps) {
    Chmod(step.mode, update + step.name, step.complete, 0, step.user);
    EXPECT_EQ(support::ReadFile(update + ".raidenftpd.acl"), "RD2 77=a|b|c|1|0|\r\n") << step.name;
  }
  EXPECT_EQ(Call(kEndUpdate), platform::kInvalidArgument);  // the owner "b|ob"
  EXPECT_EQ(Acl("update/"), Acl("alone/"));
  EXPECT_EQ(Call(kEndUpdate), 0);
}

TEST_F(ControlTest, CallsOutsideTheInterfaceAreRefused) {
  EXPECT_EQ(support::OsErrorOf([&] { control_->Invoke(11, kCvMethod, {}); }),
            platform::kMemberNotSupported);
  EXPECT_EQ(
      support::OsErrorOf([&] { control_->Invoke(kEndUpdate, kCvMethod, {Variant::Int16(1)}); }),
      platform::kWrongArgumentCount);
  EXPECT_EQ(
      support::OsErrorOf([&] { control_->Invoke(kChmod, kCvMethod, {Variant::Text("554")}); }),
      platform::kWrongArgumentCount);
  EXPECT_EQ(
      support::OsErrorOf([&] { control_->Invoke(kSetFilePath, kCvMethod, {Variant::Int16(1)}); }),
      platform::kTypeMismatch);
  EXPECT_EQ(support::OsErrorOf([&] { control_->Invoke(kChmod, kCvPropertyGet, {}); }),
            platform::kMemberNotSupported);
  // A 32-bit flag is taken when it fits 16 bits.
  EXPECT_EQ(support::OsErrorOf([&] {
              control_->Invoke(
                  kChmod, kCvMethod,
                  {Variant::Text("554"), Variant::Text("u"), Variant::Text("g"),
                   Variant::Text(site_ / "x"), Variant::Int32(70000), Variant::Int16(0)});
            }),
            platform::kTypeMismatch);
}

TEST(ControlCreationTest, FailsWithErrorFourHundredTwentyNineWhenNotCreatable) {
  auto numberOf = [](const CvGuid& clsid, const CvGuid& iid) {
    return support::OsErrorOf([&] { platform::CreateComponent(clsid, iid); });
  };
  permlet_test::RegisterForThisProgram();
  EXPECT_EQ(numberOf(permlet_test::kPermletClsid, permlet_test::kDPermletIid), 0);
  EXPECT_EQ(numberOf(permlet_test::kPermletClsid, platform::kIidDispatch), 0);
  EXPECT_EQ(numberOf(permlet_test::kPermletClsid, platform::kIidClassFactory), 429);
  EXPECT_EQ(numberOf(permlet_test::kDPermletIid, platform::kIidDispatch), 429);
}

}  // namespace
