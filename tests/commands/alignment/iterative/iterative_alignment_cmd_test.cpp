// "Iterative Alignment" run by the host's command runner on a box "RefObject" of 200 x 100 x 20 mm, with the
// emulator as the current plug-in and a test device that the tests feed as the arm would: the device sees
// the part at a known pose, and reports what it measures through its current hardware and scale matrices.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <tuple>
#include <vector>

#include "commands/alignment/iterative/palpera_iterative_alignment_cmd.h"
#include "commands/alignment/iterative/target_data.h"
#include "devices/alignment/alignment_services.h"
#include "devices/contracts/plugin.h"
#include "devices/managers/izel_plugin_manager.h"
#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/point_objects.h"
#include "framework/object/query_part.h"
#include "host/cad/brep_model.h"
#include "host/cad/cad_model.h"
#include "host/document/host_locations_set.h"
#include "host/document/host_object_attribute.h"
#include "host/gui/host_progress_split.h"
#include "host/gui/host_table.h"
#include "host/scene/host_view_theme.h"
#include "host_api/data_store.h"
#include "platform/utf8.h"
#include "support/emulator_ball.h"
#include "support/expect_matrix_near.h"
#include "tests/commands/support/command_fixture.h"

namespace {

using Cmd = PalperaIterativeAlignmentCmd;
using Mouse = HostGfxViewMgr::MouseCallback;
using Key = HostGfxViewMgr::KeyCallback;
constexpr double kMm = 0.001;

// Where the device sees the part: a 10° turn about (1, 1, 1), then a shift.
const Matrix4x4 kPose =
    Matrix4x4::translation({.05, -.03, .02}) * Matrix4x4::rotation({1, 1, 1}, 10 * std::numbers::pi / 180);

struct Pick {
  Vector3 point;
  Vector3 normal;
};
// The 3-2-1 pattern: three on the top, two on the front, one on the end.
const std::vector<Pick> k321 = {
    {{.05, .03, .02}, {0, 0, 1}}, {{.15, .03, .02}, {0, 0, 1}}, {{.1, .08, .02}, {0, 0, 1}},
    {{.05, 0, .01}, {0, -1, 0}},  {{.15, 0, .01}, {0, -1, 0}},  {{0, .05, .01}, {-1, 0, 0}},
};
// Touches beside the picks, across their normals, in millimetres: the fourth lands out of tolerance.
const std::vector<Vector3> kBeside = {{.5, 0, 0},  {0, -.5, 0}, {.3, 0, 0},
                                      {1.5, 0, 0}, {0, 0, -.4}, {0, .5, 0}};

class IterativeAlignment : public CommandTest {
 public:
  void SetUp() override {
    CommandTest::SetUp();
    store().setInt(nullptr, "Palpera/Gfx/ShowProbe", 0);
    store().setString(nullptr, "DefaultFileNameDirectory/common", ZelString(u"/nonexistent"));
    device_ = addDevice("HardProbe", "IZelHardProbeDataReceiver");
    plugin_ = useEmulatorPlugin();
    ASSERT_TRUE(plugin_);
  }
  void TearDown() override {
    if (runner_.running()) runner_.cancel();
    registry_->setDevice(ZelCString("HardProbe"), nullptr);
    CommandTest::TearDown();
  }

  IDataStore& store() { return host_.core().dataStore(); }
  void addBox(const Vector3& high = {.2, .1, .02}) {
    reference_ =
        addCadModel(host_.document().doc(), u"RefObject", boxModel({0, 0, 0}, {high.x, high.y, high.z}));
    host_.document().doc().setActiveObject(reference_.get());
  }
  void startCommand() {
    if (!reference_) addBox();
    ASSERT_EQ(start("PalperaIterativeAlignmentCmd"), CommandRunner::Start::kStarted);
    command_->queryInterface(Cmd::interfaceName, reinterpret_cast<void**>(&cmd_), false);
    ASSERT_TRUE(cmd_);
  }
  // Places the reference in the world, as the document shows it, and the part with it.
  void place(const Matrix4x4& placement) {
    placement_ = placement;
    ASSERT_TRUE(reference_->setTransform(placement.m));
  }
  // A click whose ray comes from outside the face along its inward normal, where the part stands.
  void pick(const Pick& at) {
    const Vector3 from = Matrix4x4::transformPoint(placement_, at.point + 0.5 * at.normal);
    const Vector3 along = Matrix4x4::transformVector(placement_, -at.normal);
    host_.scene().view().injectMouse(
        Mouse::kDown, {.rayOrigin = {from.x, from.y, from.z}, .rayDirection = {along.x, along.y, along.z}});
    host_.scene().view().injectMouse(
        Mouse::kClick, {.rayOrigin = {from.x, from.y, from.z}, .rayDirection = {along.x, along.y, along.z}});
  }
  void pickAll(size_t count = k321.size()) {
    for (size_t i = 0; i < count; ++i) pick(k321[i]);
  }
  void key(int32_t code) { host_.scene().view().injectKey(Key::kPress, code); }
  CommandRunner& runner() { return runner_; }

