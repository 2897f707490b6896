// The 3-2-1 solve through the host's datum-based modifier.

#include "commands/alignment/device_to_part/plane_alignment_solve.h"

#include <gtest/gtest.h>

#include <cmath>

#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/point_objects.h"
#include "framework/object/query_part.h"
#include "support/module_fixture.h"

namespace {

const double kHalfRoot3 = std::sqrt(3.0) / 2.0;

class PlaneAlignmentSolve : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    reference_ = createPointObject(ZelString(u"RefObject"));
    ASSERT_TRUE(reference_);
    planes_.reference = reference_.get();
    planes_.referencePlanes = {Plane{0, 0, 1, 0.02}, Plane{0, -1, 0, 0}, Plane{1, 0, 0, 0}};
    planes_.devicePlanes = {Plane{0, 0, 1, -0.28}, Plane{-0.5, -kHalfRoot3, 0, 0.2},
                            Plane{kHalfRoot3, -0.5, 0, -0.1}};
  }
  int32_t referenceSubObjects() {
    return queryPart<IZelSubObjectMgr>(getFeatureSubObjectMgr(reference_.get()))->subObjectCount();
  }

  IPtr<IZelDocObject> reference_;
  AlignmentPlanes planes_;
};

TEST_F(PlaneAlignmentSolve, TheDevicePlanesLandOnTheReferenceAndNothingMadeForTheSolveStays) {
  const int32_t objects = host_.document().doc().objectCount();
  Matrix4x4 m;
  ASSERT_TRUE(computeAlignment(planes_, m));
  const double expected[16] = {kHalfRoot3, -0.5, 0, 0.1, 0.5, kHalfRoot3, 0, 0.2, 0, 0, 1, 0.3, 0, 0, 0, 1};
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(m.m[i], expected[i], 1e-12) << i;
  EXPECT_EQ(host_.document().doc().objectCount(), objects) << "the float object is gone";
  EXPECT_EQ(referenceSubObjects(), 0);
}

TEST_F(PlaneAlignmentSolve, AnInvalidPlaneOrAFailedSolveAnswersFalseWithTheIdentity) {
  AlignmentPlanes invalid = planes_;
  invalid.devicePlanes[2] = Plane{0, 0, 0, 0.1};
  AlignmentPlanes parallel = planes_;
  parallel.devicePlanes[1] = Plane{0, 0, -1, 0.1};
  for (const AlignmentPlanes& planes : {invalid, parallel}) {
    Matrix4x4 m = Matrix4x4::translation({1, 2, 3});
    EXPECT_FALSE(computeAlignment(planes, m));
    EXPECT_EQ(m.m[3], 0.0);
    EXPECT_EQ(referenceSubObjects(), 0);
  }
}

}  // namespace
