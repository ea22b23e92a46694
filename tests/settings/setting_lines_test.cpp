#include "settings/setting_lines.h"

#include <gtest/gtest.h>

#include <set>

#include "common/strings.h"
#include "settings/setting_keys.h"

using namespace settings;

TEST(SplitSettingLine, KeyBeforeFirstEqualsUpperCasedValueAsWritten) {
  auto line = SplitSettingLine("goodmsg=a=b ");
  ASSERT_TRUE(line);
  EXPECT_EQ(line->key, "GOODMSG");
  EXPECT_EQ(line->value, "a=b ");
  line = SplitSettingLine(" GoodMsg = x");
  ASSERT_TRUE(line);
  EXPECT_EQ(line->key, " GOODMSG ");
  EXPECT_EQ(line->value, " x");
  line = SplitSettingLine("MSGFILE=");
  ASSERT_TRUE(line);
  EXPECT_EQ(line->value, "");
}

TEST(SplitSettingLine, LinesThatSetNothing) {
  for (const char* text : {"", "=", "=value", "[GOODMSG=x]", "[Section]", "no equals sign"}) {
    EXPECT_FALSE(SplitSettingLine(text)) << text;
  }
}

TEST(SettingKeys, TableIsConsistent) {
  std::set<std::string_view> names;
  for (std::size_t i = 0; i < kSettingKeys.size(); ++i) {
    const SettingKey& key = kSettingKeys[i];
    EXPECT_TRUE(names.insert(key.name).second) << key.name;
    EXPECT_EQ(strings::ToUpper(key.name), key.name);
    EXPECT_EQ(FindSettingKey(key.name), &key);
    for (std::size_t j = 0; j < i; ++j) EXPECT_NE(kSettingKeys[j].field, key.field) << key.name;
    bool isFlag = key.kind == SettingKind::kNumberFlag || key.kind == SettingKind::kYesNo;
    EXPECT_EQ(isFlag, std::holds_alternative<bool CheckerSettings::*>(key.field)) << key.name;
    EXPECT_EQ(key.kind == SettingKind::kWholeNumber,
              std::holds_alternative<std::int16_t CheckerSettings::*>(key.field))
        << key.name;
    EXPECT_EQ(key.kind == SettingKind::kDecimalNumber,
              std::holds_alternative<float CheckerSettings::*>(key.field))
        << key.name;
    EXPECT_EQ(key.kind == SettingKind::kMessageLine,
              std::holds_alternative<std::vector<std::string> CheckerSettings::*>(key.field))
        << key.name;
  }
  EXPECT_EQ(FindSettingKey("goodmsg"), nullptr);
  EXPECT_EQ(FindSettingKey("MSGLINES"), nullptr);
}
