// "Move Device" run by the host's command runner, with the emulator as the current hard-probe plug-in and a
// test device as "HardProbe" that the tests feed with probe events.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "commands/alignment/common/device_transform_steps.h"
#include "commands/alignment/move_device/move_device_widget.h"
#include "devices/alignment/alignment_services.h"
#include "framework/host_glue/point_objects.h"
#include "framework/object/query_chain.h"
#include "framework/registrations/registered_classes.h"
#include "host/document/host_document.h"
#include "host/gui/command_runner.h"
#include "host_api/datum_align_modifier.h"
#include "platform/utf8.h"
#include "tests/commands/support/hard_probe_command_fixture.h"

namespace {

constexpr const char* kGroup = "Plugins/Hard Probe Emulator/MoveDeviceWidget";

// Control offsets of the wizard.
enum : int32_t {
  kBox = 0,
  kBegin = 2,
  kResume = 3,
  kCreateReferencesBox = 5,
  kPoint = 7,
  kSphere = 9,
  kCircle = 11,
  kPrevious = 13,
  kReferenceList = 15,
  kUp = 16,
  kDown = 18,
  kDelete = 20,
  kTargetStart = 24,
  kTargetList = 31,
  kPairList = 33,
  kPairDelete = 34,
  kDeviations = 36,
  kExit = 38,
  kNext = 39,
  kDone = 40,
};

std::string key(const std::string& field) {
  return std::string(kGroup) + "/" + field;
}

Matrix4x4 turnAndShift() {
  return Matrix4x4::translation({0.1, 0.2, 0.3}) * Matrix4x4::rotation({0, 0, 1}, M_PI / 6);
}

const std::vector<Vector3> kReferences = {{0, 0, 0}, {0.1, 0, 0}, {0, 0.1, 0}, {0, 0, 0.1}};

void expectNear(const Matrix4x4& actual, const Matrix4x4& expected, double tolerance) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual.m[i], expected.m[i], tolerance) << "element " << i;
}

// A host aligner that answers a mirror image: the fit must refuse it.
class MirroringModifier : public IZelDatumBasedAlignModifier, public ZelUnknownImpl {
 public:
  void setFixedObject(IZelDocObject*) override {}
  void setFloatingObject(IZelDocObject*) override {}
  void setPairs(IZelAlignmentPair* const*, int32_t) override {}
  bool run(int32_t, int32_t, int32_t) override {
    ++runs;
    return true;
  }
  Matrix4x4 resultTransform() override { return Matrix4x4::scaling(1, 1, -1); }
  void report(double&, double&, double&, ZelString* text, int32_t&) override {
    if (text) *text = ZelString(u"mirror");
  }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out)
        .classLeaf("MirroringModifier", this, this)
        .offer<IZelDatumBasedAlignModifier>(this)
        .end();
  }
  const char* className() override { return "MirroringModifier"; }

  int runs = 0;
};

class MoveDeviceTest : public HardProbeCommandTest {
 protected:
  CommandRunner::Start start() {
    CommandRunner::Start started = HardProbeCommandTest::start("PalperaMoveDeviceCmd");
    base_ = dialog().idOf(u":MoveDeviceWidget:Box").value_or(-1000);
    return started;
  }
  HostDataStore& store() { return host_.core().dataStore(); }
  bool press(int32_t control) { return dialog().pressButton(base_ + control); }
  bool enabled(int32_t control) {
    return dialog().control(base_ + control).value_or(DialogControl{}).enabled;
  }
  std::vector<std::string> entries(int32_t control) {
    std::vector<std::string> texts;
    for (const DialogListEntry& entry : dialog().control(base_ + control).value_or(DialogControl{}).entries)
      texts.push_back(platform::toUtf8(entry.text));
    return texts;
  }
  std::string stored(const std::string& field) {
    return platform::toUtf8(store().getString(key(field).c_str()).c_str());
  }
  int32_t state() { return store().getInt(key("State").c_str(), -1); }
  std::string deviationsText() { return platform::toUtf8(dialog().control(base_ + kDeviations)->text); }

