#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "collector_fixture.h"
#include "features/collectors/simple_collector.h"
#include "host_api/points.h"

namespace {

using CollectorUndo = CollectorTest;
using CollectorRadius = CollectorTest;
using CollectorChildren = CollectorTest;
using CollectorResults = CollectorTest;

TEST_F(CollectorUndo, WithNothingSampledTheUndoReachesBackToTheLastFeatureOnlyOnce) {
  IPtr<IZelFeatureCollector> plane = collector("PlaneCollector");
  ProbingRun& run = listen(plane);
  DeviceStream device(plane.get());
  device.undo();
  EXPECT_EQ(run.heard(), std::vector<std::string>{"DeleteLastFeature"}) << "fresh: the undo reaches back";

  device.sample(kPlaneTips[0]).sample(kPlaneTips[1]);
  device.undo();
  EXPECT_EQ(run.heard(), std::vector<std::string>{"DeletedPoint"});
  EXPECT_EQ(pointsTaken(), 1);
  EXPECT_EQ(base(plane).sampledPoints(), Points{kPlaneTips[0]});
  device.undo();
  EXPECT_EQ(run.heard(), std::vector<std::string>{"DeletedPoint"});
  device.undo();
  EXPECT_TRUE(run.heard().empty()) << "points were sampled since the reset: the feature before stays";

  plane->reset();
  device.undo();
  EXPECT_EQ(run.heard(), std::vector<std::string>{"DeleteLastFeature"});
}

TEST_F(CollectorUndo, ThePointSinkMirrorsTheSampledPointsThroughUndoAndResetAlsoInChildren) {
  IPtr<RealPArray> sink;
  sink.takeOwnership(made<IRealPArrayFactory>()->createArray(6, 4));
  IPtr<IZelFeatureCollector> line = collector("LineCollector");
  line->setPointSink(sink.get());
  DeviceStream device(line.get());
  device.sample(kPlaneTips[0]).sample(kPlaneTips[1]);
  ASSERT_EQ(sink->count(), 2) << "the plane child fills the same sink";
  EXPECT_EQ(sink->at(2)[0], kPlaneTips[1].x);
  device.undo();
  EXPECT_EQ(sink->count(), 1);
  line->reset();
  EXPECT_EQ(sink->count(), 0);
  device.sample(kPlaneTips[2]);
  EXPECT_EQ(sink->count(), 1) << "the child still has the sink after the reset";
}

TEST_F(CollectorUndo, ErrorAndCancelGoUpAndOtherEventsAreIgnored) {
  IPtr<IZelFeatureCollector> line = collector("LineCollector");
  ProbingRun& run = listen(line);
  DeviceStream(line.get()).event("Error").event("Cancel").event("Whatever").event("undolastsampled");
  EXPECT_EQ(run.heard(), (std::vector<std::string>{"Error", "Cancel"}));
}

TEST_F(CollectorRadius, AFitWithoutRadiusLeavesTheDeviceRadiusAndOneLevelIsKept) {
  IPtr<IZelFeatureCollector> plane = collector("PlaneCollector");
  DeviceStream(plane.get()).radius(.002).sample(kPlaneTips);
  plane->pushProbeRadius(0);
  ASSERT_TRUE(plane->fillCreatorParameters());
  IPtr<IZelFeature> trial = plane->takeFeature();
  plane->popProbeRadius();
  EXPECT_FALSE(plane->takeFeature()) << "the trial feature was taken";
  EXPECT_NEAR(queryPart<IZelPlane>(trial.get())->center().z, .002, 1e-12) << "uncompensated";
  EXPECT_EQ(base(plane).probeRadius(), .002);

  plane->pushProbeRadius(.5);
  plane->pushProbeRadius(0);
  plane->popProbeRadius();
  EXPECT_EQ(base(plane).probeRadius(), .5) << "the second push forgot the first";
  plane->popProbeRadius();
  EXPECT_EQ(base(plane).probeRadius(), 0.0);

  IPtr<IZelFeatureCollector> line = collector("LineCollector");
  DeviceStream(line.get()).radius(.003);
  EXPECT_EQ(base(base(line).children()[0]).probeRadius(), .003) << "the device radius reaches the children";
}

TEST_F(CollectorResults, ResultPointsAreTheCompensatedPointsNumberedFromOne) {
  IPtr<IZelFeatureCollector> plane = collector("PlaneCollector");
  DeviceStream(plane.get()).radius(.002).sample(kPlaneTips).stop(kAbovePlane);
  EXPECT_EQ(plane->resultPointCount(), 0);
  ASSERT_TRUE(plane->fillCreatorParameters());
  ASSERT_EQ(plane->resultPointCount(), 4);
  Vector3 point{7, 7, 7};
  EXPECT_FALSE(plane->resultPoint(0, point));
  EXPECT_FALSE(plane->resultPoint(5, point));
  EXPECT_EQ(point, (Vector3{7, 7, 7}));
  ASSERT_TRUE(plane->resultPoint(4, point));
  EXPECT_NEAR((point - Vector3{.1, .1, 0}).length(), 0, 1e-12);
  plane->reset();
  EXPECT_EQ(plane->resultPointCount(), 0);
  EXPECT_FALSE(plane->takeFeature());
}

TEST_F(CollectorResults, AStopBeforeEnoughPointsIsRefusedAndThePointsStayForTheNextStop) {
  IZelDocObject* target = addObject(u"TestObject");
  IPtr<IZelFeatureCollector> plane = collector("PlaneCollector");
  ProbingRun& run = listen(plane, target);
  DeviceStream device(plane.get());
  device.radius(.002).sample(kPlaneTips[0]).sample(kPlaneTips[1]).stop(kAbovePlane);
  EXPECT_EQ(run.heard(), std::vector<std::string>{"Stop"});
  EXPECT_TRUE(run.added().empty());
  EXPECT_EQ(base(plane).sampledPoints().size(), 2u);
  EXPECT_EQ(plane->resultPointCount(), 0);
  device.sample(kPlaneTips[2]).stop(kAbovePlane);
  EXPECT_EQ(run.addedNames(), std::vector<std::u16string>{u"Plane 1"});
  EXPECT_TRUE(base(plane).sampledPoints().empty()) << "reset for the next plane";
}

// A composite that takes every plane its active child makes and then appends a new plane child for the
// next one, as a collector of an unbounded number of components does.
class GrowingCollector final : public FeatureCollectorBase {
 public:
  static constexpr const char* interfaceName = "GrowingCollector";

