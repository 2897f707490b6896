#include "devices/plugins/module_plugin.h"

#include <gtest/gtest.h>

#include "devices/plugins/receiver_forwarder.h"
#include "framework/object/query_chain.h"
#include "framework/object/zel_unknown_impl.h"

namespace {

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

// Records which receiver kind got which call.
class Recorder : public IZelHardProbeDataReceiver,
                 public IZelHardProbeContinuousDataReceiver,
                 public IZelLaserScanDataReceiver,
                 public ZelUnknownImpl {
 public:
  void setProbeRadius(double) override { calls += "radius "; }
  void onStartCapture() override { calls += "start "; }
  void onStopCapture() override { calls += "stopCapture "; }
  void onMoved(const Vector3&, const Vector3&, const Vector3&) override { calls += "moved "; }
  void onPointSampled(const Vector3&) override { calls += "sampled1 "; }
  void onPointSampled(const Vector3&, const Vector3&, const Vector3&) override { calls += "sampled3 "; }
  void onPointStop(const Vector3&) override { calls += "pointStop "; }
  void onStop() override { calls += "stop "; }
  void onSampled(const Vector3&, const Vector3&, const Vector3&, const void*, uint32_t count,
                 uint32_t) override {
    calls += "line" + std::to_string(count) + " ";
  }
  void onCustomEvent(const ZelCString& name, IZelUnknown*) override {
    calls += std::string("custom:") + name.data() + " ";
  }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("Recorder", this, this).end();
  }
  const char* className() override { return "Recorder"; }

  std::string calls;
};

class Forwarder : public ReceiverForwarder, public ZelUnknownImpl {
 public:
  using ReceiverForwarder::ReceiverForwarder;
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("Forwarder", this, this).end();
  }
  const char* className() override { return "Forwarder"; }
};

void driveEveryCall(ReceiverForwarder& forwarder) {
  const Vector3 v;
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
  Recorder recorder;
  Forwarder single(static_cast<IZelHardProbeDataReceiver*>(&recorder));
  driveEveryCall(single);
  EXPECT_EQ(recorder.calls, "radius moved sampled1 pointStop custom:Error ");

  recorder.calls.clear();
  Forwarder continuous(static_cast<IZelHardProbeContinuousDataReceiver*>(&recorder));
  driveEveryCall(continuous);
  EXPECT_EQ(recorder.calls, "radius start stopCapture moved sampled3 stop custom:Error ");

  recorder.calls.clear();
  Forwarder scanner(static_cast<IZelLaserScanDataReceiver*>(&recorder));
  driveEveryCall(scanner);
  EXPECT_EQ(recorder.calls, "start stopCapture moved stop line2 custom:Error ");
  EXPECT_TRUE(scanner.forwardsTo(static_cast<IZelLaserScanDataReceiver*>(&recorder)));
  EXPECT_FALSE(single.forwardsTo(nullptr));
}

}  // namespace
