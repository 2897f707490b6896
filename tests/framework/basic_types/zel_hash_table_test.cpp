#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "basic_types/zel_hash_table.h"
#include "support/module_fixture.h"

namespace {

std::string keyText(int i) {
  return "key" + std::to_string(i);
}

using HashTable = NoHostTest;

TEST_F(HashTable, A131BucketTableGrowsTo257AtThe105thEntry) {
  std::vector<std::string> keys;
  for (int i = 0; i < 105; ++i) keys.push_back(keyText(i));
  ZelHashTable<ZelCString, int32_t> table(131);
  for (int i = 0; i < 104; ++i) table.set(ZelCString(keys[i].c_str()), i);
  EXPECT_EQ(table.bucketCount(), 131u) << "104 < 104.8";
  table.set(ZelCString(keys[104].c_str()), 104);
  EXPECT_EQ(table.bucketCount(), 257u);
  for (int i = 0; i < 105; ++i) ASSERT_EQ(*table.find(ZelCString(keys[i].c_str())), i);
}

TEST_F(HashTable, SettingAnExistingKeyReplacesTheValueAndKeepsTheCount) {
  ZelHashTable<ZelCString, ZelCString> table;
  table.set(ZelCString("short"), ZelCString("first"));
  table.set(ZelCString("short"), ZelCString("second"));
  EXPECT_EQ(table.count(), 1u);
  EXPECT_STREQ(table.find(ZelCString("short"))->c_str(), "second");
  EXPECT_EQ(table.find(ZelCString("missing")), nullptr);
}

TEST_F(HashTable, ANullKeyEqualsOnlyANullKey) {
  ZelHashTable<ZelCString, int32_t> table;
  table.set(ZelCString(), 1);
  table.set(ZelCString(""), 2);
  EXPECT_EQ(table.count(), 2u);
  EXPECT_EQ(*table.find(ZelCString()), 1);
  EXPECT_EQ(*table.find(ZelCString("")), 2);
}

TEST_F(HashTable, NarrowKeysHashWithDjb2OverSignedBytes) {
  EXPECT_EQ(hashNarrowText(nullptr), 0u);
  EXPECT_EQ(hashNarrowText(""), 5381u);
  EXPECT_EQ(hashNarrowText("a"), 5381u * 33 + 97);
  EXPECT_EQ(hashNarrowText("\xE9"), 5381u * 33 - 23) << "0xE9 counts as -23";
}

TEST_F(HashTable, TheDefaultTableGrowsFrom17To37AtThe14thEntryAndClearKeepsTheBuckets) {
  ZelHashTable<int32_t, int32_t> table;
  for (int32_t i = 0; i < 13; ++i) table.set(i, i);
  EXPECT_EQ(table.bucketCount(), 17u);
  table.set(13, 13);
  EXPECT_EQ(table.bucketCount(), 37u);
  EXPECT_EQ(table.count(), 14u);
  table.clear();
  EXPECT_EQ(table.count(), 0u);
  EXPECT_EQ(table.bucketCount(), 37u);
  EXPECT_EQ(table.find(3), nullptr);
  table.set(3, 30);
  EXPECT_EQ(*table.find(3), 30);
}

TEST_F(HashTable, IntegerKeysFindOrInsertEraseAndIterateInBucketOrder) {
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
}

}  // namespace
