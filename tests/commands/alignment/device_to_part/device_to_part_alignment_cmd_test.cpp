// "3-2-1 Device Alignment" run by the host's command runner on a box "RefObject", with the emulator as the
// current plug-in and a test device that the tests feed as the arm would.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "commands/alignment/device_to_part/palpera_device_to_part_alignment_cmd.h"
#include "devices/alignment/alignment_services.h"
#include "devices/managers/izel_plugin_manager.h"
#include "framework/host_glue/point_objects.h"
#include "framework/object/query_part.h"
#include "host/cad/brep_model.h"
#include "host/cad/cad_model.h"
#include "host/cad/host_mesh.h"
#include "host/fitting/host_datum_align_modifier.h"
#include "host/gui/host_command_container.h"
#include "host/scene/host_alignment_widgets.h"
#include "host/scene/host_style_nodes.h"
#include "host_api/host_class_ids.h"
#include "support/drawn_transform.h"
#include "support/emulator_ball.h"
#include "support/expect_matrix_near.h"
#include "support/nodes_under.h"
#include "tests/commands/alignment/box_faces.h"
#include "tests/commands/support/command_fixture.h"
#include "tests/commands/support/sampled_marker_colors.h"

namespace {

using Mouse = HostGfxViewMgr::MouseCallback;
constexpr int32_t kStandard0 = -20000, kStandard1 = -19999, kStandard2 = -19998;

// The part is the box 0.2 x 0.1 x 0.02; the device sees it turned 30 degrees about z and moved by
// (0.1, 0.2, 0.3): the hardware matrix that carries device coordinates onto the part.
const Matrix4x4 kDeviceToPart =
    Matrix4x4::translation({0.1, 0.2, 0.3}) * Matrix4x4::rotation({0, 0, 1}, std::acos(-1.0) / 6);

class DeviceToPartAlignment : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    host_.core().dataStore().setInt(nullptr, "Palpera/Gfx/ShowProbe", 0);
    host_.core().dataStore().setString(nullptr, "DefaultFileNameDirectory/common",
                                       ZelString(u"/nonexistent"));
    device_ = addDevice("HardProbe", "IZelHardProbeDataReceiver");
    plugin_ = useEmulatorPlugin();
    ASSERT_TRUE(plugin_);
    reference_ = addCadModel(host_.document().doc(), u"RefObject", boxModel({0, 0, 0}, {0.2, 0.1, 0.02}));
    host_.document().doc().setActiveObject(reference_.get());
  }
  void TearDown() override {
    if (runner_.running()) runner_.cancel();
    registry_->setDevice(ZelCString("HardProbe"), nullptr);
    CommandTest::TearDown();
  }

  void startCommand() { ASSERT_EQ(start("PalperaDeviceToPartAlignmentCmd"), CommandRunner::Start::kStarted); }
  // A click whose ray comes from outside the face along its inward normal.
  void pickOn(const Vector3& point, const Vector3& outward) {
    const Vector3 from = point + 0.5 * outward;
    host_.scene().view().injectMouse(Mouse::kClick, {.rayOrigin = {from.x, from.y, from.z},
                                                     .rayDirection = {-outward.x, -outward.y, -outward.z}});
  }
  void pickAll() {
    for (const Face* face : {&kTop, &kSide, &kEnd})
      for (const Vector3& p : face->points) pickOn(p, face->outward);
  }
  double value(int32_t id) { return dialog().control(id)->value; }
  bool enabled(int32_t id) { return dialog().isControlEnabled(id); }
  int32_t planeGroup() { return *dialog().idOf(u"PlaneRadios"); }

  template <class Call>
  void deliver(Call call) {
    device_->deliver<IZelHardProbeDataReceiver>(call);
  }
  // The probe's tip centres on the face and its stop point, in device coordinates.
  void sampleOn(const Face& face, size_t samples) {
    deliver([](IZelHardProbeDataReceiver* r) { r->setProbeRadius(kEmulatorBallRadius); });
    for (size_t i = 0; i < samples; ++i) sampleAt(face.points[i] + kEmulatorBallRadius * face.outward);
  }
  void sampleAt(const Vector3& onPart) {
    const Vector3 tip = Matrix4x4::transformPoint(Matrix4x4::inverse(kDeviceToPart), onPart);
    deliver([&](IZelHardProbeDataReceiver* r) { r->onPointSampled(tip); });
  }
  void stopAbove(const Face& face) {
    const Vector3 stop = Matrix4x4::transformPoint(Matrix4x4::inverse(kDeviceToPart), face.stop);
    deliver([&](IZelHardProbeDataReceiver* r) { r->onPointStop(stop); });
  }
  void probe(const Face& face, size_t samples) {
    sampleOn(face, samples);
    stopAbove(face);
  }
  void probeAll() {
    ASSERT_TRUE(press(14));
    probe(kTop, 3);
    probe(kSide, 2);
    probe(kEnd, 1);
  }
  void undo() {
    deliver([](IZelHardProbeDataReceiver* r) { r->onCustomEvent(ZelCString("UndoLastSampled"), nullptr); });
  }
  std::vector<std::string> markers() {
    return sampledMarkerColors(host_.document().graphics().objectNode(reference_.get()));
  }
  // The spheres drawn at the probed points after an alignment.
  size_t probedSpheres() {
    size_t count = 0;
    for (const IPtr<IZelUnknown>& child : host_.document().graphics().root().children())
      if (auto* group = queryPart<HostNode>(child.get()); group && group->name() == "probed points")
        count += std::ranges::count_if(group->children(), [](const IPtr<IZelUnknown>& node) {
          return queryPart<HostNode>(node.get())->name() == "probed point";
        });
    return count;
  }
  void expectHardware(const Matrix4x4& expected, double tolerance) {
    expectMatrixNear(plugin_->hardwareMatrix(), expected, tolerance);
  }

  TestDevice* device_ = nullptr;
  IZelPlugin* plugin_ = nullptr;
  IPtr<HostDocObject> reference_;
};

