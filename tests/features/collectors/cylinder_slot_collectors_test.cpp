#include <gtest/gtest.h>

#include "collector_fixture.h"
#include "features/collectors/cylinder_collectors.h"
#include "features/collectors/slot_collectors.h"
#include "support/point_ring.h"
#include "tests/features/probe_ball.h"

namespace {

using CylinderCollectors = CollectorTest;
using SlotCollectors = CollectorTest;

// Tip centres on two rings inside a hole of radius 10 mm about the z axis, 5 and 15 mm below the face z = 0.
Points holeTips() {
  Points tips = ring({0, 0, -.005}, kUp, .01 - kProbe, 4);
  const Points deeper = ring({0, 0, -.015}, kUp, .01 - kProbe, 4, .4);
  tips.insert(tips.end(), deeper.begin(), deeper.end());
  return tips;
}
constexpr Vector3 kInHole{0, 0, -.01};

// Tip centres under the face z = -0.02, and a stop point below them.
Points bottomFaceTips() {
  Points tips;
  for (const Vector3& tip : kPlaneTips) tips.push_back(tip - Vector3{0, 0, .024});
  return tips;
}
constexpr Vector3 kBelowBottomFace{.05, .05, -.07};

bool holdsItsWorkPlane(const IPtr<IZelFeatureCollector>& child) {
  return !queryPart<FeatureCollectorBase>(child.get())->activeChild() &&
         queryPart<SimpleCollector>(child.get())->workPlane();
}

TEST_F(CylinderCollectors, TakeTheirTypeFlagsAndTextsFromTheirKind) {
  struct Case {
    const char* className;
    size_t children;
    bool canFinish;
    std::u16string brief;
  };
  const Case cases[] = {{"CylinderCollector", 0, false, u"Probe points on the cylinder"},
                        {"ConstrainedCylinderCollector", 1, true, u"Probe points on the plane"},
                        {"TopBottomPlaneCylinderCollector", 2, false, u"Probe points on the bottom plane"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.className);
    IPtr<IZelFeatureCollector> made = collector(c.className);
    EXPECT_EQ(text(made->typeName()), u"Cylinder");
    EXPECT_EQ(base(made).pointsRequired(), 6);
    EXPECT_EQ(base(made).children().size(), c.children);
    EXPECT_EQ(brief(), c.brief);
    EXPECT_TRUE(made->showFeatureStatistics());
    if (c.children == 0) {
      EXPECT_FALSE(made->acceptFeature(planeFeature({0, 0, 0}, kUp).get()))
          << "a free cylinder takes no plane";
      const Points tips = holeTips();
      DeviceStream(made.get()).sample({tips.begin(), tips.begin() + 5});
      EXPECT_EQ(brief(), u"Probe points on the cylinder");
      DeviceStream(made.get()).sample(tips[5]);
      EXPECT_EQ(brief(), u"Probe points on the cylinder or define the offset direction to finish");
    }
    EXPECT_EQ(made->canFinish(), c.canFinish && c.children == 0);
  }
}

TEST_F(CylinderCollectors, TheTopBottomCylinderProbesBothPlanesThenItsWallAndStartsAgainAtTheBottom) {
  IZelDocObject* target = addObject(u"TestObject");
  IPtr<IZelFeatureCollector> cylinder = collector("TopBottomPlaneCylinderCollector");
  auto& collector = *queryPart<TopBottomPlaneCylinderCollector>(cylinder.get());
  ProbingRun& run = listen(cylinder, target);
  EXPECT_EQ(featureName(), u"Cylinder (Bottom Plane)");
  DeviceStream device(cylinder.get());
  device.radius(kProbe);

  for (int round = 1; round <= 2; ++round) {
    SCOPED_TRACE(round);
    device.sample(bottomFaceTips()).stop(kBelowBottomFace);
    EXPECT_EQ(run.heard(), (std::vector<std::string>{"AddedChildFeature", "UserInstructionsChanged"}));
    ASSERT_TRUE(collector.bottomPlane()) << "the first plane made is the bottom";
    EXPECT_NEAR(collector.bottomPlane()->center().z, -.02, 1e-12);
    EXPECT_EQ(featureName(), u"Cylinder (Top Plane)");
    EXPECT_EQ(brief(), u"Probe points on the top plane");
    device.sample(kPlaneTips).stop(kAbovePlane);
    ASSERT_TRUE(collector.topPlane());
    EXPECT_EQ(run.heard(), (std::vector<std::string>{"AddedChildFeature", "UserInstructionsChanged"}))
        << "six points of its own still to come";
    EXPECT_EQ(featureName(), u"Cylinder");
    EXPECT_FALSE(cylinder->acceptFeature(planeFeature({0, 0, 1}, kUp).get())) << "a third plane";

    device.sample(holeTips()).stop(kInHole);
    EXPECT_EQ(run.heard(), std::vector<std::string>{"Stop"});
    ASSERT_EQ(run.added().size(), static_cast<size_t>(round));
    IZelFeature* made = run.addedFeature(static_cast<size_t>(round - 1));
    EXPECT_EQ(keysOf(recordedParameters(made)),
              (std::vector<std::u16string>{u"<SampledPoints>", u"<StopPoint>", u"<ProbeRadius>",
                                           u"<BottomPlane>", u"<TopPlane>", u"<CompensatedPoints>"}));
    auto* hole = queryPart<IZelCylinder>(made);
    ASSERT_TRUE(hole);
    EXPECT_NEAR(hole->radius(), .01, 1e-9);
    EXPECT_NEAR((hole->secondEnd() - hole->firstEnd()).length(), .02, 1e-9) << "from face to face";

    EXPECT_FALSE(collector.bottomPlane());
    EXPECT_FALSE(collector.topPlane());
    ASSERT_EQ(collector.children().size(), 2u);
    EXPECT_EQ(collector.activeChild().get(), collector.children()[0].get()) << "the bottom plane again";
    EXPECT_EQ(featureName(), u"Cylinder (Bottom Plane)");
  }
}

TEST_F(CylinderCollectors, APickedPlaneIsTheBottomAndAConstrainedCylinderKeepsItsPlane) {
  IPtr<IZelFeatureCollector> between = collector("TopBottomPlaneCylinderCollector");
  auto& planes = *queryPart<TopBottomPlaneCylinderCollector>(between.get());
  EXPECT_FALSE(between->acceptFeature(arcFeature({0, 0, 0}, .01).get()));
  ASSERT_TRUE(between->acceptFeature(planeFeature({0, 0, 0}, kUp).get()));
  EXPECT_TRUE(planes.bottomPlane());
  EXPECT_EQ(planes.activeChild().get(), planes.children()[1].get());
  EXPECT_EQ(featureName(), u"Cylinder (Top Plane)");

  IZelDocObject* target = addObject(u"TestObject");
  IPtr<IZelFeatureCollector> constrained = collector("ConstrainedCylinderCollector");
  ProbingRun& run = listen(constrained, target);
  ASSERT_TRUE(constrained->acceptFeature(planeFeature({0, 0, 0}, kUp).get()));
  IZelPlane* workPlane = queryPart<SimpleCollector>(constrained.get())->workPlane();
  DeviceStream device(constrained.get());
  device.radius(kProbe).sample(holeTips()).stop(kInHole);
  device.sample(holeTips()).stop(kInHole);
  EXPECT_EQ(run.addedNames(), (std::vector<std::u16string>{u"Cylinder 1", u"Cylinder 2"}));
  EXPECT_EQ(queryPart<SimpleCollector>(constrained.get())->workPlane(), workPlane);
  auto* second = queryPart<IZelCylinder>(run.addedFeature(1));
  ASSERT_TRUE(second);
  EXPECT_NEAR(second->radius(), .01, 1e-9);
  expectClose(Vector3::cross(second->axisDirection(), kUp), {0, 0, 0});
}

TEST_F(SlotCollectors, AnOvalSlotTakesOnePlaneForAllThenTwoArcsInOrder) {
  IPtr<IZelFeatureCollector> slot = collector("OvalSlotCollector");
  auto& collector = *queryPart<SlotCollector>(slot.get());
  ASSERT_EQ(collector.children().size(), 3u);
  EXPECT_EQ(featureName(), u"Oval Slot (Plane)");
  IPtr<IZelLine> line = made<IZelLine>();
  line->setLine({0, 0, 0}, {1, 0, 0}, 0, 0);
  EXPECT_FALSE(slot->acceptFeature(queryPart<IZelFeature>(line.get())));

  ASSERT_TRUE(slot->acceptFeature(planeFeature({0, 0, 0}, kUp).get()));
  for (size_t i = 1; i <= 2; ++i) EXPECT_TRUE(holdsItsWorkPlane(collector.children()[i])) << i;
  EXPECT_EQ(featureName(), u"Oval Slot (Circle 1)");
  EXPECT_EQ(brief(), u"Probe points on the circle");
  EXPECT_TRUE(slot->canFinish()) << "circle 1 follows the plane collector";
  EXPECT_FALSE(slot->acceptFeature(queryPart<IZelFeature>(line.get()))) << "a line is no end of an oval slot";
  EXPECT_FALSE(slot->acceptFeature(planeFeature({0, 0, 1}, kUp).get()));

  ASSERT_TRUE(slot->acceptFeature(arcFeature({.02, 0, 0}, .005).get()));
  EXPECT_EQ(featureName(), u"Oval Slot (Circle 2)");
  EXPECT_FALSE(slot->canFinish()) << "circle 2 follows a component";
  ASSERT_TRUE(slot->acceptFeature(arcFeature({-.02, 0, 0}, .005).get()));
  EXPECT_FALSE(slot->acceptFeature(arcFeature({0, 0, 0}, .005).get())) << "a third arc";
  EXPECT_EQ(collector.components().size(), 2u);
  EXPECT_FALSE(collector.activeChild());
  EXPECT_EQ(text(collector.briefInstructions()), u"Probe points on the slot");

  IPtr<IZelUserInstructions> shown;
  queryPart<IZelUserInstructionSource>(slot.get())->userInstructions(shown, true);
  ASSERT_TRUE(shown) << "an oval slot shows instructions without pictures";
  EXPECT_EQ(shown->imageCount(), 0);
}

TEST_F(SlotCollectors, AProbedOvalSlotSpansItsEndCirclesAndTheNextStartsAtCircleOneInTheSamePlane) {
  IZelDocObject* target = addObject(u"TestObject");
  IPtr<IZelFeatureCollector> slot = collector("OvalSlotCollector");
  auto& collector = *queryPart<SlotCollector>(slot.get());
  ProbingRun& run = listen(slot, target);
  DeviceStream device(slot.get());
  device.radius(kProbe).sample(kPlaneTips).stop(kAbovePlane);
  IZelPlane* workPlane = collector.workPlane();
  ASSERT_TRUE(workPlane);
  for (int round = 1; round <= 2; ++round) {
    SCOPED_TRACE(round);
    for (const Vector3& end : {Vector3{.02, 0, 0}, Vector3{-.02, 0, 0}})
      device.sample(ring(end + Vector3{0, 0, -.003}, kUp, .005 - kProbe, 4, .2)).stop(end);
    ASSERT_EQ(run.added().size(), static_cast<size_t>(round));
    auto* made = queryPart<IZelOvalSlot>(run.addedFeature(static_cast<size_t>(round - 1)));
    ASSERT_TRUE(made);
    EXPECT_NEAR(made->width(), .01, 1e-9);
    EXPECT_NEAR(made->length(), .05, 1e-9);
    ASSERT_EQ(collector.children().size(), 3u);
    EXPECT_EQ(collector.activeChild().get(), collector.children()[1].get());
    EXPECT_EQ(collector.workPlane(), workPlane);
    EXPECT_FALSE(collector.components()[0] || collector.components()[1]);
  }
}

TEST_F(SlotCollectors, ARectangularSlotTakesItsFourSidesAndRestartsAtTheFirstWithThePlaneKept) {
  IZelDocObject* target = addObject(u"TestObject");
  IPtr<IZelFeatureCollector> slot = collector("RectangularSlotCollector");
  auto& collector = *queryPart<SlotCollector>(slot.get());
  ProbingRun& run = listen(slot, target);
  ASSERT_EQ(collector.children().size(), 5u);
  ASSERT_TRUE(slot->acceptFeature(planeFeature({0, 0, 0}, kUp).get()));
  EXPECT_EQ(featureName(), u"Rectangular Slot (Line 1)");
  IPtr<IZelUserInstructions> shown;
  queryPart<IZelUserInstructionSource>(slot.get())->userInstructions(shown, false);
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->imageCount(), 3) << "a side shows all three pictures";

