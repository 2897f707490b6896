#include <gtest/gtest.h>

#include "creator_fixture.h"
#include "host/api/host_class_ids.h"
#include "observed_fitter.h"

namespace {

using ParallelPlanesCreators = CreatorTest;

constexpr double kProbe = .002;
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

}  // namespace
