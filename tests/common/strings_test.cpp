#include "common/strings.h"

#include <gtest/gtest.h>

#include "platform/platform.h"

using namespace strings;

TEST(Strings, CaseRulesAreAscii) {
  EXPECT_EQ(ToUpper("abz AZ09_\xe4"), "ABZ AZ09_\xe4");
  EXPECT_TRUE(EqualsIgnoreCase("GoodMsg", "GOODMSG") && !EqualsIgnoreCase("\xe4", "\xc4"));
  EXPECT_EQ(FindIgnoreCase("abcABC", "abc", 1), 3u);
  EXPECT_EQ(FindIgnoreCase("abc", "a", 9), std::string_view::npos);
  EXPECT_TRUE(EndsWithIgnoreCase("movie.SFV", ".sfv") && !EndsWithIgnoreCase("sfv", ".sfv"));
}

TEST(Strings, ReplaceAllDoesNotRescan) {
  EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");
  EXPECT_EQ(ReplaceAll("aaaa", "aa", "a"), "aa");
  EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(RemoveAll("a.b.c.", '.'), "abc");
}

TEST(Strings, SplitAndSeparators) {
  EXPECT_EQ(Split("CD1|CD2||DVD", "|"), (std::vector<std::string>{"CD1", "CD2", "", "DVD"}));
  EXPECT_EQ(Split("a\r\nb\r\n", "\r\n"), (std::vector<std::string>{"a", "b", ""}));
  const std::string s = platform::kSeparatorText;
  EXPECT_EQ(AfterLastSeparator("ftp" + s + "Movie" + s + "m.r01"), "m.r01");
  EXPECT_EQ(BeforeLastSeparator("ftp" + s + "Movie" + s + "m.r01"), "ftp" + s + "Movie");
  // Either separator, the last one of the two counting.
  EXPECT_EQ(DirectoryPart("C:\\ftp/Rel\\a.r00"), "C:\\ftp/Rel\\");
  EXPECT_EQ(FileNamePart("C:\\ftp\\Rel/a.r00"), "a.r00");
}

TEST(Strings, IsPlainName) {
  EXPECT_TRUE(IsPlainName("...x"));
  for (const char* name : {"", ".", "..", "a/b", "a\\b", "C:x"}) {
    EXPECT_FALSE(IsPlainName(name)) << name;
  }
}
