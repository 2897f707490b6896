#include <gtest/gtest.h>

#include "host/document/host_feature_sub_object_mgr.h"
#include "host_api/feature_kinds.h"
#include "probing_run_fixture.h"

namespace {

using Journal = std::vector<std::string>;

// A line run offered "Plane 1" of "TestObject" to pick as its work plane, with a sphere on "RefObject" that
// stays hidden while picking lasts.
class PickingRunTest : public ProbingRunTest {
 protected:
  void SetUp() override {
    ProbingRunTest::SetUp();
    IZelHardProbeCreateFeaturesUtil& planes = started("PlaneCollector");
    sample(kPlaneTips);
    stop(kAbovePlane);
    planes.stopFeature();
    ASSERT_EQ(names(), std::vector<std::u16string>{u"Plane 1"});

    IZelDocObject* reference = addObject(u"RefObject");
    IPtr<IZelSphere> sphere = made<IZelSphere>();
    sphere->setCenter({1, 1, 1});
    sphere->setRadius(.01);
    IZelFeatureSubObjectMgr* manager = getFeatureSubObjectMgr(reference);
    IPtr<IZelFeatureSubObject> shown;
    shown.takeOwnership(manager->createSubObject(sphere.get()));
    queryPart<IZelSubObjectMgr>(manager)->addSubObject(shown.get());
    referenceFeature_ = shown;

    queryPart<IZelSubject>(util_.get())->detach(events_.get());
    util_.release();
    IZelHardProbeCreateFeaturesUtil& lines = util("LineCollector");
    lines.setUsePlane(true);
    ASSERT_TRUE(lines.startFeature());
    radius(.003);
    journal_.clear();
  }
  void TearDown() override {
    referenceFeature_.release();
    ProbingRunTest::TearDown();
  }

  bool referenceHidden() { return referenceFeature_->displayFlag(IZelSubObject::kHiddenDisplayFlag); }
  IZelSubObject* highlighted() {
    return queryPart<HostFeatureSubObjectMgr>(getFeatureSubObjectMgr(target_))->highlighted();
  }
  IZelSubObject* plane1() {
    return queryPart<IZelSubObjectMgr>(getFeatureSubObjectMgr(target_))->subObjectAt(0);
  }
  std::u16string featureName() { return text(store().getString("Palpera/Tile/FeatureName")); }

