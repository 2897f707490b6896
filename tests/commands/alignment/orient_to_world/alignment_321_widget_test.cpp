// The 3-2-1 plane panel built into the host's dialog as "Orient To World" builds it, with the emulator as the
// current plug-in and a test device as "HardProbe" that the tests feed as the arm would.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "commands/alignment/common/device_transform_steps.h"
#include "commands/alignment/orient_to_world/alignment_321_widget.h"
#include "commands/alignment/plane_probing/plane_fit_and_view.h"
#include "framework/host_glue/point_objects.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/registered_classes.h"
#include "host/scene/host_style_nodes.h"
#include "support/emulator_ball.h"
#include "tests/commands/support/hard_probe_fixture.h"
#include "tests/commands/support/sampled_marker_colors.h"

namespace {

using W = Alignment321Widget;

// The signed unit axis of a code.
Vector3 axisOf(uint32_t code) {
  Vector3 v;
  const double sign = code % 2 == 1 ? 1.0 : -1.0;
  (code <= 2 ? v.x : code <= 4 ? v.y : v.z) = sign;
  return v;
}

// Listens as the hosting command does: a new transform goes to the device at once.
class Notifications : public IZelListener, public ZelUnknownImpl {
 public:
  void onNotify(const char* event, IZelSubject*, void* data) override {
    events.emplace_back(event);
    if (std::strcmp(event, "NewTransform") != 0 || !data) return;
    std::memcpy(transform.m, data, sizeof transform.m);
    if (plugin) setDeviceTransform(*plugin, transform, nullptr);
  }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("Notifications", this, this).offer<IZelListener>(this).end();
  }
  const char* className() override { return "Notifications"; }

  IZelPlugin* plugin = nullptr;
  std::vector<std::string> events;
  Matrix4x4 transform;
};

struct Face {
  std::vector<Vector3> samples;
  Vector3 stop;
};
// With +Z and +X chosen (plane 3 +Y): the top at z = 0.1, the right end at x = 0.5 and the front at y = -0.2,
// probed with tip centres a radius off each face.
const Face kTop{{{0, 0, 0.103}, {0.1, 0, 0.103}, {0, 0.1, 0.103}}, {0, 0, 0.2}};
const Face kEnd{{{0.503, 0, 0.05}, {0.503, 0.1, 0.05}}, {0.6, 0, 0.05}};
const Face kFront{{{0.2, -0.203, 0.05}}, {0.2, -0.3, 0.05}};
const Matrix4x4 kWorld{{1, 0, 0, -0.5, 0, 1, 0, 0.2, 0, 0, 1, -0.1, 0, 0, 0, 1}};
// What the device had before; a temperature scale is set too, so that the combined matrix differs.
const Matrix4x4 kBefore = Matrix4x4::translation({0.01, 0.02, 0.03});

void expectMatrix(const Matrix4x4& actual, const Matrix4x4& expected, double tolerance) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual.m[i], expected.m[i], tolerance) << "element " << i;
}

class Alignment321WidgetTest : public HardProbeTest {
 protected:
  void SetUp() override {
    HardProbeTest::SetUp();
    widget_.createInstance(classIdOf("Alignment321Widget"));
    ASSERT_TRUE(widget_);
    ASSERT_TRUE(widget_->buildGui(&dialog(), nullptr));
    base_ = dialog().idOf(u":Alignment321Widget:Box").value_or(-1000);
    notifications_.plugin = plugin_;
    widget_->attach(&notifications_);
    widget_->setPlugin(plugin_);
    ASSERT_TRUE(widget_->activate());
  }
  void TearDown() override {
    widget_->deactivate();
    widget_->detach(&notifications_);
    widget_.release();
    HardProbeTest::TearDown();
  }

  HostGuiDialog& dialog() { return host_.gui().dialog(); }
  bool press(int32_t control) { return dialog().pressButton(base_ + control); }
  bool enabled(int32_t control) { return dialog().isControlEnabled(base_ + control); }
  std::u16string label() { return dialog().control(base_ + W::kOrderLabel)->text; }

