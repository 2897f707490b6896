// The real-time deviation command run as the host runs it: made by class id, started by the host's command
// runner over its dialog, fed by a test device registered as "HardProbe", over CAD boxes of the host's
// kernel.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "commands/deviation/palpera_real_time_deviation_cmd.h"
#include "devices/contracts/plugin.h"
#include "devices/managers/izel_plugin_manager.h"
#include "framework/object/query_part.h"
#include "host/cad/cad_model.h"
#include "host/core/host_unit_service.h"
#include "host/gui/host_table.h"
#include "host/scene/host_parray_sphere_itr.h"
#include "host/scene/host_scene_nodes.h"
#include "host/scene/host_style_nodes.h"
#include "host_api/data_store.h"
#include "support/drawn_transform.h"
#include "support/scratch_directory.h"
#include "support/text.h"
#include "test_paths.h"
#include "tests/commands/support/command_fixture.h"
#include "tests/devices/support/test_plugin.h"

namespace {

// The closest point comes in single precision.
constexpr double kSingle = 1e-7;

class RealTimeDeviationTest : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    store().setInt(nullptr, "Palpera/Gfx/ShowProbe", 0);
    ASSERT_TRUE(useEmulatorPlugin());
    device_ = addDevice("HardProbe", "IZelHardProbeDataReceiverV2");
    host_.core().units().setCurrentLengthUnit(HostUnitService::kMillimetre);
    store().setInt(nullptr, "General/Decimal Places", 3);
  }
  void TearDown() override {
    if (runner_.running()) runner_.cancel();
    registry_->setDevice(ZelCString("HardProbe"), nullptr);
    CommandTest::TearDown();
  }

  HostDataStore& store() { return host_.core().dataStore(); }

  // "RefObject", the box between the corners, active and current.
  void addReference(const HostMesh::Point& minimum, const HostMesh::Point& maximum) {
    reference_ = addCadModel(host_.document().doc(), u"RefObject", boxModel(minimum, maximum));
    host_.document().doc().setActiveObject(reference_.get());
    host_.document().doc().setCurrentObject(reference_.get());
  }
  // Started with the tolerance and the probe radius.
  void startWith(double tolerance, double radius) {
    store().setDouble(nullptr, "Palpera/RealTimeDeviation/Tolerance", tolerance);
    ASSERT_EQ(start("PalperaRealTimeDeviationCmd"), CommandRunner::Start::kStarted);
    device_->deliver<IZelHardProbeDataReceiver>(
        [&](IZelHardProbeDataReceiver* r) { r->setProbeRadius(radius); });
  }
  void move(const Vector3& p) {
    device_->deliver<IZelHardProbeDataReceiver>([&](auto* r) { r->onMoved(p, {0, 0, -1}, {0, 1, 0}); });
  }
  void sample(const Vector3& p) {
    device_->deliver<IZelHardProbeDataReceiver>([&](auto* r) { r->onPointSampled(p); });
  }
  void custom(const char* name) {
    device_->deliver<IZelHardProbeDataReceiver>(
        [&](auto* r) { r->onCustomEvent(ZelCString(name), nullptr); });
  }

  double tileValue(const char* item) {
    return store().getDouble((std::string("Palpera/Tile/") + item).c_str(), NAN);
  }
  Vector3 tileVector() {
    return {tileValue("RealTimeDeviationX"), tileValue("RealTimeDeviationY"),
            tileValue("RealTimeDeviationZ")};
  }
  int32_t tableId() { return *dialog().idOf(u"guiBaseId_"); }
  IZelTable& table() { return *dialog().control(tableId())->table; }
  std::u16string cell(int32_t row, int32_t column) { return text(table().text(row, column)); }
  std::vector<std::u16string> labels() {
    std::vector<std::u16string> found;
    for (int32_t row = 2; row <= table().rowCount(); ++row) found.push_back(cell(row, 1));
    return found;
  }
  IZelTableModifier& modifier() { return *dialog().control(tableId())->tableModifier; }

  TestDevice* device_ = nullptr;
  IPtr<HostDocObject> reference_;
};

void expectNear(const Vector3& actual, const Vector3& expected) {
  EXPECT_NEAR(actual.x, expected.x, kSingle);
  EXPECT_NEAR(actual.y, expected.y, kSingle);
  EXPECT_NEAR(actual.z, expected.z, kSingle);
}

