#include <gtest/gtest.h>

#include "collector_fixture.h"
#include "features/collectors/circle_collectors.h"
#include "support/point_ring.h"
#include "tests/features/probe_ball.h"

namespace {

using PointCircle = CollectorTest;
using BoltPattern = CollectorTest;

// The bolt holes of radius 5 mm on a bolt circle of radius 50 mm about the origin, in the z = 0 plane.
Vector3 boltCentre(int k) {
  return {.05 * std::cos(k * M_PI / 2), .05 * std::sin(k * M_PI / 2), 0};
}
// Tip centres 3 mm below the face, touching hole k's wall.
Points boltTips(int k) {
  return ring(boltCentre(k) + Vector3{0, 0, -.003}, kUp, .005 - kProbe, 4, .3);
}

// Checks the child circles a bolt pattern's record names: "<Feature1>" .. in order, about those centres.
void expectRecordedBolts(IZelFeature* pattern, const std::vector<int>& holes) {
  IZelParameterTable* table = recordedParameters(pattern);
  auto* children =
      table ? queryPart<IZelParameterTable>(table->getParameter(ZelString(u"<ChildFeatures>"))) : nullptr;
  ASSERT_TRUE(children);
  ASSERT_EQ(children->count(), static_cast<int32_t>(holes.size()));
  for (int32_t i = 1; i <= children->count(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(text(children->nameAt(i)), u"<Feature" + text(ZelString::number(i)) + u">");
    auto* embedded = queryPart<IZelEmbeddedFeatureParameter>(children->parameterAt(i));
    auto* circle = embedded ? queryPart<IZelArc>(embedded->feature()) : nullptr;
    ASSERT_TRUE(circle);
    expectClose(circle->center(), boltCentre(holes[static_cast<size_t>(i - 1)]));
  }
}

TEST_F(PointCircle, WithThePlaneHeldEveryPointStopsAtOnceAndIsItsOwnStopPoint) {
  IPtr<IZelFeatureCollector> circle = collector("PointCircleCollector");
  ProbingRun& run = listen(circle);
  DeviceStream device(circle.get());
  device.radius(kProbe).sample(kPlaneTips[0]);
  EXPECT_TRUE(run.heard().empty()) << "a point of the work plane is no hole";
  device.sample({kPlaneTips.begin() + 1, kPlaneTips.end()}).stop(kAbovePlane);
  EXPECT_EQ(run.heard(), (std::vector<std::string>{"AddedChildFeature", "UserInstructionsChanged"}));
  EXPECT_EQ(brief(), u"Place the probe in the hole and probe a point or finish");

  const Vector3 tip{.03, .02, .001};
  device.sample(tip);
  EXPECT_EQ(run.heard(), std::vector<std::string>{"Stop"});
  EXPECT_EQ(base(circle).sampledPoints(), Points{tip});
  EXPECT_EQ(base(circle).stopPoint(), tip);
  ASSERT_TRUE(circle->fillCreatorParameters());
  IPtr<IZelFeature> made = circle->takeFeature();
  EXPECT_EQ(keysOf(recordedParameters(made.get())),
            (std::vector<std::u16string>{u"<SampledPoints>", u"<ProbeRadius>", u"<WorkPlane>",
                                         u"<CompensatedPoints>"}));
  auto* rim = queryPart<IZelArc>(made.get());
  ASSERT_TRUE(rim);
  expectClose(rim->center(), {.03, .02, 0});
  EXPECT_NEAR(rim->radius(), std::sqrt(kProbe * kProbe - .001 * .001), 1e-12)
      << "where the ball meets the face";
}

TEST_F(PointCircle, EachPointInAHoleIsOneCircleInTheKeptPlane) {
  IZelDocObject* target = addObject(u"TestObject");
  IPtr<IZelFeatureCollector> circle = collector("PointCircleCollector");
  ProbingRun& run = listen(circle, target);
  ASSERT_TRUE(circle->acceptFeature(planeFeature({0, 0, 0}, kUp).get()));
  DeviceStream(circle.get()).radius(kProbe).sample({{.01, 0, .001}, {.02, 0, .001}, {.03, 0, .001}});
  EXPECT_EQ(run.addedNames(), (std::vector<std::u16string>{u"Circle 1", u"Circle 2", u"Circle 3"}));
  EXPECT_TRUE(base(circle).sampledPoints().empty());
}

TEST_F(BoltPattern, AnnouncesEachBoltCircleAsThePatternsAndFillsThemInProbingOrder) {
  IZelDocObject* target = addObject(u"TestObject");
  IPtr<IZelFeatureCollector> pattern = collector("BoltPatternCircleCollector");
  auto& bolts = *queryPart<BoltPatternCircleCollector>(pattern.get());
  ProbingRun& run = listen(pattern, target);
  EXPECT_EQ(featureName(), u"Circle (Plane)");
  EXPECT_EQ(text(bolts.briefInstructions()), u"Probe points on the circle");
  ASSERT_EQ(bolts.children().size(), 2u);

  DeviceStream device(pattern.get());
  device.radius(kProbe).sample(kPlaneTips).stop(kAbovePlane);
  EXPECT_EQ(run.heard(), (std::vector<std::string>{"AddedChildFeature", "UserInstructionsChanged"}));
  ASSERT_EQ(bolts.children().size(), 3u);
  EXPECT_EQ(bolts.activeChild().get(), bolts.children()[1].get());
  EXPECT_EQ(featureName(), u"Circle (Bolt)");
  EXPECT_EQ(brief(), u"Probe points on a bolt or circle");
  EXPECT_STREQ(bolts.activeChild()->className(), "CircleCollector");
  EXPECT_TRUE(queryPart<CircleCollector>(bolts.activeChild().get()));
  IZelPlane* workPlane = bolts.workPlane();
  ASSERT_TRUE(workPlane);

  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(k);
    device.sample(boltTips(k)).stop(boltCentre(k));
    EXPECT_EQ(run.heard(),
              (std::vector<std::string>{"NewChildFeature", "AddedChildFeature", "UserInstructionsChanged"}));
    ASSERT_EQ(run.announced().size(), static_cast<size_t>(k + 1));
    const ProbingRun::Announced& announced = run.announced().back();
    EXPECT_EQ(announced.typeName, text(pattern->typeName())) << "named as the pattern's during the event";
    EXPECT_EQ(text(announced.collector->typeName()), u"Bolt") << "and as a bolt again after it";
    EXPECT_EQ(announced.collector.get(), bolts.children()[static_cast<size_t>(k + 1)].get());
    auto* circle = queryPart<IZelArc>(announced.feature.get());
    ASSERT_TRUE(circle);
    expectClose(circle->center(), boltCentre(k));
    EXPECT_NEAR(circle->radius(), .005, 1e-9) << "compensated by its bolt collector";
  }
  ASSERT_EQ(bolts.children().size(), 6u) << "plane, bolt 1 .. bolt 5";
  EXPECT_EQ(bolts.activeChild().get(), bolts.children()[4].get()) << "bolt 4";

  // A stop on a bolt without points makes no circle: the pattern finishes.
  device.stop({0, 0, .05});
  EXPECT_EQ(run.heard(), std::vector<std::string>{"Stop"});
  ASSERT_EQ(run.added().size(), 1u);
  expectRecordedBolts(run.addedFeature(0), {0, 1, 2});
  auto* made = queryPart<IZelArc>(run.addedFeature(0));
  ASSERT_TRUE(made);
  EXPECT_NEAR(made->radius(), .05, 1e-9);

  ASSERT_EQ(bolts.children().size(), 3u) << "plane, bolt A, bolt B";
  EXPECT_EQ(bolts.activeChild().get(), bolts.children()[1].get());
  EXPECT_EQ(bolts.workPlane(), workPlane);
  EXPECT_EQ(bolts.boltCircleCount(), 0u);
  EXPECT_FALSE(base(bolts.children()[1]).activeChild()) << "bolt A holds the work plane already";
}

TEST_F(BoltPattern, ATakenBackCircleIsProbedAgainAndAResetLeavesOnlyTwoFreshBolts) {
  IZelDocObject* target = addObject(u"TestObject");
  IPtr<IZelFeatureCollector> pattern = collector("BoltPatternCircleCollector");
  auto& bolts = *queryPart<BoltPatternCircleCollector>(pattern.get());
  ProbingRun& run = listen(pattern, target);
  EXPECT_FALSE(pattern->deleteLastChild()) << "no circle to take back";
  EXPECT_FALSE(pattern->acceptFeature(arcFeature({0, 0, 0}, .005).get())) << "a circle before the plane";
  ASSERT_TRUE(pattern->acceptFeature(planeFeature({0, 0, 0}, kUp).get()));
  EXPECT_FALSE(pattern->acceptFeature(planeFeature({0, 0, 1}, kUp).get())) << "a second plane";

  // Finished after one circle, the pattern's creator refuses: nothing is made and nothing is lost.
  DeviceStream(pattern.get()).radius(kProbe).sample(boltTips(0)).stop(boltCentre(0)).stop({0, 0, .05});
  EXPECT_TRUE(run.added().empty());
  EXPECT_EQ(bolts.boltCircleCount(), 1u);
  EXPECT_EQ(bolts.activeChild().get(), bolts.children()[2].get());
  ASSERT_TRUE(pattern->deleteLastChild());
  EXPECT_EQ(bolts.boltCircleCount(), 0u);

  for (int round = 1; round <= 3; ++round) {
    SCOPED_TRACE(round);
    DeviceStream device(pattern.get());
    device.radius(kProbe);
    for (int k = 0; k < 3; ++k) device.sample(boltTips(k)).stop(boltCentre(k));
    // The operator undoes past the empty bolt collector into the third circle and probes the fourth hole.
    device.undo();
    EXPECT_EQ(run.heard().back(), "DeleteLastFeature");
    ASSERT_TRUE(pattern->deleteLastChild());
    EXPECT_EQ(bolts.boltCircleCount(), 2u);
    EXPECT_EQ(bolts.activeChild().get(), bolts.children()[1].get()) << "the first bolt collector";
    device.sample(boltTips(3)).stop(boltCentre(3)).stop({0, 0, .05});
    ASSERT_EQ(run.added().size(), static_cast<size_t>(round));
    expectRecordedBolts(run.addedFeature(static_cast<size_t>(round - 1)), {0, 1, 3});
    ASSERT_EQ(bolts.children().size(), 3u) << "no stale bolt collector stays behind";
    EXPECT_EQ(bolts.activeChild().get(), bolts.children()[1].get());
  }
}

}  // namespace