  // Points of its own, so it goes on after each plane.
  GrowingCollector() {
    setCreator("HardProbePlaneCreator");
    appendPlaneChild(true);
  }

  bool acceptFeature(IZelFeature* feature) override {
    if (!queryPart<IZelPlane>(feature)) return false;
    ++accepted;
    // Changed while the child that made the plane is still inside its own stop.
    if (replacesFinishedChild) {
      removeLastChild();
      appendPlaneChild(false);
      refreshInfo();
      return true;
    }
    appendPlaneChild(false);
    advanceChild();
    return true;
  }
  bool fillCreatorParameters() override { return false; }
  using FeatureCollectorBase::userInstructions;
  IPtr<IZelUserInstructions> userInstructions(bool) override { return {}; }
  ZelString briefInstructions() override { return ZelString(u"Probe planes"); }
  ZelString appendStopInstruction() override { return ZelString(u"finish"); }

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain chain(name, out);
    chain.classLeaf(interfaceName, this, static_cast<IZelFeatureCollector*>(this));
    offerBases(chain);
  }
  const char* className() override { return interfaceName; }

  int accepted = 0;
  bool replacesFinishedChild = false;

 private:
  void appendPlaneChild(bool restart) {
    IPtr<IZelFeatureCollector> child;
    child.createInstance(classIdOf("PlaneCollector"));
    addChildCollector(child, restart);
  }
};

TEST_F(CollectorChildren, ChildrenAppendedDuringAChildsStopLeaveTheActiveChildSound) {
  IPtr<GrowingCollector> growing(new GrowingCollector);
  IPtr<IZelFeatureCollector> parent(growing.get());
  ProbingRun& run = listen(parent);
  DeviceStream device(parent.get());
  device.radius(.002);
  for (int i = 1; i <= 20; ++i) {
    SCOPED_TRACE(i);
    const Vector3 lift{0, 0, .001 * i};
    for (const Vector3& tip : kPlaneTips) device.sample(tip + lift);
    device.stop(kAbovePlane);
    EXPECT_EQ(growing->accepted, i);
    ASSERT_EQ(growing->children().size(), static_cast<size_t>(i + 1));
    EXPECT_EQ(growing->activeChild().get(), growing->children().back().get()) << "the newest child is active";
    EXPECT_TRUE(base(growing->children()[i - 1]).sampledPoints().empty()) << "the finished child was reset";
    EXPECT_EQ(run.heard(), (std::vector<std::string>{"AddedChildFeature", "UserInstructionsChanged"}));
  }
  device.sample(kPlaneTips[0]);
  EXPECT_EQ(base(growing->children().back()).sampledPoints().size(), 1u);
}