TEST_F(RealTimeDeviationTest, TheTileAndTheTableShowTheContactPointsSignedDistance) {
  struct Case {
    const char* what;
    Vector3 centre;
    double radius;
    double deviation;
    const char16_t* shown;
    const char16_t* state;
  };
  const Case cases[] = {
      {"ball 1 mm above the face", {0, 0, 0.003}, 0.002, 0.001, u"1.000 mm", u"FAIL"},
      {"ball reaching 0.1 mm into the face: material missing",
       {0, 0, 0.0019},
       0.002,
       -0.0001,
       u"-0.100 mm",
       u"PASS"},
      {"centre inside the model", {0, 0, -0.001}, 0.002, -0.003, u"-3.000 mm", u"FAIL"},
      {"centre on the face, no radius", {0.02, 0.03, 0}, 0, 0, u"0.000 mm", u"PASS"},
  };
  addReference({-0.1, -0.1, -0.05}, {0.1, 0.1, 0});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    startWith(0.0005, c.radius);
    move(c.centre);
    EXPECT_NEAR(tileValue("RealTimeDeviation"), c.deviation, kSingle);
    expectNear(tileVector(), {0, 0, c.deviation});
    EXPECT_EQ(store().getInt("Palpera/Tile/RealTimeDeviationStatus", -1), c.state == std::u16string(u"PASS"));
    sample(c.centre);
    EXPECT_EQ(labels(), std::vector<std::u16string>{u"Pt1"});
    EXPECT_EQ(cell(2, 2), c.shown);
    EXPECT_EQ(cell(2, 3), c.state);
    ASSERT_TRUE(runner_.cancel());
  }
}

TEST_F(RealTimeDeviationTest, ActivationHandsTheReferenceToTheGraphicsAndKeepsItsFeaturesFromPicks) {
  addReference({-0.1, -0.1, -0.05}, {0.1, 0.1, 0});
  ASSERT_TRUE(reference_->featureSubObjects().selectable());
  startWith(0.0005, 0.002);
  EXPECT_EQ(host_.scene().genGfx().targetObjectId(), host_.document().doc().objectId(reference_.get()));
  EXPECT_FALSE(reference_->featureSubObjects().selectable());
}

TEST_F(RealTimeDeviationTest, TheActiveCoordinateSystemTurnsNeitherTheDeviationNorTheTilesVector) {
  addReference({-0.1, -0.1, -0.05}, {0.1, 0.1, 0});
  ASSERT_TRUE(host_.document().csys().setActive(Matrix4x4::rotation({0, 0, 1}, std::numbers::pi / 6)));
  startWith(0.0005, 0.002);
  // Near a side face, so that the offset has a direction the turn would change.
  move({0.1025, 0.01, -0.01});
  EXPECT_NEAR(tileValue("RealTimeDeviation"), 0.0005, kSingle);
  expectNear(tileVector(), {0.0005, 0, 0});
}

TEST_F(RealTimeDeviationTest, LabelsCountOnAfterAnUndoAndStartAgainAfterClear) {
  addReference({-0.1, -0.1, -0.05}, {0.1, 0.1, 0});
  startWith(0.0005, 0.002);
  EXPECT_FALSE(dialog().isControlEnabled(2));
  for (double x : {0.01, 0.02, 0.03}) sample({x, 0, 0.002});
  EXPECT_TRUE(dialog().isControlEnabled(2));
  EXPECT_TRUE(dialog().isControlEnabled(3));
  custom("UndoLastSampledX");
  custom("UndoLastSampled");
  sample({0.04, 0, 0.002});
  EXPECT_EQ(labels(), (std::vector<std::u16string>{u"Pt1", u"Pt2", u"Pt3"}));
  auto* command = dynamic_cast<PalperaRealTimeDeviationCmd*>(runner_.running());
  ASSERT_TRUE(command);
  EXPECT_EQ(command->points().count(), 3);
  expectNear(command->points().measured(3), {0.04, 0, 0});

  ASSERT_TRUE(press(2));
  EXPECT_EQ(table().rowCount(), 1);
  EXPECT_FALSE(dialog().isControlEnabled(2));
  EXPECT_FALSE(dialog().isControlEnabled(3));
  custom("UndoLastSampled");  // nothing left to undo
  EXPECT_EQ(command->points().count(), 0);
  sample({0.05, 0, 0.002});
  EXPECT_EQ(labels(), std::vector<std::u16string>{u"Pt1"});
}