  // What the device reports for a raw position: the combined matrix applied, as a device does.
  Vector3 seen(const Vector3& raw) {
    Matrix4x4 combined;
    return Matrix4x4::transformPoint(plugin_->deviceMatrix(combined), raw);
  }
  void sample(const Vector3& p) {
    device_->deliver<IZelHardProbeDataReceiver>([&](IZelHardProbeDataReceiver* r) { r->onPointSampled(p); });
  }
  void stop(const Vector3& p = {}) {
    device_->deliver<IZelHardProbeDataReceiver>([&](IZelHardProbeDataReceiver* r) { r->onPointStop(p); });
  }
  void probePoint(const Vector3& p) {
    sample(p);
    stop(p);
  }
  void probeSphere(const Vector3& centre, double r) {
    for (const Vector3& d : {Vector3(1, 0, 0), Vector3(0, 1, 0), Vector3(0, 0, 1), Vector3(-1, 0, 0)})
      sample(centre + d * r);
    stop(centre);
  }
  // Begin, the points as references in one pass, then Next with the move message answered.
  void probeReferences(const std::vector<Vector3>& raw) {
    ASSERT_TRUE(press(kBegin));
    ASSERT_TRUE(press(kPoint));
    for (const Vector3& p : raw) probePoint(seen(p));
    stop();
    host_.gui().simpleDialog().queueAnswer(1);
    ASSERT_TRUE(press(kNext));
  }
  // The targets, each in the pass the wizard starts for it.
  void probeTargets(const std::vector<Vector3>& raw) {
    for (const Vector3& p : raw) probePoint(seen(p));
  }

  int32_t base_ = 0;
};

TEST_F(MoveDeviceTest, ReferencesAreNumberedByPositionSavedAndNextWaitsForThree) {
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  EXPECT_EQ(platform::toUtf8(plugin_->getName().c_str()), "Hard Probe Emulator");
  ASSERT_TRUE(press(kBegin));
  EXPECT_FALSE(dialog().control(1)->enabled) << "Show Position is off while a run goes on";
  ASSERT_TRUE(press(kPoint));
  EXPECT_FALSE(enabled(kBox)) << "the command disables the wizard while a pass runs";
  probePoint({0, 0, 0});
  probePoint({0.1, 0, 0});
  stop();  // no sample: the pass ends
  EXPECT_TRUE(enabled(kBox));
  EXPECT_FALSE(dialog().control(1)->enabled) << "the run's Sensitivity follows the pass's end";
  EXPECT_EQ(device_->receiverCount(), 0u);
  EXPECT_FALSE(enabled(kNext));
  ASSERT_TRUE(press(kSphere));
  probeSphere({0, 0.2, 0}, 0.01);
  stop();
  EXPECT_EQ(entries(kReferenceList), (std::vector<std::string>{"Point 1", "Point 2", "Sphere Center 3"}));
  EXPECT_EQ(stored("Ref2_Name"), "Sphere Center 3");
  EXPECT_EQ(store().getInt(key("Ref2_Type").c_str(), -1), 9);
  EXPECT_NEAR(store().getDouble(key("Ref2_Y").c_str(), -1), 0.2, 1e-12);
  EXPECT_EQ(state(), 1);
  EXPECT_TRUE(enabled(kNext));

  // Move Up on the first and Move Down on the last change nothing.
  dialog().chooseEntry(base_ + kReferenceList, 0);
  press(kUp);
  dialog().chooseEntry(base_ + kReferenceList, 2);
  press(kDown);
  EXPECT_EQ(entries(kReferenceList), (std::vector<std::string>{"Point 1", "Point 2", "Sphere Center 3"}));
  press(kUp);
  EXPECT_EQ(entries(kReferenceList), (std::vector<std::string>{"Point 1", "Sphere Center 3", "Point 2"}));
  EXPECT_EQ(stored("Ref1_Name"), "Sphere Center 3");

  // The eighth reference ends the pass and closes the type buttons' box.
  ASSERT_TRUE(press(kPoint));
  for (int i = 0; i < 5; ++i) probePoint({0, 0, 0.01 * i});
  EXPECT_EQ(entries(kReferenceList).size(), 8u);
  EXPECT_EQ(device_->receiverCount(), 0u);
  EXPECT_TRUE(enabled(kBox));
  EXPECT_FALSE(enabled(kCreateReferencesBox));
  EXPECT_EQ(stored("Ref7_Name"), "Point 8");
}