  Matrix4x4 scale() {
    SPtr<IZelPluginDeviceScaleAlignmentService> service;
    return service ? *service->matrix() : Matrix4x4();
  }
  // What the device reports for a probe centre at model point c: the part sits at the pose from where the
  // document places it, and the device applies its hardware and scale matrices to what it measures (warm: the
  // part has grown by the scale).
  Vector3 reported(const Vector3& c, bool warm = false) {
    Vector3 raw = Matrix4x4::transformPoint(kPose * placement_, c);
    if (warm) raw = raw / scale().m[0];
    return Matrix4x4::transformPoint(plugin_->hardwareMatrix() * scale(), raw);
  }
  template <class Call>
  void deliver(Call call) {
    device_->deliver<IZelHardProbeDataReceiver>(call);
  }
  void touch(const Pick& at, const Vector3& besideMm = {}, bool warm = false) {
    const Vector3 centre = at.point + besideMm * kMm + kEmulatorBallRadius * at.normal;
    const Vector3 p = reported(centre, warm);
    deliver([&](IZelHardProbeDataReceiver* r) {
      r->setProbeRadius(kEmulatorBallRadius);
      r->onPointSampled(p);
    });
  }
  // The touch the device's worker posts now, reported through the matrix the device has now; it reaches
  // the receivers when the host's loop delivers it, or during the device's stop.
  void postTouch(const Pick& at, const Vector3& besideMm = {}) {
    const Vector3 p = reported(at.point + besideMm * kMm + kEmulatorBallRadius * at.normal);
    device_->post<IZelHardProbeDataReceiver>([p](IZelHardProbeDataReceiver* r) {
      r->setProbeRadius(kEmulatorBallRadius);
      r->onPointSampled(p);
    });
  }
  void postStop() {
    device_->post<IZelHardProbeDataReceiver>([](IZelHardProbeDataReceiver* r) { r->onPointStop({}); });
  }
  void moveTo(const Vector3& modelPoint) {
    const Vector3 p = reported(modelPoint);
    deliver([&](IZelHardProbeDataReceiver* r) { r->onMoved(p, {0, 0, -1}, {0, 1, 0}); });
  }
  void customEvent(const char* name) {
    deliver([&](IZelHardProbeDataReceiver* r) { r->onCustomEvent(ZelCString(name), nullptr); });
  }
  // The first pass over the 3-2-1 targets, touched beside their picks.
  void firstPass(bool answerYes) {
    host_.gui().simpleDialog().queueAnswer(answerYes ? 1 : 2);
    ASSERT_TRUE(press(Cmd::kStartProbing));
    for (size_t i = 0; i < k321.size(); ++i) touch(k321[i], kBeside[i]);
  }

  HostTable& table() { return *queryPart<HostTable>(dialog().control(Cmd::kTable)->table.get()); }
  int32_t starts() { return static_cast<int32_t>(std::ranges::count(journal_, "start HardProbe")); }
  void setHardware(const Matrix4x4& m) {
    SPtr<IZelPluginDeviceHardwareAlignmentService> hardware;
    hardware->setMatrix(m, true);
  }
  const TargetData& entry(size_t i) { return cmd_->targets().at(i); }
  HostSceneCamera& camera() { return host_.scene().view().scene().sceneCamera(); }

  TestDevice* device_ = nullptr;
  IZelPlugin* plugin_ = nullptr;
  IPtr<HostDocObject> reference_;
  Matrix4x4 placement_;
  Cmd* cmd_ = nullptr;
};

const Matrix4x4 kEarlier = Matrix4x4::translation({.01, .02, .03}) * Matrix4x4::rotation({0, 0, 1}, .2);

TEST_F(IterativeAlignment, TheSizeScaleFollowsTheDecadeOfTheReferencesLargestSide) {
  struct Case {
    Vector3 box;
    double scale;
  };
  for (const Case& c : {Case{{.5, .1, .1}, .01}, Case{{1.2, .3, .2}, .1}, Case{{.2, .1, .02}, .01}}) {
    SCOPED_TRACE(c.scale);
    if (reference_) host_.document().doc().remove(reference_.get());
    addBox(c.box);
    startCommand();
    EXPECT_DOUBLE_EQ(cmd_->sizeScale(), c.scale);
    pick({{c.box.x / 2, c.box.y / 2, c.box.z}, {0, 0, 1}});
    ASSERT_EQ(cmd_->targets().size(), 1u);
    EXPECT_DOUBLE_EQ(entry(0).nominal->criticalDistance, c.scale);
    runner_.cancel();
  }
}

TEST_F(IterativeAlignment, PicksAreNamedInOrderUndoneAndRedoneAndLeaveTheDevicesAlignmentOnApply) {
  setHardware(kEarlier);
  startCommand();
  pickAll(2);
  ASSERT_EQ(cmd_->targets().size(), 2u);
  EXPECT_EQ(std::u16string(entry(0).nominal->name.c_str()), u"Target 1");
  EXPECT_EQ(std::u16string(entry(1).nominal->name.c_str()), u"Target 2");
  EXPECT_EQ(table().rowCount(), 3);
  EXPECT_EQ(std::u16string(table().text(1, 3).c_str()), u"Zone Dev.");
  EXPECT_EQ(std::u16string(table().text(3, 1).c_str()), u"Target 2");
  EXPECT_EQ(std::u16string(table().text(3, 2).c_str()), u"N/A");

  key(Cmd::kUndoKey);
  EXPECT_EQ(cmd_->targets().size(), 1u);
  EXPECT_EQ(cmd_->redoCount(), 1u);
  key(Cmd::kRedoKey);
  EXPECT_EQ(cmd_->targets().size(), 2u);
  key(Cmd::kUndoKey);
  pick(k321[2]);
  EXPECT_EQ(cmd_->redoCount(), 0u) << "a new pick empties redo";
  EXPECT_EQ(cmd_->undoCount(), 2u);

  // Two targets cannot align: the device keeps the alignment it had, committed as it was.
  expectMatrixNear(plugin_->hardwareMatrix(), kEarlier, 0);
  store().setDouble(nullptr, Cmd::kToleranceKey, .001);
  ASSERT_TRUE(dialog().enterValue(Cmd::kTolerance, 2)) << "millimetres";
  runner_.apply();
  expectMatrixNear(plugin_->hardwareMatrix(), kEarlier, 0);
  SPtr<IZelPluginDeviceHardwareAlignmentService> hardware;
  hardware->loadStored();
  expectMatrixNear(*hardware->matrix(), kEarlier, 0);
  EXPECT_DOUBLE_EQ(store().getDouble(Cmd::kToleranceKey, 0), .002);
}

TEST_F(IterativeAlignment, LocationSetsLoadUndoAndRedoAsOneStep) {
  addBox();
  addLocationsSet(host_.document().doc(), u"Checks",
                  {{u"A", {.02, .02, .021}},
                   {u"B", {.1, .05, .021}},
                   {u"C", {.1, -.001, .01}},
                   {u"D", {.21, .05, .01}},
                   {u"Lost", {NAN, 0, 0}}});
  startCommand();
  const std::vector<DialogListEntry> entries = dialog().control(Cmd::kLocationSetsList)->entries;
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].text, u"Select...");
  EXPECT_EQ(entries[1].text, u"Checks");
  EXPECT_FALSE(dialog().isControlEnabled(Cmd::kLoadButton));
  ASSERT_TRUE(dialog().chooseEntry(Cmd::kLocationSetsList, 1));
  EXPECT_TRUE(dialog().isControlEnabled(Cmd::kLoadButton));
  ASSERT_TRUE(dialog().chooseEntry(Cmd::kLocationSetsList, 0));
  EXPECT_FALSE(dialog().isControlEnabled(Cmd::kLoadButton)) << "\"Select...\" never loads";
  ASSERT_TRUE(dialog().chooseEntry(Cmd::kLocationSetsList, 1));

  const int32_t finished = HostProgressSplit::finishedCount();
  ASSERT_TRUE(press(Cmd::kLoadButton));
  ASSERT_EQ(cmd_->targets().size(), 4u) << "the location without a surface point is skipped";
  EXPECT_EQ(std::u16string(entry(3).nominal->name.c_str()), u"D");
  expectMatrixNear(Matrix4x4::translation(entry(3).nominal->point), Matrix4x4::translation({.2, .05, .01}),
                   1e-9);
  EXPECT_EQ(HostProgressSplit::finishedCount(), finished + 1);
  EXPECT_EQ(HostProgressSplit::lastFinished().done, 5);
  EXPECT_FALSE(dialog().control(Cmd::kLocationSetsList)->entries[1].enabled);
  EXPECT_FALSE(dialog().isControlEnabled(Cmd::kLoadButton));
  EXPECT_EQ(table().rowCount(), 5);

  pick(k321[0]);
  key(Cmd::kUndoKey);
  key(Cmd::kUndoKey);
  EXPECT_TRUE(cmd_->targets().empty());
  EXPECT_TRUE(dialog().control(Cmd::kLocationSetsList)->entries[1].enabled);
  key(Cmd::kRedoKey);
  EXPECT_EQ(cmd_->targets().size(), 4u);
  EXPECT_FALSE(dialog().control(Cmd::kLocationSetsList)->entries[1].enabled);
}

