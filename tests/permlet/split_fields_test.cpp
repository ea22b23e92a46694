#include "permlet/aclfile/split_fields.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace permlet {
namespace {

// Fields 0 to count-1 of a text.
std::vector<std::string> Fields(std::string_view text, char separator, std::size_t count) {
  const SplitFields split(text, separator);
  std::vector<std::string> fields;
  for (std::size_t i = 0; i < count; ++i) fields.push_back(split.Field(i));
  return fields;
}

using Texts = std::vector<std::string>;

TEST(SplitFieldsTest, SplitsARecordAtEverySeparator) {
  // After the last separator comes an empty field; past it, empty texts.
  EXPECT_EQ(Fields("root|wheel|755|1|0|", '|', 7),
            (Texts{"root", "wheel", "755", "1", "0", "", ""}));
  EXPECT_EQ(Fields("=a==b", '=', 4), (Texts{"", "a", "", "b"}));
}

TEST(SplitFieldsTest, TextWithoutSeparatorHasNoFields) {
  EXPECT_EQ(Fields("123", '=', 2), (Texts{"", ""}));
}

TEST(SplitFieldsTest, FieldsPastTheirLengthLimitReadEmpty) {
  const std::string longest(SplitFields::kMaxFieldLength, 'x');
  EXPECT_EQ(SplitFields(longest + "|", '|').Field(0), longest);
  EXPECT_EQ(SplitFields(longest + "x|", '|').Field(0), "");

  const std::string longestLast(SplitFields::kMaxLastFieldLength, 'y');
  EXPECT_EQ(SplitFields("a|" + longestLast, '|').Field(1), longestLast);
  EXPECT_EQ(SplitFields("a|" + longestLast + "y", '|').Field(1), "");
  // The other fields of the text are not affected.
  EXPECT_EQ(SplitFields("a|" + longestLast + "y", '|').Field(0), "a");
}

TEST(SplitFieldsTest, SeparatorsPastTheLimitStayInTheLastField) {
  std::string text;
  for (std::size_t i = 0; i < SplitFields::kMaxSeparators + 2; ++i) text += "f|";
  const SplitFields fields(text, '|');
  EXPECT_EQ(fields.Field(SplitFields::kMaxSeparators - 1), "f");
  EXPECT_EQ(fields.Field(SplitFields::kMaxSeparators), "f|f|");
  EXPECT_EQ(fields.Field(SplitFields::kMaxSeparators + 1), "");
}

TEST(SplitFieldsTest, TextLongerThanSixteenBitPositionsHasNoFields) {
  std::string text = "a|b";
  EXPECT_EQ(SplitFields(text + std::string(SplitFields::kMaxTextLength - 3, 'c'), '|').Field(0),
            "a");
  text += std::string(SplitFields::kMaxTextLength - 2, 'c');
  EXPECT_EQ(SplitFields(text, '|').Field(0), "");
}

}  // namespace
}  // namespace permlet
