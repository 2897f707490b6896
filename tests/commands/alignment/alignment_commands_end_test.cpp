// Every alignment command ended in every state it can be in: by a cancel (the host cancels, then
// deactivates) or by a deactivation alone (after apply). Whatever ran, no receiver may stay on the device,
// and the device's hardware matrix follows one rule for all of them: a cancel gives back the matrix the
// device had when the command started; a deactivation keeps the matrix the command last gave the device, an
// interrupted probing run first giving back the one from before the run unless the run has already aligned
// the device as the dialog shows (an iterative pass past its third target).
//
// The device delivers what its worker posted before a stop during the stop: each state is also ended with
// a second STOP, a sample, "Cancel" or "Error" still in transit, by the device's STOP as well. What was in
// transit when a run ended changes nothing, and nothing is reported to the host's assertion handler.

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "commands/alignment/common/device_transform_steps.h"
#include "host/cad/brep_model.h"
#include "host/cad/cad_model.h"
#include "host/core/recording_assert_handler.h"
#include "support/emulator_ball.h"
#include "tests/commands/alignment/box_faces.h"
#include "tests/commands/support/hard_probe_command_fixture.h"

namespace {

using Mouse = HostGfxViewMgr::MouseCallback;

// The matrix at activation, and the one the command gave the device before the state was entered.
const Matrix4x4 kActivation = Matrix4x4::translation({0.5, 0.4, 0.3}) * Matrix4x4::rotation({0, 1, 0}, 0.3);
const Matrix4x4 kGiven = Matrix4x4::translation({0.1, -0.2, 0.05}) * Matrix4x4::rotation({1, 1, 1}, 0.2);

const Face* const kFaces[] = {&kTop, &kSide, &kEnd};

// What the device may still have in transit when a run ends.
struct InTransit {
  const char* name;
  std::function<void(IZelHardProbeDataReceiver*)> event;
};
const InTransit kInTransit[] = {
    {"a second STOP", [](IZelHardProbeDataReceiver* r) { r->onPointStop(kTop.stop); }},
    {"a sample", [](IZelHardProbeDataReceiver* r) { r->onPointSampled(kTop.points[0]); }},
    {"Cancel", [](IZelHardProbeDataReceiver* r) { r->onCustomEvent(ZelCString("Cancel"), nullptr); }},
    {"Error", [](IZelHardProbeDataReceiver* r) { r->onCustomEvent(ZelCString("Error"), nullptr); }},
};

// What a run leaves: the device's matrix and receivers, the questions asked and errors reported since the
// state was entered, the document's objects.
struct Outcome {
  std::vector<double> hardware;
  size_t receivers = 0;
  size_t questions = 0;
  size_t errors = 0;
  std::vector<std::u16string> objects;
  bool operator==(const Outcome&) const = default;
};
void PrintTo(const Outcome& o, std::ostream* out) {
  *out << "hardware (";
  for (double element : o.hardware) *out << element << " ";
  *out << "), " << o.receivers << " receivers, " << o.questions << " questions, " << o.errors << " errors, "
       << o.objects.size() << " objects";
}

struct Case {
  const char* command;
  const char* state;
  std::function<void()> enter;
  size_t receivers;      // on the device in that state
  bool aligned = false;  // the device holds an alignment the running pass made, which a deactivation keeps
};

class AlignmentCommandsEnd : public HardProbeCommandTest {
 protected:
  void SetUp() override {
    HardProbeCommandTest::SetUp();
    reference_ = addCadModel(host_.document().doc(), u"RefObject", boxModel({0, 0, 0}, {0.2, 0.1, 0.02}));
    host_.document().doc().setActiveObject(reference_.get());
  }