  void choose(int32_t first, int32_t second) {
    ASSERT_TRUE(press(first));
    ASSERT_TRUE(press(second));
  }
  // From before: a hardware matrix and a temperature scale; then +Z, +X and Probe Points.
  void startRun() {
    setTemperatureScale();
    plugin_->setHardwareMatrix(kBefore);
    choose(W::kPlusZ, W::kPlusX);
    ASSERT_TRUE(widget_->startProbing());
    deliver([](IZelHardProbeDataReceiver* r) { r->setProbeRadius(kEmulatorBallRadius); });
  }
  template <class Call>
  void deliver(Call call) {
    device_->deliver<IZelHardProbeDataReceiver>(call);
  }
  void sample(const Vector3& p) {
    deliver([&](IZelHardProbeDataReceiver* r) { r->onPointSampled(p); });
  }
  void stop(const Vector3& p) {
    deliver([&](IZelHardProbeDataReceiver* r) { r->onPointStop(p); });
  }
  void custom(const char* name) {
    deliver([&](IZelHardProbeDataReceiver* r) { r->onCustomEvent(ZelCString(name), nullptr); });
  }
  void probe(const Face& face) {
    for (const Vector3& p : face.samples) sample(p);
    stop(face.stop);
  }
  bool newTransform() const {
    return std::ranges::find(notifications_.events, "NewTransform") != notifications_.events.end();
  }
  IZelDocObject* object(const char16_t* name) { return host_.document().doc().findObject(ZelString(name)); }
  // The colours of the sampled points' markers, oldest first.
  std::vector<std::string> markers() {
    IZelDocObject* graphics = object(u"3-2-1 Alignment Graphics");
    return sampledMarkerColors(graphics ? host_.document().graphics().objectNode(graphics) : nullptr);
  }
  // What every run that does not finish leaves: the matrix from before and nothing of the run.
  void expectRunUndone() {
    EXPECT_FALSE(newTransform());
    ASSERT_FALSE(notifications_.events.empty());
    EXPECT_EQ(notifications_.events.back(), "ProbeStop");
    EXPECT_FALSE(widget_->isProbing());
    EXPECT_EQ(device_->receiverCount(), 0u);
    expectMatrix(plugin_->hardwareMatrix(), kBefore, 0);
    EXPECT_FALSE(object(u"3-2-1 Alignment Points"));
    EXPECT_FALSE(object(u"3-2-1 Alignment Graphics"));
    EXPECT_EQ(widget_->axisChoice(1), W::kUnset);
  }

  IPtr<W> widget_;
  Notifications notifications_;
  int32_t base_ = 0;
};

TEST_F(Alignment321WidgetTest, BuildsSixPictureTogglesResetAndTheLabel) {
  const char* images[] = {"xplus", "xminus", "yplus", "yminus", "zplus", "zminus"};
  for (int32_t code = 1; code <= 6; ++code) {
    SCOPED_TRACE(code);
    std::optional<DialogControl> button = dialog().control(base_ + code);
    ASSERT_TRUE(button);
    EXPECT_EQ(button->kind, "imagetoggle");
    EXPECT_EQ(button->picture, base_ + code + 6);
    EXPECT_EQ(dialog().picture(base_ + code + 6), images[code - 1]);
    EXPECT_TRUE(button->enabled);
  }
  EXPECT_EQ(dialog().control(base_ + 1)->text, u"Positive X");
  EXPECT_EQ(dialog().control(base_ + 6)->name, u":Alignment321Widget:NegZ");
  EXPECT_EQ(dialog().control(base_ + W::kReset)->name, u":Alignment321Widget:ResetButton");
  EXPECT_FALSE(enabled(W::kReset));
  EXPECT_EQ(label(), u"<B></B>Plane 1: <BR>Plane 2: <BR>Plane 3: ");

  widget_->setEnabled(false);
  EXPECT_FALSE(widget_->isEnabled());
  EXPECT_FALSE(press(W::kPlusX)) << "the box holds the buttons";
  widget_->setEnabled(true);
  EXPECT_TRUE(widget_->isEnabled());
}