  // A slot 40 x 10 mm about the origin; each side from inside, the stop at the centre.
  const Points sides[] = {{{.018, -.003, -.003}, {.018, .003, -.003}},
                          {{.01, -.003, -.003}, {-.01, -.003, -.003}},
                          {{-.018, .003, -.003}, {-.018, -.003, -.003}},
                          {{-.01, .003, -.003}, {.01, .003, -.003}}};
  DeviceStream device(slot.get());
  device.radius(kProbe);
  for (const Points& side : sides) device.sample(side).stop({0, 0, -.003});
  ASSERT_EQ(run.added().size(), 1u);
  auto* made = queryPart<IZelRectangularSlot>(run.addedFeature(0));
  ASSERT_TRUE(made);
  EXPECT_NEAR(made->length(), .04, 1e-9);
  EXPECT_NEAR(made->width(), .01, 1e-9);

  ASSERT_EQ(collector.children().size(), 5u) << "plane, line 1 .. line 4";
  EXPECT_EQ(collector.activeChild().get(), collector.children()[1].get());
  for (size_t i = 1; i <= 4; ++i) EXPECT_TRUE(holdsItsWorkPlane(collector.children()[i])) << i;
  for (const IPtr<IZelFeature>& component : collector.components()) EXPECT_FALSE(component);
  EXPECT_EQ(featureName(), u"Rectangular Slot (Line 1)");
}