// A device that failed sends nothing more: the operator is told, the device is let go and the tile no longer
// shows a live value, while the rows taken before the error stay to be exported.
TEST_F(RealTimeDeviationTest, ADeviceErrorIsToldAndEndsTheRunKeepingTheRowsTakenBefore) {
  addReference({-0.1, -0.1, -0.05}, {0.1, 0.1, 0});
  startWith(0.0005, 0.002);
  sample({0.01, 0, 0.002});
  sample({0.02, 0, 0.003});
  custom("Error");
  EXPECT_EQ(errorMessages(), std::vector<std::u16string>{u"An error occurred during data acquisition."});
  EXPECT_EQ(device_->receiverCount(), 0u);
  EXPECT_EQ(store().getInt("Palpera/Tile/Active", -1), 0);
  sample({0.03, 0, 0.002});
  EXPECT_EQ(labels(), (std::vector<std::u16string>{u"Pt1", u"Pt2"}));
  EXPECT_EQ(cell(3, 3), u"FAIL");
  EXPECT_TRUE(dialog().isControlEnabled(3)) << "the rows can be exported";
}

TEST_F(RealTimeDeviationTest, OnlyTheLabelsOfRecordedPointsCanBeEditedUpToSixtyFourCharacters) {
  addReference({-0.1, -0.1, -0.05}, {0.1, 0.1, 0});
  startWith(0.0005, 0.002);
  sample({0.01, 0, 0.002});
  sample({0.02, 0, 0.002});
  const std::u16string seventy(70, u'a');
  ASSERT_TRUE(dialog().editCell(tableId(), 3, 1, seventy + u""));
  EXPECT_EQ(cell(3, 1), seventy.substr(0, 64));
  EXPECT_FALSE(dialog().editCell(tableId(), 1, 1, u"header"));
  EXPECT_FALSE(dialog().editCell(tableId(), 2, 2, u"9 mm"));
  EXPECT_EQ(cell(1, 1), u"Label");
  modifier().cellChanged(5, 1, ZelString(u"beyond"));
  modifier().cellChanged(2, 3, ZelString(u"PASS"));
  auto* command = dynamic_cast<PalperaRealTimeDeviationCmd*>(runner_.running());
  EXPECT_EQ(command->points().labelCount(), 2);
  EXPECT_EQ(text(command->points().label(2)), seventy.substr(0, 64));
  EXPECT_EQ(table().rowCount(), 3);
  EXPECT_EQ(cell(2, 3), u"PASS");
}

TEST_F(RealTimeDeviationTest, CanRunOutsideOtherWorkWithAPlugInToMeasureWith) {
  IPtr<IComponentCommand> command;
  command.createInstance(classIdOf("PalperaRealTimeDeviationCmd"));
  auto* context = static_cast<IComponentCommandContainerV2*>(&host_.gui().commandContainer());
  EXPECT_TRUE(command->canRun(context)) << "a missing reference is told at the start";
  host_.gui().commandContainer().setFlag("recordingMacro", true);
  EXPECT_FALSE(command->canRun(context));
  host_.gui().commandContainer().setFlag("recordingMacro", false);
  IZelPluginManager* manager = registry_->getManager(ZelCString("HardProbe"));
  TestPlugin* arm = TestPlugin::arm(u"Arm");
  host_.devices().pluginHandler().registerPlugin(static_cast<IZelPlugin*>(arm));
  ASSERT_TRUE(manager->setActivePlugin(arm));
  EXPECT_TRUE(command->canRun(context)) << "a real arm";
  ASSERT_TRUE(manager->setActivePlugin(nullptr));
  EXPECT_TRUE(command->canRun(context)) << "a missing plug-in is told at the start";
}

