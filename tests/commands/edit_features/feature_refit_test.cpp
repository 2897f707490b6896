#include <gtest/gtest.h>

#include <functional>

#include "commands/edit_features/feature_refit.h"
#include "commands/edit_features/probed_point_groups.h"
#include "features/creators/creator_fixture.h"

namespace {

using FeatureRefit = CreatorTest;

// Tip centres 1 mm above z = 0; the points named by `off` lie 2 mm higher still.
Points planeTips(int count, std::initializer_list<int> off) {
  const Points corners = {{0, 0, .001}, {.1, 0, .001}, {0, .1, .001}, {.1, .1, .001}, {.08, .02, .001}};
  Points tips(corners.begin(), corners.begin() + count);
  for (int i : off) tips[i - 1].z += .002;
  return tips;
}

IPtr<IZelFeature> copyOf(IZelFeature* feature) {
  IPtr<IZelFeature> copy;
  copy.takeOwnership(feature->copy());
  return copy;
}

IZelParameterTable* recordOf(IZelFeature* feature) {
  return queryPart<IZelParameterTable>(feature->getParameter(ZelString(kProbeConstructionKey)));
}
IZelParameterTable* parametersOf(IZelFeature* feature) {
  return queryPart<IZelParameterTable>(recordOf(feature)->getParameter(ZelString(kParametersKey)));
}
Points sampledOf(IZelFeature* feature) {
  return pointsOf(
      *queryPart<IZelVectorsValue>(parametersOf(feature)->getParameter(ZelString(kSampledPointsKey))));
}

void select(BitVector& selection, std::initializer_list<int> indices) {
  for (int i : indices) selection.set(i);
}

// The copy with the selected flat points deleted, refitted; the copy's record holds what is left.
IPtr<IZelFeature> deleteAndRefit(IZelFeature* copy, std::initializer_list<int> indices) {
  ProbedPointGroups groups = loadPointGroups(copy);
  BitVector selection(10);
  select(selection, indices);
  removeSelectedPoints(groups, selection);
  EXPECT_EQ(selection.count(), 0u);
  return refitFeature(copy);
}

TEST_F(FeatureRefit, APlaneLosesItsStrayPointsAndItsRecordFollows) {
  IPtr<IZelFeature> original = probe("HardProbePlaneCreator", planeTips(5, {2, 3}), {.05, .05, .05}, .001);
  ASSERT_TRUE(original);
  const double tiltBefore = 1.0 - queryPart<IZelPlane>(original.get())->normal().z;

  IPtr<IZelFeature> copy = copyOf(original.get());
  IPtr<IZelFeature> refitted = deleteAndRefit(copy.get(), {2, 3});
  ASSERT_TRUE(refitted);
  EXPECT_NE(refitted.get(), copy.get());
  auto* plane = queryPart<IZelPlane>(refitted.get());
  ASSERT_TRUE(plane);
  expectNear(plane->normal(), {0, 0, 1}, 1e-12);
  EXPECT_NEAR(plane->center().z, 0.0, 1e-12);
  EXPECT_GT(tiltBefore, 1e-6) << "the stray points tilted the first fit";

  const Points kept = {planeTips(5, {})[0], planeTips(5, {})[3], planeTips(5, {})[4]};
  EXPECT_EQ(sampledOf(refitted.get()), kept);
  EXPECT_EQ(compensated(refitted.get()).size(), 3u);
  EXPECT_EQ(sampledOf(original.get()).size(), 5u) << "the document's feature is left alone";
}

TEST_F(FeatureRefit, TooFewPointsLeftGiveNoFeature) {
  IPtr<IZelFeature> original = probe("HardProbePlaneCreator", planeTips(4, {4}), {.05, .05, .05}, .001);
  ASSERT_TRUE(original);
  IPtr<IZelFeature> copy = copyOf(original.get());
  EXPECT_FALSE(deleteAndRefit(copy.get(), {1, 4}));
  EXPECT_EQ(sampledOf(original.get()).size(), 4u);
}

TEST_F(FeatureRefit, SelectionBitsAboveThePointCountAreIgnored) {
  IPtr<IZelFeature> original = probe("HardProbePlaneCreator", planeTips(4, {}), {.05, .05, .05}, .001);
  ProbedPointGroups groups = loadPointGroups(original.get());
  BitVector selection(10);
  select(selection, {0, 5, 9});
  removeSelectedPoints(groups, selection);
  EXPECT_EQ(groups.points, planeTips(4, {}));
}

class BoltCircleRefit : public CreatorTest {
 protected:
  void SetUp() override {
    CreatorTest::SetUp();
    for (const Vector3& centre : Points{{.1, 0, 0}, {0, .1, 0}, {-.1, 0, 0}}) {
      Points tips = ring(centre + Vector3{0, 0, .001}, {0, 0, 1}, .004, 5);
      circles.push_back(
          probe("HardProbeCircleCreator", tips, centre + Vector3{0, 0, .01}, .001, groundPlane().get()));
      ASSERT_TRUE(circles.back());
    }
    bolt = compose("HardProbeBoltCircleCreator", {circles[0].get(), circles[1].get(), circles[2].get()},
                   std::nullopt, groundPlane().get());
    ASSERT_TRUE(bolt);
  }

