// The device steps every alignment command shares, on the emulator plug-in and a test device.

#include "commands/alignment/common/device_transform_steps.h"

#include <gtest/gtest.h>

#include <cstring>

#include "devices/alignment/alignment_services.h"
#include "framework/object/query_chain.h"
#include "framework/subject/zel_subject.h"
#include "support/expect_matrix_near.h"
#include "tests/commands/support/hard_probe_fixture.h"

namespace {

class StopCounter : public IZelListener, public ZelUnknownImpl {
 public:
  void onNotify(const char* event, IZelSubject* subject, void*) override {
    if (std::strcmp(event, "Stop") == 0) senders.push_back(subject);
  }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("StopCounter", this, this).offer<IZelListener>(this).end();
  }
  const char* className() override { return "StopCounter"; }

  std::vector<IZelSubject*> senders;
};

using DeviceTransformSteps = HardProbeTest;

TEST_F(DeviceTransformSteps, ANewTransformIsCommittedTheObjectCacheResetAndTheCombinedMatrixHoldsTheScale) {
  setTemperatureScale();
  SPtr<IZelPluginDeviceObjectAlignmentService> object;
  object->setMatrix(Matrix4x4::translation(Vector3(0, 0, 1)));
  const Matrix4x4 hardware =
      Matrix4x4::translation(Vector3(0.1, 0.2, 0.3)) * Matrix4x4::rotation(Vector3(0, 0, 1), 0.5);
  SPtr<IZelPluginDeviceScaleAlignmentService> scale;

  const Matrix4x4 combined = setDeviceTransform(*plugin_, hardware, nullptr);

  expectMatrixNear(combined, Matrix4x4::translation(Vector3(0, 0, 1)) * hardware * *scale->matrix(), 1e-15);
  expectMatrixNear(committedHardware(), hardware, 0);
  Matrix4x4 afterReset;
  expectMatrixNear(plugin_->deviceMatrix(afterReset), hardware * *scale->matrix(), 1e-15);
}

TEST_F(DeviceTransformSteps, TheKeptHardwareMatrixComesBackWithoutTheScaleAndOnlyOnce) {
  setTemperatureScale();
  const Matrix4x4 before = Matrix4x4::translation(Vector3(0.5, 0, 0));
  setDeviceTransform(*plugin_, before, nullptr);
  KeptHardwareMatrix kept;
  kept.keep(*plugin_);
  setDeviceTransform(*plugin_, Matrix4x4::identity(), nullptr);

  kept.giveBack(*plugin_, nullptr);
  expectMatrixNear(plugin_->hardwareMatrix(), before, 0);
  expectMatrixNear(committedHardware(), before, 0);

  setDeviceTransform(*plugin_, Matrix4x4::identity(), nullptr);
  kept.giveBack(*plugin_, nullptr);
  EXPECT_EQ(plugin_->hardwareMatrix().m[3], 0.0) << "given back already";
}

TEST_F(DeviceTransformSteps, APositionDisplayEndsOnTheStopAndAFailedStartLeavesNoReceiver) {
  IPtr<StopCounter> listener{new StopCounter};
  {
    PositionDisplay display;
    device_->answers.start = false;
    EXPECT_FALSE(display.start(*device_, *listener, nullptr));
    EXPECT_FALSE(display.isRunning());
    EXPECT_EQ(device_->receiverCount(), 0u);

    device_->answers.start = true;
    ASSERT_TRUE(display.start(*device_, *listener, nullptr));
    EXPECT_EQ(host_.core().dataStore().getInt("Palpera/Tile/Active", 0), 1);
    device_->deliver<IZelHardProbeDataReceiver>(
        [](IZelHardProbeDataReceiver* r) { r->onPointStop(Vector3(1, 2, 3)); });
    ASSERT_EQ(listener->senders.size(), 1u);
    EXPECT_TRUE(display.isSender(listener->senders[0]));
    display.stop();
    EXPECT_EQ(device_->receiverCount(), 0u);
    EXPECT_EQ(host_.core().dataStore().getInt("Palpera/Tile/Active", 1), 0);

    ASSERT_TRUE(display.start(*device_, *listener, nullptr));
  }
  EXPECT_EQ(device_->receiverCount(), 0u) << "a display that goes away stops";
  ASSERT_GE(journal_.size(), 2u);
  EXPECT_EQ(journal_[journal_.size() - 2], "removeReceiver HardProbe") << "off before the device stops";
  EXPECT_EQ(journal_.back(), "stop HardProbe");
}

// A display that kept its device after its stop would stop the device again at a second stop or when it goes,
// in the middle of whatever then runs on that device.
TEST_F(DeviceTransformSteps, APositionDisplayStoppedIsNotRunningAndNeverStopsTheDeviceAgain) {
  IPtr<StopCounter> listener{new StopCounter};
  {
    PositionDisplay display;
    ASSERT_TRUE(display.start(*device_, *listener, nullptr));
    display.stop();
    EXPECT_FALSE(display.isRunning());
    const size_t calls = journal_.size();
    display.stop();
    EXPECT_EQ(journal_.size(), calls) << "a second stop does nothing";
  }
  EXPECT_EQ(journal_.back(), "stop HardProbe");
  EXPECT_EQ(std::count(journal_.begin(), journal_.end(), "stop HardProbe"), 1) << "nor does its end";
}

}  // namespace
