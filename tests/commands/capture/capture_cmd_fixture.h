#pragma once

// "Probe Capture" run by the host's command runner, with a connected test arm as the current hard-probe
// plug-in and test devices as "HardProbe" and "HardProbeContinuous". Settings are as registered, except that
// the virtual camera, sampling and the probe drawing are off unless a test switches them on.

#include <string>
#include <vector>

#include "commands/capture/palpera_capture_cmd.h"
#include "devices/managers/hard_probe_plugin_manager.h"
#include "framework/host_glue/point_objects.h"
#include "platform/utf8.h"
#include "tests/commands/support/command_fixture.h"
#include "tests/devices/support/test_plugin.h"

class CaptureTest : public CommandTest {
 protected:
  using Cmd = PalperaCaptureCmd;
  using Start = CommandRunner::Start;

  void SetUp() override {
    CommandTest::SetUp();
    store().setInt(nullptr, "Palpera/Gfx/ShowProbe", 0);
    store().setInt(nullptr, "Palpera/ProbeCapture/VirtualCamera", 0);
    store().setInt(nullptr, "Palpera/ProbeCapture/Sampling", 0);
    host_.core().units().setCurrentLengthUnit(kMetre);
    registry_->setManager(ZelCString("HardProbe"), manager_.get());
    host_.devices().pluginHandler().registerPlugin(static_cast<IZelPlugin*>(arm_));
    ASSERT_TRUE(manager_->setActivePlugin(arm_));
    ZelString error;
    ASSERT_TRUE(static_cast<IZelHardProbePlugin*>(arm_)->connect(error));
    single_ = addDevice("HardProbe", "IZelHardProbeDataReceiverV2");
    continuous_ = addDevice("HardProbeContinuous", "IZelHardProbeContinuousDataReceiver");
  }
  void TearDown() override {
    if (runner_.running()) runner_.cancel();
    registry_->setDevice(ZelCString("HardProbe"), nullptr);
    registry_->setDevice(ZelCString("HardProbeContinuous"), nullptr);
    CommandTest::TearDown();
  }

  Start run(int32_t mode) {
    store().setInt(nullptr, "Palpera/ProbeCapture/Mode", mode);
    journal_.clear();
    return start("PalperaCaptureCmd");
  }
  // Starts a capture with the dialog's button.
  void startCapture() { ASSERT_TRUE(press(Cmd::kStartCapture)); }

  // The single-point device's button.
  void pressProbe(const Vector3& p) {
    single_->deliver<IZelHardProbeDataReceiver>([&](IZelHardProbeDataReceiver* r) { r->onPointSampled(p); });
  }
  void startPass() {
    continuousEvent([](auto* r) { r->onStartCapture(); });
  }
  void stopPass() {
    continuousEvent([](auto* r) { r->onStopCapture(); });
  }
  void sample(const Vector3& p) {
    continuousEvent([&](auto* r) { r->onPointSampled(p, {0, 0, -1}, {0, 1, 0}); });
  }
  // One pass of the continuous device over the points.
  void pass(const std::vector<Vector3>& points) {
    startPass();
    for (const Vector3& p : points) sample(p);
    stopPass();
  }
  void error() {
    continuousEvent([](auto* r) { r->onCustomEvent(ZelCString("Error"), nullptr); });
  }
  template <class Call>
  void continuousEvent(Call call) {
    continuous_->deliver<IZelHardProbeContinuousDataReceiver>(call);
  }

  IDataStore& store() { return host_.core().dataStore(); }
  HostDocument& document() { return host_.document().doc(); }
  std::u16string nameField() { return dialog().control(Cmd::kPointObjectName)->text; }
  // The document's point objects by name, in document order.
  std::vector<std::u16string> pointObjectNames() {
    std::vector<std::u16string> names;
    for (const IPtr<HostDocObject>& object : document().objects())
      if (object->type() == "Point") names.push_back(object->name());
    return names;
  }
  static std::vector<Vector3> pointsIn(IZelDocObject* object) {
    std::vector<Vector3> points;
    IZelPoints* set = pointsOf(object);
    double xyz[3];
    for (int32_t i = 1; set && i <= set->pointCount(); ++i)
      if (set->pointAt(i, xyz)) points.push_back({xyz[0], xyz[1], xyz[2]});
    return points;
  }
  IZelDocObject* object(const char16_t* name) { return document().findObject(ZelString(name)); }
  int32_t counter(const char* name) {
    ICounter* found = host_.core().counters().find(ZelCString(name));
    return found ? found->value() : -1;
  }

  static constexpr int32_t kMetre = 7;
  IPtr<HardProbePluginManager> manager_{new HardProbePluginManager};
  TestPlugin* arm_ = TestPlugin::arm(u"Arm");
  TestDevice* single_ = nullptr;
  TestDevice* continuous_ = nullptr;
};
