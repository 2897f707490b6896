// The view point places the stand-in view's camera through the host's space transforms.

#include "commands/alignment/iterative/view_point.h"

#include <gtest/gtest.h>

#include "host/cad/cad_model.h"
#include "host/cad/mesh_shapes.h"
#include "support/expect_matrix_near.h"
#include "support/module_fixture.h"

namespace {

class ViewPointTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    object_ = addCadModel(host_.document().doc(), u"RefObject", boxMesh({0, 0, 0}, {1, 1, 1}).get());
    ASSERT_TRUE(object_);
  }

  HostSceneCamera& camera() { return host_.scene().view().scene().sceneCamera(); }
  // The camera's matrix after placing a view point at the origin along direction.
  Matrix4x4 placedAlong(const Vector3& direction) {
    ViewPoint(object_.get(), {0, 0, 0}, direction, 0).apply();
    return camera().matrix();
  }

  IPtr<HostDocObject> object_;
};

TEST_F(ViewPointTest, ZoomFollowsTheSizeAndSizeZeroKeepsItAtOne) {
  camera().setZoomScale(3.0);
  ViewPoint view(object_.get(), {0, 0, 0}, {0, 0, 1}, 0);
  view.apply();
  EXPECT_EQ(camera().zoomScale(), 1.0);
  EXPECT_EQ(camera().mode(0), 0);
  view.size = 0.5;
  view.apply();
  const double half = camera().zoomScale();
  view.size = 1.0;
  view.apply();
  EXPECT_NEAR(camera().zoomScale(), half / 2, 1e-12);
  // Identity spaces: a step of 0.001 on the screen is 0.001 of the object, so the zoom is 0.7 / size.
  EXPECT_NEAR(camera().zoomScale(), 0.7, 1e-9);
}

TEST_F(ViewPointTest, CameraStandsSixUnitsInFrontLookingBackAlongTheDirection) {
  expectMatrixNear(placedAlong({0, 0, 1}), Matrix4x4::translation({0, 0, -6}), 1e-12);
  // +x turned onto +z: the rotation part carries the direction onto the viewer's axis.
  const Vector3 viewer = Matrix4x4::transformVector(placedAlong({1, 0, 0}), {1, 0, 0});
  EXPECT_NEAR(viewer.z, 1, 1e-12);
}

TEST_F(ViewPointTest, PointAndFocusGoThroughTheTransforms) {
  const double shifted[16] = {1, 0, 0, 2, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  ASSERT_TRUE(object_->setTransform(shifted));
  ViewPoint(object_.get(), {0, 1, 0}, {0, 0, 1}, 0).apply();
  EXPECT_EQ(camera().point(), (Vector3{2, 1, 0}));
  expectMatrixNear(camera().matrix(), Matrix4x4::translation({-2, -1, -6}), 1e-12);
}

// The turn comes first, then the shift of the turned point, then the six units: in any other order a point
// off the origin would not land straight ahead.
TEST_F(ViewPointTest, APointOffTheOriginLandsSixUnitsAheadWithTheDirectionTowardsTheViewer) {
  const Vector3 point{0.2, -0.3, 0.7};
  for (const Vector3& direction : {Vector3(1, 0, 0), Vector3(0, -1, 1), Vector3(0.3, 0.4, -0.2)}) {
    SCOPED_TRACE(testing::Message() << direction.x << " " << direction.y << " " << direction.z);
    ViewPoint(object_.get(), point, direction, 0).apply();
    const Matrix4x4 placed = camera().matrix();
    const Vector3 ahead = Matrix4x4::transformPoint(placed, point);
    EXPECT_NEAR(ahead.x, 0, 1e-12);
    EXPECT_NEAR(ahead.y, 0, 1e-12);
    EXPECT_NEAR(ahead.z, -6, 1e-12);
    const Vector3 back = Matrix4x4::transformVector(placed, direction.normalized());
    EXPECT_NEAR(back.z, 1, 1e-12);
  }
}

TEST_F(ViewPointTest, ZeroDirectionLooksAlongXAfterMapping) {
  // A camera space turned against the object's: the object's own +x would come out elsewhere.
  host_.scene().genGfx().setViewToScene(-1, Matrix4x4::rotation({0, 0, 1}, 0.5));
  const Matrix4x4 zero = placedAlong({0, 0, 0});
  const Vector3 viewer = Matrix4x4::transformVector(zero, {1, 0, 0});
  EXPECT_NEAR(viewer.z, 1, 1e-12);
  EXPECT_NEAR(zero.m[11], -6, 1e-12);
}

}  // namespace
