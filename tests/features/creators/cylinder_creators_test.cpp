#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "creator_fixture.h"
#include "host_api/host_class_ids.h"
#include "observed_fitter.h"
#include "tests/features/probe_ball.h"

namespace {

// A bore about (.1, .1) along z probed as two rings of four tips, at z = .005 and .025, with a probe of
// radius .002: each tip centre lies .008 from the axis.
const Points kBoreTips = {{.108, .1, .005},       {.096, .1069282, .005}, {.096, .0930718, .005},
                          {.104, .1069282, .005}, {.104, .0930718, .025}, {.1069282, .104, .025},
                          {.0930718, .104, .025}, {.1, .092, .025}};
const Vector3 kAxisPoint{.1, .1, 0};
const Vector3 kInsideBore{.1, .1, .015};

// The tips moved to the distance `radius` from the axis.
Points atRadius(const Points& tips, double radius) {
  Points moved;
  for (const Vector3& p : tips) {
    const Vector3 across{p.x - kAxisPoint.x, p.y - kAxisPoint.y, 0};
    moved.push_back(Vector3{kAxisPoint.x, kAxisPoint.y, p.z} + across.normalized() * radius);
  }
  return moved;
}

class CylinderCreators : public CreatorTest {
 protected:
  IPtr<IZelFeature> topBottomCylinder(const Points& tips, const Vector3& stop) {
    return probeBetween(tips, stop, kProbe, groundPlane().get(), planeFeature({0, 0, .03}, {0, 0, 1}).get());
  }

