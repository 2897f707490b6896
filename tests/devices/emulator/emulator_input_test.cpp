#include <gtest/gtest.h>

#include <functional>

#include "devices/emulator/emulator_input_handlers.h"
#include "support/emulator_ball.h"
#include "support/recording_receiver.h"
#include "tests/devices/emulator/emulator_fixture.h"

namespace {

// k = 2 / (sqrt(5) + 1) of a probe radius of 0.003.
constexpr double kLift = 0.0018541019662496845;

// The tip over (x, y) of the top face, one radius out and dz higher, pointing into the surface, with a
// unit up across that direction.
std::string tip(double x, double y, double dz = 0) {
  const Vector3 down(-0.0, -0.0, -1);
  Vector3 across, up;
  Vector3::orthonormalBasis(down, across, up);
  return DeviceEventRecorder::oriented({x, y, kEmulatorBallRadius + dz}, down, up);
}
// The ball travelling along the direction to into the tip over (x, y) of the top face, one radius short of
// it.
std::string slanted(double x, double y, const Vector3& to) {
  Vector3 across, up;
  Vector3::orthonormalBasis(to, across, up);
  return DeviceEventRecorder::oriented(Vector3(x, y, kEmulatorBallRadius) - to * kEmulatorBallRadius, to, up);
}
std::string at(double x, double y, double dz = 0) {
  return DeviceEventRecorder::vector({x, y, kEmulatorBallRadius + dz});
}

// A surface model whose projection always fails.
class UnprojectableMesh : public HostMesh {
 public:
  using HostMesh::HostMesh;
  bool project(ZelMeshHandle, const double[3], ZelMeshLocation*) override { return false; }
};

using EmulatorInputThreads = EmulatorTest;

TEST_F(EmulatorInputThreads, TheViewsInputBecomesTheFacesCalls) {
  const struct {
    const char* what;
    bool continuousFace;
    std::function<void()> input;
    Lines calls;
    std::function<void()> before = [] {};
  } cases[] = {
      {"a move, then the stop key",
       false,
       [this] { move(1, 2), press(kStopKey); },
       {"radius 0.003", "moved " + tip(1, 2), "pointStop " + at(1, 2)}},
      {"the lift key raises the stop point and the tip until released; held, it lifts once",
       false,
       [this] {
         move(1, 2), press(kLiftKey), press(kLiftKey), press(kAlternateStopKey);
         release(kLiftKey), release(kLiftKey), press(kStopKey);
       },
       {"radius 0.003", "moved " + tip(1, 2), "moved " + tip(1, 2, kLift), "pointStop " + at(1, 2, kLift),
        "moved " + tip(1, 2), "pointStop " + at(1, 2)}},
      {"undo, then the position again",
       false,
       [this] { move(1, 2), press(kUndoKey); },
       {"radius 0.003", "moved " + tip(1, 2), "custom UndoLastSampled", "moved " + tip(1, 2)}},
      {"left and middle buttons sample, each after a move short of it along its pick ray; neither the right "
       "one nor a miss, which keeps the last tip",
       false,
       [this] {
         click(1, 2, kLeft), click(-3, 4, kRight);
         host_.scene().view().injectMouse(HostGfxViewMgr::MouseCallback::kClick,
                                          {kMiddle, 0, 0, {-10.5, 4, 10}, {0.6, 0, -0.8}});
         move(20, 20), click(20, 20), press(kStopKey);
       },
       {"radius 0.003", "moved " + slanted(1, 2, {0, 0, -1}), "sampled " + at(1, 2),
        "moved " + slanted(-3, 4, {0.6, 0, -0.8}), "sampled " + at(-3, 4), "pointStop " + at(-3, 4)}},
      {"continuous: left clicks toggle capture, moves sample while capturing",
       true,
       [this] {
         move(1, 2), click(1, 2), move(2, 2), move(3, 2);
         click(3, 2, kRight), click(3, 2), move(4, 2);
       },
       {"radius 0.003", "moved " + tip(1, 2), "startCapture", "sampledOriented " + tip(2, 2),
        "sampledOriented " + tip(3, 2), "stopCapture", "moved " + tip(4, 2), "stop"}},
      // Last, for it replaces the reference model: moved by (10, 20, -5), the world point (11, 22, -5) lies
      // on the model's face.
      {"a pick on a placed model is mapped to the world even when its refinement fails",
       false,
       [this] { move(11, 22); },
       {"radius 0.003", "moved " + tip(11, 22, -5)},
       [this] {
         host_.document().doc().remove(reference_.get());
         IPtr<HostMesh> top(
             new UnprojectableMesh({{-5, -5, 0}, {5, -5, 0}, {5, 5, 0}, {-5, 5, 0}}, {{0, 1, 2}, {0, 2, 3}}));
         DocObjectDescription::Transform placed{1, 0, 0, 10, 0, 1, 0, 20, 0, 0, 1, -5, 0, 0, 0, 1};
         reference_ = addCadModel(host_.document().doc(), u"RefObject", top.get(), placed);
       }},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(each.what);
    each.before();
    IPtr<DeviceEventRecorder> receiver(new DeviceEventRecorder);
    FaceRun& run = each.continuousFace ? startContinuous(receiver.get()) : startSingle(receiver.get());
    each.input();
    ASSERT_TRUE(run.stop());
    EXPECT_EQ(receiver->calls(), each.calls);
  }
}

// A model too large for the arithmetic: its picks give no finite point. None reaches the receiver, and the
// user is told once, not once per move.
TEST_F(EmulatorInputThreads, APickWithNoFinitePointDeliversNothingAndSaysSoOnce) {
  host_.document().doc().remove(reference_.get());
  box_ = boxMesh({-1e308, -1e308, -1e308}, {1e308, 1e308, 1e308});
  reference_ = addCadModel(host_.document().doc(), u"RefObject", box_.get());
  host_.core().errors().clear();
  IPtr<DeviceEventRecorder> receiver(new DeviceEventRecorder);
  FaceRun& run = startContinuous(receiver.get());
  move(1, 2), move(1, 3), press(kStopKey);
  ASSERT_TRUE(run.stop());
  EXPECT_EQ(receiver->calls(), (Lines{"radius 0.003", "stop"}));
  const std::vector<RecordingErrorService::Report> reports = host_.core().errors().reports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].message,
            u"The emulator delivers nothing where the reference model gives a point or normal that is not a "
            u"finite number: the model is too large.");
}