TEST_F(Alignment321WidgetTest, TwoChoicesNameTheThirdPlaneAndLockTheButtonsUntilReset) {
  ASSERT_TRUE(press(W::kPlusX));
  EXPECT_EQ(label(), u"<B></B>Plane 1:  +X<BR>Plane 2: <BR>Plane 3: ");
  EXPECT_FALSE(enabled(W::kPlusX));
  EXPECT_FALSE(enabled(W::kMinusX));
  EXPECT_TRUE(enabled(W::kPlusY));
  EXPECT_TRUE(enabled(W::kReset));
  ASSERT_TRUE(press(W::kPlusY));
  EXPECT_EQ(label(), u"<B></B>Plane 1:  +X<BR>Plane 2:  +Y<BR>Plane 3:  +Z");
  for (int32_t code = 1; code <= 6; ++code) EXPECT_FALSE(enabled(code)) << code;

  ASSERT_TRUE(press(W::kReset));
  EXPECT_EQ(label(), u"<B></B>Plane 1: <BR>Plane 2: <BR>Plane 3: ");
  EXPECT_FALSE(enabled(W::kReset));
  ASSERT_TRUE(press(W::kMinusY));
  ASSERT_TRUE(press(W::kPlusZ));
  EXPECT_EQ(widget_->axisChoice(3), 2u) << "-Y then +Z leave -X";
  EXPECT_EQ(label(), u"<B></B>Plane 1:  -Y<BR>Plane 2:  +Z<BR>Plane 3:  -X");

  // The host's pressed buttons are not the only way in: a choice on an axis already named is refused.
  widget_->activate();
  widget_->onGuiEvent(base_ + W::kPlusZ, 1);
  widget_->onGuiEvent(base_ + W::kMinusZ, 1);
  EXPECT_EQ(widget_->axisChoice(2), W::kUnset);
}

TEST_F(Alignment321WidgetTest, TheThirdAxisIsTheCrossProductOfTheFirstTwo) {
  for (uint32_t first = 1; first <= 6; ++first) {
    for (uint32_t second = 1; second <= 6; ++second) {
      SCOPED_TRACE(testing::Message() << first << " " << second);
      const uint32_t third = W::thirdAxis(first, second);
      if ((first - 1) / 2 == (second - 1) / 2) {
        EXPECT_EQ(third, W::kUnset);
        continue;
      }
      const Vector3 expected = Vector3::cross(axisOf(first), axisOf(second));
      const Vector3 got = axisOf(third);
      EXPECT_EQ(std::tuple(got.x, got.y, got.z), std::tuple(expected.x, expected.y, expected.z));
    }
  }
}

TEST_F(Alignment321WidgetTest, StartingWithAChoiceUnsetTellsTheUserAndNotifiesNothing) {
  ASSERT_TRUE(press(W::kPlusZ));
  EXPECT_FALSE(widget_->startProbing());
  ASSERT_FALSE(host_.gui().simpleDialog().shown().empty());
  EXPECT_EQ(host_.gui().simpleDialog().shown().back().text,
            u"Specify the axis directions of the planes before probing.");
  EXPECT_EQ(host_.gui().simpleDialog().shown().back().style, 2);
  EXPECT_TRUE(notifications_.events.empty());
  EXPECT_EQ(device_->receiverCount(), 0u);
}

TEST_F(Alignment321WidgetTest, ThreeProbedFacesPutTheDeviceInWorldCoordinatesWhicheverSenseTheFitterAnswers) {
  // Turned over about y, the top and the end look down -z and -x, while the fitter answers normals whose
  // largest component is positive: the planes must take their sense from the stop points.
  const Matrix4x4 turnedOver = Matrix4x4::rotation({0, 1, 0}, std::acos(-1.0));
  for (const auto& [what, turning] :
       {std::pair("as placed", Matrix4x4::identity()), std::pair("turned over", turnedOver)}) {
    SCOPED_TRACE(what);
    const Matrix4x4& turn = turning;
    auto seen = [&](const Face& face) {
      Face moved{{}, Matrix4x4::transformPoint(turn, face.stop)};
      for (const Vector3& p : face.samples) moved.samples.push_back(Matrix4x4::transformPoint(turn, p));
      return moved;
    };
    EXPECT_GT(fitPlane(seen(kTop).samples)->nz, 0);
    notifications_.events.clear();
    startRun();
    EXPECT_EQ(notifications_.events, std::vector<std::string>{"ProbeStart"});
    EXPECT_EQ(plugin_->hardwareMatrix().m[3], 0.0) << "the identity while probing";
    EXPECT_EQ(device_->receiverCount(), 1u);
    EXPECT_TRUE(object(u"3-2-1 Alignment Points"));
    probe(seen(kTop));
    probe(seen(kEnd));
    probe(seen(kFront));
    EXPECT_EQ(notifications_.events, (std::vector<std::string>{"ProbeStart", "NewTransform", "ProbeStop"}));
    const Matrix4x4 expected = kWorld * Matrix4x4::inverse(turn);
    expectMatrix(notifications_.transform, expected, 1e-12);
    expectMatrix(plugin_->hardwareMatrix(), expected, 1e-12);
    EXPECT_EQ(device_->receiverCount(), 0u);
    EXPECT_FALSE(object(u"3-2-1 Alignment Points"));
    EXPECT_EQ(label(), u"<B></B>Plane 1: <BR>Plane 2: <BR>Plane 3: ") << "each run needs new choices";
  }
}

