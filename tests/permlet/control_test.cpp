// The control as its callers see it: created by class identifier through the
// component registry and called by dispatch identifier.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

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
  // The result of a method, checked for its type.
  std::int32_t Call(std::int32_t method, const std::vector<Variant>& args, CvVarType type) {
    const Variant result = control_->Invoke(method, kCvMethod, args);
    EXPECT_EQ(result.type, type);
    return result.number;
  }
  bool SetFilePath(const std::string& path) {
    return Call(kSetFilePath, {Variant::Text(path)}, kCvBool) != 0;
  }
  std::int32_t Chmod(const std::string& mode, const std::string& path, std::int16_t complete,
                     std::int16_t free = 0, const std::string& user = "bob") {
    return Call(kChmod,
                {Variant::Text(mode), Variant::Text(user), Variant::Text("users"),
                 Variant::Text(path), Variant::Int16(complete), Variant::Int16(free)},
                kCvInt32);
  }
  // The six properties in dispatch order, as one text.
  std::string Properties() {
    std::string all;
    for (std::int32_t property = kOwner; property <= kErrormsg; ++property)
      all += control_->Invoke(property, kCvPropertyGet, {}).text + ";";
    return all;
  }
  std::string Acl(const std::string& folder = "") const {
    return support::ReadFile(site_ / (folder + ".raidenftpd.acl"));
  }

  support::TempFolder site_;
  std::unique_ptr<platform::ComponentObject> control_;
};

TEST_F(ControlTest, SetFilePathReadsAnEntryIntoTheProperties) {
  EXPECT_EQ(Properties(), ";;000;0;0;;");
  support::WriteFile(site_ / "abc", "data");
  EXPECT_FALSE(SetFilePath(site_ / "abc"));
  EXPECT_EQ(Properties(), ";;000;0;0;Error getting file entry;");
  Chmod("554", site_ / "abc", 5, 1);
  EXPECT_EQ(Acl(), "RD2 2238185766=bob|users|554|5|0|\r\n");  // free is always written 0
  control_->Invoke(kOwner, kCvPropertyPut, {Variant::Text("mallory")});
  EXPECT_EQ(Properties(), "mallory;;000;0;0;Error getting file entry;");
  EXPECT_TRUE(SetFilePath(site_ / "ABC"));
  EXPECT_EQ(Properties(), "bob;users;554;0;1;;");
}

TEST_F(ControlTest, ChmodOfAMissingPathWritesNothingOfAFolderInTheParent) {
  EXPECT_EQ(Chmod("554", site_ / "nothing.here", 1), 0);
  EXPECT_EQ(Chmod("554", site_ / "no/such/folder/*", 1), 0);
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
  Chmod("555", site_ / "A.R*", 0, 0, "lock");
  EXPECT_TRUE(SetFilePath(site_ / "a.r00"));
  EXPECT_EQ(Properties(), "lock;users;555;0;0;;");
  EXPECT_TRUE(SetFilePath(site_ / "a.r01"));
  EXPECT_EQ(Properties(), "lock;users;555;0;1;;");
  EXPECT_FALSE(SetFilePath(site_ / "a.nfo"));
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

  EXPECT_EQ(Call(kBeginUpdate, {}, kCvInt32), 0);
  EXPECT_EQ(Call(kBeginUpdate, {}, kCvInt32), 0);  // joins the open update
  for (const Step& step : steps) {
    Chmod(step.mode, update + step.name, step.complete, 0, step.user);
    EXPECT_EQ(support::ReadFile(update + ".raidenftpd.acl"), "RD2 77=a|b|c|1|0|\r\n") << step.name;
  }
  EXPECT_EQ(Call(kEndUpdate, {}, kCvInt32), platform::kInvalidArgument);  // the owner "b|ob"
  EXPECT_EQ(Acl("update/"), Acl("alone/"));
  EXPECT_EQ(Call(kEndUpdate, {}, kCvInt32), 0);
}

TEST_F(ControlTest, CallsOutsideTheInterfaceAreRefused) {
  struct Case {
    std::int32_t id;
    CvInvokeKind kind;
    std::vector<Variant> args;
    int error;
  };
  const Case cases[] = {
      {11, kCvMethod, {}, platform::kMemberNotSupported},
      {kChmod, kCvPropertyGet, {}, platform::kMemberNotSupported},
      {kEndUpdate, kCvMethod, {Variant::Int16(1)}, platform::kWrongArgumentCount},
      {kChmod, kCvMethod, {Variant::Text("554")}, platform::kWrongArgumentCount},
      {kSetFilePath, kCvMethod, {Variant::Int16(1)}, platform::kTypeMismatch},
      // A 32-bit flag is taken when it fits 16 bits.
      {kChmod,
       kCvMethod,
       {Variant::Text("554"), Variant::Text("u"), Variant::Text("g"), Variant::Text(site_ / "x"),
        Variant::Int32(70000), Variant::Int16(0)},
       platform::kTypeMismatch},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(support::OsErrorOf([&] { control_->Invoke(c.id, c.kind, c.args); }), c.error) << c.id;
  }
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