TEST_F(MoveDeviceTest, PreviousTargetsAreOfferedFromThreeAndExitAnswersSaveDiscardOrNothing) {
  for (int slot : {0, 1, 2}) {
    store().addGroup("Plugins/Hard Probe Emulator");
    store().addGroup(kGroup);
    store().addStringItem(key("Tar" + std::to_string(slot) + "_Name").c_str(), 256, ZelString(), 3);
    store().setString(nullptr, key("Tar" + std::to_string(slot) + "_Name").c_str(), ZelString(u"Old"));
  }
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  ASSERT_TRUE(press(kBegin));
  EXPECT_TRUE(enabled(kPrevious));
  ASSERT_TRUE(press(kPrevious));
  EXPECT_EQ(entries(kReferenceList).size(), 3u);
  for (int32_t button : {kPoint, kSphere, kCircle, kPrevious}) EXPECT_FALSE(enabled(button)) << button;
  EXPECT_TRUE(enabled(kNext));

  // Any other answer does nothing; 1 keeps the step and offers Resume.
  host_.gui().simpleDialog().queueAnswer(3);
  ASSERT_TRUE(press(kExit));
  EXPECT_EQ(entries(kReferenceList).size(), 3u);
  host_.gui().simpleDialog().queueAnswer(1);
  ASSERT_TRUE(press(kExit));
  EXPECT_TRUE(dialog().control(1)->enabled);
  EXPECT_EQ(state(), 1);
  EXPECT_TRUE(enabled(kResume));
  EXPECT_EQ(stored("Ref2_Name"), "Old");

  // 2 writes back the lists of before the run: the references it made are gone, the targets are back.
  ASSERT_TRUE(press(kResume));
  EXPECT_EQ(entries(kReferenceList).size(), 3u);
  host_.gui().simpleDialog().queueAnswer(2);
  ASSERT_TRUE(press(kExit));
  EXPECT_EQ(state(), 4);
  EXPECT_FALSE(enabled(kResume));
  EXPECT_EQ(stored("Ref0_Name"), "Old") << "the lists as the resumed run began";
  EXPECT_EQ(stored("Tar0_Name"), "");

  // With two previous targets, Previous Targets stays off.
  for (const char* slot : {"Tar0_Name", "Tar1_Name"})
    store().setString(nullptr, key(slot).c_str(), ZelString(u"Old"));
  ASSERT_TRUE(runner_.cancel());
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  ASSERT_TRUE(press(kBegin));
  EXPECT_FALSE(enabled(kPrevious));
}

TEST_F(MoveDeviceTest, ACancelEndsThePassAndEachTargetPassAddsOneTargetWithOneReceiverOnTheDevice) {
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  ASSERT_TRUE(press(kBegin));
  ASSERT_TRUE(press(kPoint));
  device_->deliver<IZelHardProbeDataReceiver>(
      [](IZelHardProbeDataReceiver* r) { r->onCustomEvent(ZelCString("Cancel"), nullptr); });
  EXPECT_TRUE(enabled(kBox)) << "ProbeStop reached the command";
  EXPECT_EQ(device_->receiverCount(), 0u);

  ASSERT_TRUE(press(kPoint));
  for (const Vector3& p : kReferences) probePoint(p);
  stop();
  host_.gui().simpleDialog().queueAnswer(1);
  ASSERT_TRUE(press(kNext));
  for (size_t i = 0; i < kReferences.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(device_->receiverCount(), 1u);
    probePoint(kReferences[i]);
    EXPECT_EQ(entries(kTargetList).size(), i + 1);
  }
  EXPECT_EQ(device_->receiverCount(), 0u);
  EXPECT_TRUE(enabled(kNext));
  ASSERT_TRUE(runner_.cancel());
  EXPECT_EQ(device_->receiverCount(), 0u);
}