  IZelFeature* child(IZelFeature* feature, int number) {
    auto* children =
        queryPart<IZelParameterTable>(parametersOf(feature)->getParameter(ZelString(kChildFeaturesKey)));
    const std::string name = "<Feature" + std::to_string(number) + ">";
    auto* link = queryPart<IZelEmbeddedFeatureParameter>(children->getParameter(ZelString(name.c_str())));
    return queryPart<IZelFeature>(link->feature());
  }

  std::vector<IPtr<IZelFeature>> circles;
  IPtr<IZelFeature> bolt;
};

TEST_F(BoltCircleRefit, DeletingAPointOfOneChildRefitsEveryChildThenTheBoltCircle) {
  IPtr<IZelFeature> copy = copyOf(bolt.get());
  ProbedPointGroups groups = loadPointGroups(copy.get());
  ASSERT_EQ(groups.points.size(), 15u);
  // The last child is read first, so the second child's points are flat points 6 to 10.
  EXPECT_EQ(groups.groupOf[5], 2);
  EXPECT_EQ(groups.groupValues.size(), 3u);
  std::vector<IZelFeature*> before = {child(copy.get(), 1), child(copy.get(), 2), child(copy.get(), 3)};

  IPtr<IZelFeature> refitted = deleteAndRefit(copy.get(), {7});
  ASSERT_TRUE(refitted);
  for (int number = 1; number <= 3; ++number) {
    SCOPED_TRACE(number);
    EXPECT_NE(child(refitted.get(), number), before[number - 1]);
    EXPECT_EQ(sampledOf(child(refitted.get(), number)).size(), number == 2 ? 4u : 5u);
  }
  auto* circle = queryPart<IZelArc>(refitted.get());
  ASSERT_TRUE(circle);
  EXPECT_NEAR(circle->radius(), .1, 1e-9);
}

TEST_F(BoltCircleRefit, AnUntouchedRecordRefitsToTheSameBoltCircle) {
  IPtr<IZelFeature> copy = copyOf(bolt.get());
  IPtr<IZelFeature> refitted = refitFeature(copy.get());
  ASSERT_TRUE(refitted);
  EXPECT_TRUE(queryPart<IZelFeatureExt>(refitted.get())->match(bolt.get(), 1e-9, 1e-9));
  EXPECT_EQ(compensated(refitted.get()), compensated(bolt.get()));
}

TEST_F(BoltCircleRefit, ARecordWithoutItsCreatorFailsRatherThanLeaveAChildInItsPlace) {
  struct Case {
    const char* what;
    std::function<void(IZelParameterTable&)> spoil;
  };
  const Case cases[] = {
      {"no creator id",
       [](IZelParameterTable& record) {
         record.setParameter(ZelString(kCreatorIdKey), doubleValue(1).get());
       }},
      {"a creator that cannot be made",
       [](IZelParameterTable& record) {
         queryPart<IZelIDValue>(record.getParameter(ZelString(kCreatorIdKey)))->setValue(ZelID{});
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    IPtr<IZelFeature> copy = copyOf(bolt.get());
    c.spoil(*recordOf(copy.get()));
    EXPECT_FALSE(refitFeature(copy.get()));
  }
  EXPECT_FALSE(refitFeature(circleFeature({0, 0, 0}, .01).get())) << "no record at all";
}

// Every kind of creator, composites included, makes the same feature again from its untouched record.
TEST_F(FeatureRefit, AnUntouchedRecordRefitsToTheSameFeature) {
  IPtr<IZelFeature> plane = groundPlane();
  const Points lineTips = {{.02, .002, .01}, {.09, .002, .01}, {.05, .002, .01}};
  const Points sphereTips = {{.01, 0, 0}, {-.01, 0, 0}, {0, .01, 0}, {0, 0, .01}, {0, -.01, 0}};
  Points boreTips = ring({.1, .1, .005}, {0, 0, 1}, .008, 4);
  for (const Vector3& tip : ring({.1, .1, .015}, {0, 0, 1}, .008, 3, .3)) boreTips.push_back(tip);
  Points holeTips = ring({0, 0, .005}, {0, 0, 1}, .010, 4);
  for (const Vector3& tip : ring({0, 0, .015}, {0, 0, 1}, .006, 4, .4)) holeTips.push_back(tip);
  IPtr<IZelFeature> ends[] = {
      probe("HardProbeCircleCreator", ring({0, 0, .002}, {0, 0, 1}, .004, 4), {0, 0, .01}, .001, plane.get()),
      probe("HardProbeCircleCreator", ring({.02, 0, .002}, {0, 0, 1}, .004, 4), {.02, 0, .01}, .001,
            plane.get())};
  const Points wallTips = {{0, 0, 0}, {0, .02, 0}, {0, 0, .02}, {0, .02, .02}};
  IPtr<IZelFeature> wall = probe("HardProbeParallelPlanesPlaneCreator", wallTips, {.01, .01, .01}, .001);
  IPtr<IZelFeature> facing = probe("HardProbePointCreator", {{.018, .01, .01}}, {}, .001);
  struct Case {
    const char* creator;
    IPtr<IZelFeature> feature;
  };
  const Case cases[] = {
      {"plane", probe("HardProbePlaneCreator", planeTips(4, {4}), {.05, .05, .05}, .001)},
      {"line", probe("HardProbeLineCreator", lineTips, {.05, .02, .01}, .002, plane.get())},
      {"point", probe("HardProbePointCreator", {{.01, .02, .03}}, {}, .001)},
      {"sphere", probe("HardProbeSphereCreator", sphereTips, {0, 0, .05}, .001)},
      {"circle", probe("HardProbeCircleCreator", ring({0, 0, .001}, {0, 0, 1}, .004, 4), {0, 0, .01}, .001,
                       plane.get())},
      {"cylinder", probe("HardProbeCylinderCreator", boreTips, {.1, .1, .01}, .001)},
      {"cone", probe("HardProbeConeCreator", holeTips, {0, 0, .01}, .001)},
      {"parallel planes", compose("HardProbeParallelPlanesCreator", {wall.get(), facing.get()}, .001)},
      {"oval slot",
       compose("HardProbeOvalSlotCreator", {ends[0].get(), ends[1].get()}, std::nullopt, plane.get())},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.creator);
    ASSERT_TRUE(c.feature);
    IPtr<IZelFeature> copy = copyOf(c.feature.get());
    IPtr<IZelFeature> refitted = refitFeature(copy.get());
    ASSERT_TRUE(refitted);
    auto* ext = queryPart<IZelFeatureExt>(refitted.get());
    ASSERT_TRUE(ext);
    EXPECT_TRUE(ext->match(c.feature.get(), 1e-9, 1e-9));
    EXPECT_EQ(compensated(refitted.get()), compensated(c.feature.get()));
  }
}

}  // namespace
