#include "common/strings.h"

#include <gtest/gtest.h>

#include "platform/platform.h"

using namespace strings;

TEST(Strings, CaseRulesAreAscii) {
  EXPECT_EQ(ToUpper("abz AZ09_\xe4"), "ABZ AZ09_\xe4");
  EXPECT_EQ(ToLower("ABZ az09_\xc4"), "abz az09_\xc4");
  EXPECT_TRUE(EqualsIgnoreCase("GoodMsg", "GOODMSG"));
  EXPECT_FALSE(EqualsIgnoreCase("GOODMSG", "GOODMSG "));
  EXPECT_FALSE(EqualsIgnoreCase("\xe4", "\xc4"));
}

TEST(Strings, FindIgnoreCase) {
  EXPECT_EQ(FindIgnoreCase("a.SFVstatus", ".sfvStatus"), 1u);
  EXPECT_EQ(FindIgnoreCase("abcABC", "abc", 1), 3u);
  EXPECT_EQ(FindIgnoreCase("abc", "x"), std::string_view::npos);
  EXPECT_EQ(FindIgnoreCase("abc", "abcd"), std::string_view::npos);
  EXPECT_EQ(FindIgnoreCase("abc", "", 2), 2u);
  EXPECT_EQ(FindIgnoreCase("abc", "a", 9), std::string_view::npos);
  EXPECT_TRUE(ContainsIgnoreCase("D:/ftp/.SFVSTATUS", ".sfvStatus"));
  EXPECT_TRUE(EndsWithIgnoreCase("movie.SFV", ".sfv"));
  EXPECT_FALSE(EndsWithIgnoreCase("sfv", ".sfv"));
}

TEST(Strings, ReplaceAllDoesNotRescan) {
  EXPECT_EQ(ReplaceAll("%%i", "%%", "%"), "%i");
  EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");
  EXPECT_EQ(ReplaceAll("aaaa", "aa", "a"), "aa");
  EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(ReplaceAll("", "a", "x"), "");
  EXPECT_EQ(RemoveAll("a.b.c.", '.'), "abc");
}

TEST(Strings, Split) {
  EXPECT_EQ(Split("CD1|CD2||DVD", "|"), (std::vector<std::string>{"CD1", "CD2", "", "DVD"}));
  EXPECT_EQ(Split("", "|"), (std::vector<std::string>{""}));
  EXPECT_EQ(Split("a|", "|"), (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(Split("a\r\nb", "\r\n"), (std::vector<std::string>{"a", "b"}));
}

TEST(Strings, LastSeparator) {
  const std::string s = platform::kSeparatorText;
  EXPECT_EQ(AfterLastSeparator("ftp" + s + "Movie" + s + "m.r01"), "m.r01");
  EXPECT_EQ(BeforeLastSeparator("ftp" + s + "Movie" + s + "m.r01"), "ftp" + s + "Movie");
  EXPECT_EQ(AfterLastSeparator("m.r01"), "m.r01");
  EXPECT_EQ(BeforeLastSeparator("m.r01"), "");
  EXPECT_EQ(AfterLastSeparator("Movie" + s), "");
  EXPECT_EQ(BeforeLastSeparator(s + "Movie"), "");
  // Either separator, the last one of the two counting.
  EXPECT_EQ(DirectoryPart("C:\\ftp/Rel\\a.r00"), "C:\\ftp/Rel\\");
  EXPECT_EQ(FileNamePart("C:\\ftp\\Rel/a.r00"), "a.r00");
  EXPECT_EQ(DirectoryPart("a.r00"), "");
  EXPECT_EQ(FileNamePart("a.r00"), "a.r00");
}

TEST(Strings, IsPlainName) {
  EXPECT_TRUE(IsPlainName("Movie - 12 of 20"));
  EXPECT_TRUE(IsPlainName("...x"));
  EXPECT_TRUE(IsPlainName(".sfvStatus"));
  for (const char* name : {"", ".", "..", "a/b", "a\\b", "C:x", "../x", "..\\x"}) {
    EXPECT_FALSE(IsPlainName(name)) << name;
  }
}
