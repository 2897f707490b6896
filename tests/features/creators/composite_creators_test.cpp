#include <gtest/gtest.h>

#include "creator_fixture.h"
#include "host_api/host_class_ids.h"
#include "observed_fitter.h"
#include "tests/features/probe_ball.h"

namespace {

using ParallelPlanesCreators = CreatorTest;

const Points kPrimaryTips = {{.002, 0, 0}, {.002, .03, 0}, {.002, 0, .03}};

TEST_F(ParallelPlanesCreators, TheSolidityFollowsTheSecondaryPointsSide) {
  struct Case {
    const char* kind;
    double secondaryTip;
    int32_t solidity;
    double distance;
    double secondaryFace;
  };
  const Case cases[] = {{"slot", .018, 2, .020, .02}, {"rib", -.012, 1, .010, -.01}};
  ObservedFitter::Record seen;
  ObservedFitter::install(host_, "IZelParallelPlanes", kHostParallelPlanesFitterClassId, seen);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    IPtr<IZelFeature> primary =
        probe("HardProbeParallelPlanesPlaneCreator", kPrimaryTips, {.01, .01, .01}, kProbe);
    IPtr<IZelFeature> secondary = probe("HardProbePointCreator", {{c.secondaryTip, .01, .01}}, {}, kProbe);
    ASSERT_TRUE(primary && secondary);
    expectNear(queryPart<IZelPlane>(primary.get())->normal(), {1, 0, 0});
    EXPECT_EQ(compensated(primary.get()), kPrimaryTips) << "the primary plane is not moved";

    IPtr<IZelFeature> feature =
        compose("HardProbeParallelPlanesCreator", {primary.get(), secondary.get()}, kProbe);
    auto* planes = queryPart<IZelParallelPlanes>(feature.get());
    ASSERT_TRUE(planes);
    EXPECT_EQ(planes->solidity(), c.solidity);
    Vector3 midPoint, normal, reference, low, high;
    double distance = 0;
    planes->planes(midPoint, normal, reference, distance, low, high);
    EXPECT_NEAR(distance, c.distance, 1e-12);
    const Points points = compensated(feature.get());
    ASSERT_EQ(points.size(), 4u);
    for (size_t i = 0; i < 3; ++i) EXPECT_NEAR(points[i].x, 0, 1e-12);
    EXPECT_NEAR(points[3].x, c.secondaryFace, 1e-12);

    auto* selection = seen.value<IZelBitVectorArray>(u"<Selection>");
    ASSERT_TRUE(selection);
    ASSERT_EQ(selection->count(), 2);
    for (int32_t bit = 1; bit <= 4; ++bit) {
      EXPECT_EQ(selection->bitVectorAt(1)->test(bit), bit <= 3) << bit;
      EXPECT_EQ(selection->bitVectorAt(2)->test(bit), bit == 4) << bit;
    }
  }
}

TEST_F(ParallelPlanesCreators, ChildrenOfTheWrongKindOrAMissingRadiusGiveNone) {
  IPtr<IZelFeature> primary =
      probe("HardProbeParallelPlanesPlaneCreator", kPrimaryTips, {.01, .01, .01}, kProbe);
  IPtr<IZelFeature> secondary = probe("HardProbePointCreator", {{.018, .01, .01}}, {}, kProbe);
  EXPECT_FALSE(compose("HardProbeParallelPlanesCreator", {secondary.get(), primary.get()}, kProbe));
  EXPECT_FALSE(compose("HardProbeParallelPlanesCreator", {primary.get()}, kProbe));
  EXPECT_FALSE(compose("HardProbeParallelPlanesCreator", {primary.get(), secondary.get()}, std::nullopt));
  // A rib whose tips stand closer than two radii has no thickness left.
  IPtr<IZelFeature> tooClose = probe("HardProbePointCreator", {{-.001, .01, .01}}, {}, kProbe);
  EXPECT_FALSE(compose("HardProbeParallelPlanesCreator", {primary.get(), tooClose.get()}, kProbe));
  EXPECT_FALSE(
      probe("HardProbeParallelPlanesPlaneCreator", {kPrimaryTips[0], kPrimaryTips[1]}, {1, 0, 0}, kProbe));
  IPtr<IZelFeature> turned =
      probe("HardProbeParallelPlanesPlaneCreator", kPrimaryTips, {-.01, .01, .01}, kProbe);
  ASSERT_TRUE(turned);
  expectNear(queryPart<IZelPlane>(turned.get())->normal(), {-1, 0, 0});
}

using SlotCreators = CreatorTest;

IPtr<IZelFeature> lineFeature(const Vector3& start, const Vector3& end) {
  IPtr<IZelLine> line = made<IZelLine>();
  line->setLine(start, end, 0, 0);
  return IPtr<IZelFeature>(queryPart<IZelFeature>(line.get()));
}