  bool press(int32_t id) { return dialog().pressButton(id); }
  int32_t box(const char16_t* widget) {
    return dialog().idOf(std::u16string(u":") + widget + u":Box").value_or(-1000);
  }
  template <class Call>
  void deliver(Call call) {
    device_->deliver<IZelHardProbeDataReceiver>(call);
  }
  // The probe's tip centres on the first faces, each ended by its stop point; the device reports them as
  // they are (a probing run sets the identity).
  void probeFaces(size_t faces) {
    deliver([](IZelHardProbeDataReceiver* r) { r->setProbeRadius(kEmulatorBallRadius); });
    for (size_t f = 0; f < faces; ++f) {
      for (const Vector3& p : kFaces[f]->points) {
        const Vector3 tip = p + kEmulatorBallRadius * kFaces[f]->outward;
        deliver([&](IZelHardProbeDataReceiver* r) { r->onPointSampled(tip); });
      }
      deliver([&](IZelHardProbeDataReceiver* r) { r->onPointStop(kFaces[f]->stop); });
    }
  }
  // A click on the reference whose ray comes from outside the face along its inward normal.
  void pickOn(const Vector3& point, const Vector3& outward) {
    const Vector3 from = point + 0.5 * outward;
    const MouseInput ray{.rayOrigin = {from.x, from.y, from.z},
                         .rayDirection = {-outward.x, -outward.y, -outward.z}};
    host_.scene().view().injectMouse(Mouse::kDown, ray);
    host_.scene().view().injectMouse(Mouse::kClick, ray);
  }
  // Picks the targets of "Iterative Alignment", which realigns at each pick: with nothing probed yet, onto
  // the activation matrix. The device is given its matrix again after them.
  void pickAllFaces() {
    for (const Face* face : kFaces)
      for (const Vector3& p : face->points) pickOn(p, face->outward);
    giveMatrix();
  }
  void giveMatrix() { setDeviceTransform(*plugin_, kGiven, nullptr); }
  void touchAll(size_t count) {
    deliver([](IZelHardProbeDataReceiver* r) { r->setProbeRadius(kEmulatorBallRadius); });
    size_t touched = 0;
    for (const Face* face : kFaces)
      for (const Vector3& p : face->points) {
        if (touched++ == count) return;
        const Vector3 tip = p + kEmulatorBallRadius * face->outward;
        deliver([&](IZelHardProbeDataReceiver* r) { r->onPointSampled(tip); });
      }
  }
  // Plane 3's point taken: its STOP completes the alignment.
  void probeAllButTheLastStop() {
    probeFaces(2);
    const Vector3 tip = kEnd.points[0] + kEmulatorBallRadius * kEnd.outward;
    deliver([&](IZelHardProbeDataReceiver* r) { r->onPointSampled(tip); });
  }
  // "Probe Points" of "3-2-1 Device Alignment", which probes once the reference planes are picked.
  void startDeviceToPartProbing() {
    pickAllFaces();
    ASSERT_TRUE(press(14));
  }
  // Method 9 with the top face named +Z and the front -Y, then "Probe Points".
  void startPlaneProbing() {
    ASSERT_TRUE(dialog().chooseRadio(9));
    const int32_t planes = box(u"Alignment321Widget");
    ASSERT_TRUE(press(planes + 5));
    ASSERT_TRUE(press(planes + 4));
    ASSERT_TRUE(press(15));
  }
  // Begin a wizard run and a pass of single points in it.
  void startWizardPass() {
    const int32_t wizard = box(u"MoveDeviceWidget");
    ASSERT_TRUE(press(wizard + 2));
    ASSERT_TRUE(press(wizard + 7));
  }
  // A wizard run gone on to its targets: three single points taken as references (each sampled and
  // stopped), the pass ended by a stop alone, then "Next" with the move message answered, which starts the
  // first target's pass at once.
  void startWizardTargetPass() {
    startWizardPass();
    for (const Vector3& p : kTop.points) {
      deliver([&](IZelHardProbeDataReceiver* r) { r->onPointSampled(p); });
      deliver([&](IZelHardProbeDataReceiver* r) { r->onPointStop(p); });
    }
    deliver([](IZelHardProbeDataReceiver* r) { r->onPointStop({}); });
    ASSERT_EQ(device_->receiverCount(), 0u);
    host_.gui().simpleDialog().queueAnswer(1);
    ASSERT_TRUE(press(box(u"MoveDeviceWidget") + 39));
  }