TEST_F(IterativeAlignment, FewerThanThreeTargetsStartNothing) {
  startCommand();
  pickAll(2);
  ASSERT_TRUE(press(Cmd::kStartProbing));
  const auto shown = host_.gui().simpleDialog().shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, u"Define at least 3 targets before probing.");
  EXPECT_EQ(shown[0].style, 2);
  EXPECT_EQ(device_->receiverCount(), 0u);
  EXPECT_EQ(starts(), 0);
}

TEST_F(IterativeAlignment, APassAlignsTheDeviceAndOffersTheFailedTargetsAgain) {
  setHardware(kEarlier);
  startCommand();
  pickAll();
  ASSERT_TRUE(press(Cmd::kStartProbing));
  expectMatrixNear(plugin_->hardwareMatrix(), Matrix4x4(), 0);
  EXPECT_EQ(device_->receiverCount(), 1u);
  key(Cmd::kUndoKey);
  EXPECT_EQ(cmd_->targets().size(), k321.size()) << "no undo while probing";
  touch(k321[0], kBeside[0]);
  // Under the identity the stored point is what the device measured.
  const Vector3 first = k321[0].point + kBeside[0] * kMm + kEmulatorBallRadius * k321[0].normal;
  EXPECT_LT((entry(0).measured->point - Matrix4x4::transformPoint(kPose, first)).length(), 1e-12);
  for (size_t i = 1; i + 1 < k321.size(); ++i) touch(k321[i], kBeside[i]);
  host_.gui().simpleDialog().queueAnswer(1);
  const int32_t startsBefore = starts();
  touch(k321.back(), kBeside.back());

  const auto shown = host_.gui().simpleDialog().shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, u"One or more points are out of tolerance.\nProbe the failed points again?");
  EXPECT_EQ(shown[0].style, 3);
  EXPECT_TRUE(shown[0].atCursor);
  // Yes: a pass over exactly the failed target, with the device kept aligned.
  ASSERT_TRUE(cmd_->isProbing());
  ASSERT_EQ(cmd_->probeQueue().size(), 1u);
  EXPECT_EQ(cmd_->probeQueue().front().get(), entry(3).nominal.get());
  EXPECT_EQ(starts(), startsBefore + 1);
  expectMatrixNear(plugin_->hardwareMatrix() * kPose, Matrix4x4(), 1e-9);
  EXPECT_NEAR(entry(3).zoneDeviation, .0005, 1e-9);
  EXPECT_NEAR(std::stod(platform::toUtf8(table().text(5, 3).c_str())), .5, 1e-6) << "in millimetres";
  ASSERT_TRUE(table().cellColor(5, 3));
  const ColorRGBA red = *table().cellColor(5, 3);
  EXPECT_EQ(std::tuple(red.r, red.g, red.b, red.a), std::tuple(1.f, 0.f, 0.f, 1.f));
  EXPECT_FALSE(table().cellColor(4, 3));

  touch(k321[3]);
  EXPECT_FALSE(cmd_->isProbing());
  EXPECT_EQ(host_.gui().simpleDialog().shown().size(), 1u) << "every target is in tolerance";
  for (const TargetData& e : cmd_->targets()) EXPECT_TRUE(e.inTolerance);
  expectMatrixNear(plugin_->hardwareMatrix() * kPose, Matrix4x4(), 1e-9);
  EXPECT_EQ(device_->receiverCount(), 0u);
}