TEST_F(DeviceToPartAlignment, PicksMoveThroughThePlanesAndARepickedFirstPlaneClearsTheOthers) {
  startCommand();
  EXPECT_EQ(value(planeGroup()), 2);
  EXPECT_FALSE(enabled(3));
  for (const Vector3& p : kTop.points) pickOn(p, kTop.outward);
  EXPECT_EQ(value(planeGroup()), 3);
  EXPECT_EQ(value(8), 9);
  EXPECT_FALSE(enabled(11));
  EXPECT_EQ(dialog().control(12)->text, u"0.0000, 0.0000, 0.0000");
  EXPECT_FALSE(enabled(13)) << "plane 2 has nothing to flip yet";

  for (const Vector3& p : kSide.points) pickOn(p, kSide.outward);
  EXPECT_EQ(value(planeGroup()), 4);
  EXPECT_FALSE(enabled(10));
  EXPECT_FALSE(enabled(11));
  pickOn(kEnd.points[0], kEnd.outward);
  EXPECT_FALSE(enabled(15)) << "nothing probed yet";

  ASSERT_TRUE(dialog().chooseRadio(2));
  ASSERT_TRUE(dialog().chooseRadio(10));
  EXPECT_EQ(dialog().control(12)->text, u"170.0000, 30.0000, 20.0000") << "in millimetres";
  EXPECT_TRUE(enabled(13));
  pickOn({0.15, 0.03, 0.02}, kTop.outward);
  EXPECT_FALSE(enabled(4)) << "plane 2 is cleared";
  ASSERT_TRUE(dialog().chooseRadio(3));
  EXPECT_EQ(dialog().control(12)->text, u"0.0000, 0.0000, 0.0000");
}

TEST_F(DeviceToPartAlignment, ProbingThePlanesAlignsTheDeviceAndFlipTurnsItOver) {
  startCommand();
  pickAll();
  probeAll();
  EXPECT_EQ(device_->receiverCount(), 0u);
  expectHardware(kDeviceToPart, 1e-9);
  EXPECT_TRUE(enabled(15));
  EXPECT_TRUE(enabled(kStandard0));
  EXPECT_TRUE(enabled(kStandard1));
  EXPECT_FALSE(enabled(kStandard2));

  ASSERT_TRUE(dialog().chooseRadio(2));
  ASSERT_TRUE(press(13));
  EXPECT_NEAR(plugin_->hardwareMatrix().m[10], -1.0, 1e-9) << "plane 1 flipped turns the part over";
  ASSERT_TRUE(press(13));
  expectHardware(kDeviceToPart, 1e-9);

  // Cancelling the command gives back what the device had before it.
  ASSERT_TRUE(runner_.cancel());
  expectHardware(Matrix4x4::identity(), 0);
}