  // Starts the command with the device at the activation matrix, gives it its matrix and enters the state.
  void enter(const Case& c) {
    setDeviceTransform(*plugin_, kActivation, nullptr);
    ASSERT_EQ(start(c.command), CommandRunner::Start::kStarted);
    giveMatrix();
    c.enter();
  }
  void post(const InTransit& transit) { device_->post<IZelHardProbeDataReceiver>(transit.event); }
  void expectHardware(const Matrix4x4& expected) {
    for (int i = 0; i < 16; ++i) EXPECT_EQ(plugin_->hardwareMatrix().m[i], expected.m[i]) << "element " << i;
  }
  std::vector<std::u16string> objectNames() {
    std::vector<std::u16string> names;
    for (const IPtr<HostDocObject>& object : host_.document().doc().objects())
      names.push_back(object->name());
    return names;
  }
  // Each assertion the module reported since the last look, then none.
  void expectNoAssertion() {
    for (const RecordingAssertHandler::Report& report : host_.core().assertions().reports())
      ADD_FAILURE() << "assertion " << report.expression << " at " << report.file << ":" << report.line;
    host_.core().assertions().clear();
  }
  // The state entered, transit (when given) posted, then the device's STOP; what that leaves, before the
  // command is applied.
  Outcome stopWith(const Case& c, const InTransit* transit) {
    enter(c);
    const size_t questions = host_.gui().simpleDialog().shown().size();
    const size_t errors = host_.core().errors().reports().size();
    if (transit) post(*transit);
    deliver([](IZelHardProbeDataReceiver* r) { r->onPointStop(kEnd.stop); });
    const Matrix4x4 hardware = plugin_->hardwareMatrix();
    Outcome outcome{{std::begin(hardware.m), std::end(hardware.m)},
                    device_->receiverCount(),
                    host_.gui().simpleDialog().shown().size() - questions,
                    host_.core().errors().reports().size() - errors,
                    objectNames()};
    EXPECT_TRUE(runner_.apply());
    EXPECT_EQ(device_->receiverCount(), 0u);
    expectNoAssertion();
    return outcome;
  }

  // Every state of every alignment command.
  std::vector<Case> cases() {
    const char* orient = "PalperaAlignmentCmd";
    const char* deviceToPart = "PalperaDeviceToPartAlignmentCmd";
    const char* iterative = "PalperaIterativeAlignmentCmd";
    const char* moveDevice = "PalperaMoveDeviceCmd";
    return {
        {orient, "idle", [] {}, 0},
        {orient, "showing the position", [this] { ASSERT_TRUE(press(16)); }, 1},
        {orient, "in a wizard pass",
         [this] {
           ASSERT_TRUE(dialog().chooseRadio(11));
           startWizardPass();
         },
         1},
        {orient, "in a wizard target pass",
         [this] {
           ASSERT_TRUE(dialog().chooseRadio(11));
           startWizardTargetPass();
         },
         1},
        {orient, "probing plane 1", [this] { startPlaneProbing(); }, 1},
        {orient, "probing plane 2",
         [this] {
           startPlaneProbing();
           probeFaces(1);
         },
         1},
        {orient, "probing plane 3",
         [this] {
           startPlaneProbing();
           probeFaces(2);
         },
         1},
        {orient, "probing plane 3, its point taken",
         [this] {
           startPlaneProbing();
           probeAllButTheLastStop();
         },
         1},
        {deviceToPart, "idle", [] {}, 0},
        {deviceToPart, "showing the position", [this] { ASSERT_TRUE(press(16)); }, 1},
        {deviceToPart, "probing plane 1", [this] { startDeviceToPartProbing(); }, 1},
        {deviceToPart, "probing plane 2",
         [this] {
           startDeviceToPartProbing();
           probeFaces(1);
         },
         1},
        {deviceToPart, "probing plane 3",
         [this] {
           startDeviceToPartProbing();
           probeFaces(2);
         },
         1},
        {deviceToPart, "probing plane 3, its point taken",
         [this] {
           startDeviceToPartProbing();
           probeAllButTheLastStop();
         },
         1},
        {iterative, "idle", [this] { pickAllFaces(); }, 0},
        {iterative, "showing the position", [this] { ASSERT_TRUE(press(6)); }, 1},
        {iterative, "probing the first target",
         [this] {
           pickAllFaces();
           ASSERT_TRUE(press(5));
         },
         1},
        {iterative, "probing, realigned after four targets",
         [this] {
           pickAllFaces();
           ASSERT_TRUE(press(5));
           touchAll(4);
         },
         1, true},
        {moveDevice, "idle", [] {}, 0},
        {moveDevice, "showing the position", [this] { ASSERT_TRUE(press(1)); }, 1},
        {moveDevice, "in a wizard pass", [this] { startWizardPass(); }, 1},
        {moveDevice, "in a wizard target pass", [this] { startWizardTargetPass(); }, 1},
    };
  }

