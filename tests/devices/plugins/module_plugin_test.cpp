#include "devices/plugins/module_plugin.h"

#include <gtest/gtest.h>

#include "devices/plugins/receiver_forwarder.h"
#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "framework/object/zel_unknown_impl.h"
#include "support/device_event_recorder.h"

namespace {

using Lines = std::vector<std::string>;

class TwoFacedPlugin : public ModulePlugin,
                       public ModulePluginFace<IZelHardProbePlugin>,
                       public ModulePluginFace<IZelHardProbeContinuousPlugin>,
                       public ZelUnknownImpl {
 public:
  const ZelString& getName() override { return name_; }
  void run(IZelHardProbeDataReceiver*) override {}
  void run(IZelHardProbeContinuousDataReceiver*) override {}
  void stop() override {}
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out)
        .classLeaf("TwoFacedPlugin", this, this)
        .offer<IZelHardProbePlugin>(this)
        .offer<IZelHardProbeContinuousPlugin>(this)
        .end();
  }
  const char* className() override { return "TwoFacedPlugin"; }

 private:
  ZelString name_;
};

TEST(ModulePluginTest, EachFaceKeepsItsOwnConnection) {
  TwoFacedPlugin plugin;
  IZelHardProbePlugin& single = plugin;
  IZelHardProbeContinuousPlugin& continuous = plugin;
  ZelString error;
  EXPECT_TRUE(continuous.connect(error));
  EXPECT_TRUE(continuous.isConnected());
  EXPECT_FALSE(single.isConnected());
  EXPECT_TRUE(single.connect(error));
  EXPECT_TRUE(continuous.disconnect());
  EXPECT_TRUE(single.isConnected());
  EXPECT_FALSE(continuous.isConnected());
  EXPECT_TRUE(single.isAvailable() && continuous.isAvailable());
  EXPECT_EQ(plugin.optionCount(ZelCString("HardProbe")), 0);
  EXPECT_FALSE(plugin.runOption(ZelCString("x")));
}

class Forwarder : public ReceiverForwarder, public ZelUnknownImpl {
 public:
  using ReceiverForwarder::ReceiverForwarder;
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("Forwarder", this, this).end();
  }
  const char* className() override { return "Forwarder"; }
};

void driveEveryCall(ReceiverForwarder& forwarder) {
  const Vector3 v(1, 2, 3);
  forwarder.setProbeRadius(0.003);
  forwarder.onStartCapture();
  forwarder.onStopCapture();
  forwarder.onMoved(v, v, v);
  static_cast<IZelHardProbeDataReceiver&>(forwarder).onPointSampled(v);
  static_cast<IZelHardProbeContinuousDataReceiver&>(forwarder).onPointSampled(v, v, v);
  forwarder.onPointStop(v);
  forwarder.onStop();
  forwarder.onSampled(v, v, v, nullptr, 2, 0);
  forwarder.onCustomEvent(ZelCString("Error"), nullptr);
}

TEST(ModulePluginTest, ForwarderCallsOnlyWhatTheTargetKindHas) {
  IPtr<DeviceEventRecorder> single(new DeviceEventRecorder), continuous(new DeviceEventRecorder),
      scanner(new DeviceEventRecorder);
  Forwarder toSingle(single->single()), toContinuous(continuous->continuous()),
      toScanner(scanner->laserScan());
  for (Forwarder* forwarder : {&toSingle, &toContinuous, &toScanner}) driveEveryCall(*forwarder);
  const std::string at = " 1,2,3", oriented = " 1,2,3 1,2,3 1,2,3";
  EXPECT_EQ(single->calls(),
            (Lines{"radius 0.003", "moved" + oriented, "sampled" + at, "pointStop" + at, "custom Error"}));
  EXPECT_EQ(continuous->calls(), (Lines{"radius 0.003", "startCapture", "stopCapture", "moved" + oriented,
                                        "sampledOriented" + oriented, "stop", "custom Error"}));
  EXPECT_EQ(scanner->calls(), (Lines{"startCapture", "stopCapture", "moved" + oriented, "stop",
                                     "scan" + oriented + " [2:] stride 0", "custom Error"}));
  EXPECT_TRUE(toScanner.forwardsTo(scanner->laserScan()));
  EXPECT_FALSE(toSingle.forwardsTo(nullptr));
}

}  // namespace
