#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>

#include "creator_fixture.h"

namespace {

using CircleCreators = CreatorTest;
using SphereCreator = CreatorTest;

const Vector3 kHoleAxis{.05, .05, .003};

TEST_F(CircleCreators, AHoleGrowsAndABossShrinksByTheProbeRadius) {
  struct Case {
    const char* kind;
    double tipRadius;
    Vector3 stop;
  };
  const Case cases[] = {{"hole", .008, {.05, .05, .02}}, {"boss", .012, {.09, .05, .02}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    const Points tips = ring(kHoleAxis, {0, 0, 1}, c.tipRadius, 4, .3);
    IPtr<IZelFeature> feature = probe("HardProbeCircleCreator", tips, c.stop, .002, groundPlane().get());
    auto* circle = queryPart<IZelArc>(feature.get());
    ASSERT_TRUE(circle);
    expectNear(circle->center(), {.05, .05, 0});
    EXPECT_NEAR(circle->radius(), .010, 1e-12);
    const Points points = compensated(feature.get());
    ASSERT_EQ(points.size(), tips.size());
    for (size_t i = 0; i < tips.size(); ++i) {
      const Vector3 outward = (tips[i] - kHoleAxis).normalized();
      expectNear(points[i], Vector3{.05, .05, 0} + outward * .010, 1e-12);
    }
  }
  EXPECT_FALSE(probe("HardProbeCircleCreator", ring(kHoleAxis, {0, 0, 1}, .008, 2), {.05, .05, .02}, .002,
                     groundPlane().get()));
  EXPECT_FALSE(probe("HardProbeCircleCreator", ring(kHoleAxis, {0, 0, 1}, .008, 4), {.05, .05, .02}, .002))
      << "no work plane";
}

TEST_F(CircleCreators, ABossThinnerThanTheProbeGivesNoCircleRatherThanAMirroredOne) {
  for (double tipRadius : {.002, .001}) {
    SCOPED_TRACE(tipRadius);
    EXPECT_FALSE(probe("HardProbeCircleCreator", ring(kHoleAxis, {0, 0, 1}, tipRadius, 5), {.09, .05, .02},
                       .002, groundPlane().get()));
  }
}

TEST_F(CircleCreators, APointCircleIsWhereTheTipSphereMeetsTheWorkPlane) {
  struct Case {
    double z;
    double radius;  // negative: no circle
  };
  const Case cases[] = {{.003, .004}, {0, .005}, {.005, 0}, {.006, -1}, {-.001, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.z);
    IPtr<IZelFeature> feature =
        probe("HardProbePointCircleCreator", {{.02, .03, c.z}}, {}, .005, groundPlane().get());
    auto* circle = queryPart<IZelArc>(feature.get());
    if (c.radius < 0) {
      EXPECT_FALSE(circle);
      continue;
    }
    ASSERT_TRUE(circle);
    expectNear(circle->center(), {.02, .03, 0});
    expectNear(circle->normal(), {0, 0, 1});
    EXPECT_NEAR(circle->radius(), c.radius, 1e-12);
    EXPECT_EQ(compensated(feature.get()), Points{circle->center()});
  }
}

class BoltCircle : public CreatorTest {
 protected:
  // A bolt circle creator whose children, named by number, are set in the order of `order`.
  IPtr<IZelFeature> boltCircle(const std::vector<IPtr<IZelFeature>>& children,
                               const std::vector<size_t>& order) {
    IPtr<IZelParameterTable> table = made<IZelParameterTable>();
    for (size_t i : order) {
      const std::string name = "<Feature" + std::to_string(i + 1) + ">";
      table->setParameter(ZelString(name.c_str()), featureValue(children[i].get()).get());
    }
    IPtr<IZelHardProbeFeatureCreator> made = creator("HardProbeBoltCircleCreator");
    made->setParameter(ZelString(kChildFeaturesKey), table.get());
    made->setParameter(ZelString(kWorkPlaneKey), featureValue(groundPlane().get()).get());
    return create(*made);
  }
  static std::vector<size_t> inOrder(size_t n) {
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    return order;
  }
};

TEST_F(BoltCircle, TheCircleRunsThroughTheChildCentresInProbingOrder) {
  std::vector<IPtr<IZelFeature>> three;
  for (const Vector3& c : Points{{.1, 0, 0}, {0, .1, 0}, {-.1, 0, 0}})
    three.push_back(circleFeature(c, .004));
  IPtr<IZelFeature> feature = boltCircle(three, inOrder(3));
  auto* circle = queryPart<IZelArc>(feature.get());
  ASSERT_TRUE(circle);
  expectNear(circle->center(), {0, 0, 0}, 1e-12);
  EXPECT_NEAR(circle->radius(), .1, 1e-12);
  EXPECT_EQ(compensated(feature.get()), (Points{{.1, 0, 0}, {0, .1, 0}, {-.1, 0, 0}}));

  EXPECT_FALSE(boltCircle({three[0], three[1]}, inOrder(2)));
  std::vector<IPtr<IZelFeature>> withLine = three;
  IPtr<IZelLine> line = made<IZelLine>();
  line->setLine({0, -.1, 0}, {0, -.2, 0}, 0, 0);
  withLine.push_back(IPtr<IZelFeature>(queryPart<IZelFeature>(line.get())));
  EXPECT_FALSE(boltCircle(withLine, inOrder(4)));

  const Points twelve = ring({}, {0, 0, 1}, .1, 12);
  std::vector<IPtr<IZelFeature>> bolts;
  for (const Vector3& c : twelve) bolts.push_back(circleFeature(c, .004));
  IPtr<IZelFeature> pattern = boltCircle(bolts, {11, 1, 9, 0, 10, 2, 3, 4, 8, 5, 6, 7});
  ASSERT_TRUE(pattern);
  const Points points = compensated(pattern.get());
  ASSERT_EQ(points.size(), twelve.size());
  for (size_t i = 0; i < twelve.size(); ++i) expectNear(points[i], twelve[i]);
}

// Five tips about (.1, .2, .3), off any one plane.
Points sphereTips(double radius) {
  Points tips;
  for (const Vector3& direction : Points{{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {0, -.6, -.8}})
    tips.push_back(Vector3{.1, .2, .3} + direction * radius);
  return tips;
}

TEST_F(SphereCreator, ABallShrinksAndACavityGrowsByTheProbeRadius) {
  struct Case {
    const char* kind;
    double tipRadius;
    Vector3 stop;
  };
  const Case cases[] = {{"ball", .021, {.1, .2, .4}}, {"cavity", .019, {.1, .2, .3}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    const Points tips = sphereTips(c.tipRadius);
    IPtr<IZelFeature> feature = probe("HardProbeSphereCreator", tips, c.stop, .001);
    auto* sphere = queryPart<IZelSphere>(feature.get());
    ASSERT_TRUE(sphere);
    expectNear(sphere->center(), {.1, .2, .3}, 1e-10);
    EXPECT_NEAR(sphere->radius(), .020, 1e-10);
    const Points points = compensated(feature.get());
    ASSERT_EQ(points.size(), tips.size());
    for (const Vector3& p : points) EXPECT_NEAR((p - Vector3{.1, .2, .3}).length(), .020, 1e-10);
  }
  const Points tips = sphereTips(.021);
  EXPECT_TRUE(probe("HardProbeSphereCreator", {tips.begin(), tips.begin() + 4}, {1, 1, 1}, .001));
  EXPECT_FALSE(probe("HardProbeSphereCreator", {tips.begin(), tips.begin() + 3}, {1, 1, 1}, .001));
  EXPECT_FALSE(probe("HardProbeSphereCreator", sphereTips(.0005), {1, 1, 1}, .001))
      << "a ball thinner than the probe";
}

}  // namespace