// Plane 1's points picked clockwise seen from above, plane 2's from right to left: the picked faces' normals
// alone say which way each plane looks.
TEST_F(DeviceToPartAlignment, PicksTakenTheOtherWayRoundAlignTheSame) {
  startCommand();
  for (const Face* face : {&kTop, &kSide})
    for (auto p = face->points.rbegin(); p != face->points.rend(); ++p) pickOn(*p, face->outward);
  pickOn(kEnd.points[0], kEnd.outward);
  probeAll();
  expectHardware(kDeviceToPart, 1e-9);
}

// The least lean a face picked for plane 2 or 3 may have, from plane 1 or off the line planes 1 and 2 meet
// along: asin(2 x 0.035 mm / 1 mm), the probing error at two standard deviations over the alignment
// tolerance.
constexpr double kLeastLeanDegrees = 4.0140;

// A pick on a face of the given normal leaning factor x the least lean: from the face `from` towards
// `towards`, each a unit normal square to the other. told: the angle in the refusal; empty where it is taken.
struct LeaningPick {
  int plane;
  Vector3 from, towards;
  double factor;
  std::u16string told;

  Vector3 normal() const {
    const double lean = factor * kLeastLeanDegrees * std::acos(-1.0) / 180;
    return std::cos(lean) * from + std::sin(lean) * towards;
  }
};

// The box's faces with a small triangle standing off it for each pick, its centre at x = 0.3 + 0.04 k,
// y = 0.05, z = 0.01, wound so that its normal is the pick's.
IPtr<HostMesh> boxWithLeaningFaces(const std::vector<LeaningPick>& picks) {
  const std::shared_ptr<const BrepModel> box = boxModel({0, 0, 0}, {0.2, 0.1, 0.02});
  std::vector<HostMesh::Point> vertices = box->tessellation().vertices;
  std::vector<HostMesh::Triangle> triangles = box->tessellation().triangles;
  for (size_t k = 0; k < picks.size(); ++k) {
    const Vector3 n = picks[k].normal(), centre{0.3 + 0.04 * k, 0.05, 0.01};
    const Vector3 u = 0.005 * Vector3::cross(n, {1, 1, 1}).normalized(), v = Vector3::cross(n, u);
    const auto first = static_cast<int32_t>(vertices.size());
    for (const Vector3& corner : {centre - u - v, centre + u - v, centre + v})
      vertices.push_back({corner.x, corner.y, corner.z});
    triangles.push_back({first, first + 1, first + 2});
  }
  return IPtr<HostMesh>(new HostMesh(std::move(vertices), std::move(triangles)));
}

// A face picked for plane 2 must lean from plane 1, and one picked for plane 3 lie off the line planes 1 and
// 2 meet along, by at least the least lean: just within it the pick is refused with its angle and not taken,
// just beyond it taken, whichever way the face leans, on the part placed at a pose.
TEST_F(DeviceToPartAlignment, AFacePickedForPlaneTwoOrThreeIsTakenOnlyBeyondTheLeastLean) {
  const Vector3 top{0, 0, 1}, side{0, -1, 0}, end{-1, 0, 0}, back{0, 1, 0};
  std::vector<LeaningPick> picks;
  for (const auto& [factor, told] : std::vector<std::pair<double, std::u16string>>{
           {0.8, u"3.2"}, {0.95, u"3.8"}, {1.05, u""}, {1.2, u""}}) {
    picks.push_back({2, top, side, factor, told});
    picks.push_back({2, top, end, factor, told});
    picks.push_back({3, top, end, factor, told});
    picks.push_back({3, side, end, factor, told});
    picks.push_back({3, back, -1.0 * end, factor, told});
  }
  const IPtr<HostMesh> mesh = boxWithLeaningFaces(picks);
  ASSERT_TRUE(mesh->isValid());
  ASSERT_TRUE(host_.document().doc().remove(reference_.get()));
  reference_ = addCadModel(host_.document().doc(), u"RefObject", mesh.get());
  host_.document().doc().setActiveObject(reference_.get());
  const Matrix4x4 placement =
      Matrix4x4::translation({0.3, -0.2, 0.1}) * Matrix4x4::rotation(Vector3{1, 1, 1}.normalized(), 0.35);
  ASSERT_TRUE(reference_->setTransform(placement.m));
  const auto pickPlaced = [&](const Vector3& point, const Vector3& outward) {
    pickOn(Matrix4x4::transformPoint(placement, point), Matrix4x4::transformVector(placement, outward));
  };

  for (size_t k = 0; k < picks.size(); ++k) {
    const LeaningPick& pick = picks[k];
    SCOPED_TRACE(testing::Message() << "plane " << pick.plane << ", normal " << pick.normal());
    host_.core().errors().clear();
    startCommand();
    for (const Vector3& p : kTop.points) pickPlaced(p, kTop.outward);
    for (size_t i = 0; i + 2 <= static_cast<size_t>(pick.plane); ++i)
      pickPlaced(kSide.points[i], kSide.outward);
    const Vector3 centre{0.3 + 0.04 * k, 0.05, 0.01};
    const std::u16string before = dialog().control(12)->text;
    pickPlaced(centre, pick.normal());
    const std::u16string shown = dialog().control(12)->text;
    if (pick.told.empty()) {
      EXPECT_TRUE(errorMessages().empty());
      if (pick.plane == 2) {
        EXPECT_EQ(value(planeGroup()), 4) << "plane 2 is complete";
      } else {
        char text[64];
        std::snprintf(text, sizeof text, "%.4f, 50.0000, 10.0000", 1000 * centre.x);
        EXPECT_EQ(shown, std::u16string(text, text + std::char_traits<char>::length(text)));
      }
    } else {
      ASSERT_EQ(errorMessages().size(), 1u);
      EXPECT_EQ(
          errorMessages().back(),
          pick.plane == 2
              ? u"The point was not taken: the face picked leans " + pick.told +
                    u" degrees from plane 1, too little for touches on it to fix the part's turn about "
                    u"plane 1's normal and its place across plane 2. Pick plane 2 on a face that leans at "
                    u"least 4 degrees from plane 1."
              : u"The point was not taken: the face picked lies " + pick.told +
                    u" degrees off the line along which planes 1 and 2 meet, too little for touches on "
                    u"it to fix the part's place along that line. Pick plane 3 on a face that lies at "
                    u"least 4 degrees off it.");
      EXPECT_EQ(value(planeGroup()), pick.plane + 1) << "the plane stays chosen";
      EXPECT_EQ(shown, before) << "no point is set";
    }
    ASSERT_TRUE(runner_.cancel());
  }
}

