#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "devices/registry/izel_plugin_service.h"
#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "support/drawn_transform.h"
#include "support/module_fixture.h"
#include "support/scratch_directory.h"
#include "support/test_device.h"
#include "ui/probe/zel_hard_probe_probe_gfx.h"

namespace {

class HardProbeProbeGfxTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    SPtr<IZelPluginService> devices;
    ASSERT_TRUE(devices);
    devices->setDevice(ZelCString("HardProbe"), single_.get());
    devices->setDevice(ZelCString("HardProbeContinuous"), continuous_.get());
    gfx_.createInstance(classIdOf("HardProbeProbeGfx"));
    ASSERT_TRUE(gfx_);
  }

  HostHardProbeGfx& probe() { return *host_.scene().probeGfx().made().back(); }
  HostGroupNode& root() { return host_.document().graphics().root(); }
  HostGroupNode& nodeOf(const IPtr<HostDocObject>& object) { return object->graphics().node(); }
  IPtr<HostDocObject> addObject(const char16_t* name) {
    return host_.document().doc().add({"Plane", name, std::nullopt, {}, {}}, false);
  }
  int32_t redraws() { return host_.scene().renderer().counts().redraws; }
  int32_t immediateRedraws() { return host_.scene().renderer().counts().immediateRedraws; }

  std::vector<std::string> journal_;
  IPtr<TestDevice> single_{new TestDevice("HardProbe", "IZelHardProbeDataReceiverV2", journal_)};
  IPtr<TestDevice> continuous_{
      new TestDevice("HardProbeContinuous", "IZelHardProbeContinuousDataReceiver", journal_)};
  IPtr<IZelHardProbeProbeGfx> gfx_;
};

TEST_F(HardProbeProbeGfxTest, AReportedRadiusSizesTheProbeWithAFloorOfOneMillimetre) {
  gfx_->attach();
  ASSERT_EQ(probe().sizes().size(), 1u);  // attach draws the smallest probe until a radius comes
  struct Case {
    double radius;
    double size, halfSize, shaftLength;
  };
  for (const Case& c : {Case{0.0025, 0.0025, 0.00125, 0.01125}, Case{0, 0.001, 0.0005, 0.0045},
                        Case{-1, 0.001, 0.0005, 0.0045}}) {
    single_->deliver<IZelHardProbeDataReceiver>([&](auto* r) { r->setProbeRadius(c.radius); });
    continuous_->deliver<IZelHardProbeContinuousDataReceiver>([&](auto* r) { r->setProbeRadius(c.radius); });
    for (const HostHardProbeGfx::Size& got : {probe().sizes().end()[-2], probe().sizes().back()}) {
      EXPECT_DOUBLE_EQ(got.size, c.size) << c.radius;
      EXPECT_DOUBLE_EQ(got.halfSize, c.halfSize) << c.radius;
      EXPECT_DOUBLE_EQ(got.shaftLength, c.shaftLength) << c.radius;
    }
  }
  EXPECT_DOUBLE_EQ(probe().sizes().front().shaftLength, 0.0045);
}

TEST_F(HardProbeProbeGfxTest, MovesFollowTheReversedDirectionButASinglePointSampleDoesNotMove) {
  gfx_->attach();
  const int32_t before = redraws();
  single_->deliver<IZelHardProbeDataReceiver>([](auto* r) { r->onMoved({1, 2, 3}, {0, 0, 1}, {0, 1, 0}); });
  EXPECT_EQ(probe().position(), (Vector3{1, 2, 3}));
  EXPECT_EQ(probe().direction(), (Vector3{0, 0, -1}));
  EXPECT_EQ(redraws(), before + 1);
  EXPECT_EQ(immediateRedraws(), 0) << "a live move waits for the host's next frame";

  single_->deliver<IZelHardProbeDataReceiver>([](auto* r) { r->onPointSampled({9, 9, 9}); });
  EXPECT_EQ(probe().poseCount(), 1);

  continuous_->deliver<IZelHardProbeContinuousDataReceiver>([](auto* r) {
    r->onPointSampled({4, 5, 6}, {1, 0, 0}, {0, 0, 1});
  });
  EXPECT_EQ(probe().position(), (Vector3{4, 5, 6}));
  EXPECT_EQ(probe().direction(), (Vector3{-1, 0, 0}));
}