// Only a pass that took the matrix off to probe gives it back when cancelled; after a re-probe pass or free
// probing the device keeps the alignment the table shows, and OK commits it.
TEST_F(IterativeAlignment, ACancelledPassLeavesTheAlignmentTheTableShowsUnlessItResetTheMatrix) {
  setHardware(kEarlier);
  startCommand();
  pickAll();
  ASSERT_TRUE(press(Cmd::kStartProbing));
  touch(k321[0], kBeside[0]);
  customEvent("Cancel");
  expectMatrixNear(plugin_->hardwareMatrix(), kEarlier, 0);

  firstPass(true);
  ASSERT_TRUE(cmd_->isProbing()) << "the re-probe pass";
  customEvent("Cancel");
  EXPECT_FALSE(cmd_->isProbing());
  EXPECT_EQ(device_->receiverCount(), 0u);
  ASSERT_TRUE(cmd_->isAligned());
  expectMatrixNear(plugin_->hardwareMatrix() * kPose, Matrix4x4(), 1e-9);
  EXPECT_EQ(host_.gui().simpleDialog().shown().size(), 1u) << "a cancel asks nothing";
  EXPECT_EQ(host_.scene().viewThemes().pushedCount(), 0u);

  ASSERT_TRUE(press(Cmd::kStartProbing));
  touch(k321[3]);
  ASSERT_FALSE(cmd_->isProbing());
  ASSERT_TRUE(press(Cmd::kStartProbing));
  ASSERT_TRUE(cmd_->isFreeProbing());
  customEvent("Cancel");
  expectMatrixNear(plugin_->hardwareMatrix() * kPose, Matrix4x4(), 1e-9);
  runner_.apply();
  expectMatrixNear(plugin_->hardwareMatrix() * kPose, Matrix4x4(), 1e-9);
}

// The first pass already aligns the device after its first targets: cancelled then, or ended by a restart
// that fails, it must not put back the matrix from before while the table and statistics show that alignment.
class FirstPassEndedOnceAligned : public IterativeAlignment {
 public:
  void alignOnFourTargets() {
    setHardware(kEarlier);
    startCommand();
    pickAll();
    ASSERT_TRUE(press(Cmd::kStartProbing));
    for (size_t i = 0; i < 4; ++i) touch(k321[i], kBeside[i]);
    ASSERT_TRUE(cmd_->isProbing());
    ASSERT_TRUE(cmd_->isAligned());
  }
  void expectTheTablesAlignmentOnTheDeviceAfterOk() {
    ASSERT_FALSE(cmd_->isProbing());
    ASSERT_TRUE(cmd_->isAligned());
    const Matrix4x4 shown = entry(0).matrix;
    expectMatrixNear(plugin_->hardwareMatrix(), shown, 0);
    runner_.apply();
    expectMatrixNear(plugin_->hardwareMatrix(), shown, 0);
  }
};

TEST_F(FirstPassEndedOnceAligned, ByTheDevicesCancel) {
  alignOnFourTargets();
  const Matrix4x4 aligned = plugin_->hardwareMatrix();
  customEvent("Cancel");
  expectMatrixNear(entry(0).matrix, aligned, 0);
  expectTheTablesAlignmentOnTheDeviceAfterOk();
}

TEST_F(FirstPassEndedOnceAligned, ByARestartThatFails) {
  alignOnFourTargets();
  device_->answers.start = false;
  touch(k321[4], kBeside[4]);
  device_->answers.start = true;
  expectTheTablesAlignmentOnTheDeviceAfterOk();
}

TEST_F(IterativeAlignment, APassEndedWithoutAnAlignmentGivesBackTheMatrixItFound) {
  setHardware(kEarlier);
  startCommand();
  pickAll();
  host_.gui().simpleDialog().queueAnswer(2);
  ASSERT_TRUE(press(Cmd::kStartProbing));
  touch(k321[0], kBeside[0]);
  touch(k321[1], kBeside[1]);
  deliver([](IZelHardProbeDataReceiver* r) { r->onPointStop({}); });
  ASSERT_EQ(host_.gui().simpleDialog().shown().size(), 1u) << "the re-probe question, answered no";
  EXPECT_FALSE(cmd_->isProbing());
  EXPECT_FALSE(cmd_->isAligned());
  expectMatrixNear(plugin_->hardwareMatrix(), kEarlier, 0);
  runner_.apply();
  expectMatrixNear(plugin_->hardwareMatrix(), kEarlier, 0);
}

// Undone back to two targets, nothing is aligned: the raw points must not be measured against surface
// points found under the old alignment, whatever tolerance is set next.
TEST_F(IterativeAlignment, AfterAFailedRealignmentAToleranceChangeFindsNoDeviation) {
  startCommand();
  pickAll();
  firstPass(false);
  ASSERT_TRUE(cmd_->isAligned());
  for (size_t i = 2; i < k321.size(); ++i) key(Cmd::kUndoKey);
  ASSERT_EQ(cmd_->targets().size(), 2u);
  ASSERT_FALSE(cmd_->isAligned());
  ASSERT_TRUE(dialog().enterValue(Cmd::kTolerance, 2)) << "millimetres";
  for (size_t i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_FALSE(entry(i).surface);
    EXPECT_TRUE(isUnset(entry(i).alignError));
    EXPECT_TRUE(isUnset(entry(i).zoneDeviation));
    EXPECT_FALSE(table().cellColor(static_cast<int32_t>(i) + 2, 3));
  }
}

TEST_F(IterativeAlignment, AToleranceChangeReevaluatesWithoutRealigning) {
  startCommand();
  pickAll();
  firstPass(false);
  ASSERT_FALSE(entry(3).inTolerance);
  const Matrix4x4 aligned = plugin_->hardwareMatrix();
  const int32_t startsBefore = starts();
  ASSERT_TRUE(dialog().enterValue(Cmd::kTolerance, 2)) << "millimetres";
  EXPECT_TRUE(entry(3).inTolerance);
  EXPECT_EQ(entry(3).zoneDeviation, 0);
  EXPECT_FALSE(table().cellColor(5, 3));
  expectMatrixNear(plugin_->hardwareMatrix(), aligned, 0);
  EXPECT_EQ(starts(), startsBefore);
}