TEST_F(DeviceToPartAlignment, PlaneTwoTouchedTwiceOnTheTopKeepsTheRunWithAMessage) {
  startCommand();
  pickAll();
  ASSERT_TRUE(press(14));
  probe(kTop, 3);
  probe({{{0.05, 0.05, 0.02}, {0.15, 0.05, 0.02}}, {0, 0, 1}, {0.1, 0.05, 0.05}}, 2);
  EXPECT_EQ(device_->receiverCount(), 1u);
  ASSERT_FALSE(errorMessages().empty());
  EXPECT_EQ(
      errorMessages().back(),
      u"The two points of plane 2 may lie on a face parallel to plane 1. Probe plane 2 on a face square to "
      u"plane 1, with the probe turned towards it, and take its stop point off that face.");

  // The stray touches taken back, plane 2 probed where it belongs: plane 1 was kept.
  undo();
  undo();
  probe(kSide, 2);
  probe(kEnd, 1);
  EXPECT_EQ(device_->receiverCount(), 0u);
  expectHardware(kDeviceToPart, 1e-9);
}

// With the device's moves, each touch tells from which side it came: a stop taken on the side the touches
// pushed into is refused with the plane's points kept, and the stop lifted off the face aligns the part.
TEST_F(DeviceToPartAlignment, AStopOnTheSideTheTouchesPushedIntoIsRefusedWhenTheDevicesMovesTellIt) {
  const Matrix4x4 partToDevice = Matrix4x4::inverse(kDeviceToPart);
  const auto approachAndSample = [&](const Face& face, size_t samples) {
    const Vector3 inward = Matrix4x4::transformVector(partToDevice, -1.0 * face.outward);
    for (size_t i = 0; i < samples; ++i) {
      deliver([&](IZelHardProbeDataReceiver* r) { r->onMoved({}, inward, {}); });
      sampleAt(face.points[i] + kEmulatorBallRadius * face.outward);
    }
  };
  startCommand();
  pickAll();
  ASSERT_TRUE(press(14));
  deliver([](IZelHardProbeDataReceiver* r) { r->setProbeRadius(kEmulatorBallRadius); });
  approachAndSample(kTop, 3);
  stopAbove(kTop);
  approachAndSample(kSide, 2);
  stopAbove(kSide);
  approachAndSample(kEnd, 1);
  const Vector3 inside = Matrix4x4::transformPoint(partToDevice, kEnd.points[0] - 0.01 * kEnd.outward);
  deliver([&](IZelHardProbeDataReceiver* r) { r->onPointStop(inside); });
  ASSERT_FALSE(errorMessages().empty());
  EXPECT_EQ(
      errorMessages().back(),
      u"Plane 3 was not made: its stop lies on the side every touch pushed into. Its points are kept; lift "
      u"the probe off the face along its approach and stop again.");
  stopAbove(kEnd);
  expectHardware(kDeviceToPart, 1e-9);
}

