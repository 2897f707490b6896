#include <gtest/gtest.h>

#include <cmath>

#include "devices/emulator/emulator_input_handlers.h"
#include "host/api/data_store.h"
#include "host/api/zel_random.h"
#include "support/recording_receiver.h"
#include "tests/devices/emulator/emulator_fixture.h"

namespace {

using Kinds = std::vector<std::string>;

constexpr double kRadius = 0.003;
// k = 2 / (sqrt(5) + 1) of a probe radius of 0.003.
constexpr double kLift = 0.0018541019662496845;
constexpr double kTolerance = 1e-12;

void expectNear(const Vector3& actual, const Vector3& expected) {
  EXPECT_NEAR(actual.x, expected.x, kTolerance);
  EXPECT_NEAR(actual.y, expected.y, kTolerance);
  EXPECT_NEAR(actual.z, expected.z, kTolerance);
}

// A move's up: a unit vector across its to.
void expectUpAcross(const DeviceCall& call) {
  EXPECT_NEAR(call.up.length(), 1.0, kTolerance);
  EXPECT_NEAR(call.up.dot(call.to), 0.0, kTolerance);
}

using EmulatorInputThreads = EmulatorTest;

TEST_F(EmulatorInputThreads, AMoveOverTheModelReportsTheTipOneRadiusOutPointingIntoTheSurface) {
  IPtr<RecordingDeviceReceiver> receiver(new RecordingDeviceReceiver);
  FaceRun& run = startSingle(receiver.get());
  move(1, 2);
  press(kStopKey);
  ASSERT_TRUE(run.stop());

  std::vector<DeviceCall> calls = receiver->calls();
  ASSERT_EQ(receiver->kinds(), (Kinds{"radius", "moved", "pointStop"}));
  expectNear(calls[1].point, {1, 2, kRadius});
  EXPECT_EQ(calls[1].to, Vector3(-0.0, -0.0, -1));
  expectUpAcross(calls[1]);
  expectNear(calls[2].point, {1, 2, kRadius});
}

TEST_F(EmulatorInputThreads, TheLiftKeyRaisesTheStopPointAndTheTipUntilItIsReleased) {
  IPtr<RecordingDeviceReceiver> receiver(new RecordingDeviceReceiver);
  FaceRun& run = startSingle(receiver.get());
  move(1, 2);
  press(kLiftKey);
  press(kLiftKey);  // held: no second lift
  press(kAlternateStopKey);
  release(kLiftKey);
  release(kLiftKey);  // no longer lifted: nothing
  press(kStopKey);
  ASSERT_TRUE(run.stop());

  std::vector<DeviceCall> calls = receiver->calls();
  ASSERT_EQ(receiver->kinds(), (Kinds{"radius", "moved", "moved", "pointStop", "moved", "pointStop"}));
  expectNear(calls[2].point, {1, 2, kRadius + kLift});
  EXPECT_EQ(calls[2].to, calls[1].to);
  expectNear(calls[3].point, {1, 2, kRadius + kLift});
  expectNear(calls[4].point, {1, 2, kRadius});
  expectNear(calls[5].point, {1, 2, kRadius});
}

TEST_F(EmulatorInputThreads, UndoSendsItsEventAndThenThePositionAgain) {
  IPtr<RecordingDeviceReceiver> receiver(new RecordingDeviceReceiver);
  FaceRun& run = startSingle(receiver.get());
  move(1, 2);
  press(kUndoKey);
  ASSERT_TRUE(run.stop());

  std::vector<DeviceCall> calls = receiver->calls();
  ASSERT_EQ(receiver->kinds(), (Kinds{"radius", "moved", "custom", "moved"}));
  EXPECT_EQ(calls[2].name, "UndoLastSampled");
  expectNear(calls[3].point, {1, 2, kRadius});
  EXPECT_EQ(calls[3].to, calls[1].to);
  EXPECT_EQ(calls[3].up, calls[1].up);
}

TEST_F(EmulatorInputThreads, TheLeftAndMiddleButtonsSampleAndNeitherTheRightOneNorAMissDoes) {
  IPtr<RecordingDeviceReceiver> receiver(new RecordingDeviceReceiver);
  FaceRun& run = startSingle(receiver.get());
  click(1, 2, kLeft);
  click(-3, 4, kRight);
  click(-3, 4, kMiddle);
  move(20, 20);  // beside the model
  click(20, 20);
  press(kStopKey);
  ASSERT_TRUE(run.stop());

  std::vector<DeviceCall> calls = receiver->calls();
  ASSERT_EQ(receiver->kinds(), (Kinds{"radius", "sampled", "sampled", "pointStop"}));
  expectNear(calls[1].point, {1, 2, kRadius});
  expectNear(calls[2].point, {-3, 4, kRadius});
  expectNear(calls[3].point, {-3, 4, kRadius});  // a miss leaves the last tip
}

TEST_F(EmulatorInputThreads, InContinuousModeClicksToggleCaptureAndMovesSampleWhileCapturing) {
  IPtr<RecordingDeviceReceiver> receiver(new RecordingDeviceReceiver);
  FaceRun& run = startContinuous(receiver.get());
  move(1, 2);
  click(1, 2);
  move(2, 2);
  move(3, 2);
  click(3, 2, kRight);  // not a capture click
  click(3, 2);
  move(4, 2);
  ASSERT_TRUE(run.stop());

  std::vector<DeviceCall> calls = receiver->calls();
  ASSERT_EQ(receiver->kinds(), (Kinds{"radius", "moved", "startCapture", "sampledOriented", "sampledOriented",
                                      "stopCapture", "moved", "stop"}));
  expectNear(calls[3].point, {2, 2, kRadius});
  EXPECT_EQ(calls[3].to, Vector3(-0.0, -0.0, -1));
  expectUpAcross(calls[3]);
  expectNear(calls[4].point, {3, 2, kRadius});
  expectNear(calls[6].point, {4, 2, kRadius});
}

using EmulatorInput = EmulatorTest;

// The run loops on the test's (main) thread, so the host events it lets through after each batch are
// delivered inside the loop: the end key, posted while the start of capture is applied, comes after the
// loop's last batch and before it sees the stop, the window a worker thread hits now and then.
TEST_F(EmulatorInput, TheEndKeyWhileCapturingStopsCaptureAndThenEndsTheRun) {
  ASSERT_TRUE(host_.dataStore().addGroup("Test") && host_.dataStore().addEvent("Test/EndKey", nullptr));
  IPtr<RecordingReceiver> endKey(new RecordingReceiver);
  endKey->setDuringCall([this] { press(kAlternateStopKey); });
  host_.dataStore().addListener("Test/EndKey", endKey.get());
  IPtr<RecordingDeviceReceiver> receiver(new RecordingDeviceReceiver);
  receiver->setDuringCall([this](const DeviceCall& call) {
    if (call.kind == "radius") click(1, 2);
    if (call.kind == "startCapture") host_.mainLoop().postName("Test/EndKey");
  });
  continuous()->run(continuousTarget(receiver.get()));
  host_.dataStore().removeListener("Test/EndKey", endKey.get());
  EXPECT_EQ(receiver->kinds(), (Kinds{"radius", "startCapture", "stopCapture", "stop"}));

  IPtr<RecordingDeviceReceiver> idle(new RecordingDeviceReceiver);
  idle->setDuringCall([this](const DeviceCall& call) {
    if (call.kind == "radius") press(kStopKey);
  });
  continuous()->run(continuousTarget(idle.get()));
  EXPECT_EQ(idle->kinds(), (Kinds{"radius", "stop"})) << "no stop capture while not capturing";
}

TEST_F(EmulatorInputThreads, NoiseStaysAlongTheNormalWithinTheMaximum) {
  host_.root().setService("IZelRandom", random_.get());
  SPtr<IDataStore> store;
  ASSERT_TRUE(store->setDouble(nullptr, "Palpera/Emulator/MaxNoiseFactor", 0.25));
  const double maxNoise = 0.25 * 2 * kRadius;
  IPtr<RecordingDeviceReceiver> receiver(new RecordingDeviceReceiver);
  FaceRun& run = startSingle(receiver.get());
  constexpr int kMoves = 200;
  for (int i = 0; i < kMoves; ++i) move(1, 2);
  press(kStopKey);
  ASSERT_TRUE(run.stop());

  std::vector<DeviceCall> calls = receiver->calls();
  ASSERT_EQ(calls.size(), kMoves + 2u);
  double lowest = 1, highest = -1;
  for (int i = 1; i <= kMoves; ++i) {
    EXPECT_EQ(calls[i].point.x, 1);
    EXPECT_EQ(calls[i].point.y, 2);
    const double off = calls[i].point.z - kRadius;
    EXPECT_GE(off, -maxNoise);
    EXPECT_LT(off, maxNoise);
    lowest = std::min(lowest, off);
    highest = std::max(highest, off);
  }
  EXPECT_LT(lowest, -maxNoise / 2) << "the noise reaches below the surface offset";
  EXPECT_GT(highest, maxNoise / 2) << "and above it";
  expectNear(calls.back().point, {1, 2, kRadius});  // the remembered tip has no noise
}

// A surface model whose projection always fails.
class UnprojectableMesh : public HostMesh {
 public:
  using HostMesh::HostMesh;
  bool project(ZelMeshHandle, const double[3], ZelMeshLocation*) override { return false; }
};

TEST_F(EmulatorInputThreads, APickOnAPlacedModelIsMappedToTheWorldEvenWhenItsRefinementFails) {
  host_.document().remove(reference_.get());
  IPtr<HostMesh> top(
      new UnprojectableMesh({{-5, -5, 0}, {5, -5, 0}, {5, 5, 0}, {-5, 5, 0}}, {{0, 1, 2}, {0, 2, 3}}));
  // Moved by (10, 20, -5): the world point (11, 22, -5) lies on the model's face.
  DocObjectDescription::Transform placed{1, 0, 0, 10, 0, 1, 0, 20, 0, 0, 1, -5, 0, 0, 0, 1};
  reference_ = addCadModel(host_.document(), u"RefObject", top.get(), placed);

  IPtr<RecordingDeviceReceiver> receiver(new RecordingDeviceReceiver);
  FaceRun& run = startSingle(receiver.get());
  move(11, 22);
  ASSERT_TRUE(run.stop());
  ASSERT_EQ(receiver->kinds(), (Kinds{"radius", "moved"}));
  expectNear(receiver->calls()[1].point, {11, 22, -5 + kRadius});
  EXPECT_EQ(receiver->calls()[1].to, Vector3(-0.0, -0.0, -1));
}

TEST_F(EmulatorInputThreads, TheManagerObservesTheViewsInputWithoutTakingItAndLeavesNoCallbackBehind) {
  EXPECT_EQ(host_.callbacks().registeredCallbacks(), 6u);
  host_.callbacks().clear();
  move(1, 2);
  press(kStopKey);
  EXPECT_EQ(host_.callbacks().received(), (std::vector<int32_t>{7, 9})) << "the view still handles its input";
  manager_.release();
  EXPECT_EQ(host_.callbacks().registeredCallbacks(), 0u);

  host_.root().setService("IGfxViewMgr", nullptr);
  IPtr<EmulatorPluginEventManager> withoutView(new EmulatorPluginEventManager(plugin_.get()));
  EXPECT_EQ(host_.callbacks().registeredCallbacks(), 0u);
}

}  // namespace