  // The cylinder is the bore (or boss) of radius .010 about the z axis through (.1, .1), its compensated
  // points on it at their own heights.
  static void expectBoreCompensated(IZelFeature* feature, const Points& tips) {
    auto* cylinder = queryPart<IZelCylinder>(feature);
    ASSERT_TRUE(cylinder);
    EXPECT_NEAR(std::fabs(cylinder->axisDirection().z), 1.0, 1e-9);
    const Vector3 onAxis = cylinder->axisPoint();
    EXPECT_NEAR(onAxis.x, .1, 1e-7);
    EXPECT_NEAR(onAxis.y, .1, 1e-7);
    EXPECT_NEAR(cylinder->radius(), .010, 1e-7);
    const Points points = compensated(feature);
    const Points expected = atRadius(tips, .010);
    ASSERT_EQ(points.size(), tips.size());
    for (size_t i = 0; i < tips.size(); ++i) expectNear(points[i], expected[i], 1e-7);
  }
};

TEST_F(CylinderCreators, ABoreGrowsAndABossShrinksByTheProbeRadius) {
  struct Case {
    const char* kind;
    double tipRadius;
    Vector3 stop;
  };
  const Case cases[] = {{"bore", .008, kInsideBore}, {"boss", .012, {.2, .1, .015}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    const Points tips = atRadius(kBoreTips, c.tipRadius);
    expectBoreCompensated(probe("HardProbeCylinderCreator", tips, c.stop, kProbe).get(), tips);
  }
}

// The stop on the fitted surface cannot tell a bore from a boss: the operator is asked to lift the probe, and
// a stop lifted by a little more than the clearance is taken.
TEST_F(CylinderCreators, AStopOnTheSurfaceIsRefusedAndALiftedOneTaken) {
  ObservedFitter::Record seen;
  ObservedFitter::install(host_, "IZelCylinder", kHostCylinderFitterClassId, seen);
  // A fit answering exact values, the stop on its surface.
  seen.changeAnswer = [](IZelFeature& fitted) {
    queryPart<IZelCylinder>(&fitted)->redefine({0, 0, 0}, {0, 0, 1}, .25, {1, 0, 0}, nullptr, nullptr,
                                               nullptr);
  };
  EXPECT_FALSE(probe("HardProbeCylinderCreator", kBoreTips, {0, .25, .5}, kProbe));
  EXPECT_NE(refusal.find("lift the probe"), std::string::npos) << refusal;
  EXPECT_FALSE(probe("HardProbeCylinderCreator", kBoreTips, {0, .25 + .9e-4, .5}, kProbe));
  IPtr<IZelFeature> feature = probe("HardProbeCylinderCreator", kBoreTips, {0, .25 - 1.1e-4, .5}, kProbe);
  auto* cylinder = queryPart<IZelCylinder>(feature.get());
  ASSERT_TRUE(cylinder);
  EXPECT_EQ(cylinder->radius(), .25 + kProbe);
  EXPECT_EQ(refusal, "");
}

TEST_F(CylinderCreators, TheFreeFitStartsFromTheTwoRings) {
  ObservedFitter::Record seen;
  ObservedFitter::install(host_, "IZelCylinder", kHostCylinderFitterClassId, seen);
  expectBoreCompensated(probe("HardProbeCylinderCreator", kBoreTips, kInsideBore, kProbe).get(), kBoreTips);
  ASSERT_TRUE(seen.value<IZelVectorValue>(u"<Axis>"));
  expectNear(seen.value<IZelVectorValue>(u"<Axis>")->value(), {0, 0, 1}, 1e-6);
  expectNear(seen.value<IZelVectorValue>(u"<Center>")->value(), {.1, .1, .015}, 1e-7);
  EXPECT_NEAR(seen.value<IZelDoubleValue>(u"<Diameter>")->value(), .016, 1e-7);
  ASSERT_TRUE(seen.value<IZelIntValue>(u"<MaxPtEAx>"));
  EXPECT_EQ(seen.value<IZelIntValue>(u"<MaxPtEAx>")->value(), 0);

  struct Case {
    const char* kind;
    Points tips;
    bool fits;
  };
  // Three collinear tips span no ring plane; rings in one plane have one centre and give no axis.
  const Points kCollinearFirst = {{.108, .1, .005}, {.108, .1, .010}, {.108, .1, .015},
                                  kBoreTips[1],     kBoreTips[2],     kBoreTips[4],
                                  kBoreTips[5],     kBoreTips[6],     kBoreTips[7]};
  const Case withoutStart[] = {
      {"six points", {kBoreTips.begin(), kBoreTips.begin() + 6}, true},
      {"collinear first tips", kCollinearFirst, true},
      {"rings in one plane", atRadius(ring(kAxisPoint, {0, 0, 1}, .008, 8), .008), false},
  };
  for (const Case& c : withoutStart) {
    SCOPED_TRACE(c.kind);
    seen.given.clear();
    IPtr<IZelFeature> feature = probe("HardProbeCylinderCreator", c.tips, kInsideBore, kProbe);
    EXPECT_FALSE(seen.value<IZelParameter>(u"<Axis>"));
    EXPECT_FALSE(seen.value<IZelParameter>(u"<Center>"));
    EXPECT_FALSE(seen.value<IZelParameter>(u"<Diameter>"));
    EXPECT_TRUE(seen.value<IZelIntValue>(u"<MaxPtEAx>"));
    if (c.fits) {
      expectBoreCompensated(feature.get(), c.tips);
    } else {
      EXPECT_FALSE(feature) << "tips in a plane";
    }
  }
  EXPECT_FALSE(
      probe("HardProbeCylinderCreator", {kBoreTips.begin(), kBoreTips.begin() + 5}, kInsideBore, kProbe));
}

TEST_F(CylinderCreators, ABossThinnerThanTheProbeGivesNoCylinderRatherThanAMirroredOne) {
  for (double tipRadius : {.002, .001}) {
    SCOPED_TRACE(tipRadius);
    EXPECT_FALSE(probe("HardProbeCylinderCreator", atRadius(kBoreTips, tipRadius), {.2, .1, .015}, kProbe));
  }
}

TEST_F(CylinderCreators, AConstrainedCylinderHoldsItsAxisAlongTheWorkPlaneNormalOverTheProbedExtent) {
  ObservedFitter::Record seen;
  ObservedFitter::install(host_, "IZelCylinder", kHostCylinderFitterClassId, seen);
  IPtr<IZelFeature> feature =
      probe("HardProbeConstrainedCylinderCreator", kBoreTips, kInsideBore, kProbe, groundPlane().get());
  expectBoreCompensated(feature.get(), kBoreTips);
  auto* cylinder = queryPart<IZelCylinder>(feature.get());
  ASSERT_TRUE(cylinder);
  expectNear(cylinder->firstEnd(), {.1, .1, .005}, 1e-7);
  expectNear(cylinder->secondEnd(), {.1, .1, .025}, 1e-7);
  auto* constraint = seen.value<IZelFeatureConstraintParameter>(u"<Constraint>");
  ASSERT_TRUE(constraint);
  EXPECT_EQ(constraint->constraintType(), 2);
  EXPECT_EQ(constraint->constrainedElement(), 1);
  EXPECT_EQ(constraint->referenceKind(), 1);
  expectNear(constraint->direction(), {0, 0, 1});
  expectNear(seen.value<IZelVectorValue>(u"<Axis>")->value(), {0, 0, 1}, 1e-9);
  expectNear(seen.value<IZelVectorValue>(u"<Center>")->value(), {.1, .1, .015}, 1e-7);
  EXPECT_NEAR(seen.value<IZelDoubleValue>(u"<Diameter>")->value(), .016, 1e-7);
  // The start before the points, the constraint after the work plane.
  const std::vector<std::u16string> order = {
      u"<Robust Fit Iterations>", u"<Axis>",      u"<Center>", u"<Diameter>", u"<MaxPtEAx>", u"<Selection>",
      u"<JustBoundary>",          u"<Constraint>"};
  EXPECT_EQ(seen.namesInOrder, order);

  EXPECT_FALSE(probe("HardProbeConstrainedCylinderCreator", kBoreTips, kInsideBore, kProbe))
      << "no work plane";
}

TEST_F(CylinderCreators, ATopBottomCylinderRunsFromTheBottomPlaneToTheTopPlane) {
  IPtr<IZelFeature> feature = topBottomCylinder(kBoreTips, kInsideBore);
  expectBoreCompensated(feature.get(), kBoreTips);
  auto* cylinder = queryPart<IZelCylinder>(feature.get());
  ASSERT_TRUE(cylinder);
  expectNear(cylinder->firstEnd(), {.1, .1, 0}, 1e-7);
  expectNear(cylinder->secondEnd(), {.1, .1, .03}, 1e-7);
  EXPECT_FALSE(topBottomCylinder({kBoreTips.begin(), kBoreTips.begin() + 5}, kInsideBore));
}

// Tips of a bore of radius .010 probed with a probe of radius .003, at (degrees, height) about an axis
// through `centre` along `axis`.
Points boreTips(const std::vector<std::pair<double, double>>& touches, const Vector3& centre,
                const Vector3& axis) {
  const Vector3 u =
      Vector3::cross(axis, std::fabs(axis.x) < .9 ? Vector3{1, 0, 0} : Vector3{0, 1, 0}).normalized();
  const Vector3 v = Vector3::cross(axis, u);
  Points tips;
  for (const auto& [degrees, height] : touches) {
    const double angle = degrees * std::acos(-1.0) / 180.0;
    tips.push_back(centre + axis * height + u * (.007 * std::cos(angle)) + v * (.007 * std::sin(angle)));
  }
  return tips;
}

// A ball travels into a wall along about its normal, square to a cylinder's axis, or at one slant down into
// a hole: where every touch's travel comes in within 10 degrees of the slant they share off square to one
// axis, from half a turn around it or more, the free fit starts from that axis and from where the travels'
// lines meet; otherwise, as without travels, from the rings.
TEST_F(CylinderCreators, TheFreeFitStartsFromTravelsSquareToOneAxis) {
  ObservedFitter::Record seen;
  ObservedFitter::install(host_, "IZelCylinder", kHostCylinderFitterClassId, seen);
  const Matrix4x4 pose =
      Matrix4x4::translation({.3, -.2, .1}) * Matrix4x4::rotation(Vector3(1, 2, 3).normalized(), .35);
  const Vector3 axis = Matrix4x4::transformVector(pose, {0, 0, 1});
  struct Case {
    const char* what;
    double arc;        // degrees around the bore the six touches cover
    double lean;       // degrees each travel leans off the slant, up and down in turn
    double slant;      // degrees every travel comes down
    int without = -1;  // a touch with no travel
    bool started;
    double aside = 0;       // degrees every travel is turned about the axis, off the line through it
    bool crossing = false;  // each touch taken across the bore from the one before
  };
  const Case cases[] = {
      {"all around, square", 300, 0, 0, -1, true},
      {"all around, leaning 9 degrees", 300, 9, 0, -1, true},
      {"leaning 11 degrees", 300, 11, 0, -1, false},
      {"a 190 degree arc", 190, 0, 0, -1, true},
      {"a 170 degree arc", 170, 0, 0, -1, false},
      {"a touch without travel", 300, 0, 0, 2, false},
      {"brought down at 40 degrees, all around", 300, 8, 40, -1, true},
      {"brought down at 40 degrees, on a 150 degree arc", 150, 0, 40, -1, false},
      {"brought down at 70 degrees, all around", 300, 0, 70, -1, false},
      {"all around, each 15 degrees aside of the axis", 300, 0, 0, -1, false, 15},
      {"all around, each 8 degrees aside of the axis", 300, 0, 0, -1, true, 8},
      {"all around, crossing the bore at each touch", 300, 3, 0, -1, true, 0, true},
  };

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Points tips, travels;
    const int crossed[] = {0, 3, 1, 4, 2, 5};
    for (int i = 0; i < 6; ++i) {
      const int station = c.crossing ? crossed[i] : i;
      const double a = c.arc * station / 5 * M_PI / 180,
                   lean = ((i % 2 ? c.lean : -c.lean) - c.slant) * M_PI / 180;
      const Vector3 out{std::cos(a), std::sin(a), 0};
      const double aside = c.aside * M_PI / 180;
      const Vector3 turned{std::cos(a + aside), std::sin(a + aside), 0};
      tips.push_back(
          Matrix4x4::transformPoint(pose, kAxisPoint + out * .008 + Vector3(0, 0, .005 + .004 * i)));
      const Vector3 travel = turned * std::cos(lean) + Vector3(0, 0, std::sin(lean));
      travels.push_back(i == c.without ? Vector3() : Matrix4x4::transformVector(pose, travel));
    }
    seen.given.clear();
    IPtr<IZelHardProbeFeatureCreator> made = creator("HardProbeCylinderCreator");
    made->setParameter(ZelString(kSampledPointsKey), pointsValue(tips).get());
    made->setParameter(ZelString(kApproachesKey), pointsValue(travels).get());
    made->setParameter(ZelString(kStopPointKey),
                       pointValue(Matrix4x4::transformPoint(pose, kInsideBore)).get());
    made->setParameter(ZelString(kProbeRadiusKey), doubleValue(kProbe).get());
    create(*made);
    auto* startAxis = seen.value<IZelVectorValue>(u"<Axis>");
    ASSERT_EQ(startAxis != nullptr, c.started);
    // The fitter hears of the travels only as the start values its creator is to give.
    const std::vector<std::u16string> partsNames = {
        u"<Robust Fit Iterations>", u"<Axis>", u"<Center>", u"<Diameter>", u"<MaxPtEAx>", u"<Selection>",
        u"<JustBoundary>"};
    for (const std::u16string& name : seen.namesInOrder)
      EXPECT_NE(std::find(partsNames.begin(), partsNames.end(), name), partsNames.end());
    if (!c.started) continue;
    EXPECT_GT(std::fabs(startAxis->value().normalized().dot(axis)), std::cos((c.lean + 1) * M_PI / 180));
    if (c.lean > 0 || c.aside > 0) continue;
    const Vector3 centre = seen.value<IZelVectorValue>(u"<Center>")->value();
    EXPECT_LT(Vector3::perpendicularPart(centre - Matrix4x4::transformPoint(pose, kAxisPoint), axis).length(),
              1e-9);
    EXPECT_NEAR(seen.value<IZelDoubleValue>(u"<Diameter>")->value(), .016, 1e-9);
  }
  // Seven touches or more in two rings whose travels tell nothing start from the rings, as a seed and no
  // more.
  seen.given.clear();
  IPtr<IZelHardProbeFeatureCreator> made = creator("HardProbeCylinderCreator");
  made->setParameter(ZelString(kSampledPointsKey), pointsValue(kBoreTips).get());
  made->setParameter(ZelString(kApproachesKey), pointsValue(Points(kBoreTips.size())).get());
  made->setParameter(ZelString(kStopPointKey), pointValue(kInsideBore).get());
  made->setParameter(ZelString(kProbeRadiusKey), doubleValue(kProbe).get());
  expectBoreCompensated(create(*made).get(), kBoreTips);
  EXPECT_TRUE(seen.value<IZelVectorValue>(u"<Axis>"));
  EXPECT_FALSE(seen.value<IZelParameter>(u"<AxisFromTravels>"));
}

// Six touches on two stacked rings of three lie exactly on the bore and on cylinders across it as well: the
// order they were taken in, ring after ring, names the bore, which is given exactly. Touches no order tells
// apart must be refused, never answered with one of the others. Touches that determine the bore give it.
TEST_F(CylinderCreators, TouchesThatFitSeveralCylindersExactlyGiveNoneAndOthersGiveTheExactBore) {
  struct Layout {
    const char* name;
    std::vector<std::pair<double, double>> touches;
    bool determined;
  };
  const Layout layouts[] = {
      {"rings of three stacked",
       {{0, .003}, {120, .003}, {240, .003}, {0, .007}, {120, .007}, {240, .007}},
       true},
      {"rings of three staggered",
       {{0, .003}, {120, .003}, {240, .003}, {60, .007}, {180, .007}, {300, .007}},
       true},
      {"alternate heights",
       {{0, .003}, {60, .007}, {120, .003}, {180, .007}, {240, .003}, {300, .007}},
       false},
      {"opposite pairs at three heights",
       {{0, .002}, {90, .005}, {153, .008}, {180, .002}, {270, .005}, {333, .008}},
       false},
      {"six spread in height",
       {{20, .002}, {60, .005}, {100, .008}, {200, .002}, {250, .005}, {300, .008}},
       true},
      {"rings of three and four",
       {{0, .003}, {120, .003}, {240, .003}, {30, .007}, {100, .007}, {200, .007}, {290, .007}},
       true},
      {"rings of four",
       {{0, .003}, {90, .003}, {180, .003}, {270, .003}, {45, .007}, {135, .007}, {225, .007}, {315, .007}},
       true},
  };
  const Vector3 centre{.05, .04, 0};
  for (const Vector3& axis : {Vector3{0, 0, 1}, Vector3{.36, -.48, .8}}) {
    for (const Layout& layout : layouts) {
      SCOPED_TRACE(testing::Message()
                   << layout.name << ", axis " << axis.x << " " << axis.y << " " << axis.z);
      IPtr<IZelFeature> feature = probe("HardProbeCylinderCreator", boreTips(layout.touches, centre, axis),
                                        centre + axis * .005, .003);
      auto* cylinder = queryPart<IZelCylinder>(feature.get());
      if (!layout.determined) {
        EXPECT_FALSE(cylinder) << "radius " << cylinder->radius();
        EXPECT_NE(refusal.find("the points fit cylinders along distinct axes equally well"),
                  std::string::npos)
            << refusal;
        continue;
      }
      ASSERT_TRUE(cylinder);
      EXPECT_NEAR(cylinder->radius(), .010, 1e-9);
      EXPECT_NEAR(Vector3::cross(cylinder->axisDirection(), axis).length(), 0, 1e-9);
      EXPECT_NEAR(Vector3::perpendicularPart(cylinder->axisPoint() - centre, axis).length(), 0, 1e-9);
    }
  }
}

// A bore leaning between two parallel faces keeps the axis its wall gives, and ends where that axis meets
// each face: perpendicularity and position at the faces are what this feature measures. An axis within 10
// degrees of parallel to a face ends on it nowhere near the wall, and gives no cylinder.
TEST_F(CylinderCreators, ATopBottomCylinderKeepsItsFittedAxisAndEndsWhereItMeetsEachPlane) {
  const std::vector<std::pair<double, double>> touches = {{20, .004},  {60, .009},  {100, .014}, {140, .019},
                                                          {200, .024}, {250, .006}, {300, .016}, {340, .021}};
  const Vector3 centre{.1, .1, 0};
  const IPtr<IZelFeature> bottom = groundPlane(), top = planeFeature({0, 0, .03}, {0, 0, 1});
  for (const double degrees : {1.0, 10.0}) {
    SCOPED_TRACE(testing::Message() << "leaning " << degrees << " degrees");
    const double lean = degrees * std::acos(-1.0) / 180.0;
    const Vector3 axis{std::sin(lean), 0, std::cos(lean)};
    IPtr<IZelFeature> feature =
        probeBetween(boreTips(touches, centre, axis), centre + axis * .015, .003, bottom.get(), top.get());
    auto* cylinder = queryPart<IZelCylinder>(feature.get());
    ASSERT_TRUE(cylinder) << refusal;
    EXPECT_NEAR(Vector3::cross(cylinder->axisDirection().normalized(), axis).length(), 0, 1e-9);
    EXPECT_GT(cylinder->axisDirection().z, 0) << "from the bottom plane to the top one";
    EXPECT_NEAR(cylinder->radius(), .010, 1e-9);
    expectNear(cylinder->firstEnd(), centre, 1e-9);
    expectNear(cylinder->secondEnd(), centre + axis * (.03 / std::cos(lean)), 1e-9);
  }

  // Faces tilted against an upright bore: the ends lie on the faces and on the axis.
  const Vector3 tilted = Vector3{0, .6, .8};
  IPtr<IZelFeature> between =
      probeBetween(kBoreTips, kInsideBore, kProbe, planeFeature({.1, .1, 0}, tilted).get(),
                   planeFeature({.1, .1, .03}, tilted).get());
  auto* upright = queryPart<IZelCylinder>(between.get());
  ASSERT_TRUE(upright);
  expectNear(upright->firstEnd(), {.1, .1, 0}, 1e-7);
  expectNear(upright->secondEnd(), {.1, .1, .03}, 1e-7);

  struct Parallel {
    const char* name;
    Vector3 bottomNormal;
    Vector3 topNormal;
    const char* reason;
  };
  // sin 9.9° = .1719 and sin 10.1° = .1754: the normals lean the planes that far towards the axis.
  const Parallel parallels[] = {
      {"bottom plane along the axis",
       {1, 0, 0},
       {0, 0, 1},
       "within 10 degrees of parallel to the bottom plane"},
      {"top plane 9.9 degrees off the axis", {0, 0, 1}, {.98491, 0, .17193}, "parallel to the top plane"},
  };
  for (const Parallel& c : parallels) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(probeBetween(kBoreTips, kInsideBore, kProbe, planeFeature({.1, .1, 0}, c.bottomNormal).get(),
                              planeFeature({.1, .1, .03}, c.topNormal.normalized()).get()));
    EXPECT_NE(refusal.find(c.reason), std::string::npos) << refusal;
  }
  EXPECT_TRUE(probeBetween(kBoreTips, kInsideBore, kProbe, bottom.get(),
                           planeFeature({.1, .1, .03}, Vector3{.98446, 0, .17537}.normalized()).get()))
      << "10.1 degrees off the axis: " << refusal;
}

// The operator learns what a refused cylinder needs: the points still missing.
TEST_F(CylinderCreators, TooFewPointsAreRefusedWithTheCountStillMissing) {
  EXPECT_FALSE(
      probe("HardProbeCylinderCreator", {kBoreTips.begin(), kBoreTips.begin() + 4}, kInsideBore, kProbe));
  EXPECT_EQ(refusal, "2 more points are needed");
  EXPECT_FALSE(
      probe("HardProbeCylinderCreator", {kBoreTips.begin(), kBoreTips.begin() + 5}, kInsideBore, kProbe));
  EXPECT_EQ(refusal, "1 more point is needed");
}

}  // namespace