// The operator presses STOP twice after a plane, or once too early: the run goes on with the planes done and
// the plane's points, and the operator is told what the plane needs.
TEST_F(DeviceToPartAlignment, AStopThatCannotFinishThePlaneKeepsTheRunAndSaysWhatThePlaneNeeds) {
  auto told = [&] {
    const std::vector<std::u16string> messages = errorMessages();
    return messages.empty() ? std::u16string() : messages.back();
  };
  startCommand();
  pickAll();
  ASSERT_TRUE(press(14));
  probe(kTop, 2);
  EXPECT_EQ(
      told(),
      u"Plane 1 was not made: 1 more point is needed. Its points are kept; probe more points on the face "
      u"picked for plane 1 and stop again.");
  sampleAt(kTop.points[2] + kEmulatorBallRadius * kTop.outward);
  stopAbove(kTop);
  stopAbove(kTop);
  EXPECT_EQ(
      errorMessages().back(),
      u"Plane 2 was not made: 2 more points are needed. Its points are kept; probe more points on the face "
      u"picked for plane 2 and stop again.");
  probe(kSide, 1);
  EXPECT_EQ(
      told(),
      u"Plane 2 was not made: 1 more point is needed. Its points are kept; probe more points on the face "
      u"picked for plane 2 and stop again.");
  sampleAt(kSide.points[1] + kEmulatorBallRadius * kSide.outward);
  stopAbove(kSide);
  stopAbove(kSide);
  EXPECT_EQ(
      told(),
      u"Plane 3 was not made: 1 more point is needed. Its points are kept; probe more points on the face "
      u"picked for plane 3 and stop again.");
  EXPECT_EQ(device_->receiverCount(), 1u) << "still probing";
  probe(kEnd, 1);
  EXPECT_EQ(device_->receiverCount(), 0u);
  expectHardware(kDeviceToPart, 1e-9);
  EXPECT_EQ(probedSpheres(), 6u);
}

TEST_F(DeviceToPartAlignment, ARunFinishedBeforeTheLastPickAlignsWhenThePickCompletesTheReferences) {
  const Matrix4x4 before = Matrix4x4::translation({0.5, 0, 0});
  plugin_->setHardwareMatrix(before);
  startCommand();
  for (const Face* face : {&kTop, &kSide})
    for (const Vector3& p : face->points) pickOn(p, face->outward);
  probeAll();
  EXPECT_EQ(device_->receiverCount(), 0u);
  expectHardware(before, 0);
  EXPECT_EQ(probedSpheres(), 0u) << "nothing is aligned yet";
  pickOn(kEnd.points[0], kEnd.outward);
  expectHardware(kDeviceToPart, 1e-9);
  EXPECT_EQ(probedSpheres(), 6u);
}

TEST_F(DeviceToPartAlignment, SamplesShowInTheirPlanesColoursWhileProbingAndAnUndoneOneCountsNowhere) {
  const std::string red = printedColor({1, 0, 0, 1}), green = printedColor({0, 1, 0, 1});
  const std::string blue = printedColor({0, 0, 1, 1});
  startCommand();
  pickAll();
  for (const bool shown : {true, false}) {
    SCOPED_TRACE(shown ? "with the probe shown" : "without the probe");
    host_.core().dataStore().setInt(nullptr, "Palpera/Gfx/ShowProbe", shown);
    auto expectMarkers = [&](std::vector<std::string> colors) {
      EXPECT_EQ(markers(), shown ? colors : std::vector<std::string>{});
    };
    ASSERT_TRUE(press(14));
    sampleOn(kTop, 3);
    sampleAt({0.1, 0.05, 0.06});  // a slip well above the face
    expectMarkers({red, red, red, red});
    undo();
    expectMarkers({red, red, red});
    IZelPoints* framed = pointsOf(host_.document().doc().findObject(ZelString(u"points")));
    ASSERT_TRUE(framed);
    EXPECT_EQ(framed->array()->count(), 3) << "the undone point leaves the hidden frame too";
    stopAbove(kTop);
    undo();  // plane 2 has no point yet; those of plane 1 stay
    probe(kSide, 2);
    sampleOn(kEnd, 1);
    expectMarkers({red, red, red, green, green, blue});
    stopAbove(kEnd);

    EXPECT_TRUE(markers().empty()) << "the run's markers leave with it";
    expectHardware(kDeviceToPart, 1e-9);
    EXPECT_EQ(probedSpheres(), 6u) << "the undone point is not drawn after the alignment";
  }
}