TEST_F(IterativeAlignment, TheCommandsCancelGivesBackTheHardwareMatrixItselfUnderATemperatureScale) {
  setHardware(kEarlier);
  SPtr<IZelPluginDeviceScaleAlignmentService> scaleService;
  scaleService->setMaterial(ZelCString("Steel"), 30.0);
  ASSERT_NE(scale().m[0], 1.0);
  startCommand();
  pickAll();
  firstPass(false);
  runner_.cancel();
  expectMatrixNear(plugin_->hardwareMatrix(), kEarlier, 0);
}

TEST_F(IterativeAlignment, AWarmPartIsAlignedWithItsScaleOnce) {
  SPtr<IZelPluginDeviceScaleAlignmentService> scaleService;
  scaleService->setMaterial(ZelCString("Steel"), 30.0);
  startCommand();
  pickAll();
  ASSERT_TRUE(press(Cmd::kStartProbing));
  for (size_t i = 0; i < k321.size(); ++i) touch(k321[i], kBeside[i] * (i == 3 ? .2 : 1), true);
  ASSERT_FALSE(cmd_->isProbing());
  // The device now reports the warm part's points at their nominal places.
  for (const Pick& at : k321) {
    const Vector3 centre = at.point + kEmulatorBallRadius * at.normal;
    EXPECT_LT((reported(centre, true) - centre).length(), 1e-9);
  }
}

TEST_F(IterativeAlignment, UndoLastSampledTakesThePointBackAndFliesToItsTargetAgain) {
  startCommand();
  pickAll();
  ASSERT_TRUE(press(Cmd::kStartProbing));
  const SGfxCameraState before = [&] {
    SGfxCameraState state;
    camera().getState(state);
    return state;
  }();
  touch(k321[0], kBeside[0]);
  ASSERT_EQ(cmd_->probeQueue().front().get(), entry(1).nominal.get());
  SGfxCameraState atSecond;
  camera().getState(atSecond);
  EXPECT_NE(atSecond.matrix.m[3], before.matrix.m[3]) << "the view moved on";
  const int32_t startsBefore = starts();
  customEvent("UndoLastSampled");
  EXPECT_FALSE(entry(0).measured);
  EXPECT_EQ(cmd_->probeQueue().front().get(), entry(0).nominal.get());
  EXPECT_EQ(cmd_->probeQueue().size(), k321.size());
  EXPECT_TRUE(entry(0).isCurrent);
  EXPECT_EQ(starts(), startsBefore + 1);
  SGfxCameraState now;
  camera().getState(now);
  expectMatrixNear(now.matrix, before.matrix, 1e-12);
  customEvent("UndoLastSampled");
  EXPECT_EQ(cmd_->probeQueue().size(), k321.size()) << "nothing more to take back";
}

TEST_F(IterativeAlignment, AFailedRealignmentInsideAPassRestartsTheDeviceAndKeepsTheFrame) {
  startCommand();
  pickAll();
  host_.gui().simpleDialog().queueAnswer(1);
  ASSERT_TRUE(press(Cmd::kStartProbing));
  for (size_t i = 0; i < k321.size(); ++i) touch(k321[i], i == 3 || i == 4 ? Vector3{1.5, 0, 0} : kBeside[i]);
  ASSERT_EQ(cmd_->probeQueue().size(), 2u);
  ASSERT_TRUE(cmd_->isAligned());
  // With only the two failed targets measured, the next point cannot align.
  for (size_t i : {0, 1, 2, 5}) cmd_->targets()[i].measured.release();
  const int32_t startsBefore = starts();
  touch(k321[3]);
  EXPECT_FALSE(cmd_->isAligned());
  expectMatrixNear(plugin_->hardwareMatrix(), Matrix4x4(), 0);
  EXPECT_EQ(starts(), startsBefore + 1) << "the device must take up the identity";
  // Both points in the frame the device measured in, whatever the hardware matrix was.
  touch(k321[4]);
  for (size_t i : {3, 4}) {
    const Vector3 centre = k321[i].point + kEmulatorBallRadius * k321[i].normal;
    EXPECT_LT((entry(i).measured->point - Matrix4x4::transformPoint(kPose, centre)).length(), 1e-9) << i;
  }
}

// A double press of the STOP button: the second STOP is on its way while the first ends the pass.
TEST_F(IterativeAlignment, ASecondStopInTransitAsksOnceAndTheYesStartsItsPassAfterTheStop) {
  startCommand();
  pickAll();
  ASSERT_TRUE(press(Cmd::kStartProbing));
  for (size_t i = 0; i < 5; ++i) touch(k321[i], kBeside[i]);
  ASSERT_FALSE(entry(3).isInTolerance());
  host_.gui().simpleDialog().queueAnswer(1);
  postStop();
  postStop();
  device_->deliverPosted();

  EXPECT_EQ(host_.gui().simpleDialog().shown().size(), 1u);
  // The pass the yes started runs on: the failed target and the one never touched, its receiver on the
  // started device, "Probe Points" out of reach, its touches taken.
  ASSERT_TRUE(cmd_->isProbing());
  ASSERT_EQ(cmd_->probeQueue().size(), 2u);
  EXPECT_EQ(cmd_->probeQueue().front().get(), entry(3).nominal.get());
  EXPECT_EQ(device_->receiverCount(), 1u);
  EXPECT_EQ(journal_.back(), "start HardProbe");
  EXPECT_FALSE(dialog().isControlEnabled(Cmd::kStartProbing));
  touch(k321[3]);
  EXPECT_EQ(cmd_->probeQueue().size(), 1u);
}