// A sphere's stop taken on the surface through its touches cannot tell on which side the air is: the
// collector refuses it, the operator is told why as in "Hard Probe Features", and the pass goes on with its
// touches, so that a stop off the surface makes the sphere.
TEST_F(MoveDeviceTest, AStopTheCollectorRefusesKeepsThePassAndItsTouchesAndSaysWhy) {
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  ASSERT_TRUE(press(kBegin));
  ASSERT_TRUE(press(kSphere));
  device_->deliver<IZelHardProbeDataReceiver>([](IZelHardProbeDataReceiver* r) { r->setProbeRadius(0.003); });
  const Vector3 centre{0.05, 0.05, 0.05};
  for (const Vector3& d : {Vector3(1, 0, 0), Vector3(0, 1, 0), Vector3(0, 0, 1), Vector3(-1, 0, 0)})
    sample(centre + d * 0.01);
  stop(centre + Vector3(0, -1, 0) * 0.01);
  ASSERT_EQ(host_.core().errors().reports().size(), 1u);
  EXPECT_EQ(
      host_.core().errors().reports()[0].message,
      u"Sphere Center was not made: the stop was taken on the surface; lift the probe off the surface and "
      u"stop again. Its points are kept.");
  EXPECT_EQ(device_->receiverCount(), 1u) << "the pass goes on";
  EXPECT_TRUE(entries(kReferenceList).empty());
  stop(centre);
  EXPECT_EQ(entries(kReferenceList).size(), 1u) << "the kept touches make the sphere";
  EXPECT_EQ(device_->receiverCount(), 1u);
}

// A kind no collector probes, as a damaged store may hold: the target before it ends the pass for good.
TEST_F(MoveDeviceTest, ATargetOfAnUnknownKindEndsThePassAndTheTargetsStopThere) {
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  probeReferences({kReferences[0], kReferences[1], kReferences[2]});
  ASSERT_TRUE(runner_.cancel());
  store().setInt(nullptr, key("Ref1_Type").c_str(), 5);
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  ASSERT_TRUE(press(kResume));
  ASSERT_TRUE(press(kTargetStart));
  probePoint(kReferences[0]);
  EXPECT_EQ(entries(kTargetList).size(), 1u);
  EXPECT_TRUE(enabled(kBox)) << "the pass ended";
  EXPECT_EQ(device_->receiverCount(), 0u);
  ASSERT_TRUE(press(kTargetStart));
  EXPECT_TRUE(enabled(kBox));
  EXPECT_EQ(entries(kTargetList).size(), 1u);
}

TEST_F(MoveDeviceTest, DoneSetsTheFitOnTheHardwareAndSavesTheTargetsAsTheNextReferences) {
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  probeReferences(kReferences);
  const Matrix4x4 inverse = Matrix4x4::inverse(turnAndShift());
  std::vector<Vector3> moved;
  for (const Vector3& p : kReferences) moved.push_back(Matrix4x4::transformPoint(inverse, p));
  probeTargets(moved);
  ASSERT_TRUE(press(kNext));
  EXPECT_EQ(entries(kPairList), (std::vector<std::string>{"Pair 1", "Pair 2", "Pair 3", "Pair 4"}));
  const std::u16string deviations = dialog().control(base_ + kDeviations)->text;
  EXPECT_NE(deviations.find(u"RMS: 0.000000 mm"), std::u16string::npos);
  EXPECT_TRUE(enabled(kPairDelete));

  // The refit of the three pairs left is a fresh fit: the first fit's move of the targets does not enter it.
  dialog().chooseEntry(base_ + kPairList, 0);
  ASSERT_TRUE(press(kPairDelete));
  EXPECT_EQ(entries(kPairList).size(), 3u);
  EXPECT_FALSE(enabled(kPairDelete)) << "three pairs must stay";
  ASSERT_TRUE(press(kDone));
  expectNear(plugin_->hardwareMatrix(), turnAndShift(), 1e-9);
  EXPECT_EQ(state(), 4);
  for (int slot = 0; slot < 8; ++slot) EXPECT_EQ(stored("Ref" + std::to_string(slot) + "_Name"), "") << slot;
  for (int slot = 0; slot < 3; ++slot) {
    SCOPED_TRACE(slot);
    const Vector3& reference = kReferences[slot + 1];
    EXPECT_NEAR(store().getDouble(key("Tar" + std::to_string(slot) + "_X").c_str(), 9), reference.x, 1e-9);
    EXPECT_NEAR(store().getDouble(key("Tar" + std::to_string(slot) + "_Y").c_str(), 9), reference.y, 1e-9);
    EXPECT_NEAR(store().getDouble(key("Tar" + std::to_string(slot) + "_Z").c_str(), 9), reference.z, 1e-9);
  }
  // Cancel gives back the hardware matrix of the activation.
  ASSERT_TRUE(runner_.cancel());
  expectNear(plugin_->hardwareMatrix(), Matrix4x4::identity(), 0);
}

