#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <optional>
#include <random>
#include <vector>

#include "basic_types/matrix4x4.h"
#include "features/compensated_points.h"
#include "framework/object/query_part.h"
#include "host_api/feature_kinds.h"
#include "host_api/parameters.h"
#include "probing_run_fixture.h"

namespace {

using Journal = std::vector<std::string>;

// The compensated points the feature's probing record holds.
Points compensatedPoints(IZelFeature* feature) {
  auto* record = queryPart<IZelParameterTable>(feature->getParameter(ZelString(u"<ProbeConstruction>")));
  auto* table =
      record ? queryPart<IZelParameterTable>(record->getParameter(ZelString(u"<Parameters>"))) : nullptr;
  auto* points =
      table ? queryPart<IZelVectorsValue>(table->getParameter(ZelString(u"<CompensatedPoints>"))) : nullptr;
  Points found;
  Vector3 p;
  for (int32_t i = 1; points && points->vectorAt(i, p); ++i) found.push_back(p);
  return found;
}

TEST_F(ProbingRunTest, APlaneIsAddedToTheTargetUnderItsRunningNumberAndTheNextOneFollows) {
  started("PlaneCollector");
  EXPECT_EQ(brief(), u"Probe points on the plane");
  EXPECT_EQ(pointsRequired(), 3);
  sample(kPlaneTips[0]);
  EXPECT_EQ(pointsTaken(), 1);
  sample(kPlaneTips[1]);
  EXPECT_EQ(pointsTaken(), 2);
  EXPECT_EQ(brief(), u"Probe points on the plane");
  sample(kPlaneTips[2]);
  EXPECT_EQ(brief(), u"Probe points on the plane or define the offset direction to finish");
  heard();
  stop(kAbovePlane);

  EXPECT_EQ(names(), std::vector<std::u16string>{u"Plane 1"});
  EXPECT_EQ(heard(), Journal{"NewFeature"});
  auto* plane = queryPart<IZelPlane>(featureAt(0));
  ASSERT_TRUE(plane);
  EXPECT_NEAR(plane->center().z, 0, 1e-12);
  EXPECT_NEAR(plane->normal().z, 1, 1e-12);
  const Points compensated = compensatedPoints(featureAt(0));
  ASSERT_EQ(compensated.size(), 3u);
  for (const Vector3& p : compensated) EXPECT_NEAR(p.z, 0, 1e-12);
  EXPECT_EQ(util_->lastSubObject()->name().c_str(), std::u16string(u"Plane 1"));

  sample(kPlaneTips);
  stop(kAbovePlane);
  EXPECT_EQ(names(), (std::vector<std::u16string>{u"Plane 1", u"Plane 2"}));
  EXPECT_EQ(device_->receiverCount(), 1u);
}

// The touches come down onto the face as an arm's do, before any stop: the trial fit takes no side, so the
// stop it does not have yet (the origin, below the face) cannot refuse it.
TEST_F(ProbingRunTest, LiveStatisticsComeFromATrialFitThroughTheTipCentresAndLeaveTheRadius) {
  started("PlaneCollector");
  const auto touch = [this](const Vector3& tip) {
    move(tip);
    sample(tip);
  };
  const std::vector<double> none{kNoValue, kNoValue, kNoValue};
  EXPECT_EQ(statistics(), none);
  touch(kPlaneTips[0]);
  touch(kPlaneTips[1]);
  EXPECT_EQ(statistics(), none) << "two points make no plane";

  touch(kPlaneTips[2]);
  for (double value : statistics()) EXPECT_LT(std::fabs(value), 1e-9);
  EXPECT_TRUE(names().empty()) << "the trial feature is never added";

  stop(kAbovePlane);
  ASSERT_EQ(names().size(), 1u);
  EXPECT_NEAR(queryPart<IZelPlane>(featureAt(0))->center().z, 0, 1e-12) << "compensated by the radius again";
  for (double value : statistics())
    EXPECT_LT(std::fabs(value), 1e-9) << "the made plane's, until the next touch";
  touch(kPlaneTips[0]);
  EXPECT_EQ(statistics(), none) << "one point of the next feature makes no plane";
}

// One acquisition of thousands of touches (a scan of a face, 10 µm of noise): the trial fit behind the live
// statistics runs through every point taken, so refitting at every touch made the run's cost grow with the
// square of its touches. While the points are few the statistics follow every touch; beyond that they are
// refitted whenever the points have grown by a thirtysecond, and never trail further. The plane made at the
// stop runs through every touch.
TEST_F(ProbingRunTest, ALongAcquisitionRefitsItsStatisticsAtABoundedRateAndItsPlaneTakesEveryTouch) {
  started("PlaneCollector");
  std::mt19937_64 rng(3);
  std::uniform_real_distribution<double> across(0.0, 0.1);
  std::normal_distribution<double> noise(0.0, 10e-6);
  constexpr int kTouches = 3000;
  int refits = 0;
  int lastRefit = 0;
  std::vector<double> shown = statistics();
  for (int touch = 1; touch <= kTouches; ++touch) {
    sample(Vector3{across(rng), across(rng), .001 + noise(rng)});
    if (statistics() != shown) {
      shown = statistics();
      ++refits;
      lastRefit = touch;
    }
    if (touch < 3) continue;  // no plane yet
    if (touch <= 128) {
      ASSERT_EQ(lastRefit, touch) << "a few points: every touch refits";
    }
    ASSERT_LE(touch - lastRefit, touch / 32) << "the statistics trail touch " << touch << " too far";
  }
  EXPECT_LT(refits, 300) << "one refit per touch fits the square of the touches";
  stop(kAbovePlane);
  ASSERT_EQ(names().size(), 1u);
  std::optional<PointList> compensated = getCompensatedPoints(featureAt(0));
  ASSERT_TRUE(compensated);
  EXPECT_EQ(compensated->size(), static_cast<size_t>(kTouches));
  EXPECT_NEAR(queryPart<IZelPlane>(featureAt(0))->center().z, 0, 2e-6);
}

// A face touched as an arm touches it, each touch with the probe's axis pushing into the material and 10 µm
// of noise, one plane after another in a run, the part at the identity and turned and shifted: a stop taken
// in the material, which would compensate the plane out into the air, is refused and keeps the touches; a
// stop lifted off the face then makes the face, its normal out of the material.
TEST_F(ProbingRunTest, APlaneWhoseStopLiesWhereItsTouchesPushedIsRefusedInEveryPose) {
  started("PlaneCollector");
  std::mt19937_64 rng(11);
  std::normal_distribution<double> noise(0.0, 10e-6);
  const Matrix4x4 poses[] = {Matrix4x4(), Matrix4x4::translation({.3, -.2, .1}) *
                                              Matrix4x4::rotation(Vector3(1, 2, 3).normalized(), 2.1)};
  const std::u16string refused =
      u"Plane was not made: the stop lies on the other side of the plane than every touch came from; lift "
      u"the probe off along its approach and stop again. Its points are kept.";
  for (size_t i = 0; i < std::size(poses); ++i) {
    SCOPED_TRACE(i);
    const Matrix4x4& pose = poses[i];
    for (const Vector3& tip :
         {Vector3{0, 0, .001}, {.1, 0, .001}, {0, .1, .001}, {.1, .1, .001}, {.05, .02, .001}}) {
      const Vector3 touched = Matrix4x4::transformPoint(pose, tip + Vector3{0, 0, noise(rng)});
      move(touched, Matrix4x4::transformVector(pose, {0, 0, -1}));
      sample(touched);
    }
    stop(Matrix4x4::transformPoint(pose, {.05, .05, -.01}));
    ASSERT_EQ(names().size(), i);
    EXPECT_EQ(errors().size(), i + 1);
    EXPECT_EQ(errors().back(), refused);
    EXPECT_EQ(pointsTaken(), 5);

    stop(Matrix4x4::transformPoint(pose, kAbovePlane));
    ASSERT_EQ(names().size(), i + 1);
    auto* plane = queryPart<IZelPlane>(featureAt(static_cast<int32_t>(i)));
    ASSERT_TRUE(plane);
    const Matrix4x4 toPart = Matrix4x4::inverse(pose);
    EXPECT_NEAR(Matrix4x4::transformVector(toPart, plane->normal()).z, 1, 1e-6);
    EXPECT_NEAR(Matrix4x4::transformPoint(toPart, plane->center()).z, 0, 3e-5);
  }
}

// A stop the collector cannot make a feature from keeps the run and its points, and says why; the operator
// adds a point and stops again. Only a stop with no point taken ends the run.
TEST_F(ProbingRunTest, ARefusedStopKeepsTheRunAndItsPointsAndOnlyAStopWithoutPointsEndsIt) {
  started("PlaneCollector");
  sample({kPlaneTips[0], kPlaneTips[1]});
  heard();
  stop(kAbovePlane);
  stop(kAbovePlane);  // a second press, or a bouncing button
  EXPECT_EQ(heard(), Journal{});
  EXPECT_EQ(device_->receiverCount(), 1u);
  EXPECT_EQ(errors(), std::vector<std::u16string>(
                          2, u"Plane was not made: 1 more point is needed. Its points are kept."));
  EXPECT_EQ(pointsTaken(), 2);

  sample(kPlaneTips[2]);
  stop(kAbovePlane);
  ASSERT_EQ(names(), std::vector<std::u16string>{u"Plane 1"});
  EXPECT_NEAR(queryPart<IZelPlane>(featureAt(0))->center().z, 0, 1e-12);
  heard();
  stop(kAbovePlane);
  EXPECT_EQ(heard(),
            (Journal{"removeReceiver HardProbe", "stop HardProbe", "UserInstructions", "ProbeStop"}));
  EXPECT_EQ(device_->receiverCount(), 0u);
  EXPECT_EQ(errors().size(), 2u);
}

TEST_F(ProbingRunTest, StopFeatureEndsTheRunAndTheDeviceLetsGo) {
  IZelHardProbeCreateFeaturesUtil& run = started("PlaneCollector");
  sample(kPlaneTips[0]);
  heard();
  EXPECT_TRUE(run.stopFeature());
  EXPECT_EQ(heard(),
            (Journal{"removeReceiver HardProbe", "stop HardProbe", "UserInstructions", "ProbeStop"}));
  EXPECT_EQ(device_->receiverCount(), 0u);
}

TEST_F(ProbingRunTest, TheProbeShowsWhileTheRunLastsWhenTheSettingAsks) {
  store().setInt(nullptr, "Palpera/Gfx/ShowProbe", 1);
  IZelHardProbeCreateFeaturesUtil& run = started("PlaneCollector");
  EXPECT_EQ(device_->receiverCount(), 2u) << "the relay and the probe graphics";
  run.stopFeature();
  EXPECT_EQ(device_->receiverCount(), 0u);
}

TEST_F(ProbingRunTest, AUtilityLetGoMidRunLeavesTheDeviceStopped) {
  started("PlaneCollector");
  sample(kPlaneTips[0]);
  heard();
  queryPart<IZelSubject>(util_.get())->detach(events_.get());
  util_.release();
  EXPECT_EQ(heard(), (Journal{"removeReceiver HardProbe", "stop HardProbe"}));
  EXPECT_EQ(device_->receiverCount(), 0u);
}

TEST_F(ProbingRunTest, UndoTakesBackThePointThenTheFeatureAndItsNumber) {
  for (bool fromDevice : {false, true}) {
    SCOPED_TRACE(fromDevice ? "the device's UndoLastSampled" : "undoLastSampled");
    auto undo = [&] { fromDevice ? event("UndoLastSampled") : util_->undoLastSampled(); };
    IZelHardProbeCreateFeaturesUtil& run = started("PlaneCollector");
    sample(kPlaneTips);
    undo();
    EXPECT_EQ(pointsTaken(), 2);
    EXPECT_EQ(brief(), u"Probe points on the plane");
    sample(kPlaneTips[2]);
    stop(kAbovePlane);
    ASSERT_EQ(names(), std::vector<std::u16string>{u"Plane 1"});

    undo();
    EXPECT_TRUE(names().empty());
    EXPECT_EQ(run.lastSubObject(), nullptr);
    undo();
    EXPECT_TRUE(names().empty()) << "nothing left to remove";
    sample(kPlaneTips);
    stop(kAbovePlane);
    EXPECT_EQ(names(), std::vector<std::u16string>{u"Plane 1"}) << "its number was given back";
    undo();
    run.stopFeature();
  }
}

TEST_F(ProbingRunTest, UndoingAMatchedFeatureGivesBackNoNumberItNeverTook) {
  store().setInt(nullptr, "Palpera/FeatureMatching/Enable", 1);
  IZelDocObject* reference = addObject(u"RefObject");
  IPtr<IZelPlane> datum = made<IZelPlane>();
  datum->setPlane({.05, .05, .5}, {0, 0, 1}, {}, 0, 0);
  IZelFeatureSubObjectMgr* manager = getFeatureSubObjectMgr(reference);
  IPtr<IZelFeatureSubObject> shown;
  shown.takeOwnership(manager->createSubObject(datum.get()));
  shown->setName(ZelString(u"Datum A"));
  queryPart<IZelSubObjectMgr>(manager)->addSubObject(shown.get());

  started("PlaneCollector");
  sample(kPlaneTips);
  stop(kAbovePlane);
  const Points raised = {{0, 0, .501}, {.1, 0, .501}, {0, .1, .501}};
  sample(raised);
  stop({.05, .05, .6});
  ASSERT_EQ(names(), (std::vector<std::u16string>{u"Plane 1", u"Datum A"}));
  util_->undoLastSampled();
  sample(kPlaneTips);
  stop(kAbovePlane);
  EXPECT_EQ(names(), (std::vector<std::u16string>{u"Plane 1", u"Plane 2"}));
}

TEST_F(ProbingRunTest, ALonePointAndAStopOnTheLineStartTheLineAndItsWorkPlaneAfresh) {
  started("LineCollector");
  EXPECT_EQ(text(store().getString("Palpera/Tile/FeatureName")), u"Line (Plane)");
  sample(kPlaneTips);
  stop(kAbovePlane);
  EXPECT_EQ(text(store().getString("Palpera/Tile/FeatureName")), u"Line");
  heard();
  sample({.02, .0, .001});
  stop({.02, -.05, .001});
  const Journal journal = heard();
  EXPECT_EQ(std::ranges::count(journal, "ProbeStop"), 0);
  EXPECT_EQ(device_->receiverCount(), 1u);
  EXPECT_EQ(text(store().getString("Palpera/Tile/FeatureName")), u"Line (Plane)");
  EXPECT_TRUE(names().empty());
}

TEST_F(ProbingRunTest, AFailedStartEndsTheRunAndSaysNothingAfterProbeStop) {
  device_->answers.start = false;
  IZelHardProbeCreateFeaturesUtil& run = util("PlaneCollector");
  journal_.clear();
  EXPECT_FALSE(run.startFeature());
  EXPECT_EQ(heard(), (Journal{"ProbeStart", "addReceiver HardProbe", "start HardProbe",
                              "removeReceiver HardProbe", "UserInstructions", "ProbeStop"}));
  EXPECT_EQ(device_->receiverCount(), 0u);
}

TEST_F(ProbingRunTest, ACollectorThatCannotBeMadeIsReportedAndNothingStarts) {
  IZelHardProbeCreateFeaturesUtil& run = util("PlaneCollector");
  run.setCollectorClassId(classIdOf("HardProbePlaneCreator"));
  journal_.clear();
  EXPECT_FALSE(run.startFeature());
  EXPECT_EQ(errors(), std::vector<std::u16string>{u"Not implemented"});
  EXPECT_TRUE(heard().empty());
}

TEST_F(ProbingRunTest, AFeatureTheTargetCannotTakeIsReportedAndNotAnnounced) {
  IZelHardProbeCreateFeaturesUtil& run = util("PlaneCollector");
  run.setTargetObject(nullptr);
  ASSERT_TRUE(run.startFeature());
  sample(kPlaneTips);
  journal_.clear();
  stop(kAbovePlane);
  EXPECT_EQ(std::ranges::count(heard(), "NewFeature"), 0);
  EXPECT_EQ(errors(), std::vector<std::u16string>{u"The probed feature could not be added to the document."});
  EXPECT_EQ(device_->receiverCount(), 1u) << "the run goes on";
}

TEST_F(ProbingRunTest, ADeviceErrorEndsTheRunWithItsMessageAndTheTouchesItLetsGo) {
  started("PlaneCollector");
  sample(kPlaneTips[0]);
  heard();
  event("Error");
  EXPECT_EQ(heard(),
            (Journal{"removeReceiver HardProbe", "stop HardProbe", "UserInstructions", "ProbeStop"}));
  EXPECT_EQ(errors(), (std::vector<std::u16string>{
                          u"An error occurred during data acquisition.",
                          u"1 touch was not made into a feature: the device failed before the stop."}));
}

TEST_F(ProbingRunTest, AConnectThatFailsIsReported) {
  device_->answers.connect = false;
  IZelHardProbeCreateFeaturesUtil& run = util("PlaneCollector");
  EXPECT_EQ(errors(), std::vector<std::u16string>{u"Unable to connect to hard probe device."});
  EXPECT_FALSE(run.isConnected());
}

// A listener that lets go of the utility as the run ends, as a command may.
class ReleasingListener : public IZelListener, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "ReleasingListener";
  explicit ReleasingListener(IPtr<IZelHardProbeCreateFeaturesUtil>& util) : util_(util) {}
  void onNotify(const char* event, IZelSubject* subject, void*) override {
    if (std::string(event) != "ProbeStop") return;
    subject->detach(this);
    util_.release();
  }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelListener>(this).end();
  }
  const char* className() override { return interfaceName; }

 private:
  IPtr<IZelHardProbeCreateFeaturesUtil>& util_;
};