// The third touch realigns, which restarts the device; the fourth, converted with the matrix the device
// had before, is on its way and arrives during that restart.
TEST_F(IterativeAlignment, ATouchInTransitAcrossARestartIsStoredInTheFrameItWasMeasuredIn) {
  struct Run {
    std::vector<Vector3> measured;
    Matrix4x4 hardware;
  };
  const auto run = [&](bool fourthInTransit) {
    setHardware(Matrix4x4());
    startCommand();
    pickAll();
    host_.gui().simpleDialog().queueAnswer(2);
    EXPECT_TRUE(press(Cmd::kStartProbing));
    for (size_t i = 0; i < k321.size(); ++i) {
      if (fourthInTransit && i == 2) {
        const int32_t startsBefore = starts();
        postTouch(k321[2], kBeside[2]);
        postTouch(k321[3], kBeside[3]);
        device_->deliverPosted();
        EXPECT_EQ(starts(), startsBefore + 1) << "the third touch restarted the device";
        ++i;
      } else {
        touch(k321[i], kBeside[i]);
      }
    }
    Run result{{}, plugin_->hardwareMatrix()};
    for (const TargetData& e : cmd_->targets()) result.measured.push_back(e.measured->point);
    runner_.apply();
    return result;
  };
  const Run apart = run(false);
  const Run together = run(true);
  ASSERT_EQ(together.measured.size(), apart.measured.size());
  for (size_t i = 0; i < apart.measured.size(); ++i)
    EXPECT_LT((together.measured[i] - apart.measured[i]).length(), 1e-12) << "target " << i + 1;
  expectMatrixNear(together.hardware, apart.hardware, 1e-12);
}

// The last touch arrives during the restart the one before it caused: the pass ends inside that stop, and
// the re-probe question, with the pass its yes starts, waits for the stop to end.
TEST_F(IterativeAlignment, APassEndedByATouchInTransitStartsTheNextOnlyAfterTheRestartsStop) {
  startCommand();
  pickAll();
  ASSERT_TRUE(press(Cmd::kStartProbing));
  for (size_t i = 0; i < 4; ++i) touch(k321[i], kBeside[i]);
  host_.gui().simpleDialog().queueAnswer(1);
  const int32_t startsBefore = starts();
  postTouch(k321[4], kBeside[4]);
  postTouch(k321[5], kBeside[5]);
  device_->deliverPosted();

  EXPECT_EQ(host_.gui().simpleDialog().shown().size(), 1u);
  EXPECT_EQ(starts(), startsBefore + 1) << "only the next pass starts the device";
  ASSERT_TRUE(cmd_->isProbing());
  EXPECT_EQ(cmd_->probeQueue().front().get(), entry(3).nominal.get());
  EXPECT_EQ(device_->receiverCount(), 1u);
  const Vector3 last = k321[5].point + kBeside[5] * kMm + kEmulatorBallRadius * k321[5].normal;
  EXPECT_LT((entry(5).measured->point - Matrix4x4::transformPoint(kPose, last)).length(), 1e-12);
}

// The device's undo, then at once the touch that probes the taken-back target again: the touch arrives
// during the restart the undo causes, and belongs to that target, as it does when the two arrive apart.
TEST_F(IterativeAlignment, ATouchInTransitBehindAnUndoProbesTheTargetTakenBack) {
  startCommand();
  pickAll();
  ASSERT_TRUE(press(Cmd::kStartProbing));
  for (size_t i = 0; i < 4; ++i) touch(k321[i], kBeside[i]);
  ASSERT_EQ(cmd_->probeQueue().front().get(), entry(4).nominal.get());
  const int32_t startsBefore = starts();
  device_->post<IZelHardProbeDataReceiver>(
      [](IZelHardProbeDataReceiver* r) { r->onCustomEvent(ZelCString("UndoLastSampled"), nullptr); });
  postTouch(k321[3]);
  device_->deliverPosted();

  EXPECT_EQ(starts(), startsBefore + 1) << "one restart, after the touch in transit";
  ASSERT_TRUE(entry(3).measured);
  const Vector3 retouched = k321[3].point + kEmulatorBallRadius * k321[3].normal;
  EXPECT_LT((entry(3).measured->point - Matrix4x4::transformPoint(kPose, retouched)).length(), 1e-12);
  EXPECT_FALSE(entry(4).measured) << "the next target is still to be probed";
  ASSERT_EQ(cmd_->probeQueue().size(), 2u);
  EXPECT_EQ(cmd_->probeQueue().front().get(), entry(4).nominal.get());
  EXPECT_TRUE(entry(4).isCurrent);
}

TEST_F(IterativeAlignment, TheZoneUsesTheFirstEntrysRadiusAndTheViewZoomsInOnce) {
  startCommand();
  pickAll();
  firstPass(true);
  ASSERT_EQ(cmd_->probeQueue().size(), 1u);
  const Pick& target = k321[3];  // on the front face, normal -y
  // Aligned and not beside the last target: the view zooms in once the probe comes near on the outer side.
  ASSERT_TRUE(cmd_->hasPendingViewPoint());
  const double zoomDistance = cmd_->zoomDistance();
  moveTo(target.point + target.normal * (zoomDistance * 1.5));
  moveTo(target.point - target.normal * (zoomDistance * .5));
  EXPECT_TRUE(cmd_->hasPendingViewPoint()) << "too far, then inside the material";
  SGfxCameraState before;
  camera().getState(before);
  moveTo(target.point + target.normal * (zoomDistance * .5));
  EXPECT_FALSE(cmd_->hasPendingViewPoint());
  SGfxCameraState after;
  camera().getState(after);
  EXPECT_NEAR(after.zoomScale, before.zoomScale * 2, before.zoomScale * 1e-9);

  // The zone reaches the first entry's radius plus the tolerance along the normal, whatever ball the target
  // itself was touched with.
  cmd_->targets()[0].probeRadius = 2 * kEmulatorBallRadius;
  moveTo(target.point + Vector3{.5 * kMm, 0, 0} + target.normal * (2 * kEmulatorBallRadius + .00099));
  EXPECT_TRUE(entry(3).inZone);
  moveTo(target.point + Vector3{.5 * kMm, 0, 0} + target.normal * (2 * kEmulatorBallRadius + .00101));
  EXPECT_FALSE(entry(3).inZone);
  moveTo(target.point + Vector3{1.5 * kMm, 0, 0} + target.normal * kEmulatorBallRadius);
  EXPECT_FALSE(entry(3).inZone);
}

