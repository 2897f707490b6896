#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "creator_fixture.h"
#include "host_api/host_class_ids.h"
#include "observed_fitter.h"
#include "tests/features/probe_ball.h"

namespace {

// A conical hole about the z axis whose surface has the radius .01 + .5 z, probed as two rings of four tips
// with a probe of radius .002: the tip centres lie .002 inside the surface along its normal.
const Points kHoleTips = {{.0102111, 0, .0048944},          {-.0051056, .0088431, .0048944},
                          {-.0051056, -.0088431, .0048944}, {.0051056, .0088431, .0048944},
                          {-.0162111, 0, .0168944},         {.0140393, .0081056, .0168944},
                          {-.0140393, .0081056, .0168944},  {0, -.0162111, .0168944}};
const Vector3 kInsideHole{0, 0, .01};
constexpr double kHalfAngle = .4636476;  // atan(.5)
// The tips' data carry seven digits.
constexpr double kDigits = 1e-6;

// The tip centres of a conical boss with the same surface, probed from outside.
Points bossTips() {
  const double across = kProbe * std::cos(kHalfAngle), along = kProbe * std::sin(kHalfAngle);
  Points tips;
  for (const Vector3& hole : kHoleTips) {
    const Vector3 radial = Vector3{hole.x, hole.y, 0}.normalized();
    const Vector3 onSurface = hole + radial * across - Vector3{0, 0, along};
    tips.push_back(onSurface + radial * across - Vector3{0, 0, along});
  }
  return tips;
}

// The surface radius .01 + .5 z at each point's height: the point is on it.
void expectOnSurface(const Points& points) {
  for (const Vector3& p : points) EXPECT_NEAR(std::hypot(p.x, p.y), .01 + .5 * p.z, kDigits) << p;
}

using ConeCreators = CreatorTest;

// The compensated cone is the probed surface, its narrow end first, the points moved onto it.
void expectSurfaceCompensated(IZelFeature* feature, size_t tips) {
  auto* cone = queryPart<IZelCone>(feature);
  ASSERT_TRUE(cone);
  // Rounding the tips to seven digits tilts the axis of a cone 12 mm high by a few microradians.
  expectNear(cone->axisDirection(), {0, 0, 1}, 1e-5);
  EXPECT_NEAR(cone->halfAngle(), kHalfAngle, kDigits);
  EXPECT_LT(cone->radiusA(), cone->radiusB());
  for (const Vector3& end : {cone->endA(), cone->endB()}) EXPECT_NEAR(std::hypot(end.x, end.y), 0, kDigits);
  EXPECT_NEAR(cone->radiusA(), .01 + .5 * cone->endA().z, kDigits);
  EXPECT_NEAR(cone->radiusB(), .01 + .5 * cone->endB().z, kDigits);
  const Points points = getCompensatedPoints(feature).value_or(Points{});
  ASSERT_EQ(points.size(), tips);
  expectOnSurface(points);
}

TEST_F(ConeCreators, AHoleGrowsAndABossShrinksAlongTheSurfaceNormal) {
  struct Case {
    const char* kind;
    Points tips;
    Vector3 stop;
    bool reversedFit;
  };
  // Stops near the wall beyond either end tell the local radius along the axis from the narrow end from one
  // taken the other way round.
  const Vector3 nearWallInside{.0172, 0, .02}, nearWallOutside{.0145, 0, .002};
  const Case cases[] = {{"hole", kHoleTips, kInsideHole, false},
                        {"boss", bossTips(), {0, .05, .01}, false},
                        {"hole, stop near the wall", kHoleTips, nearWallInside, false},
                        {"boss, stop near the wall", bossTips(), nearWallOutside, false},
                        {"hole, fitted wide end first", kHoleTips, nearWallInside, true},
                        {"boss, fitted wide end first", bossTips(), nearWallOutside, true}};
  ObservedFitter::Record seen;
  ObservedFitter::install(host_, "IZelCone", kHostConeFitterClassId, seen);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    seen.changeAnswer = nullptr;
    if (c.reversedFit) seen.changeAnswer = [](IZelFeature& fitted) { fitted.reverseOrientation(); };
    IPtr<IZelFeature> feature = probe("HardProbeConeCreator", c.tips, c.stop, kProbe);
    expectSurfaceCompensated(feature.get(), c.tips.size());
    const Points points = compensated(feature.get());
    if (c.tips == kHoleTips) expectNear(points[0], {.012, 0, .004}, kDigits);
  }
  EXPECT_FALSE(
      probe("HardProbeConeCreator", {kHoleTips.begin(), kHoleTips.begin() + 6}, kInsideHole, kProbe));
}

// A fit answering exact values: a cone along z from its narrow end at the origin, of half-angle atan .5.
struct ExactConeFit : ObservedFitter::Record {
  explicit ExactConeFit(double narrowRadius) {
    changeAnswer = [narrowRadius](IZelFeature& fitted) {
      queryPart<IZelCone>(&fitted)->redefine({0, 0, 0}, {0, 0, 1}, narrowRadius, narrowRadius + .5, {1, 0, 0},
                                             nullptr, nullptr, nullptr);
    };
  }
};