TEST_F(SlotCollectors, ARoundedSlotTakesFourCornerArcsAndNoLine) {
  IPtr<IZelFeatureCollector> slot = collector("RoundedSlotCollector");
  auto& collector = *queryPart<SlotCollector>(slot.get());
  ASSERT_TRUE(slot->acceptFeature(planeFeature({0, 0, 0}, kUp).get()));
  EXPECT_EQ(featureName(), u"Rounded Slot (Circle 1)");
  IZelFeatureCollector* corner = collector.children()[1].get();
  EXPECT_STREQ(corner->className(), "CircleCollector") << "a corner answers as a circle collector";
  EXPECT_TRUE(queryPart<CircleCollector>(corner));
  IPtr<IZelUserInstructions> shown;
  queryPart<IZelUserInstructionSource>(slot.get())->userInstructions(shown, false);
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->imageCount(), 3) << "a corner shows all three pictures";
  IPtr<IZelLine> line = made<IZelLine>();
  line->setLine({0, 0, 0}, {1, 0, 0}, 0, 0);
  EXPECT_FALSE(slot->acceptFeature(queryPart<IZelFeature>(line.get())));
  for (int corner = 0; corner < 4; ++corner)
    EXPECT_TRUE(slot->acceptFeature(arcFeature({.01 * corner, 0, 0}, .002).get())) << corner;
  EXPECT_FALSE(slot->acceptFeature(arcFeature({0, 0, 0}, .002).get())) << "a fifth corner";
  EXPECT_EQ(text(collector.briefInstructions()), u"Probe points on the rounded slot");
}

}  // namespace