// A target probed 5 mm off, the others with the noise of a real arm, and the device away from the identity.
TEST_F(MoveDeviceTest, DeletingABadPairRefitsTheOthersFreshlyWithNoisyTargets) {
  setDeviceTransform(*plugin_, Matrix4x4::translation({0.5, -0.2, 0.1}), nullptr);
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  std::vector<Vector3> read;
  for (const Vector3& p : kReferences) read.push_back(seen(p));
  probeReferences(kReferences);
  const std::vector<Vector3> noise = {
      {0.005, 0, 0}, {8e-6, -5e-6, 3e-6}, {-6e-6, 7e-6, -4e-6}, {5e-6, 6e-6, -8e-6}};
  std::vector<Vector3> rawAfter;
  for (size_t i = 0; i < kReferences.size(); ++i)
    rawAfter.push_back(Matrix4x4::transformPoint(Matrix4x4::inverse(turnAndShift()), kReferences[i]) +
                       noise[i]);
  probeTargets(rawAfter);
  ASSERT_TRUE(press(kNext));
  EXPECT_TRUE(enabled(kDone));
  dialog().chooseEntry(base_ + kPairList, 0);
  ASSERT_TRUE(press(kPairDelete));
  EXPECT_EQ(entries(kPairList).size(), 3u);
  ASSERT_TRUE(press(kDone));
  // Three pairs with 10 um of noise put each good reference back within a few times that.
  for (size_t i = 1; i < kReferences.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_LT((seen(rawAfter[i]) - read[i]).length(), 3e-5);
  }
}

// The references span a plane until the pair off their line is deleted.
const std::vector<Vector3> kOnALineAndOff = {{0, 0, 0}, {0.1, 0, 0}, {0.2, 0, 0}, {0.1, 0.1, 0}};

TEST_F(MoveDeviceTest, AFailedFitKeepsDoneOffSaysWhyAndKeepsTheSavedReferences) {
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  probeReferences(kOnALineAndOff);
  probeTargets(kOnALineAndOff);
  ASSERT_TRUE(press(kNext));
  dialog().chooseEntry(base_ + kPairList, 3);
  ASSERT_TRUE(press(kPairDelete));
  EXPECT_TRUE(entries(kPairList).empty());
  EXPECT_EQ(deviationsText(), "The best fit failed: at least three references not on one line are needed.");
  EXPECT_FALSE(enabled(kDone));
  EXPECT_FALSE(press(kDone));
  EXPECT_EQ(state(), 3);
  for (int slot = 0; slot < 3; ++slot)
    EXPECT_EQ(stored("Ref" + std::to_string(slot) + "_Name"), "Point " + std::to_string(slot + 1));
  expectNear(plugin_->hardwareMatrix(), Matrix4x4::identity(), 0);

  // Exit is offered instead, and saving keeps both lists for a later run.
  host_.gui().simpleDialog().queueAnswer(1);
  ASSERT_TRUE(press(kExit));
  EXPECT_TRUE(enabled(kResume));
  EXPECT_EQ(stored("Ref2_Name"), "Point 3");
  EXPECT_EQ(stored("Tar2_Name"), "Point 3");
}

