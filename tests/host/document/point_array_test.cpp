#include <gtest/gtest.h>

#include <climits>
#include <tuple>
#include <vector>

#include "framework/object/iptr.h"
#include "host_api/points.h"
#include "support/module_fixture.h"

namespace {

class PointArrays : public ModuleTest {
 protected:
  static IPtr<RealPArray> make(int32_t entryWidth, int32_t capacity) {
    IPtr<RealPArray> array;
    array.takeOwnership(SPtr<IRealPArrayFactory>()->createArray(entryWidth, capacity));
    return array;
  }

  // Entry index as its doubles; empty when there is none.
  static std::vector<double> entry(RealPArray& array, int32_t index) {
    const double* values = array.at(index);
    return values ? std::vector<double>(values, values + array.entryWidth()) : std::vector<double>{};
  }
};

TEST_F(PointArrays, TheFirstArgumentIsTheEntryWidthWhereAnythingBelow3Means3) {
  struct Case {
    int32_t entryWidth, capacity, expectedWidth;
  };
  for (Case c : {Case{1, 1024, 3}, Case{0, 1024, 3}, Case{-2, 0, 3}, Case{3, -1, 3}, Case{6, 64, 6},
                 Case{6, INT_MAX, 6}}) {
    IPtr<RealPArray> array = make(c.entryWidth, c.capacity);
    ASSERT_TRUE(array) << c.entryWidth << ", " << c.capacity;
    EXPECT_EQ(std::tuple(array->entryWidth(), array->count(), array->refCount()),
              std::tuple(c.expectedWidth, 0, 1u))
        << c.entryWidth;
  }
}

TEST_F(PointArrays, EntriesAreNumberedFrom1AndChangeOnlyInsideTheArray) {
  IPtr<RealPArray> array = make(6, 2);
  const std::vector<double> a{1, 2, 3, 0, 0, 1}, b{-4, 5, 6, 1, 0, 0}, c{7, 8, -9, 0, 1, 0};
  for (const std::vector<double>* each : {&a, &b, &c}) EXPECT_TRUE(array->append(each->data()));
  EXPECT_FALSE(array->append(nullptr));
  EXPECT_EQ(array->count(), 3) << "an array grows past its capacity";
  EXPECT_EQ((std::vector{entry(*array, 0), entry(*array, 1), entry(*array, 3), entry(*array, 4)}),
            (std::vector<std::vector<double>>{{}, a, c, {}}));
  EXPECT_TRUE(array->set(1, c.data()));
  for (int32_t outside : {0, 4}) EXPECT_FALSE(array->set(outside, a.data())) << outside;
  EXPECT_FALSE(array->set(2, nullptr));
  EXPECT_EQ((std::vector{entry(*array, 1), entry(*array, 2)}), (std::vector{c, b}));
  EXPECT_TRUE(array->removeLast());
  EXPECT_EQ(array->count(), 2);
  EXPECT_EQ(array->at(3), nullptr);
  EXPECT_EQ(entry(*array, 2), b);
  array->clear();
  EXPECT_EQ(array->count(), 0);
  EXPECT_FALSE(array->removeLast()) << "nothing left to remove";
  array->append(b.data());
  EXPECT_EQ(entry(*array, 1), b);
}

}  // namespace
