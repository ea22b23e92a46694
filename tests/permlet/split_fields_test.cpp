#include "permlet/aclfile/split_fields.h"

#include <gtest/gtest.h>

#include <string>

namespace permlet {
namespace {

TEST(SplitFieldsTest, FieldsOfARecord) {
  const std::string longest(SplitFields::kMaxFieldLength, 'x');
  const std::string longestLast(SplitFields::kMaxLastFieldLength, 'y');
  std::string separators;
  for (std::size_t i = 0; i < SplitFields::kMaxSeparators + 2; ++i) separators += "f|";
  const std::string tooLong = "a|b" + std::string(SplitFields::kMaxTextLength - 2, 'c');
  struct Case {
    std::string text;
    std::size_t index;
    std::string field;
  };
  const Case cases[] = {
      {"root|wheel|755|1|0|", 1, "wheel"},
      {"root|wheel|755|1|0|", 5, ""},  // after the last separator, and past it
      {"|a||b", 3, "b"},
      {"123", 0, ""},  // no separator, no fields
      {longest + "|", 0, longest},
      {longest + "x|", 0, ""},  // past its length limit a field reads empty
      {"a|" + longestLast, 1, longestLast},
      {"a|" + longestLast + "y", 1, ""},
      {"a|" + longestLast + "y", 0, "a"},
      {separators, SplitFields::kMaxSeparators - 1, "f"},
      {separators, SplitFields::kMaxSeparators, "f|f|"},  // the rest stays in the last
      {separators, SplitFields::kMaxSeparators + 1, ""},
      {tooLong.substr(0, SplitFields::kMaxTextLength), 0, "a"},
      {tooLong, 0, ""},  // past sixteen-bit positions, no fields
  };
  for (const Case& c : cases)
    EXPECT_EQ(SplitFields(c.text, '|').Field(c.index), c.field) << c.text.substr(0, 40);
}

}  // namespace
}  // namespace permlet