// The points are probed through hardware x scale: the new hardware matrix must not take the scale twice.
TEST_F(MoveDeviceTest, WithATemperatureScaleAPointOnTheMovedPartReadsWhereItReadBeforeTheMove) {
  setTemperatureScale();
  const Matrix4x4 before = Matrix4x4::translation({0.5, 0.4, 0.3});
  setDeviceTransform(*plugin_, before, nullptr);
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  std::vector<Vector3> raw = {{1, 0, 0}, {1.1, 0, 0}, {1, 0.1, 0}, {1, 0, 0.1}};
  std::vector<Vector3> read;
  for (const Vector3& p : raw) read.push_back(seen(p));
  probeReferences(raw);
  std::vector<Vector3> rawAfter;
  for (const Vector3& p : raw)
    rawAfter.push_back(Matrix4x4::transformPoint(Matrix4x4::inverse(turnAndShift()), p));
  probeTargets(rawAfter);
  ASSERT_TRUE(press(kNext));
  ASSERT_TRUE(press(kDone));
  for (size_t i = 0; i < raw.size(); ++i) {
    SCOPED_TRACE(i);
    const Vector3 now = seen(rawAfter[i]);
    EXPECT_NEAR(now.x, read[i].x, 1e-9);
    EXPECT_NEAR(now.y, read[i].y, 1e-9);
    EXPECT_NEAR(now.z, read[i].z, 1e-9);
  }
  ASSERT_TRUE(runner_.cancel());
  expectNear(plugin_->hardwareMatrix(), before, 0);
}

TEST_F(MoveDeviceTest, AFitTheChecksRefuseOrOneShortOfTargetsNeverReachesTheDevice) {
  IPtr<MirroringModifier> mirror(new MirroringModifier);
  host_.root().setService(IZelDatumBasedAlignModifier::interfaceName,
                          static_cast<IZelDatumBasedAlignModifier*>(mirror.get()));
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  probeReferences(kReferences);
  probeTargets(kReferences);
  ASSERT_TRUE(press(kNext));
  EXPECT_EQ(mirror->runs, 1);
  EXPECT_TRUE(entries(kPairList).empty());
  EXPECT_EQ(deviationsText(), "The best fit failed: the aligner's answer is not a rigid motion.");
  const Matrix4x4 hardware = plugin_->hardwareMatrix();
  EXPECT_FALSE(press(kDone));
  expectNear(plugin_->hardwareMatrix(), hardware, 0);
  host_.gui().simpleDialog().queueAnswer(2);
  ASSERT_TRUE(press(kExit));

  // Resumed at the targets with one target short: the fit fails before the aligner runs.
  ASSERT_TRUE(press(kBegin));
  ASSERT_TRUE(press(kPoint));
  for (const Vector3& p : kReferences) probePoint(p);
  stop();
  host_.gui().simpleDialog().queueAnswer(1);
  ASSERT_TRUE(press(kNext));
  probeTargets({kReferences[0], kReferences[1]});
  ASSERT_TRUE(runner_.cancel());  // deactivation ends the pass of the third target
  EXPECT_EQ(device_->receiverCount(), 0u);
  EXPECT_EQ(state(), 2);
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  ASSERT_TRUE(press(kResume));
  EXPECT_EQ(entries(kTargetList).size(), 2u);
  ASSERT_TRUE(press(kNext));
  EXPECT_EQ(mirror->runs, 1);
  EXPECT_TRUE(entries(kPairList).empty());
  EXPECT_EQ(deviationsText(), "The best fit failed: every reference needs its target.");
  EXPECT_FALSE(enabled(kDone));
  host_.root().setService(IZelDatumBasedAlignModifier::interfaceName, nullptr);
}

TEST_F(MoveDeviceTest, ShowPositionWithTheProbeDrawnFitsTheViewOnceWithoutTheProbe) {
  store().setInt(nullptr, "Palpera/Gfx/ShowProbe", 1);
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  ASSERT_TRUE(dialog().pressButton(1));
  const std::vector<HostGfxDoc::Fit>& fits = host_.document().graphics().fits();
  ASSERT_EQ(fits.size(), 1u);
  EXPECT_FALSE(fits[0].option) << "the view fitted to the scene, the probe left out";
  stop();
  EXPECT_EQ(device_->receiverCount(), 0u);
}