TEST_F(Alignment321WidgetTest, SamplesAreMarkedByPlaneAndUndoKeepsTheMarkersOfPlanesDone) {
  host_.core().dataStore().setInt(nullptr, "Palpera/Gfx/ShowProbe", 1);
  // The view shows a small cube about the origin: the third sample of a plane refits it, once.
  host_.scene().genGfx().setViewToScene(-1, Matrix4x4::uniformScaling(0.01));
  startRun();
  sample(kTop.samples[0]);
  sample(kTop.samples[1]);
  const int32_t fits = host_.scene().genGfx().fits();
  sample(kTop.samples[2]);
  EXPECT_EQ(host_.scene().genGfx().fits(), fits + 1);
  EXPECT_EQ(pointsOf(object(u"3-2-1 Alignment Points"))->array()->count(), 3);
  stop(kTop.stop);
  sample(kEnd.samples[0]);
  EXPECT_EQ(pointsOf(object(u"3-2-1 Alignment Points"))->array()->count(), 1) << "the points of plane 2";
  const std::string red = printedColor({1, 0, 0, 1}), green = printedColor({0, 1, 0, 1});
  const std::string blue = printedColor({0, 0, 1, 1});
  EXPECT_EQ(markers(), (std::vector<std::string>{red, red, red, green}));
  custom("UndoLastSampled");
  custom("UndoLastSampled");
  EXPECT_EQ(markers(), (std::vector<std::string>{red, red, red}));
  // The undone point is gone from the plane too: the end's two points still give the same world.
  probe(kEnd);
  sample(kFront.samples[0]);
  EXPECT_EQ(markers(), (std::vector<std::string>{red, red, red, green, green, blue}));
  stop(kFront.stop);
  expectMatrix(plugin_->hardwareMatrix(), kWorld, 1e-12);
  EXPECT_FALSE(object(u"3-2-1 Alignment Graphics"));
}