using EmulatorInput = EmulatorTest;

// The run loops on the test's (main) thread, so the host events it lets through after each batch are
// delivered inside the loop: the end key, posted while the start of capture is applied, comes after the
// loop's last batch and before it sees the stop, the window a worker thread hits now and then.
TEST_F(EmulatorInput, TheEndKeyWhileCapturingStopsCaptureAndThenEndsTheRun) {
  ASSERT_TRUE(host_.core().dataStore().addGroup("Test") &&
              host_.core().dataStore().addEvent("Test/EndKey", nullptr));
  IPtr<RecordingReceiver> endKey(new RecordingReceiver);
  endKey->setDuringCall([this] { press(kAlternateStopKey); });
  host_.core().dataStore().addListener("Test/EndKey", endKey.get());
  IPtr<DeviceEventRecorder> receiver(new DeviceEventRecorder);
  receiver->setDuringCall([this](const std::string& call) {
    if (call == "radius 0.003") click(1, 2);
    if (call == "startCapture") host_.core().mainLoop().postName("Test/EndKey");
  });
  continuous()->run(receiver->continuous());
  host_.core().dataStore().removeListener("Test/EndKey", endKey.get());
  EXPECT_EQ(receiver->calls(), (Lines{"radius 0.003", "startCapture", "stopCapture", "stop"}));

  IPtr<DeviceEventRecorder> idle(new DeviceEventRecorder);
  idle->setDuringCall([this](const std::string& call) {
    if (call == "radius 0.003") press(kStopKey);
  });
  continuous()->run(idle->continuous());
  EXPECT_EQ(idle->calls(), (Lines{"radius 0.003", "stop"})) << "no stop capture while not capturing";
}

TEST_F(EmulatorInputThreads, TheManagerObservesTheViewsInputWithoutTakingItAndLeavesNoCallbackBehind) {
  EXPECT_EQ(host_.scene().callbacks().registeredCallbacks(), 6u);
  host_.scene().callbacks().clear();
  move(1, 2);
  press(kStopKey);
  EXPECT_EQ(host_.scene().callbacks().received(), (std::vector<int32_t>{7, 9}))
      << "the view still handles its input";
  manager_.release();
  EXPECT_EQ(host_.scene().callbacks().registeredCallbacks(), 0u);

  host_.root().setService("IGfxViewMgr", nullptr);
  IPtr<EmulatorPluginEventManager> withoutView(new EmulatorPluginEventManager(plugin_.get()));
  EXPECT_EQ(host_.scene().callbacks().registeredCallbacks(), 0u);
}

}  // namespace