TEST_F(MoveDeviceTest, TouchesSampledForAFeatureAreDrawnWhileItIsProbed) {
  store().setInt(nullptr, "Palpera/Gfx/ShowProbe", 1);
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  ASSERT_TRUE(press(kBegin));
  ASSERT_TRUE(press(kSphere));
  for (const Vector3& p : {Vector3(0.01, 0, 0), Vector3(0, 0.01, 0), Vector3(0, 0, 0.01)}) sample(p);
  IZelPoints* drawn = pointsOf(host_.document().doc().findObject(ZelString(u"Move Device Widget Graphics")));
  ASSERT_TRUE(drawn);
  ASSERT_EQ(drawn->array()->count(), 3);
  EXPECT_EQ(drawn->array()->at(2)[1], 0.01);
  device_->deliver<IZelHardProbeDataReceiver>(
      [](IZelHardProbeDataReceiver* r) { r->onCustomEvent(ZelCString("UndoLastSampled"), nullptr); });
  EXPECT_EQ(drawn->array()->count(), 2);
  stop();
}

TEST_F(MoveDeviceTest, ActivationNeedsAPluginAndAConnectionAndNewTransformWithoutDataIsIgnored) {
  device_->answers.connect = false;
  EXPECT_EQ(start(), CommandRunner::Start::kActivationRefused);
  ASSERT_FALSE(host_.core().errors().reports().empty());
  EXPECT_EQ(host_.core().errors().reports().back().message, u"Unable to connect to hard probe device.");

  device_->answers.connect = true;
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  auto* listener = queryPart<IZelListener>(command_.get());
  ASSERT_NE(listener, nullptr);
  const Matrix4x4 hardware = plugin_->hardwareMatrix();
  listener->onNotify("NewTransform", nullptr, nullptr);
  expectNear(plugin_->hardwareMatrix(), hardware, 0);

  // Show Position: the receiver goes with the stop, and with the command.
  ASSERT_TRUE(dialog().pressButton(1));
  EXPECT_EQ(device_->receiverCount(), 1u);
  EXPECT_FALSE(dialog().control(1)->enabled);
  stop();
  EXPECT_EQ(device_->receiverCount(), 0u);
  EXPECT_TRUE(dialog().control(1)->enabled);
  ASSERT_TRUE(dialog().pressButton(1));
  ASSERT_TRUE(runner_.cancel());
  EXPECT_EQ(device_->receiverCount(), 0u);
  EXPECT_EQ(journal_.back(), "disconnect HardProbe");

  IZelPluginManager* manager = devices_->getManager(ZelCString("HardProbe"));
  ASSERT_TRUE(manager->setActivePlugin(nullptr));
  EXPECT_EQ(start(), CommandRunner::Start::kActivationRefused);
  EXPECT_EQ(host_.core().errors().reports().back().message, u"No plug-ins are installed.");
  EXPECT_EQ(journal_.back(), "disconnect HardProbe") << "the device connected is let go disconnected";
}

// Events a host may still deliver for a button it has just switched off.

class MoveDeviceLateEventTest : public MoveDeviceTest {
 protected:
  // The button's event straight to the receiver it was built with, as the press would deliver it.
  void sendButtonEvent(int32_t control) {
    std::optional<DialogControl> button = dialog().control(base_ + control);
    ASSERT_TRUE(button && button->receiver);
    button->receiver->onGuiEvent(base_ + control, 1);
  }
};

TEST_F(MoveDeviceLateEventTest, DoneAfterAFailedFitChangesNeitherTheReferencesNorTheMatrix) {
  const Matrix4x4 before = turnAndShift();
  setDeviceTransform(*plugin_, before, nullptr);
  ASSERT_EQ(start(), CommandRunner::Start::kStarted);
  probeReferences(kOnALineAndOff);
  probeTargets({{0.5, 0, 0}, {0.6, 0, 0}, {0.7, 0, 0}, {0.6, 0.1, 0}});
  ASSERT_TRUE(press(kNext));
  dialog().chooseEntry(base_ + kPairList, 3);
  ASSERT_TRUE(press(kPairDelete));
  ASSERT_FALSE(enabled(kDone));
  const std::string target = stored("Tar0_Name");
  sendButtonEvent(kDone);
  EXPECT_EQ(state(), 3) << "still at the result";
  for (int slot = 0; slot < 3; ++slot)
    EXPECT_EQ(stored("Ref" + std::to_string(slot) + "_Name"), "Point " + std::to_string(slot + 1));
  expectNear(plugin_->hardwareMatrix(), before, 0);
  EXPECT_EQ(stored("Tar0_Name"), target) << "the targets stay the targets";
}

}  // namespace