TEST_F(SlotCreators, AnOvalSlotSpansItsTwoEndCircles) {
  // End circles of radius .005 probed from inside with a probe of radius .001.
  IPtr<IZelFeature> plane = groundPlane();
  IPtr<IZelFeature> ends[] = {
      probe("HardProbeCircleCreator", ring({0, 0, .002}, {0, 0, 1}, .004, 4), {0, 0, .01}, .001, plane.get()),
      probe("HardProbeCircleCreator", ring({.02, 0, .002}, {0, 0, 1}, .004, 4), {.02, 0, .01}, .001,
            plane.get())};
  ASSERT_TRUE(ends[0] && ends[1]);
  struct Case {
    const char* order;
    IZelFeature* first;
    IZelFeature* second;
    Vector3 axis;
  };
  const Case cases[] = {{"probing order", ends[0].get(), ends[1].get(), {1, 0, 0}},
                        {"swapped", ends[1].get(), ends[0].get(), {-1, 0, 0}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.order);
    IPtr<IZelFeature> feature =
        compose("HardProbeOvalSlotCreator", {c.first, c.second}, std::nullopt, plane.get());
    auto* slot = queryPart<IZelOvalSlot>(feature.get());
    ASSERT_TRUE(slot);
    EXPECT_NEAR(slot->width(), .01, 1e-12);
    EXPECT_NEAR(slot->length(), .03, 1e-12);
    expectNear(slot->center(), {.01, 0, 0}, 1e-12);
    expectNear(slot->axis(), c.axis, 1e-12);
    Points children = compensated(c.first);
    for (const Vector3& p : compensated(c.second)) children.push_back(p);
    EXPECT_EQ(compensated(feature.get()), children);
  }
  EXPECT_FALSE(compose("HardProbeOvalSlotCreator", {ends[0].get(), ends[1].get()}, std::nullopt))
      << "no work plane";
  EXPECT_FALSE(compose("HardProbeOvalSlotCreator", {ends[0].get(), ends[0].get()}, std::nullopt, plane.get()))
      << "one centre gives no axis";
}

TEST_F(SlotCreators, RectangularAndRoundedSlotsComeFromTheHostsSlotFitters) {
  IPtr<IZelFeature> plane = groundPlane();
  IPtr<IZelFeature> sides[] = {
      lineFeature({0, -.005, 0}, {.03, -.005, 0}), lineFeature({.03, -.005, 0}, {.03, .005, 0}),
      lineFeature({.03, .005, 0}, {0, .005, 0}), lineFeature({0, .005, 0}, {0, -.005, 0})};
  IPtr<IZelFeature> rectangular =
      compose("HardProbeRectangularSlotCreator",
              {sides[0].get(), sides[1].get(), sides[2].get(), sides[3].get()}, std::nullopt, plane.get());
  auto* outline = queryPart<IZelRectangularSlot>(rectangular.get());
  ASSERT_TRUE(outline);
  EXPECT_NEAR(outline->width(), .01, 1e-12);
  EXPECT_NEAR(outline->length(), .03, 1e-12);
  expectNear(outline->center(), {.015, 0, 0}, 1e-12);

  IPtr<IZelFeature> corner = circleFeature({.03, .005, 0}, .002);
  EXPECT_FALSE(compose("HardProbeRectangularSlotCreator",
                       {sides[0].get(), sides[1].get(), corner.get(), sides[3].get()}, std::nullopt,
                       plane.get()))
      << "a circle for a line";

  IPtr<IZelFeature> corners[] = {circleFeature({-.01, -.003, 0}, .002), circleFeature({.01, -.003, 0}, .002),
                                 circleFeature({.01, .003, 0}, .002), circleFeature({-.01, .003, 0}, .002)};
  IPtr<IZelFeature> rounded = compose(
      "HardProbeRoundedSlotCreator", {corners[0].get(), corners[1].get(), corners[2].get(), corners[3].get()},
      std::nullopt, plane.get());
  auto* roundedSlot = queryPart<IZelRoundedSlot>(rounded.get());
  ASSERT_TRUE(roundedSlot);
  EXPECT_NEAR(roundedSlot->cornerDiameter(), .004, 1e-12);
  EXPECT_NEAR(roundedSlot->length(), .024, 1e-12);
  EXPECT_NEAR(roundedSlot->width(), .010, 1e-12);
  EXPECT_FALSE(compose("HardProbeRoundedSlotCreator", {corners[0].get(), corners[1].get(), corners[2].get()},
                       std::nullopt, plane.get()))
      << "three corners";
}

}  // namespace
