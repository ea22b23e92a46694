#include "permlet/aclfile/name_key.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace permlet {
namespace {

TEST(NameKeyTest, MatchesTheServersKeys) {
  EXPECT_EQ(NameCrc16("abc"), 0x8568);
  EXPECT_EQ(NameSum16("abc"), 0x0126);
  // With the common reflected constant 0x8408 the same steps give 0xF782.
  EXPECT_EQ(NameCrc16("a"), 0xBF06);
  // Bytes add as signed.
  EXPECT_EQ(NameSum16("\x80"), 0xFF80);
  EXPECT_EQ(NameSum16("a\xFF"), 0x0060);
  const std::pair<std::string, std::uint32_t> keys[] = {
      {"abc", 2238185766u},
      {"", 1u},
      {"cd2", 2392391929u},
      {"some.album", 2170749939u},
      {"Movie.R01", NameKey("movie.r01")},
  };
  for (const auto& [name, key] : keys) EXPECT_EQ(NameKey(name), key) << name;
  // Only A to Z are lowered: bytes above 127 keep their key.
  EXPECT_NE(NameKey("\xC4"), NameKey("\xE4"));
}

}  // namespace
}  // namespace permlet
