#include <gtest/gtest.h>

#include <climits>

#include "basic_types/bit_vector.h"
#include "support/module_fixture.h"

namespace {

// Far beyond the flat form: 312500 words.
constexpr int32_t kLargeBit = 10000000;

using BitVectorStorage = ModuleTest;

TEST_F(BitVectorStorage, SettingPastTheEndDoublesMaxBitUntilItExceedsTheIndexAndNegativesTouchNothing) {
  BitVector bits(10);
  EXPECT_EQ(bits.maxBit(), 31);
  EXPECT_TRUE(bits.set(100));
  EXPECT_EQ(bits.maxBit(), 127) << "31, 62, 124: four words";
  EXPECT_TRUE(bits.test(100));
  EXPECT_FALSE(bits.test(99));
  EXPECT_EQ(BitVector(-5).maxBit(), 31);
  EXPECT_FALSE(bits.set(-1));
  EXPECT_FALSE(bits.clear(-1));
  EXPECT_FALSE(bits.test(-1));
  EXPECT_EQ(bits.knownCount(), 1u);
}

TEST_F(BitVectorStorage, GrowingFarBecomesPagedAndShrinkingBelow1536WordsFlatAgainKeepingTheLowBits) {
  BitVector bits(10);
  bits.set(3);
  bits.set(500);
  bits.set(199999);
  EXPECT_TRUE(bits.isPaged());
  EXPECT_TRUE(bits.test(199999));
  bits.resize(1000);
  EXPECT_FALSE(bits.isPaged());
  EXPECT_EQ(bits.maxBit(), 1023);
  EXPECT_EQ(bits.knownCount(), BitVector::kUnknownCount) << "shrinking drops bits it cannot count";
  EXPECT_EQ(bits.count(), 2u);
  EXPECT_TRUE(bits.test(500));
  bits.clearAll();
  EXPECT_EQ(bits.count(), 0u);
}

TEST_F(BitVectorStorage, AHugeSparseSelectionCostsOnlyThePagesHoldingSetBits) {
  host_.enable(StandinHost::Optional::kMemoryManager, true);
  {
    BitVector bits(10);
    bits.set(kLargeBit);
    bits.set(kLargeBit + 1);
    EXPECT_TRUE(bits.isPaged());
    EXPECT_EQ(host_.memoryManager().pagesInUse(), 1);
    bits.clear(kLargeBit);
    bits.clearAll();
    EXPECT_EQ(host_.memoryManager().pagesInUse(), 1) << "clearing zeroes pages, frees none";
    bits.setAll();
    EXPECT_EQ(host_.memoryManager().pagesInUse(), (bits.maxBit() + 1) / 32 / 2048);
  }
  EXPECT_EQ(host_.memoryManager().pagesInUse(), 0) << "every page goes back to the manager that made it";
}

TEST_F(BitVectorStorage, GrowthToTheLargestIndexStopsAtInt32MaxInsteadOfOverflowing) {
  BitVector bits(10);
  EXPECT_TRUE(bits.set(INT32_MAX));
  EXPECT_EQ(bits.maxBit(), INT32_MAX);
  EXPECT_TRUE(bits.test(INT32_MAX));
  EXPECT_EQ(bits.findNext(INT32_MAX - 1), INT32_MAX);
  EXPECT_EQ(bits.findNext(INT32_MAX), -1);
  EXPECT_EQ(bits.findPrevious(INT32_MAX), -1);
}

using BitVectorRanges = ModuleTest;

TEST_F(BitVectorRanges, SetAllAndSetFirstStartAtBitOneAndClearEverythingElse) {
  BitVector all(64);
  all.setAll();
  EXPECT_FALSE(all.test(0));
  EXPECT_TRUE(all.test(95));
  EXPECT_EQ(all.knownCount(), 95u);
  EXPECT_EQ(all.count(), 95u);
  BitVector bits(200);
  bits.set(0);
  bits.set(150);
  bits.setFirst(40);
  EXPECT_FALSE(bits.test(0));
  EXPECT_TRUE(bits.test(1));
  EXPECT_TRUE(bits.test(40));
  EXPECT_FALSE(bits.test(41));
  EXPECT_FALSE(bits.test(150));
  EXPECT_EQ(bits.count(), 40u);
  bits.setFirst(-3);
  EXPECT_EQ(bits.count(), 0u);
  BitVector paged(10);
  paged.set(kLargeBit);
  paged.setFirst(5000);
  EXPECT_FALSE(paged.test(kLargeBit)) << "existing pages above n are cleared";
  EXPECT_EQ(paged.count(), 5000u);
}

TEST_F(BitVectorRanges, FindNextAndPreviousWalkTheSetBitsAcrossMissingPages) {
  BitVector bits(10);
  for (int32_t i : {0, 31, 32, 1000}) bits.set(i);
  EXPECT_EQ(bits.findNext(-1), 0) << "-1 starts at bit 0, which counts";
  EXPECT_EQ(bits.findNext(0), 31);
  EXPECT_EQ(bits.findNext(31), 32);
  EXPECT_EQ(bits.findNext(32), 1000);
  EXPECT_EQ(bits.findNext(1000), -1);
  EXPECT_EQ(bits.findPrevious(1000), 32);
  EXPECT_EQ(bits.findPrevious(1), 0);
  EXPECT_EQ(bits.findPrevious(0), -1);
  bits.set(bits.maxBit());
  EXPECT_EQ(bits.findPrevious(bits.maxBit() + 1000), bits.maxBit()) << "past the end, maxBit itself counts";
  BitVector paged(10);
  paged.set(5);
  paged.set(kLargeBit);
  ASSERT_TRUE(paged.isPaged());
  EXPECT_EQ(paged.findNext(5), kLargeBit) << "across missing pages";
  EXPECT_EQ(paged.findPrevious(kLargeBit), 5);
  EXPECT_EQ(paged.findNext(kLargeBit), -1);
}

using BitVectorSets = ModuleTest;

TEST_F(BitVectorSets, SubtractClearsTheOthersBitsAndUnionGrowsToTheOthersHighestSetBit) {
  BitVector a(10), b(10), empty(10);
  for (int32_t i : {1, 2, 3}) a.set(i);
  b.set(2);
  b.set(70);
  a.subtract(empty);
  EXPECT_EQ(a.knownCount(), 3u);
  a.subtract(b);
  EXPECT_EQ(a.knownCount(), BitVector::kUnknownCount);
  EXPECT_EQ(a.count(), 2u);
  EXPECT_FALSE(a.test(2));
  EXPECT_EQ(a.maxBit(), 31) << "only the words both hold";
  b.set(4000);
  a |= b;
  EXPECT_GE(a.maxBit(), 4000) << "a union grows to the other's highest set bit";
  EXPECT_TRUE(a.test(4000));
  EXPECT_EQ(a.count(), 5u);
  BitVector wide(100000);  // paged, but empty high pages: nothing to grow for
  wide.set(1);
  BitVector small(10);
  small |= wide;
  EXPECT_EQ(small.maxBit(), 31);
  EXPECT_TRUE(small.test(1));
}

TEST_F(BitVectorSets, AssignmentCopiesBitsFromEitherForm) {
  BitVector large(10), flat(500), target(10);
  large.set(7);
  large.set(kLargeBit);
  flat.set(450);
  target = large;
  EXPECT_TRUE(target.isPaged());
  EXPECT_TRUE(target.test(kLargeBit));
  EXPECT_EQ(target.maxBit(), large.maxBit());
  target = flat;
  EXPECT_FALSE(target.isPaged());
  EXPECT_TRUE(target.test(450));
  EXPECT_FALSE(target.test(7));
  BitVector wider(2000);
  wider.set(1999);
  wider = flat;
  EXPECT_EQ(wider.maxBit(), 2015) << "a larger flat target keeps its size";
  EXPECT_FALSE(wider.test(1999)) << "and clears what lies beyond the source";
  EXPECT_EQ(wider.count(), 1u);
}

}  // namespace