TEST_F(Alignment321WidgetTest, ARunThatDoesNotFinishGivesBackTheHardwareMatrixAndLeavesNothing) {
  struct Case {
    const char* what;
    std::function<void()> act;
  };
  const std::vector<Case> cases = {
      {"a stop before any touch", [&] { stop(kTop.stop); }},
      {"a cancel on plane 3",
       [&] {
         probe(kTop);
         probe(kEnd);
         custom("Cancel");
       }},
      {"a device error",
       [&] {
         probe(kTop);
         custom("Error");
         ASSERT_FALSE(host_.core().errors().reports().empty());
         EXPECT_EQ(host_.core().errors().reports().back().message,
                   u"An error occurred during data acquisition.");
       }},
      {"deactivation", [&] { widget_->deactivate(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    notifications_.events.clear();
    widget_->setPlugin(plugin_);
    startRun();
    c.act();
    expectRunUndone();
  }
}

// The operator presses STOP twice after a plane, once too early, or on plane 2 probed parallel to plane 1:
// the run goes on with the planes done and the plane's points, and the operator is told what the plane needs.
TEST_F(Alignment321WidgetTest, AStopThatCannotFinishThePlaneKeepsTheRunAndSaysWhatThePlaneNeeds) {
  // Half a degree off parallel to the top: squared to it, its direction would be anyone's guess.
  const Face parallelToTop{{{0.2, 0, 0.0502}, {0.3, 0, 0.05107}, {0.2, 0.05, 0.0502}}, {0.2, 0, 0.2}};
  auto told = [&] {
    const auto& reports = host_.core().errors().reports();
    return reports.empty() ? std::u16string() : reports.back().message;
  };
  const auto kept = [](int plane) {
    return u". Its points are kept; probe more points on the face picked for plane " +
           std::u16string(1, static_cast<char16_t>(u'0' + plane)) + u" and stop again.";
  };
  startRun();
  sample(kTop.samples[0]);
  sample(kTop.samples[1]);
  stop(kTop.stop);
  EXPECT_EQ(told(), u"Plane 1 was not made: 1 more point is needed" + kept(1));
  sample(kTop.samples[2]);
  stop(kTop.stop);
  stop(kTop.stop);
  EXPECT_EQ(told(), u"Plane 2 was not made: 2 more points are needed" + kept(2));
  probe(parallelToTop);
  EXPECT_EQ(told(), u"Plane 2 was not made: its points give no plane square to plane 1" + kept(2));
  for (int i = 0; i < 3; ++i) custom("UndoLastSampled");
  probe(kEnd);
  stop(kEnd.stop);
  EXPECT_EQ(told(), u"Plane 3 was not made: 1 more point is needed" + kept(3));
  EXPECT_TRUE(widget_->isProbing());
  EXPECT_FALSE(newTransform());
  probe(kFront);
  EXPECT_FALSE(widget_->isProbing());
  expectMatrix(plugin_->hardwareMatrix(), kWorld, 1e-12);
}

TEST_F(Alignment321WidgetTest, PlaneTwoTouchedTwiceOnAFaceParallelToPlaneOneIsRefusedWithAMessage) {
  const Vector3 down{0, 0, -1}, downTilted{0.15, 0, -1}, acrossTheEnd{-1, 0, -0.5};
  auto along = [&](const Vector3& axis) {
    deliver([&](IZelHardProbeDataReceiver* r) { r->onMoved({}, axis, {0, 1, 0}); });
  };
  // The second pair of touches on the top again: with the stop point above them it lies in the plane through
  // them square to plane 1; taken aside, the probe axes still look down plane 1's normal.
  const Face twiceOnTop{{{0.2, 0, 0.103}, {0.3, 0, 0.103}}, {0.25, 0, 0.2}};
  const Face twiceOnTopStopAside{{{0.2, 0, 0.103}, {0.3, 0, 0.103}}, {0.25, 0.05, 0.2}};
  struct Case {
    const char* what;
    std::function<void()> act;
  };
  const std::vector<Case> cases = {
      {"the stop point above the touches",
       [&] {
         probe(kTop);
         probe(twiceOnTop);
       }},
      {"the stop point a third of a radius beside them",
       [&] {
         probe(kTop);
         probe({twiceOnTop.samples, twiceOnTop.stop + Vector3{0, kEmulatorBallRadius / 3, 0}});
       }},
      {"both probe axes along plane 1's normal",
       [&] {
         probe(kTop);
         along(down);
         sample(twiceOnTopStopAside.samples[0]);
         along(downTilted);
         sample(twiceOnTopStopAside.samples[1]);
         stop(twiceOnTopStopAside.stop);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    notifications_.events.clear();
    startRun();
    c.act();
    ASSERT_FALSE(host_.core().errors().reports().empty());
    EXPECT_EQ(host_.core().errors().reports().back().message,
              u"The two points of plane 2 may lie on a face parallel to plane 1. Probe plane 2 on a face "
              u"square to plane 1, with the probe turned towards it, and take its stop point off that face.");
    EXPECT_TRUE(widget_->isProbing()) << "plane 1 and the run are kept";
    custom("Cancel");
    expectRunUndone();
  }

  // The end touched with the probe turned towards it, its stop point off the face: the world as before.
  notifications_.events.clear();
  startRun();
  for (const Vector3& p : kTop.samples) {
    along(down);
    sample(p);
  }
  stop(kTop.stop);
  for (const Vector3& p : kEnd.samples) {
    along(acrossTheEnd);
    sample(p);
  }
  stop(kEnd.stop);
  probe(kFront);
  expectMatrix(plugin_->hardwareMatrix(), kWorld, 1e-12);
}

TEST_F(Alignment321WidgetTest, AnAcquisitionThatDoesNotStartUndoesTheStart) {
  setTemperatureScale();
  plugin_->setHardwareMatrix(kBefore);
  device_->answers.start = false;
  choose(W::kPlusZ, W::kPlusX);
  EXPECT_FALSE(widget_->startProbing());
  EXPECT_EQ(notifications_.events, (std::vector<std::string>{"ProbeStart", "ProbeStop"}));
  expectRunUndone();
}

TEST_F(Alignment321WidgetTest, AfterProbingAnEmptyDocumentGetsTheDefaultViewAndAnyOtherIsFitted) {
  startRun();
  custom("Cancel");
  EXPECT_EQ(host_.scene().commands().runs("GenResetViewCmd"), 1);

  IPtr<IZelDocObject> part = createPointObject(ZelString(u"part"));
  const double point[3] = {0.1, 0.2, 0.3};
  ASSERT_TRUE(pointsOf(part.get())->array()->append(point));
  const int32_t fits = host_.scene().genGfx().fits();
  startRun();
  custom("Cancel");
  EXPECT_EQ(host_.scene().commands().runs("GenResetViewCmd"), 1);
  EXPECT_GT(host_.scene().genGfx().fits(), fits);
}

}  // namespace
