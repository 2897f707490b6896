#include <gtest/gtest.h>

#include "framework/object/iptr.h"
#include "framework/registrations/registered_classes.h"
#include "host/scene/host_scene.h"
#include "support/module_fixture.h"
#include "ui/camera/zel_virtual_camera.h"

namespace {

class VirtualCameraTest : public ModuleTest {
 protected:
  IPtr<IZelVirtualCamera> make() {
    IPtr<IZelVirtualCamera> camera;
    camera.createInstance(classIdOf("VirtualCamera"));
    EXPECT_TRUE(camera);
    return camera;
  }
  HostScene& scene() { return host_.scene().view().scene(); }
};

TEST_F(VirtualCameraTest, StandsSixProbeVectorsBackWithTheTranslationsXAndYZero) {
  IPtr<IZelVirtualCamera> camera = make();
  camera->setCameraPoint({1, 2, 3});
  camera->setPosition({0.3, 0.1, 0.1});
  camera->setTo({0.2, 0.2, 0});
  camera->setUp({0, 0, 1});
  camera->update();

  HostViewingTransform expected;
  expected.setPosition({0.6, -0.6, 0.6});
  expected.setUp({0, 0, 1});
  Matrix4x4 placement = expected.matrix();
  EXPECT_NEAR(placement.m[3], 0.6, 1e-12) << "the host's own translation has an x";
  EXPECT_NEAR(placement.m[7], -0.6, 1e-12) << "and a y";
  placement.m[3] = placement.m[7] = 0;
  const Matrix4x4& given = scene().sceneCamera().matrix();
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(given.m[i], placement.m[i], 1e-12) << "element " << i;
  EXPECT_NEAR(given.m[11], 0.6, 1e-12);
  EXPECT_EQ(scene().sceneCamera().point(), (Vector3{1, 2, 3}));
  EXPECT_EQ(scene().updates(), 1);
}

// A viewing transform that offers no orientation still takes the pose; the camera then keeps its placement.
TEST_F(VirtualCameraTest, AViewingTransformWithoutAnOrienterStillGetsThePose) {
  auto& viewing = static_cast<HostViewingTransform&>(*scene().viewingTransform());
  viewing.withdrawOrienter();
  IPtr<IZelVirtualCamera> camera = make();
  camera->setPosition({0, 0, 0.1});
  camera->setUp({0, 1, 0});
  camera->update();
  EXPECT_EQ(viewing.position(), (Vector3{0, 0, 0.6000000000000001}));
  EXPECT_EQ(viewing.up(), (Vector3{0, 1, 0}));
  EXPECT_EQ(scene().sceneCamera().matrix().m[11], 0);
  EXPECT_EQ(scene().updates(), 0);
}

TEST_F(VirtualCameraTest, AnUpdateBeforeAnySetterUsesZeroVectorsAndNoViewMeansNothingMoves) {
  make()->update();
  EXPECT_EQ(scene().sceneCamera().matrix().m[11], 0);
  EXPECT_EQ(scene().updates(), 1);

  host_.root().setService("IGfxViewMgr", nullptr);
  make()->update();
  EXPECT_EQ(scene().updates(), 1);
}

}  // namespace