  IPtr<IZelFeatureSubObject> referenceFeature_;
};

TEST_F(PickingRunTest, OffersThePlaneAndHidesTheOtherObjectsFeatures) {
  EXPECT_EQ(events_->brief, u"Begin probing or select an existing Plane");
  EXPECT_TRUE(referenceHidden());
  EXPECT_EQ(store().getInt("Palpera/Tile/FeatureStatisticsVisible", -1), 0);

  move({.05, .05, .008});
  EXPECT_EQ(highlighted(), plane1()) << "inside the box grown by three radii";
  move({.05, .05, .5});
  EXPECT_EQ(highlighted(), nullptr);
}

TEST_F(PickingRunTest, ASampleInsideTheBoxPicksThePlaneAsTheLinesWorkPlane) {
  sample({.05, .05, .008});
  EXPECT_EQ(featureName(), u"Line") << "the work plane is done";
  EXPECT_FALSE(referenceHidden());
  EXPECT_EQ(names(), std::vector<std::u16string>{u"Plane 1"});
  EXPECT_EQ(pointsTaken(), 0);
  EXPECT_FALSE(events_->pickedOffered);
  EXPECT_EQ(device_->receiverCount(), 1u);

  sample({{.01, .02, .001}, {.09, .02, .001}});
  stop({.05, -.05, .001});
  EXPECT_EQ(names(), (std::vector<std::u16string>{u"Plane 1", u"Line 1"}));
}

TEST_F(PickingRunTest, TheSampledPointDecidesNotTheLastHighlight) {
  move({.05, .05, .008});
  ASSERT_EQ(highlighted(), plane1());
  sample({.5, .5, .5});
  EXPECT_EQ(featureName(), u"Line (Plane)") << "nothing picked: the work plane is being probed";
  EXPECT_EQ(pointsTaken(), 1) << "the point is the new feature's first";
  EXPECT_EQ(highlighted(), nullptr);
  EXPECT_FALSE(referenceHidden()) << "picking is over";
}

TEST_F(PickingRunTest, ALonePointAndAStopOnThePickedPlanesLineOfferPickingAgain) {
  sample({.05, .05, .008});
  ASSERT_EQ(featureName(), u"Line");
  ASSERT_FALSE(referenceHidden());
  events_->brief.clear();
  sample({.02, 0, .001});
  stop({.02, -.05, .001});
  EXPECT_EQ(device_->receiverCount(), 1u);
  EXPECT_EQ(featureName(), u"Line (Plane)");
  EXPECT_EQ(events_->brief, u"Begin probing or select an existing Plane");
  EXPECT_TRUE(referenceHidden()) << "recorded afresh, as picking is offered again";
  sample({.05, .05, .008});
  EXPECT_EQ(featureName(), u"Line");
  EXPECT_FALSE(referenceHidden());
}

// The lone point is the first of the line's work plane: the stop keeps the run and says what is missing.
TEST_F(PickingRunTest, ALonePointAndAStopKeepTheRunAndSayWhatIsMissing) {
  sample({.5, .5, .5});
  heard();
  stop({.5, .5, .6});
  EXPECT_EQ(heard(), Journal{});
  EXPECT_EQ(device_->receiverCount(), 1u);
  EXPECT_EQ(errors(), std::vector<std::u16string>{
                          u"Line (Plane) was not made: 2 more points are needed. Its points are kept."});
  EXPECT_TRUE(names() == std::vector<std::u16string>{u"Plane 1"});
}

TEST_F(PickingRunTest, AStopPointWhilePickingEndsTheRun) {
  stop({.05, .05, .5});
  EXPECT_EQ(heard(),
            (Journal{"removeReceiver HardProbe", "stop HardProbe", "UserInstructions", "ProbeStop"}));
  EXPECT_FALSE(referenceHidden());
}

TEST_F(PickingRunTest, AWorkPlaneGivenIsTakenAtOnceAndNothingIsPicked) {
  util_->stopFeature();
  IZelHardProbeCreateFeaturesUtil& lines = util("LineCollector");
  lines.setUsePlane(true);
  lines.setWorkPlane(queryPart<IZelPlane>(queryPart<IZelFeatureSubObject>(plane1())->feature()));
  events_->brief.clear();
  ASSERT_TRUE(lines.startFeature());
  EXPECT_EQ(featureName(), u"Line");
  EXPECT_EQ(events_->brief, u"");
  EXPECT_FALSE(referenceHidden());
  EXPECT_TRUE(events_->instructions) << "the collector's own instructions show at once";
}

TEST_F(PickingRunTest, APickedFeatureTheCollectorRefusesIsOfferedAndEndsTheRunUnlessTaken) {
  for (bool taken : {false, true}) {
    SCOPED_TRACE(taken ? "taken" : "left");
    util_->stopFeature();
    IZelHardProbeCreateFeaturesUtil& planes = util("PlaneCollector");
    planes.setUsePlane(true);
    ASSERT_TRUE(planes.startFeature());
    radius(.003);
    events_->takePicked = taken;
    events_->pickedOffered = false;
    heard();
    sample({.05, .05, .001});
    EXPECT_TRUE(events_->pickedOffered);
    EXPECT_EQ(std::ranges::count(heard(), "ProbeStop"), taken ? 0 : 1);
    EXPECT_EQ(device_->receiverCount(), taken ? 1u : 0u);
    EXPECT_EQ(names(), std::vector<std::u16string>{u"Plane 1"});
  }
}

}  // namespace
