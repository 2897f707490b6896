#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "basic_types/owned_buffer_handle.h"
#include "basic_types/zel_array.h"
#include "basic_types/zel_chunked_array.h"
#include "basic_types/zel_string.h"
#include "support/module_fixture.h"
#include "support/text.h"

namespace {

using ArrayGrowth = NoHostTest;

TEST_F(ArrayGrowth, ItemsDoubleFromOneButAFirstBlockHoldsExactlyTheIndexAndCountedOnesStartAtSlotOne) {
  ZelArray<int64_t> grown;
  grown.at(0) = 1;
  EXPECT_EQ(grown.capacity(), 1);
  grown.at(5) = 6;
  EXPECT_EQ(grown.capacity(), 8);
  EXPECT_EQ(grown[0], 1);
  EXPECT_EQ(grown[6], 0) << "slots gained by growing are zero";
  ZelArray<int64_t> direct;
  direct.at(5);
  EXPECT_EQ(direct.capacity(), 6);
  ZelCountedArray<ZelString> list;
  list.append(ZelString(u"one"));
  EXPECT_EQ(list.capacity(), 2) << "slot 0 holds no item";
  for (const char16_t* item : {u"two", u"three", u"four"}) list.append(ZelString(item));
  EXPECT_EQ(list.capacity(), 8);
  list.popBack();
  list.removeAt(1);
  EXPECT_EQ(list.count(), 2);
  EXPECT_EQ(text(list[1]), u"two");
  EXPECT_EQ(text(list.popBack()), u"three");
  EXPECT_EQ(list.count(), 1);
}

TEST_F(ArrayGrowth, ReserveKeepsTheLeadingItemsAndNeverGoesBelowTheMinimumAndNewArraysAreZeroed) {
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
  EXPECT_EQ(plain.capacity(), 8);
  EXPECT_EQ(plain[7], 0) << "slots gained are zero";
  struct Record {
    double a, b, c;
  };
  ZelCountedArray<Record> records(ZelCountedArray<Record>::ItemCount{5});
  EXPECT_EQ(records.capacity(), 6);
  EXPECT_EQ(records.count(), 0);
  for (int32_t i = 0; i <= 5; ++i) EXPECT_EQ(records[i].c, 0.0) << "an array made for 5 items: " << i;
}

TEST(OwnedBuffer, TheBufferGoesBackToItsOwnerOnceWhenTheHandleGoes) {
  struct Owner {
    std::vector<int> released;
    void releaseBuffer(int buffer) { released.push_back(buffer); }
  } owner;
  {
    OwnedBufferHandle<Owner, int> handle(&owner, 42);
    EXPECT_EQ(handle.buffer(), 42);
    EXPECT_TRUE(owner.released.empty());
  }
  EXPECT_EQ(owner.released, std::vector<int>{42});
}

using ChunkedArray = NoHostTest;

// Every record from 0 to count − 1 is reachable and holds the value written; under AddressSanitizer a page
// smaller than its records would fail here.
void fillAndCheck(ZelChunkedArray& array, int32_t from, int32_t to) {
  for (int32_t i = from; i < to; ++i) *reinterpret_cast<int32_t*>(array.element(i)) = i;
  for (int32_t i = from; i < to; ++i) ASSERT_EQ(*reinterpret_cast<int32_t*>(array.element(i)), i);
}

TEST_F(ChunkedArray, GrowthDoublesButStopsAtTheEndOfThePageHoldingTheNewIndex) {
  ZelChunkedArray array(sizeof(int32_t), 11);
  array.createChunks(5000);
  EXPECT_EQ(array.pageCount(), 3) << "two full pages of 2048 and one of 904";
  EXPECT_EQ(array.pageLength(), 2048);
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

}  // namespace
