#include <gtest/gtest.h>

#include "framework/object/iptr.h"
#include "host/document/features/host_point.h"
#include "host_api/gfx_view.h"
#include "host_api/zel_sub_objects.h"
#include "support/module_fixture.h"

namespace {

class SpaceTransforms : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    gfx_.getService();
    Matrix4x4 placed = Matrix4x4::translation({0.1, -0.2, 0.3}) * Matrix4x4::rotation({1, 2, 3}, 0.7);
    object_ = host_.document().doc().add({"Point", u"Part", {}, {}, {}}, false);
    object_->setTransform(placed.m);
    host_.scene().genGfx().setViewToScene(-1,
                                          Matrix4x4::uniformScaling(2.5) * Matrix4x4::translation({1, 0, 0}));
  }
  Matrix4x4 transform(int32_t from, int32_t to, int32_t objectId) {
    Matrix4x4 out = Matrix4x4::scaling(9, 9, 9);
    EXPECT_TRUE(gfx_->spaceTransform(out, from, to, objectId, -1)) << from << " to " << to;
    return out;
  }
  static void expectNear(const Matrix4x4& a, const Matrix4x4& b) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(a.m[i], b.m[i], 1e-12) << "element " << i;
  }

  IPtr<IGenGfxService> gfx_;
  IPtr<HostDocObject> object_;
};

TEST_F(SpaceTransforms, EveryPairRoundTripsAPointBothWays) {
  const int32_t id = host_.document().doc().objectId(object_.get());
  const Vector3 point{0.25, -1.5, 4};
  for (int32_t from : {1, 3, 4, 5}) {
    for (int32_t to : {1, 3, 4, 5}) {
      SCOPED_TRACE(testing::Message() << from << " to " << to);
      Vector3 there = Matrix4x4::transformPoint(transform(from, to, id), point);
      Vector3 back = Matrix4x4::transformPoint(transform(to, from, id), there);
      EXPECT_NEAR(back.x, point.x, 1e-12);
      EXPECT_NEAR(back.y, point.y, 1e-12);
      EXPECT_NEAR(back.z, point.z, 1e-12);
    }
  }
  double world[16];
  ASSERT_TRUE(gfx_->worldTransform(object_.get(), world));
  Matrix4x4 placed;
  std::copy(world, world + 16, placed.m);
  expectNear(transform(5, 4, id), placed);
}

TEST_F(SpaceTransforms, TheCameraHasTheViewsAxesAndCentreWithoutItsZoom) {
  expectNear(transform(3, 4, 0), Matrix4x4::translation({2.5, 0, 0}));
  expectNear(transform(3, 1, 0), Matrix4x4::uniformScaling(1 / 2.5));
  const Matrix4x4 turned = Matrix4x4::translation({1, 2, 3}) * Matrix4x4::rotation({0, 0, 1}, 0.5);
  host_.scene().genGfx().setViewToScene(0, turned * Matrix4x4::scaling(4, 4, 4));
  Matrix4x4 out;
  ASSERT_TRUE(gfx_->spaceTransform(out, 3, 4, 0, 0));
  expectNear(out, turned);
  host_.scene().genGfx().setViewToScene(0, Matrix4x4::scaling(1, 0, 1));
  EXPECT_FALSE(gfx_->spaceTransform(out, 3, 4, 0, 0)) << "a flat view has no camera axes";
}

// The edit command asks by the sub-object's id, the view point by the object's: both name the owner.
TEST_F(SpaceTransforms, AskedByObjectIdOrThroughASubObjectTheAnswerIsTheObjects) {
  IPtr<HostPoint> point(new HostPoint);
  IPtr<IZelFeatureSubObject> shown;
  shown.takeOwnership(object_->featureSubObjects().createSubObject(point.get()));
  ASSERT_EQ(shown->objectId(), host_.document().doc().objectId(object_.get()));
  expectNear(transform(4, 5, shown->objectId()), Matrix4x4::inverse(transform(5, 4, object_->id())));

  Matrix4x4 untouched = Matrix4x4::scaling(9, 9, 9), out = untouched;
  const int32_t gone = object_->id();
  host_.document().doc().remove(object_.get());
  EXPECT_FALSE(gfx_->spaceTransform(out, 4, 5, gone, -1)) << "a removed object's id names nothing";
  EXPECT_FALSE(gfx_->spaceTransform(out, 2, 4, 0, -1) || gfx_->spaceTransform(out, 4, 6, 0, -1));
  EXPECT_EQ(std::vector<double>(out.m, out.m + 16), std::vector<double>(untouched.m, untouched.m + 16));
  EXPECT_TRUE(gfx_->spaceTransform(out, 1, 4, gone, -1)) << "the view's spaces need no object";
}

}  // namespace