TEST_F(ProbingRunTest, TheUtilityRelayAndCollectorLetGoInsideTheStopLeaveNothingDangling) {
  for (const char* how : {"stop point", "cancel"}) {
    SCOPED_TRACE(how);
    started("PlaneCollector");
    queryPart<IZelSubject>(util_.get())->detach(events_.get());
    IPtr<ReleasingListener> releasing(new ReleasingListener(util_));
    queryPart<IZelSubject>(util_.get())->attach(releasing.get());
    // A device that holds no reference while it calls: the utility's is the relay's only one.
    IZelHardProbeDataReceiver* relay = nullptr;
    device_->deliver<IZelHardProbeDataReceiver>([&](IZelHardProbeDataReceiver* r) { relay = r; });
    device_->removeReceiver(queryPart<IZelPluginDataReceiver>(relay));
    for (const Vector3& tip : kPlaneTips) relay->onPointSampled(tip);
    if (std::string(how) == "cancel") {
      relay->onCustomEvent(ZelCString("Cancel"), nullptr);
    } else {
      relay->onPointStop(kAbovePlane);  // makes the plane
      ASSERT_TRUE(util_);
      relay->onPointStop(kAbovePlane);  // with no point taken: ends the run
    }
    EXPECT_FALSE(util_);
  }
}

}  // namespace
