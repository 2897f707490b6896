#include <gtest/gtest.h>

#include "framework/object/iptr.h"
#include "support/device_event_recorder.h"
#include "tests/devices/support/plugin_script.h"

namespace {

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

TEST(ReceiverForwarding, CallsOnlyWhatTheTargetKindHas) {
  IPtr<DeviceEventRecorder> single(new DeviceEventRecorder), continuous(new DeviceEventRecorder),
      scanner(new DeviceEventRecorder);
  CountedForwarder toSingle(single->single()), toContinuous(continuous->continuous()),
      toScanner(scanner->laserScan());
  for (CountedForwarder* forwarder : {&toSingle, &toContinuous, &toScanner}) driveEveryCall(*forwarder);
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