// On a part placed in the world the aligned device delivers world points, while the targets are kept in the
// model's own coordinates: the zone and the free probing's choice of target must compare them in one frame.
TEST_F(IterativeAlignment, OnAPlacedPartTheZoneAndTheFreeTargetFollowTheProbe) {
  addBox();
  place(Matrix4x4::translation({.3, -.2, .1}) * Matrix4x4::rotation({1, 2, 3}, 20 * std::numbers::pi / 180));
  startCommand();
  pickAll();
  firstPass(true);
  ASSERT_EQ(cmd_->probeQueue().size(), 1u);
  const Pick& retouched = k321[3];
  moveTo(retouched.point + Vector3{.5 * kMm, 0, 0} + retouched.normal * (kEmulatorBallRadius + .0005));
  EXPECT_TRUE(entry(3).inZone);
  moveTo(retouched.point + Vector3{1.5 * kMm, 0, 0} + retouched.normal * kEmulatorBallRadius);
  EXPECT_FALSE(entry(3).inZone);
  touch(retouched);
  ASSERT_FALSE(cmd_->isProbing());

  ASSERT_TRUE(press(Cmd::kStartProbing));
  ASSERT_TRUE(cmd_->isFreeProbing());
  const Pick& target = k321[4];
  moveTo(target.point + target.normal * (kEmulatorBallRadius + .004));
  ASSERT_EQ(cmd_->probeQueue().size(), 1u);
  EXPECT_EQ(cmd_->probeQueue().front().get(), entry(4).nominal.get());
  touch(target);
  ASSERT_TRUE(entry(4).measured);
  EXPECT_LT(entry(4).alignErrorValue(), 1e-9) << "measured against its own target";
}

TEST_F(IterativeAlignment, TheNextTargetOnTheSameFaceGetsHalfTheViewWithoutAZoomStep) {
  startCommand();
  pickAll();
  ASSERT_TRUE(press(Cmd::kStartProbing));
  const double f0 = 1 - 2 / (std::sqrt(5.0) + 1);
  EXPECT_NEAR(cmd_->lastViewSize(), .2 * f0 * 2 * .5, 1e-12);
  touch(k321[0], kBeside[0]);
  // Target 2 lies .1 away on the same face, beyond the last view size: a full view.
  EXPECT_NEAR(cmd_->lastViewSize(), .2 * f0 * 2 * .5, 1e-12);
  touch(k321[1], kBeside[1]);
  // Target 3 lies .07 from target 2 on the same face, nearer than the last view size: half the view.
  EXPECT_NEAR(cmd_->lastViewSize(), .2 * f0 * 2 * .5 * .5, 1e-12);
  EXPECT_FALSE(cmd_->hasPendingViewPoint());
  touch(k321[2], kBeside[2]);
  // Aligned from here: target 4 on another face gets a zoom step.
  EXPECT_TRUE(cmd_->hasPendingViewPoint());
  EXPECT_NEAR(cmd_->lastViewSize(), .2 * f0 * 2 * .5 * .5, 1e-12);
}

TEST_F(IterativeAlignment, FreeProbingMakesTheNearTargetCurrentAndFliesBackWhenTheProbeLeaves) {
  startCommand();
  pickAll();
  ASSERT_TRUE(press(Cmd::kStartProbing));
  for (size_t i = 0; i < k321.size(); ++i) touch(k321[i], kBeside[i] * (i == 3 ? .2 : 1));
  ASSERT_FALSE(cmd_->isProbing());
  ASSERT_TRUE(press(Cmd::kStartProbing));
  ASSERT_TRUE(cmd_->isFreeProbing());
  EXPECT_EQ(device_->receiverCount(), 2u);
  SGfxCameraState home;
  camera().getState(home);

  const Pick& target = k321[4];
  moveTo(target.point + target.normal * (kEmulatorBallRadius + .004));
  ASSERT_EQ(cmd_->probeQueue().size(), 1u);
  EXPECT_EQ(cmd_->probeQueue().front().get(), entry(4).nominal.get());
  EXPECT_TRUE(entry(4).isCurrent);
  const IPtr<PalperaIterativeAlignmentCmd::Target> old = entry(4).measured;
  touch(target);
  EXPECT_NE(entry(4).measured.get(), old.get()) << "measured again";
  EXPECT_TRUE(cmd_->isFreeProbing());

  moveTo(target.point + target.normal * .1);
  EXPECT_TRUE(cmd_->probeQueue().empty());
  SGfxCameraState back;
  camera().getState(back);
  expectMatrixNear(back.matrix, home.matrix, 0);
  EXPECT_EQ(back.zoomScale, home.zoomScale);

  customEvent("UndoLastSampled");
  EXPECT_TRUE(cmd_->isFreeProbing()) << "nothing to take back in free probing";
  deliver([](IZelHardProbeDataReceiver* r) { r->onPointStop({}); });
  EXPECT_EQ(device_->receiverCount(), 0u);
}

