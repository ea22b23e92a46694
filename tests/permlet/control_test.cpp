// The control as its callers see it: created by class identifier through the
// component registry and called by dispatch identifier.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/component.h"
#include "platform/os_error.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace {

using platform::Variant;

enum : std::int32_t { kOwner = 1, kErrormsg = 6, kSetFilePath, kChmod, kBeginUpdate, kEndUpdate };

class ControlTest : public ::testing::Test {
 protected:
  // Registered in the component registry of this program's folder, where
  // its lookups go; registering again changes nothing.
  void SetUp() override {
    ASSERT_EQ(platform::RegisterServer(CORVANE_BIN_DIR "/permlet.ocx", false), kCvOk);
    control_ =
        platform::CreateComponent(platform::GuidLiteral("{0FC45993-7C08-4B1D-9FCC-3633210FCAF9}"),
                                  platform::GuidLiteral("{7A39B829-F630-4261-B58B-E40EDA6B9320}"));
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
  Chmod("554", site_ / "abc", 5, 1);
  EXPECT_EQ(Acl(), "RD2 2238185766=bob|users|554|5|0|\r\n");  // free is always written 0
  control_->Invoke(kOwner, kCvPropertyPut, {Variant::Text("mallory")});
  EXPECT_EQ(Properties(), "mallory;;000;0;0;Error getting file entry;");
  EXPECT_TRUE(SetFilePath(site_ / "ABC"));
  EXPECT_EQ(Properties(), "bob;users;554;0;1;;");
}

// A pattern gives new names complete 1, known ones the caller's flag; a
// missing path or a trailing separator finds nothing; a folder's entry goes
// into its parent's file. An update has the bytes of the changes alone but
// writes only at EndUpdate, which reports the first change that failed.
TEST_F(ControlTest, AnUpdateLeavesTheBytesOfChangesMadeAlone) {
  struct Step {
    const char* mode;
    const char* name;
    std::int16_t complete;
    const char* user;
  };
  const Step steps[] = {
      {"554", "a.r00", 0, "bob"},  {"555", "A.R*", 0, "lock"}, {"554", "missing", 1, "bob"},
      {"554", "none/*", 1, "bob"}, {"554", "Sub/", 1, "bob"},  {"554", "Sub", 1, "bob"},
      {"554", "a.r01", 0, "b|ob"},
  };
  const std::string alone = site_ / "alone/", update = site_ / "update/";
  for (const std::string& folder : {alone, update}) {
    for (const char* name : {"a.r00", "a.r01", "a.nfo"}) support::WriteFile(folder + name, "x");
    support::WriteFile(folder + ".raidenftpd.acl", "RD2 77=a|b|c|1|0|\r\n");
    support::MakeFolder(folder + "Sub");
  }
  for (const Step& step : steps) Chmod(step.mode, alone + step.name, step.complete, 0, step.user);
  EXPECT_EQ(Acl("alone/"),
            "RD2 77=a|b|c|1|0|\r\nRD2 2342912354=lock|users|555|1|0|\r\n"
            "RD2 214368586=bob|users|554|1|0|\r\nRD2 1383137633=lock|users|555|0|0|\r\n");
  EXPECT_FALSE(support::Exists(alone + "Sub/.raidenftpd.acl"));

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

}  // namespace
