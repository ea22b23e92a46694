#include "permlet/aclfile/name_key.h"

#include <gtest/gtest.h>

namespace permlet {
namespace {

TEST(NameKeyTest, MatchesTheServersReferenceKeys) {
  EXPECT_EQ(NameCrc16("abc"), 0x8568);
  EXPECT_EQ(NameSum16("abc"), 0x0126);
  EXPECT_EQ(NameKey("abc"), 2238185766u);
  EXPECT_EQ(NameKey("file.rar"), 325452563u);
  EXPECT_EQ(NameKey(".raidenftpd.acl"), 970458541u);
}

TEST(NameKeyTest, EmptyNameHasKeyOne) {
  EXPECT_EQ(NameCrc16(""), 0);
  EXPECT_EQ(NameSum16(""), 1);
  EXPECT_EQ(NameKey(""), 1u);
}

TEST(NameKeyTest, KeyIsTakenFromTheLoweredName) {
  EXPECT_EQ(NameKey("ABC.RAR"), NameKey("abc.rar"));
  EXPECT_EQ(NameKey("Movie.R01"), NameKey("movie.r01"));
  // Only A to Z are lowered: bytes above 127 keep their key.
  EXPECT_NE(NameKey("\xC4"), NameKey("\xE4"));
}

TEST(NameKeyTest, SumTakesBytesAsSigned) {
  EXPECT_EQ(NameSum16("\x80"), 0xFF80);      // -128
  EXPECT_EQ(NameSum16("\xFF\xFF"), 0xFFFE);  // -1 + -1
  EXPECT_EQ(NameSum16("a\xFF"), 0x0060);     // 97 - 1
}

TEST(NameKeyTest, CrcUsesItsOwnConstantNotTheCommonOne) {
  // With the common reflected constant 0x8408 the same steps give 0xF782.
  EXPECT_EQ(NameCrc16("a"), 0xBF06);
  EXPECT_EQ(NameKey("cd2"), 2392391929u);
  EXPECT_EQ(NameKey("some.album"), 2170749939u);
}

}  // namespace
}  // namespace permlet