// Started without the CAD reference model as the active and current object, the command says what it needs
// and connects no device.
TEST_F(RealTimeDeviationTest, StartedWithoutTheActiveCadReferenceModelItSaysWhatItNeeds) {
  const std::vector<std::u16string> needs{
      u"\"Real-Time Deviation\" needs a reference model named \"RefObject\", loaded and active."};
  EXPECT_EQ(start("PalperaRealTimeDeviationCmd"), CommandRunner::Start::kActivationRefused) << "none";
  EXPECT_EQ(errorMessages(), needs);
  IPtr<HostDocObject> points =
      host_.document().doc().add({"Point", u"RefObject", std::nullopt, {}, {}}, false);
  host_.document().doc().setActiveObject(points.get());
  host_.document().doc().setCurrentObject(points.get());
  host_.core().errors().clear();
  EXPECT_EQ(start("PalperaRealTimeDeviationCmd"), CommandRunner::Start::kActivationRefused) << "no CAD model";
  EXPECT_EQ(errorMessages(), needs);
  host_.document().doc().remove(points.get());

  addReference({-0.1, -0.1, -0.05}, {0.1, 0.1, 0});
  IPtr<HostDocObject> other = addCadModel(host_.document().doc(), u"Other", boxModel({0, 0, 0}, {1, 1, 1}));
  host_.document().doc().setActiveObject(other.get());
  host_.core().errors().clear();
  EXPECT_EQ(start("PalperaRealTimeDeviationCmd"), CommandRunner::Start::kActivationRefused) << "not active";
  EXPECT_EQ(errorMessages(), needs);
  EXPECT_TRUE(journal_.empty()) << "no device connected";

  host_.document().doc().setActiveObject(reference_.get());
  host_.core().errors().clear();
  EXPECT_EQ(start("PalperaRealTimeDeviationCmd"), CommandRunner::Start::kStarted);
  EXPECT_TRUE(errorMessages().empty());
}

TEST_F(RealTimeDeviationTest, AFailedActivationLeavesTheDeviceAndTheReferenceAsTheyWere) {
  IPtr<IComponentCommand> command;
  command.createInstance(classIdOf("PalperaRealTimeDeviationCmd"));
  EXPECT_FALSE(command->activate()) << "no reference object";
  EXPECT_TRUE(journal_.empty());

  addReference({-0.1, -0.1, -0.05}, {0.1, 0.1, 0});
  IGfxObject* graphics = host_.document().graphics().graphicsOf(reference_.get());
  ASSERT_TRUE(graphics);
  graphics->setDisplayMode(3);
  device_->answers.start = false;
  EXPECT_FALSE(command->activate());
  EXPECT_EQ(device_->receiverCount(), 0u);
  EXPECT_EQ(journal_.back(), "disconnect HardProbe");
  EXPECT_EQ(graphics->displayMode(), 3);

  // Without a current plug-in to measure with, the operator is told and no device is connected.
  device_->answers.start = true;
  ASSERT_TRUE(registry_->getManager(ZelCString("HardProbe"))->setActivePlugin(nullptr));
  journal_.clear();
  host_.core().errors().clear();
  EXPECT_FALSE(command->activate());
  EXPECT_TRUE(journal_.empty());
  EXPECT_EQ(errorMessages(),
            std::vector<std::u16string>{u"\"Real-Time Deviation\" needs a hard probe plug-in: choose one as "
                                        u"\"Palpera Plug-In\" on the options page."});
}

// The children of a host node, each as its HostNode part.
std::vector<HostNode*> childrenOf(IZelUnknown* node) {
  std::vector<HostNode*> children;
  for (const IPtr<IZelUnknown>& child : queryPart<HostNode>(node)->children())
    children.push_back(queryPart<HostNode>(child.get()));
  return children;
}

HostNode* namedChild(IZelUnknown* node, const std::string& name) {
  for (const IPtr<IZelUnknown>& child : queryPart<HostNode>(node)->children())
    if (queryPart<HostNode>(child.get())->name() == name) return queryPart<HostNode>(child.get());
  return nullptr;
}