  IPtr<HostDocObject> reference_;
};

TEST_F(AlignmentCommandsEnd, NoReceiverStaysAndTheMatrixFollowsTheRuleInEveryState) {
  for (const Case& c : cases()) {
    for (bool cancelled : {true, false}) {
      SCOPED_TRACE(std::string(c.command) + ", " + c.state + (cancelled ? ", cancelled" : ", deactivated"));
      enter(c);
      EXPECT_EQ(device_->receiverCount(), c.receivers);
      const Matrix4x4 held = plugin_->hardwareMatrix();

      ASSERT_TRUE(cancelled ? runner_.cancel() : runner_.apply());
      EXPECT_EQ(device_->receiverCount(), 0u);
      EXPECT_EQ(journal_.back(), "disconnect HardProbe");
      expectHardware(cancelled ? kActivation : c.aligned ? held : kGiven);
    }
  }
}

TEST_F(AlignmentCommandsEnd, EventsInTransitWhenTheCommandEndsChangeNothing) {
  for (const Case& c : cases()) {
    if (c.receivers == 0) continue;
    for (const InTransit& transit : kInTransit) {
      for (bool cancelled : {true, false}) {
        SCOPED_TRACE(std::string(c.command) + ", " + c.state + ", " + transit.name + " in transit" +
                     (cancelled ? ", cancelled" : ", deactivated"));
        const std::vector<std::u16string> objects = objectNames();
        enter(c);
        const Matrix4x4 held = plugin_->hardwareMatrix();
        post(transit);

        ASSERT_TRUE(cancelled ? runner_.cancel() : runner_.apply());
        EXPECT_EQ(device_->receiverCount(), 0u);
        EXPECT_EQ(journal_.back(), "disconnect HardProbe");
        expectHardware(cancelled ? kActivation : c.aligned ? held : kGiven);
        if (cancelled) {
          EXPECT_EQ(objectNames(), objects) << "a cancelled command leaves no object";
        }
        expectNoAssertion();
      }
    }
  }
}

TEST_F(AlignmentCommandsEnd, EventsInTransitAtTheDevicesStopChangeNothing) {
  for (const Case& c : cases()) {
    if (c.receivers == 0) continue;
    SCOPED_TRACE(std::string(c.command) + ", " + c.state);
    const Outcome alone = stopWith(c, nullptr);
    for (const InTransit& transit : kInTransit) {
      SCOPED_TRACE(std::string(transit.name) + " in transit");
      EXPECT_EQ(stopWith(c, &transit), alone);
    }
  }
}

}  // namespace