// A stop on the surface cannot tell a conical hole from a boss and is refused; one lifted off it outwards
// by a little more than the clearance is outside.
TEST_F(ConeCreators, AStopOnTheSurfaceIsRefusedAndALiftedOneTaken) {
  ExactConeFit seen(.25);
  ObservedFitter::install(host_, "IZelCone", kHostConeFitterClassId, seen);
  EXPECT_FALSE(probe("HardProbeConeCreator", kHoleTips, {.25, 0, 0}, kProbe));
  EXPECT_NE(refusal.find("lift the probe"), std::string::npos) << refusal;
  const Vector3 outwards = Vector3{1, 0, -.5}.normalized();
  IPtr<IZelFeature> feature =
      probe("HardProbeConeCreator", kHoleTips, Vector3{.25, 0, 0} + outwards * 1.1e-4, kProbe);
  auto* cone = queryPart<IZelCone>(feature.get());
  ASSERT_TRUE(cone);
  EXPECT_NEAR(cone->radiusA(), .25 - kProbe * std::cos(std::atan(.5)), 1e-15);
  EXPECT_NEAR(cone->endA().z, kProbe * std::sin(std::atan(.5)), 1e-15);
}

// A boss whose narrow end is thinner than the probe: the surface offset past the apex would turn the cone
// inside out, so there is none, and the operator is told why.
TEST_F(ConeCreators, ANarrowEndCompensatedBelowZeroGivesNoCone) {
  ExactConeFit seen(.001);
  ObservedFitter::install(host_, "IZelCone", kHostConeFitterClassId, seen);
  EXPECT_FALSE(probe("HardProbeConeCreator", kHoleTips, {.9, 0, .5}, kProbe));
  EXPECT_NE(refusal.find("larger than its narrow end"), std::string::npos) << refusal;
  EXPECT_TRUE(probe("HardProbeConeCreator", kHoleTips, {0, 0, .5}, kProbe)) << "from inside it grows";
}

TEST_F(ConeCreators, TheFreeFitStartsFromTheTwoRings) {
  ObservedFitter::Record seen;
  ObservedFitter::install(host_, "IZelCone", kHostConeFitterClassId, seen);
  ASSERT_TRUE(probe("HardProbeConeCreator", kHoleTips, kInsideHole, kProbe));
  ASSERT_TRUE(seen.value<IZelVectorValue>(u"<CenterFrom>"));
  expectNear(seen.value<IZelVectorValue>(u"<CenterFrom>")->value(), {0, 0, .0048944}, kDigits);
  expectNear(seen.value<IZelVectorValue>(u"<CenterTo>")->value(), {0, 0, .0168944}, kDigits);
  EXPECT_NEAR(seen.value<IZelDoubleValue>(u"<DiameterFrom>")->value(), .0204223, kDigits);
  EXPECT_NEAR(seen.value<IZelDoubleValue>(u"<DiameterTo>")->value(), .0324223, kDigits);
  EXPECT_EQ(seen.value<IZelIntValue>(u"<MaxPtEAx>")->value(), 0);
}

TEST_F(ConeCreators, AConstrainedConeHoldsItsAxisAlongTheWorkPlaneNormal) {
  ObservedFitter::Record seen;
  ObservedFitter::install(host_, "IZelCone", kHostConeFitterClassId, seen);
  IPtr<IZelFeature> feature = probe("HardProbeConstrainedConeCreator", kHoleTips, kInsideHole, kProbe,
                                    planeFeature({0, 0, 0}, {0, 0, -1}).get());
  expectSurfaceCompensated(feature.get(), kHoleTips.size());
  auto* constraint = seen.value<IZelFeatureConstraintParameter>(u"<Constraint>");
  ASSERT_TRUE(constraint);
  EXPECT_EQ(constraint->constraintType(), 2);
  EXPECT_EQ(constraint->constrainedElement(), 1);
  EXPECT_EQ(constraint->referenceKind(), 1);
  expectNear(constraint->direction(), {0, 0, -1});
  // The ends at the box's height about its middle; the lower four tips and the upper four make the circles.
  auto* from = seen.value<IZelVectorValue>(u"<CenterFrom>");
  ASSERT_TRUE(from);
  const Vector3 middle{(.0140393 - .0162111) / 2, (.0088431 - .0162111) / 2, .0108944};
  expectNear(from->value(), middle + Vector3{0, 0, .006}, kDigits);
  expectNear(seen.value<IZelVectorValue>(u"<CenterTo>")->value(), middle - Vector3{0, 0, .006}, kDigits);
  EXPECT_NEAR(seen.value<IZelDoubleValue>(u"<DiameterFrom>")->value(), .0324223, kDigits);
  EXPECT_NEAR(seen.value<IZelDoubleValue>(u"<DiameterTo>")->value(), .0204223, kDigits);
  // The start before the points, the constraint after the work plane.
  const std::vector<std::u16string> order = {u"<Robust Fit Iterations>",
                                             u"<CenterFrom>",
                                             u"<CenterTo>",
                                             u"<DiameterFrom>",
                                             u"<DiameterTo>",
                                             u"<MaxPtEAx>",
                                             u"<Selection>",
                                             u"<JustBoundary>",
                                             u"<Constraint>"};
  EXPECT_EQ(seen.namesInOrder, order);

  EXPECT_FALSE(probe("HardProbeConstrainedConeCreator", kHoleTips, kInsideHole, kProbe)) << "no work plane";
}

}  // namespace