TEST_F(IterativeAlignment, EveryWayOutLeavesNoReceiverAndTheRightMatrix) {
  struct Case {
    const char* name;
    std::function<void(IterativeAlignment&)> leave;
  };
  const std::vector<Case> cases = {
      {"cancel while probing", [](IterativeAlignment& t) { t.runner().cancel(); }},
      {"apply while probing", [](IterativeAlignment& t) { t.runner().apply(); }},
      {"device error", [](IterativeAlignment& t) { t.customEvent("Error"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    setHardware(kEarlier);
    startCommand();
    pickAll();
    ASSERT_TRUE(press(Cmd::kStartProbing));
    touch(k321[0]);
    c.leave(*this);
    EXPECT_EQ(device_->receiverCount(), 0u);
    expectMatrixNear(plugin_->hardwareMatrix(), kEarlier, 0);
    EXPECT_EQ(host_.scene().viewThemes().pushedCount(), 0u);
    if (runner_.running()) runner_.cancel();
  }
  ASSERT_FALSE(errorMessages().empty()) << "the device error is told";
  EXPECT_EQ(errorMessages().back(), u"An error occurred during data acquisition.");

  // Showing the position, then cancelling.
  startCommand();
  ASSERT_TRUE(press(Cmd::kShowPosition));
  EXPECT_EQ(device_->receiverCount(), 1u);
  key(Cmd::kUndoKey);
  runner_.cancel();
  EXPECT_EQ(device_->receiverCount(), 0u);
}

TEST_F(IterativeAlignment, AFailedStartOfAcquisitionUndoesTheStartOfThePass) {
  setHardware(kEarlier);
  startCommand();
  pickAll();
  device_->answers.start = false;
  ASSERT_TRUE(press(Cmd::kStartProbing));
  EXPECT_FALSE(cmd_->isProbing());
  EXPECT_EQ(device_->receiverCount(), 0u);
  expectMatrixNear(plugin_->hardwareMatrix(), kEarlier, 0);
  EXPECT_EQ(host_.scene().viewThemes().pushedCount(), 0u);
  EXPECT_TRUE(dialog().isControlEnabled(Cmd::kStartProbing));
  pick(k321[0]);
  EXPECT_EQ(cmd_->targets().size(), k321.size() + 1) << "picks are taken again";
  ASSERT_TRUE(press(Cmd::kShowPosition));
  EXPECT_EQ(device_->receiverCount(), 0u);
  EXPECT_FALSE(cmd_->isShowingPosition());
}

// A device whose connection leaves the "HardProbe" manager without a current plug-in, as a plug-in that
// goes away while the device connects.
class PlugInLosingDevice : public TestDevice {
 public:
  PlugInLosingDevice(IZelPluginManager& manager, std::vector<std::string>& journal)
      : TestDevice("HardProbe", "IZelHardProbeDataReceiver", journal), manager_(manager) {}
  bool connect() override {
    manager_.setActivePlugin(nullptr);
    return TestDevice::connect();
  }

 private:
  IZelPluginManager& manager_;
};

// A device that does not connect, or a plug-in gone once it has: each is told, the command does not start,
// and the device is let go with the hardware matrix it had.
TEST_F(IterativeAlignment, ActivationWithoutAConnectionOrAPlugInIsToldAndLetsTheDeviceGo) {
  addBox();
  setHardware(kEarlier);
  device_->answers.connect = false;
  EXPECT_EQ(start("PalperaIterativeAlignmentCmd"), CommandRunner::Start::kActivationRefused);
  EXPECT_EQ(errorMessages(), std::vector<std::u16string>{u"Unable to connect to hard probe device."});

  host_.core().errors().clear();
  IZelPluginManager* manager = registry_->getManager(ZelCString("HardProbe"));
  ASSERT_TRUE(manager);
  registry_->setDevice(ZelCString("HardProbe"), new PlugInLosingDevice(*manager, journal_));
  journal_.clear();
  EXPECT_EQ(start("PalperaIterativeAlignmentCmd"), CommandRunner::Start::kActivationRefused);
  EXPECT_EQ(errorMessages(), std::vector<std::u16string>{u"No plug-ins are installed."});
  EXPECT_EQ(journal_, (std::vector<std::string>{"connect HardProbe", "disconnect HardProbe"}));
  SPtr<IZelPluginDeviceHardwareAlignmentService> hardware;
  expectMatrixNear(*hardware->matrix(), kEarlier, 0);
}

TEST_F(IterativeAlignment, ActivationHidesTheFeaturesWhenTheAttributeSaysSoAndShowsTheKeys) {
  addBox();
  IZelFeatureSubObjectMgr* features = getFeatureSubObjectMgr(reference_.get());
  IPtr<IZelSubObject> feature;
  feature.takeOwnership(features->createSubObject(queryPart<IZelFeature>(createPoint().get())));
  queryPart<IZelSubObjectMgr>(features)->addSubObject(feature.get());
  const IPtr<HostObjectAttribute> keepShown(new HostObjectAttribute(false));
  reference_->attach(kShowFeaturesWhileAligningAttributeId, keepShown.get());
  startCommand();
  EXPECT_TRUE(feature->displayFlag(IZelSubObject::kHiddenDisplayFlag));
  EXPECT_EQ(host_.gui().statusBar().shown(), u"Ctrl+Z: Undo Picked Target | Ctrl+Y: Redo Picked Target | F1");
  runner_.cancel();
  EXPECT_FALSE(feature->displayFlag(IZelSubObject::kHiddenDisplayFlag));
  EXPECT_EQ(host_.gui().statusBar().shown(), u"");
}

TEST_F(IterativeAlignment, CameraMovesAreSmoothOnlyWhenTheSettingSaysSo) {
  for (const int smooth : {1, 0}) {
    SCOPED_TRACE(smooth);
    store().setInt(nullptr, "View/Smooth Camera Transition", smooth);
    startCommand();
    pickAll(3);
    const int32_t before = HostAnimateCameraUtil::animationCount();
    ASSERT_TRUE(press(Cmd::kStartProbing));
    EXPECT_EQ(HostAnimateCameraUtil::animationCount() - before, smooth);
    SGfxCameraState state;
    camera().getState(state);
    // Either way the camera ends on the first target's view point.
    EXPECT_NEAR(state.point.x, k321[0].point.x, 1e-12);
    runner_.cancel();
  }
}

}  // namespace