TEST_F(RealTimeDeviationTest, TheViewShowsBothPointsAsSpheresAndTheLabelsOverTheModel) {
  addReference({-0.1, -0.1, -0.05}, {0.1, 0.1, 0});
  startWith(0.0005, 0.002);
  sample({0.01, 0, 0.003});
  sample({0.02, 0, 0.003});
  IZelGroupNode* root = host_.document().graphics().sceneRoot();
  HostNode* points = namedChild(root, "deviation points");
  ASSERT_TRUE(points);
  auto* group = dynamic_cast<IZelUnknown*>(points);
  std::vector<HostNode*> parts = childrenOf(group);
  ASSERT_EQ(parts.size(), 4u);
  EXPECT_TRUE(dynamic_cast<HostDrawStyleNode*>(parts[0]));
  for (int i : {1, 2}) {
    auto* node = dynamic_cast<HostStaticIteratorNode*>(parts[i]);
    ASSERT_TRUE(node);
    auto* spheres = queryPart<HostPArraySphereItr>(node->iterator());
    ASSERT_TRUE(spheres);
    EXPECT_EQ(spheres->size(), 3.0);
    EXPECT_EQ(spheres->mode(), 1);
    EXPECT_EQ(spheres->detail(), 4);
    ASSERT_EQ(spheres->points()->count(), 2);
    EXPECT_NEAR(spheres->points()->at(2)[2], i == 1 ? 0.001 : 0, kSingle) << "measured, then CAD points";
  }
  std::vector<HostNode*> labels = childrenOf(dynamic_cast<IZelUnknown*>(parts[3]));
  ASSERT_EQ(labels.size(), 3u);
  auto* depthTest = dynamic_cast<HostDepthTestNode*>(labels[0]);
  ASSERT_TRUE(depthTest);
  EXPECT_FALSE(depthTest->depthTest());
  auto* second = dynamic_cast<HostTextNode*>(labels[2]);
  ASSERT_TRUE(second);
  EXPECT_EQ(text(second->text()), u"Pt2");
  expectNear(second->anchor(), {0.02, 0, 0.001});
  EXPECT_EQ(second->size(), 6);
  EXPECT_EQ(second->offsetX(), -0.2);
  EXPECT_EQ(second->offsetY(), -0.2);
  EXPECT_EQ(second->flags(), 19u);
  EXPECT_NE(second->describe().find("colour (0, 0, 0, 1)"), std::string::npos);

  ASSERT_TRUE(runner_.cancel());
  EXPECT_FALSE(namedChild(root, "deviation points"));
}

// The probe hangs in the reference's node, the deviation points at the scene root: on a placed part both are
// drawn where the probe touches.
TEST_F(RealTimeDeviationTest, OnAPlacedPartTheProbeAndTheMeasuredPointAreDrawnWhereTheProbeTouches) {
  addReference({-0.1, -0.1, -0.05}, {0.1, 0.1, 0});
  const Matrix4x4 pose = Matrix4x4::translation({0.4, -0.25, 0.7}) * Matrix4x4::rotation({2, -1, 3}, 1.1);
  ASSERT_TRUE(reference_->setTransform(pose.m));
  store().setInt(nullptr, "Palpera/Gfx/ShowProbe", 1);
  startWith(0.0005, 0.002);
  const Vector3 centre = Matrix4x4::transformPoint(pose, {0.01, 0.02, 0.002});
  move(centre);
  sample(centre);
  HostHardProbeGfx& probe = *host_.scene().probeGfx().made().back();
  const std::optional<Vector3> probeAt = drawnAt(host_, probe.probeNode(), probe.position());
  ASSERT_TRUE(probeAt);
  EXPECT_LT((*probeAt - centre).length(), 1e-12);
  auto* measured = dynamic_cast<HostStaticIteratorNode*>(
      childrenOf(
          dynamic_cast<IZelUnknown*>(namedChild(host_.document().graphics().sceneRoot(), "deviation points")))
          .at(1));
  ASSERT_TRUE(measured);
  const double* first = queryPart<HostPArraySphereItr>(measured->iterator())->points()->at(1);
  const std::optional<Vector3> measuredAt = drawnAt(host_, measured, {first[0], first[1], first[2]});
  ASSERT_TRUE(measuredAt);
  EXPECT_NEAR((*measuredAt - Matrix4x4::transformPoint(pose, {0.01, 0.02, 0})).length(), 0, kSingle)
      << "the contact point, a probe radius below the centre";
}

TEST_F(RealTimeDeviationTest, TheToleranceTypedInTheDialogIsKeptOnlyWhenApplied) {
  addReference({-0.1, -0.1, -0.05}, {0.1, 0.1, 0});
  startWith(0.0005, 0.002);
  ASSERT_TRUE(dialog().enterValue(0, 0.2));  // millimetres
  move({0, 0, 0.0022});
  EXPECT_EQ(store().getInt("Palpera/Tile/RealTimeDeviationStatus", -1), 0)
      << "the typed tolerance holds at once";
  EXPECT_EQ(store().getDouble("Palpera/RealTimeDeviation/Tolerance", 0), 0.0005);
  ASSERT_TRUE(runner_.apply());
  EXPECT_DOUBLE_EQ(store().getDouble("Palpera/RealTimeDeviation/Tolerance", 0), 0.0002);
}

}  // namespace