// The picks are taken from the model, so their markers hang in the reference's node and stand where the part
// is shown; the probe and its touches are world points, drawn where the device reports them.
TEST_F(DeviceToPartAlignment, OnAPlacedPartPicksShowOnThePartAndTouchesWhereTheyWereTaken) {
  const Matrix4x4 placement =
      Matrix4x4::translation({0.3, -0.2, 0.1}) * Matrix4x4::rotation(Vector3{1, 1, 1}.normalized(), 0.35);
  ASSERT_TRUE(reference_->setTransform(placement.m));
  host_.core().dataStore().setInt(nullptr, "Palpera/Gfx/ShowProbe", 1);
  const auto placed = [&](const Vector3& onModel) { return Matrix4x4::transformPoint(placement, onModel); };
  const auto expectDrawnAt = [&](IZelUnknown* node, const Vector3& own, const Vector3& world) {
    const std::optional<Vector3> drawn = drawnAt(host_, node, own);
    ASSERT_TRUE(drawn);
    EXPECT_LT((*drawn - world).length(), 1e-12);
  };
  startCommand();
  HostNode& referenceNode = reference_->graphics().node();
  pickOn(placed(kTop.points[0]), Matrix4x4::transformVector(placement, kTop.outward));
  const std::vector<HostMarkersWidget*> picks = nodesUnder<HostMarkersWidget>(referenceNode);
  ASSERT_EQ(picks.size(), 1u);
  ASSERT_TRUE(picks[0]->markers().at(0));
  expectDrawnAt(picks[0], *picks[0]->markers()[0], placed(kTop.points[0]));
  for (size_t i : {1, 2}) pickOn(placed(kTop.points[i]), Matrix4x4::transformVector(placement, kTop.outward));

  ASSERT_TRUE(press(14));
  const Vector3 tip = placed(kTop.points[1] + kEmulatorBallRadius * kTop.outward);
  deliver([&](IZelHardProbeDataReceiver* r) { r->onMoved(tip, {0, 0, -1}, {0, 1, 0}); });
  deliver([&](IZelHardProbeDataReceiver* r) { r->onPointSampled(tip); });
  HostHardProbeGfx& probe = *host_.scene().probeGfx().made().back();
  expectDrawnAt(probe.probeNode(), probe.position(), tip);
  const std::vector<HostSphereNode*> touches = nodesUnder<HostSphereNode>(referenceNode);
  ASSERT_EQ(touches.size(), 1u);
  expectDrawnAt(touches[0], {}, tip);
}

// The arm stands elsewhere (kDeviceToPart), the part is placed by a turn and a shift, the user's software
// transform is loaded and the part is warm: the hardware matrix found must make the whole transform (object x
// hardware x scale) take the touches onto the part where it stands, and the touches are drawn there.
TEST_F(DeviceToPartAlignment, UnderASoftwareTransformTheWholeTransformTakesTheTouchesOntoThePlacedPart) {
  const Matrix4x4 placement =
      Matrix4x4::translation({0.3, -0.2, 0.1}) * Matrix4x4::rotation(Vector3{1, 2, 3}.normalized(), 0.35);
  ASSERT_TRUE(reference_->setTransform(placement.m));
  const Matrix4x4 software =
      Matrix4x4::translation({0.02, -0.04, 0.01}) * Matrix4x4::rotation({0, 1, 0}, 0.6);
  SPtr<IZelPluginDeviceObjectAlignmentService> object;
  object->setMatrix(software);
  SPtr<IZelPluginDeviceScaleAlignmentService> scale;
  scale->setMaterial(ZelCString("Steel"), 30.0);
  startCommand();
  std::vector<Vector3> touches;
  for (const Face* face : {&kTop, &kSide, &kEnd}) {
    for (const Vector3& p : face->points) {
      pickOn(Matrix4x4::transformPoint(placement, p), Matrix4x4::transformVector(placement, face->outward));
      touches.push_back(Matrix4x4::transformPoint(placement, p + kEmulatorBallRadius * face->outward));
    }
  }
  probeAll();

  const Matrix4x4 deviceToWorld = placement * kDeviceToPart;
  expectHardware(Matrix4x4::inverse(software) * deviceToWorld, 1e-9);
  plugin_->reloadObjectMatrix();
  Matrix4x4 whole;
  plugin_->deviceMatrix(whole);
  plugin_->resetObjectMatrix();
  // The device's points arrived scaled already, as every point does: the whole transform scales them first.
  const Matrix4x4 expectedWhole = deviceToWorld * *scale->matrix();
  expectMatrixNear(whole, expectedWhole, 1e-9);
  const std::vector<HostSphereNode*> spheres = nodesUnder<HostSphereNode>(host_.document().graphics().root());
  ASSERT_EQ(spheres.size(), touches.size());
  for (size_t i = 0; i < spheres.size(); ++i) {
    const std::optional<Vector3> drawn = drawnAt(host_, spheres[i], {});
    ASSERT_TRUE(drawn);
    EXPECT_LT((*drawn - touches[i]).length(), 1e-9) << "touch " << i;
  }
}