TEST_F(CollectorChildren, AChildDroppedDuringItsOwnStopIsHeldUntilItsStopEnds) {
  IPtr<GrowingCollector> replacing(new GrowingCollector);
  replacing->replacesFinishedChild = true;
  IPtr<IZelFeatureCollector> parent(replacing.get());
  ProbingRun& run = listen(parent);
  DeviceStream device(parent.get());
  for (int i = 1; i <= 3; ++i) {
    SCOPED_TRACE(i);
    IZelFeatureCollector* before = replacing->activeChild().get();
    device.radius(.002).sample(kPlaneTips).stop(kAbovePlane);
    EXPECT_EQ(replacing->accepted, i);
    ASSERT_EQ(replacing->children().size(), 1u);
    EXPECT_NE(replacing->activeChild().get(), before);
    EXPECT_TRUE(base(replacing->activeChild()).sampledPoints().empty());
    EXPECT_EQ(run.heard(), (std::vector<std::string>{"AddedChildFeature", "UserInstructionsChanged"}));
  }
}

TEST_F(CollectorChildren, ANewChildFeatureCarriesTheFeatureAndItsCollectorForAsLongAsItLives) {
  IPtr<IZelFeatureCollector> plane = collector("PlaneCollector");
  IPtr<IZelFeature> feature = planeFeature({0, 0, 0}, {0, 0, 1});
  IPtr<ChildFeatureInfo> info(new ChildFeatureInfo(feature.get(), plane.get()));
  EXPECT_EQ(queryPart<ChildFeatureInfo>(info.get()), info.get());
  EXPECT_TRUE(queryPart<IZelUnknown>(info.get()));
  EXPECT_FALSE(queryPart<IZelFeature>(info.get()));
  const uint32_t held = feature->refCount();
  info.release();
  EXPECT_EQ(feature->refCount(), held - 1);
}

TEST_F(CollectorChildren, ParallelPlanesStopOnceBothComponentsAreHeldWithoutPointsOfTheirOwn) {
  IPtr<IZelFeatureCollector> planes = collector("ParallelPlanesCollector");
  ProbingRun& run = listen(planes);
  ASSERT_EQ(base(planes).children().size(), 2u);
  EXPECT_EQ(featureName(), u"Parallel Planes (Primary Component)");
  EXPECT_EQ(brief(), u"Probe points on the surface");
  EXPECT_FALSE(planes->canFinish()) << "a component first in line cannot finish";

  EXPECT_FALSE(planes->acceptFeature(queryPart<IZelFeature>(made<IZelPoint>().get())));
  ASSERT_TRUE(planes->acceptFeature(planeFeature({0, 0, 0}, {0, 0, 1}).get()));
  EXPECT_EQ(featureName(), u"Parallel Planes (Secondary Component)");
  EXPECT_FALSE(planes->canFinish()) << "behind a component, a component cannot finish either";

  DeviceStream(planes.get()).radius(.002).sample({.05, .05, .02}).stop({.05, .05, 0});
  EXPECT_EQ(run.heard(), std::vector<std::string>{"Stop"});
  EXPECT_TRUE(base(planes).sampledPoints().empty());
  EXPECT_FALSE(planes->fillCreatorParameters()) << "no parallel-planes creator is built yet";

  planes->reset();
  EXPECT_EQ(base(planes).children().size(), 2u);
  EXPECT_EQ(base(planes).activeChild().get(), base(planes).children()[0].get());
  EXPECT_FALSE(queryPart<SimpleCollector>(planes.get())->workPlane()) << "every feature needs a new plane";
  EXPECT_TRUE(planes->acceptFeature(planeFeature({0, 0, 0}, {0, 0, 1}).get()));
}

}  // namespace