// A replayed log moves the probe faster than the host draws frames: each move is drawn at once.
TEST_F(HardProbeProbeGfxTest, WhileALogReplaysEachMoveIsDrawnAtOnce) {
  ScratchDirectory scratch;
  std::ofstream(scratch.system("host.log")) << "PluginWait\t\n";
  ASSERT_TRUE(host_.devices().replayer().startReplay(scratch.system("host.log")));
  gfx_->attach();
  single_->deliver<IZelHardProbeDataReceiver>([](auto* r) { r->onMoved({1, 2, 3}, {0, 0, 1}, {0, 1, 0}); });
  continuous_->deliver<IZelHardProbeContinuousDataReceiver>([](auto* r) {
    r->onMoved({1, 2, 3}, {0, 0, 1}, {0, 1, 0});
  });
  EXPECT_EQ(immediateRedraws(), 2);
}

// A device may still hold a receiver the probe graphics let go: it reaches nothing, not even the probe of a
// later attach.
TEST_F(HardProbeProbeGfxTest, AReceiverLetGoReachesNoLaterProbe) {
  gfx_->attach();
  IPtr<IZelHardProbeDataReceiver> single;
  IPtr<IZelHardProbeContinuousDataReceiver> continuous;
  single_->deliver<IZelHardProbeDataReceiver>([&](auto* r) { single = r; });
  continuous_->deliver<IZelHardProbeContinuousDataReceiver>([&](auto* r) { continuous = r; });
  ASSERT_TRUE(single && continuous);
  gfx_->detach();
  gfx_->attach();
  single->onMoved({1, 2, 3}, {0, 0, 1}, {0, 1, 0});
  single->setProbeRadius(0.5);
  continuous->onPointSampled({1, 2, 3}, {0, 0, 1}, {0, 1, 0});
  continuous->setProbeRadius(0.5);
  EXPECT_EQ(probe().poseCount(), 0);
  EXPECT_EQ(probe().sizes().size(), 1u) << "only the smallest probe of the attach";
  gfx_.release();
  single->onMoved({1, 2, 3}, {0, 0, 1}, {0, 1, 0});
  continuous->onMoved({1, 2, 3}, {0, 0, 1}, {0, 1, 0});
}

TEST_F(HardProbeProbeGfxTest, AttachingTwiceHangsAndRegistersOnceAndDetachUndoesItOnce) {
  gfx_->attach();
  gfx_->attach();
  EXPECT_EQ(host_.scene().probeGfx().made().size(), 1u);
  EXPECT_EQ(root().children().size(), 1u);
  EXPECT_FALSE(probe().auxiliary().visible());
  EXPECT_EQ(journal_, (std::vector<std::string>{"addReceiver HardProbe", "addReceiver HardProbeContinuous"}));
  EXPECT_EQ(single_->receiverCount(), 1u);
  EXPECT_EQ(continuous_->receiverCount(), 1u);

  const int32_t before = redraws();
  gfx_->detach();
  gfx_->detach();
  EXPECT_TRUE(root().children().empty());
  EXPECT_EQ(single_->receiverCount(), 0u);
  EXPECT_EQ(continuous_->receiverCount(), 0u);
  EXPECT_EQ(redraws(), before + 1);  // the second detach does nothing
}

TEST_F(HardProbeProbeGfxTest, DetachTakesTheProbeFromWhereItHungEvenAfterTheParentChanged) {
  IPtr<HostDocObject> first = addObject(u"Plane 1");
  IPtr<HostDocObject> second = addObject(u"Plane 2");
  gfx_->setParentObject(first.get());
  gfx_->attach();
  ASSERT_EQ(nodeOf(first).children().size(), 1u);
  EXPECT_TRUE(root().children().empty());

  gfx_->setParentObject(second.get());
  gfx_->detach();
  EXPECT_TRUE(nodeOf(first).children().empty());
  EXPECT_TRUE(nodeOf(second).children().empty());

  gfx_->attach();  // the new parent takes effect now, with a fresh probe
  EXPECT_EQ(host_.scene().probeGfx().made().size(), 2u);
  EXPECT_EQ(nodeOf(second).children().size(), 1u);
}

