#include <gtest/gtest.h>

#include <string>

#include "creator_fixture.h"
#include "host_api/registry_paths.h"

namespace {

using PlaneCreator = CreatorTest;
using LineCreator = CreatorTest;

const Points kPlaneTips = {{0, 0, .002}, {.1, 0, .002}, {0, .1, .002}, {.1, .1, .002}};

TEST_F(PlaneCreator, ThePlaneMovesOneRadiusAwayFromTheStopPointAndFacesIt) {
  struct Case {
    const char* side;
    Vector3 stop;
    double z;
    Vector3 normal;
  };
  const Case cases[] = {{"stop above", {.05, .05, .05}, 0.0, {0, 0, 1}},
                        {"stop below", {.05, .05, -.05}, .004, {0, 0, -1}},
                        {"stop lifted a little above", {.5, .7, .00211}, 0.0, {0, 0, 1}},
                        {"stop lifted a little below", {.5, .7, .00189}, .004, {0, 0, -1}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.side);
    IPtr<IZelFeature> feature = probe("HardProbePlaneCreator", kPlaneTips, c.stop, .002);
    auto* plane = queryPart<IZelPlane>(feature.get());
    ASSERT_TRUE(plane);
    expectNear(plane->normal(), c.normal);
    EXPECT_NEAR(plane->center().z, c.z, 1e-12);
    const Points points = compensated(feature.get());
    ASSERT_EQ(points.size(), kPlaneTips.size());
    for (size_t i = 0; i < points.size(); ++i) expectNear(points[i], {kPlaneTips[i].x, kPlaneTips[i].y, c.z});
  }
}

TEST_F(PlaneCreator, ThreePointsFitAndTwoGiveNone) {
  const Points three(kPlaneTips.begin(), kPlaneTips.begin() + 3);
  EXPECT_TRUE(probe("HardProbePlaneCreator", three, {0, 0, 1}, .002));
  EXPECT_FALSE(probe("HardProbePlaneCreator", {kPlaneTips[0], kPlaneTips[1]}, {0, 0, 1}, .002));
  EXPECT_FALSE(probe("HardProbePlaneCreator", {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, {0, 0, 1}, .002))
      << "points on a line";
}

const Points kLineTips = {{.02, .002, .01}, {.09, .002, .01}, {.05, .002, .01}, {.08, .002, .01}};

TEST_F(LineCreator, TheLineLiesInTheWorkPlaneOneRadiusFromTheStopPointAndSpansTheOutermostPoints) {
  IPtr<IZelFeature> feature =
      probe("HardProbeLineCreator", kLineTips, {.05, .02, .01}, .002, groundPlane().get());
  auto* line = queryPart<IZelLine>(feature.get());
  ASSERT_TRUE(line);
  expectNear(line->start(), {.02, 0, 0});
  expectNear(line->end(), {.09, 0, 0});
  const Points points = compensated(feature.get());
  ASSERT_EQ(points.size(), kLineTips.size());
  for (size_t i = 0; i < points.size(); ++i) expectNear(points[i], {kLineTips[i].x, 0, 0});

  IPtr<IZelFeature> otherSide =
      probe("HardProbeLineCreator", kLineTips, {.05, -.02, .01}, .002, groundPlane().get());
  expectNear(queryPart<IZelLine>(otherSide.get())->start(), {.02, .004, 0});
}

TEST_F(LineCreator, TheLineRunsInProbingOrder) {
  const Points backwards = {{.1, .002, .01}, {.05, .002, .01}, {0, .002, .01}};
  IPtr<IZelFeature> feature =
      probe("HardProbeLineCreator", backwards, {.05, .02, .01}, .002, groundPlane().get());
  auto* line = queryPart<IZelLine>(feature.get());
  ASSERT_TRUE(line);
  expectNear(line->start(), {.1, 0, 0});
  expectNear(line->end(), {0, 0, 0});
}

TEST_F(LineCreator, TwoPointsNeedNoFitterAndNoWorkPlaneGivesNone) {
  host_.root().registry().remove(std::string(kBestFitFitterPath) + kDirectFitPath + "IZelLine");
  const Points two = {{.09, .002, .01}, {.02, .002, .01}};
  IPtr<IZelFeature> feature = probe("HardProbeLineCreator", two, {.05, .02, .01}, .002, groundPlane().get());
  auto* line = queryPart<IZelLine>(feature.get());
  ASSERT_TRUE(line);
  expectNear(line->start(), {.09, 0, 0});
  expectNear(line->end(), {.02, 0, 0});
  EXPECT_FALSE(probe("HardProbeLineCreator", kLineTips, {.05, .02, .01}, .002, groundPlane().get()))
      << "more points need the fitter";
  EXPECT_FALSE(probe("HardProbeLineCreator", two, {.05, .02, .01}, .002)) << "no work plane";
  EXPECT_FALSE(probe("HardProbeLineCreator", {two[0], two[0]}, {.05, .02, .01}, .002, groundPlane().get()))
      << "coincident points give no direction";
  EXPECT_FALSE(probe("HardProbeLineCreator", {two[0]}, {.05, .02, .01}, .002, groundPlane().get()));
}

// A stop taken with the probe on the surface lies on the fitted surface of the ball centres and cannot tell
// the side: every creator that takes the side from it refuses and asks to lift the probe (a plane says that
// the stop lies in the plane of its touches, which may be meant for another feature), rather than
// guess. A trial fit through the ball centres (probe radius 0) needs no side.
TEST_F(CreatorTest, AStopOnTheFittedSurfaceIsRefusedWithAskingToLiftTheProbe) {
  const Points lineTwo = {{.09, .002, .01}, {.02, .002, .01}};
  const Points circleTips = ring({.05, .05, .003}, {0, 0, 1}, .008, 4, .3);
  const Points sphereTips = {
      {.121, .2, .3}, {.1, .221, .3}, {.079, .2, .3}, {.1, .2, .321}, {.1, .1874, .2832}};
  struct Case {
    const char* creator;
    Points tips;
    Vector3 onSurface;
    bool workPlane;
  };
  const Case cases[] = {{"HardProbePlaneCreator", kPlaneTips, {.5, .7, .002}, false},
                        {"HardProbePlaneCreator", kPlaneTips, {.5, .7, .00209}, false},
                        {"HardProbeLineCreator", lineTwo, {.05, .002, .05}, true},
                        {"HardProbeCircleCreator", circleTips, {.058, .05, .02}, true},
                        {"HardProbeSphereCreator", sphereTips, {.1, .179, .3}, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.creator << " stop " << c.onSurface);
    IPtr<IZelFeature> workPlane = c.workPlane ? groundPlane() : IPtr<IZelFeature>();
    EXPECT_FALSE(probe(c.creator, c.tips, c.onSurface, .002, workPlane.get()));
    const bool plane = std::string(c.creator) == "HardProbePlaneCreator";
    EXPECT_EQ(refusal,
              plane ? "the stop lies in the plane of the touches, so it cannot tell which side they "
                      "came from; stop again off that plane, or undo to take touches back"
                    : "the stop was taken on the surface; lift the probe off the surface and stop again");
    EXPECT_TRUE(probe(c.creator, c.tips, c.onSurface, 0.0, workPlane.get())) << refusal;
  }
}

}  // namespace