TEST_F(RealTimeDeviationTest, OnAPlacedPartTouchesOnItsSurfaceReadZeroAndTouchesOffItTheirSignedDistance) {
  reference_ = loadCadModel(host_.document().doc(), u"RefObject",
                            std::string(PALPERA_TEST_SOURCE_DIR) + "/../examples/parts/plate-bore-boss.step");
  host_.document().doc().setActiveObject(reference_.get());
  host_.document().doc().setCurrentObject(reference_.get());
  // Turned about a slanted axis and moved, as an alignment places a part.
  const Matrix4x4 pose = Matrix4x4::translation({0.4, -0.25, 0.7}) * Matrix4x4::rotation({2, -1, 3}, 1.1);
  ASSERT_TRUE(reference_->setTransform(pose.m));
  constexpr double kRadius = 0.002;
  startWith(0.0005, kRadius);
  struct Surface {
    const char* what;
    Vector3 point, outward;  // in the part's coordinates
  };
  const double bore = 40 * std::numbers::pi / 180, boss = 200 * std::numbers::pi / 180;
  const Surface surfaces[] = {
      {"top face", {0.06, 0.015, 0.01}, {0, 0, 1}},
      {"bottom face", {0.1, 0.07, 0}, {0, 0, -1}},
      {"bore wall",
       {0.03 + 0.01 * std::cos(bore), 0.04 + 0.01 * std::sin(bore), 0.005},
       {-std::cos(bore), -std::sin(bore), 0}},
      {"boss wall",
       {0.085 + 0.015 * std::cos(boss), 0.04 + 0.015 * std::sin(boss), 0.018},
       {std::cos(boss), std::sin(boss), 0}},
      {"boss top", {0.09, 0.045, 0.025}, {0, 0, 1}},
  };
  auto* command = dynamic_cast<PalperaRealTimeDeviationCmd*>(runner_.running());
  ASSERT_TRUE(command);
  for (const Surface& s : surfaces) {
    // On the surface, standing proud of it, and reaching into it (the centre still outside).
    for (const double off : {0.0, 0.0007, -0.0004}) {
      SCOPED_TRACE(std::string(s.what) + " off by " + std::to_string(off));
      const Vector3 centre = Matrix4x4::transformPoint(pose, s.point + s.outward * (kRadius + off));
      move(centre);
      EXPECT_NEAR(tileValue("RealTimeDeviation"), off, 1e-6);
      const Vector3 offset = Matrix4x4::transformVector(pose, s.outward) * off;
      EXPECT_NEAR((tileVector() - offset).length(), 0, 1e-6);
      sample(centre);
      const int32_t at = command->points().count();
      ASSERT_GT(at, 0);
      const double* cad = command->points().cadArray()->at(at);
      EXPECT_NEAR((Vector3{cad[0], cad[1], cad[2]} - Matrix4x4::transformPoint(pose, s.point)).length(), 0,
                  1e-6);
      const Vector3 contact = Matrix4x4::transformPoint(pose, s.point + s.outward * off);
      EXPECT_NEAR((command->points().measured(at) - contact).length(), 0, 1e-6);
    }
  }
}

TEST_F(RealTimeDeviationTest, APartPlacedByMoreThanATurnAndAShiftIsRefusedWithTheReason) {
  addReference({-0.1, -0.1, -0.05}, {0.1, 0.1, 0});
  // Stretched along x: no distance of the model is the world's any more.
  const Matrix4x4 stretched = Matrix4x4::translation({0.1, 0, 0}) * Matrix4x4::scaling(1.01, 1, 1);
  ASSERT_TRUE(reference_->setTransform(stretched.m));
  EXPECT_NE(start("PalperaRealTimeDeviationCmd"), CommandRunner::Start::kStarted);
  EXPECT_EQ(errorMessages(),
            std::vector<std::u16string>{u"The reference object is placed by a transform that "
                                        u"is not a rotation and a shift: the probe cannot be "
                                        u"compared with its model."});
  EXPECT_EQ(device_->receiverCount(), 0u);
}