// The devices report world points; the object's node draws in the object's own frame, placed here by a turn
// about a skew axis and a shift. The probe must not be placed a second time, even when the object moves on.
TEST_F(HardProbeProbeGfxTest, UnderAPlacedObjectTheProbeIsDrawnWhereTheDevicesReportIt) {
  IPtr<HostDocObject> object = addObject(u"RefObject");
  const Matrix4x4 placement =
      Matrix4x4::translation({0.3, -0.2, 0.1}) * Matrix4x4::rotation(Vector3{1, 1, 1}.normalized(), 0.35);
  ASSERT_TRUE(object->setTransform(placement.m));
  IPtr<HostGroupNode> drawing(new HostGroupNode("object drawing"));
  nodeOf(object).addChild(static_cast<IZelNode*>(drawing.get()));
  gfx_->setParentObject(object.get());
  gfx_->attach();
  ASSERT_EQ(nodeOf(object).children().size(), 2u);
  EXPECT_TRUE(queryPart<HostNode>(nodeOf(object).children().front().get())->holds(probe().probeNode()))
      << "the probe hangs first in the object's node";

  const auto expectDrawnAt = [&](const Vector3& position, const Vector3& shaft) {
    const std::optional<Matrix4x4> drawn = drawnTransform(host_, probe().probeNode());
    ASSERT_TRUE(drawn);
    EXPECT_LT((Matrix4x4::transformPoint(*drawn, probe().position()) - position).length(), 1e-12);
    EXPECT_LT((Matrix4x4::transformVector(*drawn, probe().direction()) - shaft).length(), 1e-12);
  };
  single_->deliver<IZelHardProbeDataReceiver>([](auto* r) {
    r->onMoved({0.1, 0.2, 0.05}, {0, 0, -1}, {0, 1, 0});
  });
  expectDrawnAt({0.1, 0.2, 0.05}, {0, 0, 1});
  const Vector3 axis = Vector3{1, -2, 2}.normalized();
  continuous_->deliver<IZelHardProbeContinuousDataReceiver>([&](auto* r) {
    r->onPointSampled({-0.4, 0.05, 0.3}, axis, {0, 0, 1});
  });
  expectDrawnAt({-0.4, 0.05, 0.3}, -axis);

  ASSERT_TRUE(object->setTransform(Matrix4x4::rotation({0, 1, 0}, -1.2).m));
  expectDrawnAt({-0.4, 0.05, 0.3}, -axis);

  gfx_->detach();
  ASSERT_EQ(nodeOf(object).children().size(), 1u);
  EXPECT_EQ(queryPart<HostNode>(nodeOf(object).children().front().get()), drawing.get());
}

TEST_F(HardProbeProbeGfxTest, FitViewLeavesTheProbeOutUnlessAskedAndRestoresItsNodes) {
  gfx_->attach();
  gfx_->fitView(false);
  gfx_->fitView(true);
  const std::vector<HostGfxDoc::Fit>& fits = host_.document().graphics().fits();
  ASSERT_EQ(fits.size(), 2u);
  EXPECT_FALSE(fits[0].option);
  EXPECT_TRUE(fits[1].option);
  using Names = std::vector<std::string>;
  EXPECT_EQ(fits[0].taken, Names{"scene root"}) << "the probe left out";
  EXPECT_EQ(fits[1].taken, (Names{"scene root", "probe", "probe surroundings"})) << "the probe taken in";
  EXPECT_TRUE(probe().probe().visible());
  EXPECT_FALSE(probe().auxiliary().visible());
  EXPECT_EQ(gfx_->forwardToProbeGraphics(3, 7), 0);
  EXPECT_EQ(gfx_->forwardToProbeGraphics(3, 8), 7);
}

TEST_F(HardProbeProbeGfxTest, WithoutProbeGraphicsItStaysDetachedAndADeviceKeepsNoReceiver) {
  host_.root().setService("IGfxPalperaGfxUtil", nullptr);
  gfx_->attach();
  EXPECT_TRUE(journal_.empty());
  EXPECT_EQ(gfx_->forwardToProbeGraphics(1, 1), 0);
  const int32_t before = redraws();
  gfx_->detach();
  EXPECT_EQ(redraws(), before);
}

}  // namespace
