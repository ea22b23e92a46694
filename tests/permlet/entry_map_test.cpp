#include "permlet/aclfile/entry_map.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "permlet/aclfile/name_key.h"

namespace permlet {
namespace {

// The keys in table order.
std::vector<std::uint32_t> Keys(const EntryMap& map) {
  std::vector<std::uint32_t> keys;
  map.VisitInTableOrder([&](std::uint32_t key, const std::string&) { keys.push_back(key); });
  return keys;
}

TEST(EntryMapTest, AddKeepsTheFirstRecordOfAKey) {
  EntryMap map;
  EXPECT_TRUE(map.Add("abc.rar", "first"));
  EXPECT_FALSE(map.Add("ABC.RAR", "second"));
  EXPECT_EQ(map.Lookup("abc.rar"), "first");
  EXPECT_FALSE(map.AddByKey(std::to_string(NameKey("abc.rar")), "third"));
}

TEST(EntryMapTest, ReplaceOnlyChangesExistingEntries) {
  EntryMap map;
  EXPECT_FALSE(map.Replace("abc", "x"));
  EXPECT_FALSE(map.Lookup("abc").has_value());
  map.Add("abc", "x");
  EXPECT_TRUE(map.Replace("abc", "y"));
  EXPECT_EQ(map.Lookup("abc"), "y");
}

TEST(EntryMapTest, KeyTextsAreUnsignedDecimal) {
  EntryMap map;
  map.AddByKey("2238185766", "abc's");
  map.AddByKey("", "no key");  // key 0
  map.AddByKey("99999999999", "saturated");
  EXPECT_EQ(map.Lookup("abc"), "abc's");
  EXPECT_EQ(Keys(map), (std::vector<std::uint32_t>{0, 2238185766u, 4294967295u}));
}

TEST(EntryMapTest, TableOrderIsByBucketThenNewestFirst) {
  EntryMap map;
  // Keys 16 and 288 share bucket 1 ((key >> 4) mod 17); 32 lies in bucket 2.
  map.AddByKey("32", "c");
  map.AddByKey("16", "a");
  map.AddByKey("288", "b");
  EXPECT_EQ(Keys(map), (std::vector<std::uint32_t>{288, 16, 32}));
  // Turned round, as a reload of the saved map leaves it; 560 heads bucket 1.
  map.TurnChains();
  map.AddByKey("560", "d");
  EXPECT_EQ(Keys(map), (std::vector<std::uint32_t>{560, 16, 288, 32}));
  map.EditRecords([](std::uint32_t key, std::string& record) {
    record += "!";
    return key != 16;
  });
  EXPECT_EQ(Keys(map), (std::vector<std::uint32_t>{560, 288, 32}));
  EXPECT_TRUE(map.AddByKey("16", "again"));
}

}  // namespace
}  // namespace permlet
