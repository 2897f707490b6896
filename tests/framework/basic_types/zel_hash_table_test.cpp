#include <gtest/gtest.h>

#include <vector>

#include "basic_types/zel_hash_table.h"
#include "support/module_fixture.h"

namespace {

using HashTable = NoHostTest;

TEST_F(HashTable, SettingAKeyAgainReplacesItsValueAndANullKeyEqualsOnlyANullKey) {
  ZelHashTable<ZelCString, ZelCString> table;
  table.set(ZelCString("short"), ZelCString("first"));
  table.set(ZelCString("short"), ZelCString("second"));
  table.set(ZelCString(), ZelCString("null"));
  table.set(ZelCString(""), ZelCString("empty"));
  EXPECT_EQ(table.count(), 3u);
  EXPECT_STREQ(table.find(ZelCString("short"))->c_str(), "second");
  EXPECT_STREQ(table.find(ZelCString())->c_str(), "null");
  EXPECT_STREQ(table.find(ZelCString(""))->c_str(), "empty");
  EXPECT_EQ(table.find(ZelCString("missing")), nullptr);
}

TEST_F(HashTable, IntegerKeysFindOrInsertEraseIterateInBucketOrderAndGrowFrom17To37AtThe14th) {
  ZelHashTable<int32_t, int32_t> table;
  table.findOrInsert(1, 10);
  table.findOrInsert(18, 180);  // bucket 1 of 17, ahead of key 1
  table.findOrInsert(2, 20);
  EXPECT_EQ(table.findOrInsert(1, 99), 10) << "a present key keeps its value";
  std::vector<int32_t> order;
  table.forEach([&](int32_t key, int32_t& value) {
    order.push_back(key);
    value += 1;
  });
  EXPECT_EQ(order, (std::vector<int32_t>{18, 1, 2}));
  EXPECT_EQ(*table.find(18), 181);
  EXPECT_TRUE(table.erase(18));
  EXPECT_FALSE(table.erase(18));
  EXPECT_EQ(table.count(), 2u);
  EXPECT_EQ(*table.find(1), 11) << "the rest of the chain survives";
  for (int32_t i = 3; i < 14; ++i) table.set(i, i);
  EXPECT_EQ(table.bucketCount(), 17u) << "13 entries";
  table.set(14, 14);
  EXPECT_EQ(table.bucketCount(), 37u) << "the 14th grows the table";
  for (int32_t i = 3; i < 15; ++i)
    ASSERT_EQ(*table.find(i), i) << "every key is still found after the rehash";
  table.clear();
  EXPECT_EQ(table.count(), 0u);
  EXPECT_EQ(table.bucketCount(), 37u) << "clear keeps the buckets";
  EXPECT_EQ(table.find(3), nullptr);
}

}  // namespace
