// The shared test device keeps events in transit as the real device does: what its worker posted reaches
// the receivers when the host's loop runs, or during the stop that ends the acquisition, once either way.

#include "support/test_device.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/object/iptr.h"
#include "support/device_event_recorder.h"

namespace {

using Receiver = IZelHardProbeDataReceiver;

class TestDeviceInTransit : public ::testing::Test {
 protected:
  TestDeviceInTransit() { device_->addReceiver(recorder_->registered()); }

  void postSample(double x) {
    device_->post<Receiver>([x](Receiver* r) { r->onPointSampled({x, 0, 0}); });
  }
  void postStop() {
    device_->post<Receiver>([](Receiver* r) { r->onPointStop({0, 0, 0}); });
  }
  // The device's calls since the last look.
  std::vector<std::string> calls() { return std::exchange(journal_, {}); }

  std::vector<std::string> journal_;
  IPtr<TestDevice> device_{new TestDevice("HardProbe", "IZelHardProbeDataReceiverV2", journal_)};
  IPtr<DeviceEventRecorder> recorder_{new DeviceEventRecorder};
};

TEST_F(TestDeviceInTransit, PostedEventsWaitForTheLoopOrTheStopAndArriveOnceInOrder) {
  ASSERT_TRUE(device_->startAcquisition());
  postSample(1);
  postSample(2);
  EXPECT_TRUE(recorder_->calls().empty()) << "nothing before the loop runs";
  device_->deliverPosted();
  postSample(3);
  device_->stopAcquisition();
  device_->stopAcquisition();
  device_->deliverPosted();
  EXPECT_EQ(recorder_->calls(), (Lines{"sampled 1,0,0", "sampled 2,0,0", "sampled 3,0,0"}));
  EXPECT_EQ(device_->postedCount(), 0u);
}

TEST_F(TestDeviceInTransit, AStopDeliversOnlyToTheReceiversHeldThenAndDisconnectStopsToo) {
  ASSERT_TRUE(device_->startAcquisition());
  postSample(1);
  device_->removeReceiver(recorder_->registered());
  device_->stopAcquisition();
  EXPECT_TRUE(recorder_->calls().empty()) << "a receiver removed before the stop hears nothing";

  device_->addReceiver(recorder_->registered());
  ASSERT_TRUE(device_->startAcquisition());
  postSample(2);
  EXPECT_TRUE(device_->disconnect());
  EXPECT_EQ(recorder_->calls(), Lines{"sampled 2,0,0"});
}

TEST_F(TestDeviceInTransit, AReceiverStoppingInsideAnEventGetsTheRestDuringItsOwnStopAndANestedStopReturns) {
  recorder_->setDuringCall([&](const std::string& call) {
    if (call.starts_with("pointStop")) device_->stopAcquisition();
  });
  ASSERT_TRUE(device_->startAcquisition());
  postStop();
  postStop();
  postSample(1);
  calls();
  device_->deliverPosted();
  EXPECT_EQ(recorder_->calls(), (Lines{"pointStop 0,0,0", "pointStop 0,0,0", "sampled 1,0,0"}));
  EXPECT_EQ(calls(), (std::vector<std::string>{"stop HardProbe", "stop HardProbe"}))
      << "the second stop arrives inside the first, whose nested stop finds nothing running";
}

TEST_F(TestDeviceInTransit, AStartStopsTheRunningAcquisitionFirstAndOneInsideAStopLetsTheRestArriveOnce) {
  ASSERT_TRUE(device_->startAcquisition());
  postSample(1);
  ASSERT_TRUE(device_->startAcquisition());
  EXPECT_EQ(recorder_->calls(), Lines{"sampled 1,0,0"}) << "delivered by the stop inside the start";

  recorder_->setDuringCall([&](const std::string& call) {
    if (call.starts_with("pointStop")) {
      EXPECT_TRUE(device_->startAcquisition());
    }
  });
  postStop();
  postSample(2);
  device_->stopAcquisition();
  EXPECT_EQ(recorder_->calls(), (Lines{"sampled 1,0,0", "pointStop 0,0,0", "sampled 2,0,0"}));
  postSample(3);
  device_->stopAcquisition();
  EXPECT_EQ(recorder_->calls().back(), "sampled 3,0,0") << "the new acquisition runs and stops as any";
}

}  // namespace
