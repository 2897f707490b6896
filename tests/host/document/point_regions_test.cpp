#include <gtest/gtest.h>

#include "host_api/point_regions.h"
#include "support/module_fixture.h"
#include "tests/host/document/made_feature.h"

namespace {

// Point sets made as the feature creators make them: a point array, a complex holding
// it, and a region of the complex from a region handler set up with 0, -1, 0 and asked for (0, true).
class PointRegions : public ModuleTest {
 protected:
  static IPtr<IComplex0D> complexOf(RealPArray* points) {
    SPtr<IComplex0D> complex;
    complex->setArray(points);
    return complex;
  }

  static IPtr<IZelRegionHandler> region(IComplex0D* complex, int32_t dimension = 0, int32_t parent = -1,
                                        int32_t component = 0, bool whole = true) {
    SPtr<IZelCreateRegionHandler> handler;
    handler->setDimension(dimension);
    handler->setParentRegion(parent);
    handler->setOptions(0);
    IPtr<IZelRegionHandler> made;
    made.takeOwnership(handler->createRegion(complex, component, whole));
    return made;
  }

  static std::vector<Vector3> pointsOf(IZelPointSetInterface* set) {
    std::vector<Vector3> points;
    Vector3 p;
    for (int32_t i = 1; set->pointAt(i, p); ++i) points.push_back(p);
    EXPECT_EQ(static_cast<int32_t>(points.size()), set->pointCount());
    return points;
  }
};

TEST_F(PointRegions, ARegionIsThePointSetOfItsArraysPointsInOrderFrom1) {
  const std::vector<Vector3> probed{{1, 2, 3}, {-4, 5, 6}, {7, -8, 9}};
  IPtr<IComplex0D> complex = complexOf(pointArray(probed).get());
  IPtr<IZelRegionHandler> made = region(complex.get());
  auto* set = queryPart<IZelPointSetInterface>(made.get());
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(pointsOf(set), probed);
  Vector3 untouched;
  EXPECT_FALSE(set->pointAt(0, untouched));

  complex->setArray(pointArray({{0, 0, 0}}).get());
  complex.release();
  EXPECT_EQ(pointsOf(set), probed) << "the region keeps the array it was made of";
}

TEST_F(PointRegions, NoRegionForAMissingOrEmptyComplexOrASetUpTheHostDoesNotMake) {
  IPtr<RealPArray> points = pointArray({{1, 2, 3}});
  IPtr<IComplex0D> full = complexOf(points.get()), empty = complexOf(pointArray({}).get()),
                   bare = complexOf(nullptr);
  EXPECT_FALSE(region(nullptr));
  EXPECT_FALSE(region(bare.get()));
  EXPECT_FALSE(region(empty.get()));
  EXPECT_FALSE(region(full.get(), 1));
  EXPECT_FALSE(region(full.get(), 0, 0));
  EXPECT_FALSE(region(full.get(), 0, -1, 1));
  EXPECT_FALSE(region(full.get(), 0, -1, 0, false));
  EXPECT_TRUE(region(full.get()));
  EXPECT_EQ(points->refCount(), 2u) << "refused regions hold nothing";
  EXPECT_EQ(SPtr<IZelCreateRegionHandler>()->createRegion(full.get(), 0, true), nullptr)
      << "a handler never set up makes nothing";
}

}  // namespace
