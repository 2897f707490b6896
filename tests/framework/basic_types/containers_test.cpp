#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>
#include <vector>

#include "basic_types/bit_vector.h"
#include "basic_types/owned_buffer_handle.h"
#include "basic_types/zel_array.h"
#include "basic_types/zel_chunked_array.h"
#include "basic_types/zel_hash_table.h"
#include "basic_types/zel_string.h"
#include "support/module_fixture.h"
#include "support/text.h"

namespace {

using Containers = NoHostTest;

TEST_F(Containers, ArrayReserveKeepsTheLeadingItemsAndNeverGoesBelowTheMinimumAndNewArraysAreZeroed) {
  ZelArray<ZelString> strings;
  strings.at(2) = ZelString(u"c");
  strings.reserve(2, 6);
  EXPECT_EQ(text(strings[2]), u"c");
  strings.reserve(1, 1);
  EXPECT_EQ(strings.capacity(), 1);
  strings.reserve(3, 0);
  EXPECT_EQ(strings.capacity(), 3) << "an unusable capacity gives the minimum";
  EXPECT_TRUE(strings[2].isEmpty());
  ZelArray<int64_t> plain;
  plain.at(3);
  plain.reserve(5, 8);
  EXPECT_EQ(std::tuple(plain.capacity(), plain[7]), std::tuple(8, 0)) << "slots gained are zero";
  plain.at(8);
  EXPECT_EQ(plain.capacity(), 16) << "a slot at the capacity doubles it, so appends seldom reallocate";
  struct Record {
    double a, b, c;
  };
  ZelCountedArray<Record> records(ZelCountedArray<Record>::ItemCount{5});
  EXPECT_EQ(std::tuple(records.capacity(), records.count()), std::tuple(6, 0));
  for (int32_t i = 0; i <= 5; ++i) EXPECT_EQ(records[i].c, 0.0) << "an array made for 5 items: " << i;
}

TEST(OwnedBuffer, TheBufferGoesBackToItsOwnerOnceWhenTheHandleGoes) {
  struct Owner {
    std::vector<int> released;
    void releaseBuffer(int buffer) { released.push_back(buffer); }
  } owner;
  {
    OwnedBufferHandle<Owner, int> handle(&owner, 42);
    EXPECT_EQ(std::tuple(handle.buffer(), owner.released.size()), std::tuple(42, 0u));
  }
  EXPECT_EQ(owner.released, std::vector<int>{42});
}

// Every record from 0 to count − 1 is reachable and holds the value written; under AddressSanitizer a page
// smaller than its records would fail here.
void fillAndCheck(ZelChunkedArray& array, int32_t from, int32_t to) {
  for (int32_t i = from; i < to; ++i) *reinterpret_cast<int32_t*>(array.element(i)) = i;
  for (int32_t i = from; i < to; ++i) ASSERT_EQ(*reinterpret_cast<int32_t*>(array.element(i)), i);
}

TEST_F(Containers, AChunkedArrayDoublesButStopsAtTheEndOfThePageHoldingTheNewIndex) {
  ZelChunkedArray array(sizeof(int32_t), 11);
  array.createChunks(5000);
  EXPECT_EQ(std::tuple(array.pageCount(), array.pageLength()), std::tuple(3, 2048))
      << "two full pages of 2048 and one of 904";
  for (int32_t i = 0; i < 5000; ++i) ASSERT_EQ(*reinterpret_cast<int32_t*>(array.element(i)), 0) << i;
  fillAndCheck(array, 0, 5000);
  uint8_t* firstPage = array.element(0);
  array.growChunks(5001);
  EXPECT_EQ(array.count(), 6144);
  EXPECT_EQ(array.element(0), firstPage) << "full pages never move";
  for (int32_t i = 0; i < 5000; ++i) ASSERT_EQ(*reinterpret_cast<int32_t*>(array.element(i)), i);
  for (int32_t i = 5000; i < 6144; ++i) ASSERT_EQ(*reinterpret_cast<int32_t*>(array.element(i)), 0) << i;
  array.growChunks(100000);
  EXPECT_EQ(array.count(), 100352) << "49 pages: the page of index 100000 ends there";
  EXPECT_GE(array.pageTableSlots(), array.pageCount());
  fillAndCheck(array, 0, 100352);
  array.growChunks(50);
  EXPECT_EQ(array.count(), 100352);
}

TEST_F(Containers, HashTableIntegerKeysFindOrInsertEraseIterateInBucketOrderAndGrowFrom17To37AtThe14th) {
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
  EXPECT_EQ(std::tuple(table.count(), table.bucketCount()), std::tuple(0u, 37u)) << "clear keeps the buckets";
}

// Far beyond the flat form: 312500 words.
constexpr int32_t kLargeBit = 10000000;

using BitVectors = ModuleTest;

TEST_F(BitVectors, AHugeSparseSelectionCostsOnlyThePagesHoldingSetBits) {
  host_.core().enable(CoreFamily::Optional::kMemoryManager, true);
  {
    BitVector bits(10);
    for (int32_t bit : {kLargeBit, kLargeBit + 1}) bits.set(bit);
    EXPECT_EQ(std::tuple(bits.isPaged(), host_.core().memoryManager().pagesInUse()), std::tuple(true, 1));
    bits.clear(kLargeBit);
    bits.clearAll();
    EXPECT_EQ(host_.core().memoryManager().pagesInUse(), 1) << "clearing zeroes pages, frees none";
    bits.setAll();
    EXPECT_EQ(host_.core().memoryManager().pagesInUse(), (bits.maxBit() + 1) / 32 / 2048);
  }
  EXPECT_EQ(host_.core().memoryManager().pagesInUse(), 0)
      << "every page goes back to the manager that made it";
}

TEST_F(BitVectors, GrowthToTheLargestIndexStopsAtInt32MaxInsteadOfOverflowing) {
  BitVector bits(10);
  EXPECT_TRUE(bits.set(INT32_MAX));
  EXPECT_EQ(std::tuple(bits.maxBit(), bits.test(INT32_MAX)), std::tuple(INT32_MAX, true));
  EXPECT_EQ(std::tuple(bits.findNext(INT32_MAX - 1), bits.findNext(INT32_MAX), bits.findPrevious(INT32_MAX)),
            std::tuple(INT32_MAX, -1, -1));
  // From high in a page never stored, the next set bit lies low in the next stored page.
  constexpr int32_t kPageBits = 32 * 2048;
  bits.set(3 * kPageBits + 1);
  EXPECT_EQ(bits.findNext(kPageBits + 20), 3 * kPageBits + 1);
}

TEST_F(BitVectors, SetAllAndSetFirstStartAtBitOneAndClearEverythingElse) {
  BitVector all(64), bits(200), paged(10);
  all.setAll();
  EXPECT_EQ(std::tuple(all.test(0), all.test(95), all.knownCount()), std::tuple(false, true, 95u));
  EXPECT_EQ(all.count(), 95u);
  for (int32_t bit : {0, 150}) bits.set(bit);
  bits.setFirst(40);
  EXPECT_EQ(std::tuple(bits.test(0), bits.test(40), bits.test(150), bits.count()),
            std::tuple(false, true, false, 40u));
  bits.setFirst(-3);
  EXPECT_EQ(bits.count(), 0u);
  paged.set(kLargeBit);
  paged.setFirst(5000);
  EXPECT_FALSE(paged.test(kLargeBit)) << "existing pages above n are cleared";
  EXPECT_EQ(paged.count(), 5000u);
}

TEST_F(BitVectors, SubtractClearsTheOthersBitsAndUnionGrowsToTheOthersHighestSetBit) {
  BitVector a(10), b(10), empty(10);
  for (int32_t i : {1, 2, 3}) a.set(i);
  for (int32_t i : {2, 70}) b.set(i);
  a.subtract(empty);
  EXPECT_EQ(a.knownCount(), 3u);
  a.subtract(b);
  EXPECT_EQ(a.knownCount(), BitVector::kUnknownCount);
  EXPECT_EQ(std::tuple(a.count(), a.test(2)), std::tuple(2u, false));
  EXPECT_EQ(a.maxBit(), 31) << "only the words both hold";
  b.set(4000);
  a |= b;
  EXPECT_GE(a.maxBit(), 4000) << "a union grows to the other's highest set bit";
  EXPECT_EQ(std::tuple(a.test(4000), a.count()), std::tuple(true, 5u));
  BitVector wide(100000), small(10);  // paged, but empty high pages: nothing to grow for
  wide.set(1);
  small |= wide;
  EXPECT_EQ(std::tuple(small.maxBit(), small.test(1)), std::tuple(31, true));
}

TEST_F(BitVectors, AssignmentCopiesBitsFromEitherForm) {
  BitVector large(10), flat(500), target(10), wider(2000);
  for (int32_t bit : {7, kLargeBit}) large.set(bit);
  flat.set(450);
  target = large;
  EXPECT_EQ(std::tuple(target.isPaged(), target.test(kLargeBit)), std::tuple(true, true));
  EXPECT_EQ(target.maxBit(), large.maxBit());
  target = flat;
  EXPECT_EQ(std::tuple(target.isPaged(), target.test(450), target.test(7)), std::tuple(false, true, false));
  wider.set(1999);
  wider = flat;
  EXPECT_EQ(wider.maxBit(), 2015) << "a larger flat target keeps its size";
  EXPECT_EQ(wider.count(), 1u) << "and clears what lies beyond the source";
}

}  // namespace