// A host aligner that finds no alignment for the three planes it is given, which the stand-in's planes,
// square by construction, never lead it to.
class UnsolvingAligner : public HostDatumAlignModifier {
 public:
  bool run(int32_t, int32_t, int32_t) override { return false; }
};

// Complete planes the host cannot align: the operator is told, and the device keeps the transform it had.
TEST_F(DeviceToPartAlignment, CompletePlanesThatCannotBeSolvedAreSaidAndTheDeviceKeepsItsTransform) {
  host_.root().addHostClass({kHostDatumAlignModifierClassId,
                             {IZelDatumBasedAlignModifier::interfaceName},
                             [] { return static_cast<IZelUnknown*>(new UnsolvingAligner); }});
  const Matrix4x4 before = Matrix4x4::translation({0.5, 0, 0});
  plugin_->setHardwareMatrix(before);
  startCommand();
  pickAll();
  probeAll();
  EXPECT_EQ(device_->receiverCount(), 0u);
  ASSERT_FALSE(errorMessages().empty());
  EXPECT_EQ(errorMessages().back(), u"The probed planes cannot be aligned onto the reference planes.");
  expectHardware(before, 0);
  EXPECT_EQ(probedSpheres(), 0u);
}

// A STOP before the first touch is a slip like any early STOP: the run goes on and says what plane 1 needs;
// the device's "Cancel" ends it and gives back the matrix the device had, without the scale.
TEST_F(DeviceToPartAlignment, AStopBeforeAnyTouchKeepsTheRunAndACancelPutsBackTheMatrixWithoutTheScale) {
  SPtr<IZelPluginDeviceScaleAlignmentService> scale;
  scale->setMaterial(ZelCString("Steel"), 30.0);
  const Matrix4x4 before = Matrix4x4::translation({0.5, 0, 0});
  plugin_->setHardwareMatrix(before);
  startCommand();
  pickAll();
  probeAll();
  const Matrix4x4 aligned = plugin_->hardwareMatrix();

  ASSERT_TRUE(press(14));
  EXPECT_FALSE(enabled(kStandard0));
  EXPECT_EQ(plugin_->hardwareMatrix().m[3], 0.0) << "the identity while probing";
  host_.core().errors().clear();
  stopAbove(kTop);
  EXPECT_EQ(errorMessages(),
            std::vector<std::u16string>{u"Plane 1 was not made: 3 more points are needed. "
                                        u"Its points are kept; probe more points on the face "
                                        u"picked for plane 1 and stop again."});
  EXPECT_EQ(device_->receiverCount(), 1u) << "the run goes on";
  deliver([](IZelHardProbeDataReceiver* r) { r->onCustomEvent(ZelCString("Cancel"), nullptr); });
  EXPECT_EQ(device_->receiverCount(), 0u);
  expectHardware(aligned, 0);
  EXPECT_TRUE(enabled(15)) << "the previous device planes are kept";
  EXPECT_TRUE(enabled(kStandard0));
  EXPECT_FALSE(enabled(kStandard2));
}