namespace {

TEST_F(CollectorChildren, ParallelPlanesProbedThroughTheirComponentsMakeTheGapBetweenTheFaces) {
  IZelDocObject* target = addObject(u"TestObject");
  IPtr<IZelFeatureCollector> planes = collector("ParallelPlanesCollector");
  ProbingRun& run = listen(planes, target);
  DeviceStream device(planes.get());
  device.radius(.002);
  // A slot between the faces x = 0 and x = 0.02: three tips on the first face, one on the other.
  const Points primaryTips = {{.002, 0, 0}, {.002, .03, 0}, {.002, 0, .03}};
  for (int round = 1; round <= 2; ++round) {
    SCOPED_TRACE(round);
    device.sample(primaryTips).stop({.01, .01, .01});
    EXPECT_EQ(run.heard(), (std::vector<std::string>{"AddedChildFeature", "UserInstructionsChanged"}));
    EXPECT_EQ(featureName(), u"Parallel Planes (Secondary Component)");
    device.sample({.018, .01, .01}).stop({.01, .01, .01});
    EXPECT_EQ(run.heard(), std::vector<std::string>{"Stop"});
    ASSERT_EQ(run.added().size(), static_cast<size_t>(round));
    IZelFeature* made = run.addedFeature(static_cast<size_t>(round - 1));
    EXPECT_EQ(keysOf(recordedParameters(made)),
              (std::vector<std::u16string>{u"<ProbeRadius>", u"<ChildFeatures>", u"<CompensatedPoints>"}));
    auto* gap = queryPart<IZelParallelPlanes>(made);
    ASSERT_TRUE(gap);
    EXPECT_EQ(gap->solidity(), 2);
    Vector3 midPoint, normal, reference, low, high;
    double distance = 0;
    gap->planes(midPoint, normal, reference, distance, low, high);
    EXPECT_NEAR(distance, .02, 1e-12);
    EXPECT_NEAR(midPoint.x, .01, 1e-12);
    EXPECT_EQ(featureName(), u"Parallel Planes (Primary Component)") << "every feature probes a new plane";
  }
}

using CollectorApproach = CollectorTest;

// Each touch keeps the direction of the device's last move before it, none after a touch or a stop, and an
// undone touch's goes with it: a hole's rim touched outwards and stopped beside it, above the touches, is
// made from the touches that tell, a touch without a move of its own telling nothing. The work plane of a
// circle, a slot and parallel planes hears the moves too.
TEST_F(CollectorApproach, EachTouchKeepsTheDirectionOfItsOwnMoveInTheCollectorThatTakesIt) {
  // Tips of a 4 mm ball 3 mm down in a hole of radius 0.01 in the face z = 0, and their outward directions.
  const auto out = [](int i) { return Vector3(std::cos(i * 1.5), std::sin(i * 1.5), 0); };
  const auto tip = [&](int i) { return out(i) * .008 + Vector3(0, 0, -.003); };
  const Vector3 beside{.02, 0, .005};
  const struct {
    const char* name;
    std::function<void(DeviceStream&)> touches;
    size_t made;
  } rims[] = {
      {"a touch straight after a touch", [&](DeviceStream& d) { d.sample(tip(0)).sample(tip(4)); }, 1},
      {"a touch straight after a stop", [&](DeviceStream& d) { d.stop(beside).sample(tip(0)); }, 1},
      {"a stray touch undone", [&](DeviceStream& d) { d.sample(tip(0)).move(beside).sample(beside).undo(); },
       1},
  };
  for (const auto& c : rims) {
    SCOPED_TRACE(c.name);
    IPtr<IZelFeatureCollector> circle = collector("CircleCollector");
    ASSERT_TRUE(circle->acceptFeature(planeFeature({0, 0, 0}, {0, 0, 1}).get()));
    ProbingRun& run = listen(circle, addObject(u"TestObject"));
    DeviceStream device(circle.get());
    c.touches(device.radius(.002).move(tip(0), out(0)));
    for (int i = 1; i < 4; ++i) device.move(tip(i), out(i)).sample(tip(i));
    device.stop(beside);
    ASSERT_EQ(run.added().size(), c.made) << testing::PrintToString(text(circle->refusal()));
    if (c.made) {
      EXPECT_NEAR(featureOfKind<IZelArc>(run.addedFeature(0))->radius(), .01, 1e-9);
    }
  }
  for (const char* composite : {"CircleCollector", "OvalSlotCollector", "ParallelPlanesCollector"}) {
    IPtr<IZelFeatureCollector> probed = collector(composite);
    DeviceStream device(probed.get());
    for (const Vector3& at : kPlaneTips) device.radius(.002).move(at).sample(at);
    device.stop({.05, .05, -.05});
    EXPECT_NE(text(probed->refusal()).find(u"lies on the other side of the "), std::u16string::npos)
        << composite << testing::PrintToString(text(probed->refusal()));
  }
}

}  // namespace
