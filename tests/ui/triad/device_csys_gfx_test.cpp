#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "devices/managers/izel_plugin_manager.h"
#include "devices/registry/plugin_manager_lookup.h"
#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
#include "support/module_fixture.h"
#include "support/module_settings.h"
#include "tests/devices/support/test_plugin.h"

namespace {

constexpr const char* kShow = "Palpera/Gfx/ShowCSYS";

std::vector<double> valuesOf(const Matrix4x4& matrix) {
  return std::vector(matrix.m, matrix.m + 16);
}

// The triad as the host starts it: the module's settings, an arm loaded, the plug-in managers made by their
// start-up task (the arm current), then the triad's start-up task.
class DeviceCsysGfx : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    registerModuleSettings();
    arm_ = TestPlugin::arm(u"Arm");
    host_.devices().pluginHandler().registerPlugin(static_cast<IZelPlugin*>(arm_));
  }

  void start(bool withManagers = true) {
    if (withManagers) runStartupTask("PluginManagerStartupTask");
    runStartupTask("DeviceCSYSGfxStartupTask");
    ASSERT_EQ(root().children().size(), 1u);
    separator_ = queryPart<HostVisibilitySensitiveNode>(root().children()[0].get());
    ASSERT_TRUE(separator_);
    ASSERT_EQ(separator_->children().size(), 3u);
    source_ = queryPart<HostMatrixSourceNode>(separator_->children()[0].get());
    matrix_ = queryPart<HostMatrixNode>(separator_->children()[1].get());
    ASSERT_TRUE(source_ && matrix_);
  }

  HostGroupNode& root() { return host_.document().graphics().root(); }
  void set(int32_t show) { host_.core().dataStore().setInt(nullptr, kShow, show); }
  int32_t redraws() { return host_.scene().renderer().counts().redraws; }

  TestPlugin* arm_ = nullptr;
  HostVisibilitySensitiveNode* separator_ = nullptr;
  HostMatrixSourceNode* source_ = nullptr;
  HostMatrixNode* matrix_ = nullptr;
};

TEST_F(DeviceCsysGfx, TheSettingShowsAndHidesTheTriadAndAsksForARedraw) {
  start();
  EXPECT_EQ(separator_->name(), "Device CSYS separator node");
  EXPECT_EQ(std::tuple(source_->name(), matrix_->name()), std::tuple("node", "node"));
  auto* triad = queryPart<HostCoordinateSystemNode>(separator_->children()[2].get());
  ASSERT_TRUE(triad);
  const HostCoordinateSystemNode::Shape& shape = triad->shape();
  EXPECT_EQ(std::tuple(shape.style, shape.axisLength, shape.headLength, shape.shaftRadius, shape.headRadius,
                       shape.labelled, shape.material),
            std::tuple(0, 0.41666666666666663, 0.06666666666666667, 0.003333333333333333,
                       0.016666666666666666, false, nullptr));
  EXPECT_FALSE(separator_->drawnInCurrentView());  // off by default
  for (int32_t show : {1, 0, 1}) {
    const int32_t before = redraws();
    set(show);
    EXPECT_EQ(separator_->drawnInCurrentView(), show != 0) << show;
    EXPECT_EQ(redraws(), before + 1) << show;
  }
}

TEST_F(DeviceCsysGfx, WithoutACurrentPluginTheTriadIsInvisibleAndUnplaced) {
  start(false);  // no plug-in manager yet
  set(1);
  arm_->setHardwareMatrix(Matrix4x4::translation({1, 2, 3}));
  EXPECT_FALSE(separator_->drawnInCurrentView());
  EXPECT_EQ(valuesOf(source_->drawnMatrix()), valuesOf(Matrix4x4::identity()));

  runStartupTask("PluginManagerStartupTask");  // found at the next draw
  EXPECT_TRUE(separator_->drawnInCurrentView());
  EXPECT_DOUBLE_EQ(source_->drawnMatrix().m[11], 3.0);

  // Each draw takes up the stored object alignment, and leaves the plug-in's cache as it found it.
  arm_->storeObjectMatrix(Matrix4x4::translation({10, 0, 0}));
  EXPECT_DOUBLE_EQ(source_->drawnMatrix().m[3], 11.0);
  Matrix4x4 cached;
  EXPECT_DOUBLE_EQ(arm_->deviceMatrix(cached).m[3], 1.0) << "the hardware's alone";

  getHardProbePluginManager()->setActivePlugin(nullptr);
  EXPECT_FALSE(separator_->drawnInCurrentView());
  EXPECT_DOUBLE_EQ(source_->drawnMatrix().m[11], 0.0);
}

TEST_F(DeviceCsysGfx, TheMatrixNodeUndoesTheSceneScaleButNotItsTranslation) {
  host_.document().graphics().hostSceneTransform().setMatrix(Matrix4x4::translation({10, -20, 30}) *
                                                             Matrix4x4::uniformScaling(4));
  start();
  EXPECT_EQ(valuesOf(matrix_->matrix()), valuesOf(Matrix4x4::uniformScaling(0.25)));

  // A new bounding box brings the scene matrix of that moment.
  host_.document().graphics().hostSceneTransform().setMatrix(Matrix4x4::translation({5, 5, 5}) *
                                                             Matrix4x4::uniformScaling(2));
  const int32_t before = redraws();
  host_.core().dataStore().fireEvent(nullptr, "Graphics/NewBoundingBox");
  EXPECT_DOUBLE_EQ(matrix_->matrix().m[0], 0.5);
  EXPECT_EQ(std::tuple(matrix_->matrix().m[3], matrix_->matrix().m[7], matrix_->matrix().m[11]),
            std::tuple(0.0, 0.0, 0.0));
  EXPECT_EQ(redraws(), before + 1);
}

TEST_F(DeviceCsysGfx, ASettingOnAtStartShowsTheTriadAtOnceAndItLivesUntilShutdown) {
  set(1);
  start();
  EXPECT_TRUE(separator_->drawnInCurrentView());
  host_.shutdown();
  set(0);  // gone: nobody listens any more, and the nodes stay in the scene
  EXPECT_TRUE(separator_->drawnInCurrentView());
  EXPECT_EQ(root().children().size(), 1u);
}

}  // namespace