TEST_F(DeviceToPartAlignment, EveryWayOutLeavesNoReceiverAndTheRightHardwareMatrix) {
  const Matrix4x4 before = Matrix4x4::translation({0.5, 0, 0});
  struct Case {
    const char* what;
    std::function<void()> act;
    bool startFails = false;
  };
  const std::vector<Case> cases = {
      {"cancel while probing", [this] { ASSERT_TRUE(runner_.cancel()); }},
      {"apply while probing step 2",
       [this] {
         probe(kTop, 3);
         ASSERT_TRUE(runner_.apply());
       }},
      {"a device error",
       [this] {
         deliver([](IZelHardProbeDataReceiver* r) { r->onCustomEvent(ZelCString("Error"), nullptr); });
         ASSERT_FALSE(errorMessages().empty()) << "the error is told";
         EXPECT_EQ(errorMessages().back(), u"An error occurred during data acquisition.");
         EXPECT_TRUE(runner_.running());
       }},
      {"a failed start", [] {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    plugin_->setHardwareMatrix(before);
    startCommand();
    pickAll();
    device_->answers.start = !c.startFails;
    ASSERT_TRUE(press(14));
    c.act();
    EXPECT_EQ(device_->receiverCount(), 0u);
    expectHardware(before, 0);
    if (runner_.running()) {
      EXPECT_TRUE(enabled(0)) << "the dialog is usable again";
      runner_.cancel();
    }
    device_->answers.start = true;
  }
}

TEST_F(DeviceToPartAlignment, ThePositionDisplayEndsOnStopAndWithTheCommand) {
  startCommand();
  ASSERT_TRUE(press(16));
  EXPECT_EQ(device_->receiverCount(), 1u);
  EXPECT_FALSE(enabled(kStandard1));
  pickOn(kTop.points[0], kTop.outward);
  EXPECT_EQ(value(8), 9) << "no picks while the position shows";
  deliver([](IZelHardProbeDataReceiver* r) { r->onPointStop({0, 0, 0}); });
  EXPECT_EQ(device_->receiverCount(), 0u);
  EXPECT_TRUE(enabled(kStandard1));

  ASSERT_TRUE(press(16));
  ASSERT_TRUE(runner_.apply());
  EXPECT_EQ(device_->receiverCount(), 0u);
}

TEST_F(DeviceToPartAlignment, ItRunsOnlyOnTheActiveReferenceObjectOutsideSectionsAndMacros) {
  HostCommandContainer& context = host_.gui().commandContainer();
  for (const char* flag : {"recordingMacro", "sectionCurrent", "boundaryCurrent"}) {
    SCOPED_TRACE(flag);
    ASSERT_TRUE(context.setFlag(flag, true));
    EXPECT_EQ(start("PalperaDeviceToPartAlignmentCmd"), CommandRunner::Start::kCannotRun);
    context.setFlag(flag, false);
  }
  host_.document().doc().setActiveObject(nullptr);
  EXPECT_EQ(start("PalperaDeviceToPartAlignmentCmd"), CommandRunner::Start::kActivationRefused);
  EXPECT_EQ(errorMessages(),
            std::vector<std::u16string>{u"\"3-2-1 Device Alignment\" needs a reference model "
                                        u"named \"RefObject\", loaded and active."});
}

TEST_F(DeviceToPartAlignment, TypedPointsTakeThePlaceOfPicksInTheUsersUnit) {
  startCommand();
  const char16_t* typed[] = {u"30, 30, 20", u"170 30 20", u"100, 80, 20"};
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(dialog().chooseRadio(9 + i));
    ASSERT_TRUE(dialog().typeText(12, typed[i]));
  }
  EXPECT_EQ(value(8), 11) << "typing keeps the chosen point";
  EXPECT_TRUE(enabled(3)) << "plane 1 is complete";
  ASSERT_TRUE(dialog().typeText(12, u"1, 2"));
  EXPECT_TRUE(enabled(3)) << "two numbers are no point, and change nothing";
  ASSERT_TRUE(dialog().chooseRadio(3));
  ASSERT_TRUE(dialog().typeText(12, u"50, 0, 10"));
  ASSERT_TRUE(dialog().chooseRadio(10));
  ASSERT_TRUE(dialog().typeText(12, u"150, 0, 10"));
  EXPECT_TRUE(enabled(4));
}

TEST_F(DeviceToPartAlignment, WithoutAPlugInActivationSaysSoAndConnectsNoDevice) {
  IZelPluginManager* manager = registry_->getManager(ZelCString("HardProbe"));
  ASSERT_TRUE(manager->setActivePlugin(nullptr));
  EXPECT_EQ(start("PalperaDeviceToPartAlignmentCmd"), CommandRunner::Start::kActivationRefused);
  EXPECT_EQ(errorMessages().back(),
            u"\"3-2-1 Device Alignment\" needs a hard probe plug-in: choose one as "
            u"\"Palpera Plug-In\" on the options page.");
  EXPECT_TRUE(journal_.empty()) << "no device connected";
}

}  // namespace
