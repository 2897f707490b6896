#include <gtest/gtest.h>

#include <chrono>

#include "commands/features/zel_hard_probe_create_features_util.h"
#include "framework/host_glue/document_glue.h"
#include "framework/object/query_part.h"
#include "support/text.h"
#include "tests/devices/devices/device_fixture.h"

namespace {

using namespace steps;

// A probing run on the module's own "HardProbe" device, whose plug-in plays its script on the device's
// worker thread while the test pumps the main loop, as the host's event loop does.
class ProbingRunThreads : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    host_.core().dataStore().setInt(nullptr, "Palpera/FeatureMatching/Enable", 0);
    host_.core().dataStore().setInt(nullptr, "Palpera/Gfx/ShowProbe", 0);
    target_ = host_.document().doc().add({"Point", u"TestObject", std::nullopt, {}, {}}, false).get();
  }
  void TearDown() override {
    util_.release();
    DeviceTest::TearDown();
  }

  std::vector<std::u16string> names() {
    std::vector<std::u16string> found;
    auto* subObjects = queryPart<IZelSubObjectMgr>(getFeatureSubObjectMgr(target_));
    for (int32_t i = 0; subObjects && i < subObjects->subObjectCount(); ++i)
      found.push_back(text(subObjects->subObjectAt(i)->name()));
    return found;
  }

  IZelDocObject* target_ = nullptr;
  IPtr<IZelHardProbeCreateFeaturesUtil> util_;
};

TEST_F(ProbingRunThreads, PointsFromTheDevicesWorkerThreadBecomeAPlaneOnTheMainThread) {
  plugin_->script().queue({radius(.001), sampled({0, 0, .001}), sampled({.1, 0, .001}),
                           sampled({0, .1, .001}), pointStop({.05, .05, .05})});
  util_.createInstance(classIdOf("HardProbeCreateFeaturesUtil"));
  util_->setTargetObject(target_);
  util_->setCollectorClassId(classIdOf("PlaneCollector"));
  util_->connect();
  ASSERT_TRUE(util_->isConnected());
  ASSERT_TRUE(util_->startFeature());
  EXPECT_TRUE(host_.core().mainLoop().runUntil([&] { return !names().empty(); }, std::chrono::seconds(5)));
  EXPECT_EQ(names(), std::vector<std::u16string>{u"Plane 1"});
  EXPECT_TRUE(util_->stopFeature());
}

}  // namespace
