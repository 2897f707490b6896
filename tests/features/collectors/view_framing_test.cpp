#include <gtest/gtest.h>

#include "collector_fixture.h"
#include "features/view_framing.h"
#include "host/scene/host_gen_gfx_service.h"
#include "host_api/gfx_view.h"
#include "ui/probe/zel_hard_probe_probe_gfx.h"

namespace {

class ViewFraming : public CollectorTest {
 protected:
  void SetUp() override {
    CollectorTest::SetUp();
    probeGraphics_.createInstance(classIdOf("HardProbeProbeGfx"));
    ASSERT_TRUE(probeGraphics_);
    target_ = addObject(u"TestObject");
    plane_ = collector("PlaneCollector");
    listen(plane_, target_);
  }
  void TearDown() override {
    probeGraphics_.release();
    plane_.release();
    CollectorTest::TearDown();
  }

  // Probes a plane with its tips at these points into the target object, then frames the view.
  void probeAndFrame(const Points& tips) {
    DeviceStream(plane_.get()).radius(.002).sample(tips).stop({.05, .05, .5});
    ASSERT_TRUE(computeSceneBoundingBox(target_, probeGraphics_.get()));
  }
  Matrix4x4 viewToScene() {
    Matrix4x4 matrix;
    host_.scene().genGfx().spaceTransform(matrix, 1, 4, 0, 0);
    return matrix;
  }
  static void expectSameView(const Matrix4x4& a, const Matrix4x4& b) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(a.m[i], b.m[i], 1e-12) << "element " << i;
  }

  IPtr<IZelHardProbeProbeGfx> probeGraphics_;
  IZelDocObject* target_ = nullptr;
  IPtr<IZelFeatureCollector> plane_;
};

TEST_F(ViewFraming, ASmallFeatureIsZoomedInOnOnceAndTheSameFeatureProbedAgainKeepsTheView) {
  probeAndFrame(kPlaneTips);
  const Matrix4x4 framed = viewToScene();
  // The 0.1 m square fills the 600 pixels of the view's height but 5 pixels at each side.
  const Vector3 corner = Matrix4x4::transformPoint(Matrix4x4::inverse(framed), {.1, .1, 0});
  EXPECT_NEAR(corner.y, 1 - 10.0 / 600, 1e-12);
  EXPECT_NEAR(corner.x, 1 - 10.0 / 600, 1e-12);
  probeAndFrame(kPlaneTips);
  expectSameView(viewToScene(), framed);
  ASSERT_TRUE(computeSceneBoundingBox(target_, probeGraphics_.get()));
  expectSameView(viewToScene(), framed);
}

TEST_F(ViewFraming, AFeatureSeenEdgeOnIsZoomedInOnByItsLengthOnce) {
  IPtr<IZelLine> line = made<IZelLine>();
  line->setLine({0, .05, 0}, {.1, .05, 0}, 0, 0);
  addFeature(target_, queryPart<IZelFeature>(line.get()), u"Edge");
  ASSERT_TRUE(computeSceneBoundingBox(target_, probeGraphics_.get()));
  const Matrix4x4 framed = viewToScene();
  const Vector3 end = Matrix4x4::transformPoint(Matrix4x4::inverse(framed), {.1, .05, 0});
  SPtr<IGfxViewMgr> views;
  const int32_t width = queryPart<IGfxView>(views->currentView())->width();
  EXPECT_NEAR(end.x, 1 - 10.0 / width, 1e-12) << "5 pixels beside its end";
  EXPECT_NEAR(end.y, 0, 1e-12);
  ASSERT_TRUE(computeSceneBoundingBox(target_, probeGraphics_.get()));
  expectSameView(viewToScene(), framed);
}

TEST_F(ViewFraming, AFeatureOutOfSightIsZoomedOutToOnceAndFramingAgainKeepsTheView) {
  const Points large = {{-3, -2, .002}, {3, -2, .002}, {-3, 2, .002}, {3, 2, .002}};
  probeAndFrame(large);
  const Matrix4x4 framed = viewToScene();
  const Vector3 corner = Matrix4x4::transformPoint(Matrix4x4::inverse(framed), {3, 2, 0});
  EXPECT_NEAR(corner.x, 1, 1e-12);
  EXPECT_NEAR(corner.y, 2.0 / 3, 1e-12) << "the view keeps its proportions";
  probeAndFrame(large);
  expectSameView(viewToScene(), framed);
}

TEST_F(ViewFraming, AFeatureThatFillsEnoughOfTheViewLeavesItAndNothingFramesWithoutProbeGraphics) {
  const Points half = {{-.5, -.5, .002}, {.5, -.5, .002}, {-.5, .5, .002}, {.5, .5, .002}};
  probeAndFrame(half);
  expectSameView(viewToScene(), Matrix4x4::identity());
  EXPECT_FALSE(computeSceneBoundingBox(target_, nullptr));
  EXPECT_TRUE(computeSceneBoundingBox(addObject(u"Empty"), probeGraphics_.get())) << "nothing to frame";
  expectSameView(viewToScene(), Matrix4x4::identity());
}

}  // namespace
