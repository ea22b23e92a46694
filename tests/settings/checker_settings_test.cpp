#include "settings/checker_settings.h"

#include <gtest/gtest.h>

#include <set>

#include "settings/setting_keys.h"

using namespace settings;

namespace {

CheckerSettings Load(std::initializer_list<std::string> lines) {
  return LoadSettingsFromLines(std::vector<std::string>(lines));
}

}  // namespace

TEST(SettingKeys, EachNameOnceAndEachKindOnAFieldOfItsType) {
  // The variant index each kind's field takes, in the order of SettingKind.
  constexpr std::size_t kFieldOfKind[] = {0, 0, 1, 2, 3, 3, 3, 4};
  std::set<std::string_view> names;
  for (const SettingKey& key : kSettingKeys) {
    EXPECT_TRUE(names.insert(key.name).second) << key.name;
    EXPECT_EQ(FindSettingKey(key.name), &key);
    EXPECT_EQ(key.field.index(), kFieldOfKind[static_cast<int>(key.kind)]) << key.name;
  }
}

TEST(LoadSettings, KeysMatchWithoutCaseButNotWithBlanks) {
  EXPECT_EQ(Load({"goodmsg=a=b "}).GOODMSG, "a=b ");
  EXPECT_EQ(Load({"GOODMSG =Done"}).GOODMSG, "");
  EXPECT_EQ(Load({"[Headers] GOODMSG=x"}).GOODMSG, "");
  EXPECT_EQ(Load({"=", "[x]", "GOODMSG", "UNKNOWN=1", "MSGFILE=.message"}).MSGFILE, ".message");
}

TEST(LoadSettings, LaterLinesWinAndRepeatableKeysCollect) {
  CheckerSettings s = Load({"GOODMSG=first", "[Section]", "GOODMSG=second", "APPEND_MSG=a",
                            "append_msg=b", "MSGLINE=one", "MSGLINE=", "MSGLINE=three"});
  EXPECT_EQ(s.GOODMSG, "second");
  EXPECT_EQ(s.sfvCommentBlock, ";a\r\n;b\r\n");
  EXPECT_EQ(s.messageLines, (std::vector<std::string>{"one", "", "three"}));
}

// A value the key's kind refuses leaves the value before it.
TEST(LoadSettings, EachKindReadsItsValues) {
  EXPECT_FALSE(Load({"MK_FOLDER_HEADER=1", "MK_FOLDER_HEADER=True"}).MK_FOLDER_HEADER);
  EXPECT_TRUE(Load({"ON_ERR_MK_FILE=0.5"}).ON_ERR_MK_FILE);
  EXPECT_TRUE(Load({"FILE_HEADER=True", "FILE_HEADER=yes"}).FILE_HEADER);
  EXPECT_EQ(Load({"OUTPUT_WIDTH=60", "OUTPUT_WIDTH=40000"}).OUTPUT_WIDTH, 60);
  EXPECT_EQ(Load({"PERBAR_LEN=20", "PERBAR_LEN=1e39"}).PERBAR_LEN, 20.0f);
}

TEST(LoadSettings, PostLoadRules) {
  EXPECT_FALSE(Load({"MK_PARENT=2", "UP_TWO_IF_MULTI=True"}).UP_TWO_IF_MULTI);
  EXPECT_TRUE(Load({"MK_PARENT=1", "UP_TWO_IF_MULTI=True"}).UP_TWO_IF_MULTI);
  EXPECT_FALSE(Load({"DELETE_SFV_STATUS_ON_SFV_COMPLETE=True", "COM_MAKE_IN_PARENT=%r - COMPLETE"})
                   .DELETE_SFV_STATUS_ON_SFV_COMPLETE);
  EXPECT_TRUE(Load({"DELETE_SFV_STATUS_ON_SFV_COMPLETE=True"}).DELETE_SFV_STATUS_ON_SFV_COMPLETE);
}
