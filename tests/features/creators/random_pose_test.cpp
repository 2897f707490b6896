// Every creator on probe-tip centres simulated from a known part in a random pose, with 10 µm of noise on
// each tip: the compensated feature and its compensated points must lie within a few sigma of the true
// surface, whichever side the operator probed from. A compensation of the wrong sign is 2r (2 mm) off.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "creator_fixture.h"

namespace {

constexpr double kSigma = 10e-6;
constexpr double kTolerance = 5 * kSigma;
constexpr double kProbeRadius = .001;
constexpr int kPoses = 8;

class RandomPose : public CreatorTest {
 public:
  Vector3 noisy(const Vector3& p) { return p + Vector3{noise_(rng_), noise_(rng_), noise_(rng_)}; }

 protected:
  Vector3 randomDirection() {
    Vector3 v{unit_(rng_), unit_(rng_), unit_(rng_)};
    return v.normalized();
  }
  Vector3 randomPoint() { return Vector3{unit_(rng_), unit_(rng_), unit_(rng_)} * .5; }
  // Two unit directions across the normal.
  static std::pair<Vector3, Vector3> across(const Vector3& normal) {
    Vector3 u, v;
    Vector3::orthonormalBasis(normal, u, v);
    return {u, v};
  }

  std::mt19937_64 rng_{20261207};
  std::normal_distribution<double> noise_{0.0, kSigma};
  std::uniform_real_distribution<double> unit_{-1.0, 1.0};
};

TEST_F(RandomPose, APlaneLandsOnTheTouchedSurfaceAndFacesTheStopPoint) {
  for (int pose = 0; pose < kPoses; ++pose) {
    const Vector3 origin = randomPoint(), normal = randomDirection();
    const auto [u, v] = across(normal);
    const double side = pose % 2 ? -1.0 : 1.0;  // the free side the operator probes from
    Points tips;
    for (int i = 0; i < 20; ++i)
      tips.push_back(
          noisy(origin + u * (.03 * unit_(rng_)) + v * (.03 * unit_(rng_)) + normal * (side * kProbeRadius)));
    IPtr<IZelFeature> feature =
        probe("HardProbePlaneCreator", tips, origin + normal * (side * .05), kProbeRadius);
    auto* plane = queryPart<IZelPlane>(feature.get());
    ASSERT_TRUE(plane) << pose;
    EXPECT_GT(plane->normal().dot(normal * side), 0.999) << pose;
    EXPECT_LT(std::fabs((plane->center() - origin).dot(normal)), kTolerance) << pose;
    for (const Vector3& p : compensated(feature.get()))
      EXPECT_LT(std::fabs((p - origin).dot(normal)), kTolerance) << pose;
  }
}

TEST_F(RandomPose, ALineLandsOnTheTouchedEdgeWithinTheWorkPlane) {
  for (int pose = 0; pose < kPoses; ++pose) {
    const Vector3 origin = randomPoint(), normal = randomDirection();
    const auto [along, wall] = across(normal);
    const double side = pose % 2 ? -1.0 : 1.0;
    Points tips;
    for (int i = 0; i < 12; ++i)
      tips.push_back(noisy(origin + along * (.005 * i) + wall * (side * kProbeRadius) + normal * .004));
    IPtr<IZelFeature> workPlane = planeFeature(origin, normal);
    IPtr<IZelFeature> feature =
        probe("HardProbeLineCreator", tips, origin + wall * (side * .03) + normal * .01, kProbeRadius,
              workPlane.get());
    auto* line = queryPart<IZelLine>(feature.get());
    ASSERT_TRUE(line) << pose;
    for (const Vector3& end : {line->start(), line->end()}) {
      EXPECT_LT(std::fabs((end - origin).dot(wall)), kTolerance) << pose;
      EXPECT_LT(std::fabs((end - origin).dot(normal)), 1e-12) << pose;
    }
    EXPECT_GT((line->end() - line->start()).dot(along), 0.0) << "in probing order, pose " << pose;
    for (const Vector3& p : compensated(feature.get()))
      EXPECT_LT(std::fabs((p - origin).dot(wall)), kTolerance);
  }
}

TEST_F(RandomPose, ACircleHasTheHolesOrTheBossesRadius) {
  constexpr double kRadius = .01;
  for (int pose = 0; pose < kPoses; ++pose) {
    const Vector3 centre = randomPoint(), normal = randomDirection();
    const bool hole = pose % 2 == 0;
    const double tipRadius = hole ? kRadius - kProbeRadius : kRadius + kProbeRadius;
    Points tips;
    for (const Vector3& p : ring(centre + normal * .003, normal, tipRadius, 16, .1 * pose, 4.0))
      tips.push_back(noisy(p));
    const auto [u, v] = across(normal);
    const Vector3 stop = centre + normal * .02 + (hole ? Vector3{} : u * .03);
    IPtr<IZelFeature> workPlane = planeFeature(centre, normal);
    IPtr<IZelFeature> feature = probe("HardProbeCircleCreator", tips, stop, kProbeRadius, workPlane.get());
    auto* circle = queryPart<IZelArc>(feature.get());
    ASSERT_TRUE(circle) << pose;
    EXPECT_NEAR(circle->radius(), kRadius, kTolerance) << (hole ? "hole" : "boss") << pose;
    EXPECT_LT((circle->center() - centre).length(), kTolerance) << pose;
    for (const Vector3& p : compensated(feature.get()))
      EXPECT_NEAR((p - centre).length(), kRadius, kTolerance);
  }
}

TEST_F(RandomPose, ASphereHasTheBallsOrTheCavitysRadius) {
  constexpr double kRadius = .02;
  for (int pose = 0; pose < kPoses; ++pose) {
    const Vector3 centre = randomPoint();
    const bool ball = pose % 2 == 0;
    const double tipRadius = ball ? kRadius + kProbeRadius : kRadius - kProbeRadius;
    Points tips;
    for (int i = 0; i < 25; ++i) {
      Vector3 direction = randomDirection();
      if (ball && direction.z < -.3) direction.z = -direction.z;  // a ball on its stand is probed from above
      tips.push_back(noisy(centre + direction * tipRadius));
    }
    const Vector3 stop = ball ? centre + Vector3{0, 0, .1} : centre;
    IPtr<IZelFeature> feature = probe("HardProbeSphereCreator", tips, stop, kProbeRadius);
    auto* sphere = queryPart<IZelSphere>(feature.get());
    ASSERT_TRUE(sphere) << pose;
    EXPECT_NEAR(sphere->radius(), kRadius, kTolerance) << (ball ? "ball" : "cavity") << pose;
    EXPECT_LT((sphere->center() - centre).length(), kTolerance) << pose;
    for (const Vector3& p : compensated(feature.get()))
      EXPECT_NEAR((p - centre).length(), kRadius, kTolerance);
  }
}

TEST_F(RandomPose, PointsAndPointCirclesCompensateTowardsTheSurface) {
  for (int pose = 0; pose < kPoses; ++pose) {
    const Vector3 origin = randomPoint(), normal = randomDirection();
    const auto [u, v] = across(normal);
    IPtr<IZelFeature> workPlane = planeFeature(origin, normal);
    // A top face at height .02 probed from above, a bottom face at .005 probed from below.
    const Points top = {noisy(origin + u * .01 + normal * .021), noisy(origin + v * .01 + normal * .021),
                        noisy(origin + normal * .021)};
    const Points bottom = {noisy(origin + u * .01 + normal * .004), noisy(origin + normal * .004),
                           noisy(origin + v * .01 + normal * .004)};
    IPtr<IZelFeature> highest =
        probe("HardProbeMaxPointCreator", top, origin + normal * .1, kProbeRadius, workPlane.get());
    IPtr<IZelFeature> lowest =
        probe("HardProbeMinPointCreator", bottom, origin - normal, kProbeRadius, workPlane.get());
    ASSERT_TRUE(highest && lowest) << pose;
    EXPECT_NEAR((compensated(highest.get()).at(0) - origin).dot(normal), .02, kTolerance) << pose;
    EXPECT_NEAR((compensated(lowest.get()).at(0) - origin).dot(normal), .005, kTolerance) << pose;

    // Surface and target points land on the work plane below the tips' mean, whatever side they are on.
    for (const char* onPlane : {"HardProbeSurfacePointCreator", "HardProbeTargetPointCreator"}) {
      IPtr<IZelFeature> point = probe(onPlane, {top[0], bottom[0]}, {}, kProbeRadius, workPlane.get());
      ASSERT_TRUE(point) << onPlane;
      expectNear(compensated(point.get()).at(0), origin + u * .01, kTolerance);
    }

    // A tip of radius .005 resting in a hole of radius .004 stands .003 above its rim.
    const Vector3 hole = origin + u * .02;
    IPtr<IZelFeature> rim =
        probe("HardProbePointCircleCreator", {noisy(hole + normal * .003)}, {}, .005, workPlane.get());
    auto* circle = queryPart<IZelArc>(rim.get());
    ASSERT_TRUE(circle) << pose;
    EXPECT_NEAR(circle->radius(), .004, kTolerance) << pose;
    EXPECT_LT((circle->center() - hole).length(), kTolerance) << pose;
  }
}

// Tips on rings across the axis at the heights given, each over the arc `span` from `from`, at the tip radius
// a height gives, with noise.
template <class RadiusAt>
Points ringsOfTips(RandomPose& test, const Vector3& base, const Vector3& axis,
                   std::initializer_list<double> heights, int perRing, double from, double span,
                   RadiusAt radiusAt) {
  Points tips;
  for (double h : heights) {
    for (const Vector3& p : ring(base + axis * h, axis, radiusAt(h), perRing, from, span))
      tips.push_back(test.noisy(p));
  }
  return tips;
}

TEST_F(RandomPose, ACylinderFromAQuarterOfABoreOrABossHasItsRadius) {
  constexpr double kRadius = .01;
  for (int pose = 0; pose < kPoses; ++pose) {
    const Vector3 base = randomPoint(), axis = randomDirection();
    const auto [u, v] = across(axis);
    const bool bore = pose % 2 == 0;
    const double tipRadius = bore ? kRadius - kProbeRadius : kRadius + kProbeRadius;
    const Points tips = ringsOfTips(*this, base, axis, {.004, .012, .02}, 8, .3 * pose, M_PI / 2,
                                    [&](double) { return tipRadius; });
    const Vector3 stop = base + axis * .012 + (bore ? Vector3{} : u * .05);
    const IPtr<IZelFeature> bottom = planeFeature(base, axis), top = planeFeature(base + axis * .025, axis);
    const IPtr<IZelFeature> cylinders[] = {
        probe("HardProbeCylinderCreator", tips, stop, kProbeRadius),
        probe("HardProbeConstrainedCylinderCreator", tips, stop, kProbeRadius, bottom.get()),
        probeBetween(tips, stop, kProbeRadius, bottom.get(), top.get())};
    for (const IPtr<IZelFeature>& feature : cylinders) {
      SCOPED_TRACE(&feature - cylinders);
      auto* cylinder = queryPart<IZelCylinder>(feature.get());
      ASSERT_TRUE(cylinder) << pose;
      EXPECT_NEAR(cylinder->radius(), kRadius, kTolerance) << (bore ? "bore " : "boss ") << pose;
      EXPECT_GT(std::fabs(cylinder->axisDirection().dot(axis)), 1 - 1e-5) << pose;
      for (const Vector3& p : compensated(feature.get()))
        EXPECT_NEAR(Vector3::perpendicularPart(p - base, axis).length(), kRadius, kTolerance) << pose;
    }
  }
}

TEST_F(RandomPose, AConeFromABandOfAHoleOrABossHasItsSurface) {
  const double slope = std::tan(.3);
  for (int pose = 0; pose < kPoses; ++pose) {
    const Vector3 apexSide = randomPoint(), axis = randomDirection();
    const auto [u, v] = across(axis);
    const bool hole = pose % 2 == 0;
    // The surface's radius .008 + slope·h; the tips stand off it by the probe radius along its normal.
    const double side = hole ? -1.0 : 1.0;
    auto surface = [&](double h) { return .008 + slope * h; };
    const double offAcross = side * kProbeRadius * std::cos(.3),
                 offAlong = -side * kProbeRadius * std::sin(.3);
    const Points tips = ringsOfTips(*this, apexSide + axis * offAlong, axis, {.002, .007, .012}, 8, .2 * pose,
                                    2 * M_PI, [&](double h) { return surface(h) + offAcross; });
    const Vector3 stop = apexSide + axis * .007 + (hole ? Vector3{} : u * .05);
    IPtr<IZelFeature> workPlane = planeFeature(apexSide, axis);
    for (IZelFeature* constraint : {static_cast<IZelFeature*>(nullptr), workPlane.get()}) {
      const char* creator = constraint ? "HardProbeConstrainedConeCreator" : "HardProbeConeCreator";
      SCOPED_TRACE(creator);
      IPtr<IZelFeature> feature = probe(creator, tips, stop, kProbeRadius, constraint);
      auto* cone = queryPart<IZelCone>(feature.get());
      ASSERT_TRUE(cone) << pose;
      // Over a band of 10 mm the noise leaves the half-angle some 0.6 mrad uncertain.
      EXPECT_NEAR(cone->halfAngle(), .3, 3e-3) << pose;
      EXPECT_GT(cone->axisDirection().dot(axis), 1 - 1e-5) << "narrow end first, pose " << pose;
      for (const Vector3& end : {cone->endA(), cone->endB()}) {
        const double h = (end - apexSide).dot(axis);
        EXPECT_NEAR(Vector3::perpendicularPart(end - apexSide, axis).length(), 0, kTolerance) << pose;
        EXPECT_NEAR(end == cone->endA() ? cone->radiusA() : cone->radiusB(), surface(h), kTolerance)
            << (hole ? "hole " : "boss ") << pose;
      }
      for (const Vector3& p : compensated(feature.get())) {
        const double h = (p - apexSide).dot(axis);
        EXPECT_NEAR(Vector3::perpendicularPart(p - apexSide, axis).length(), surface(h), kTolerance) << pose;
      }
    }
  }
}

TEST_F(RandomPose, ParallelPlanesAcrossASlotOrARibHaveTheirWidth) {
  for (int pose = 0; pose < kPoses; ++pose) {
    const Vector3 origin = randomPoint(), normal = randomDirection();
    const auto [u, v] = across(normal);
    // The primary face through the origin across normal, probed from its front; the other face at +.02 across
    // a slot, probed from the slot, or at −.01 behind a rib, probed from behind: either tip stands below it.
    const bool slot = pose % 2 == 0;
    const double width = slot ? .02 : .01, other = slot ? width : -width;
    Points tips;
    for (int i = 0; i < 6; ++i)
      tips.push_back(
          noisy(origin + u * (.02 * unit_(rng_)) + v * (.02 * unit_(rng_)) + normal * kProbeRadius));
    IPtr<IZelFeature> primary =
        probe("HardProbeParallelPlanesPlaneCreator", tips, origin + normal * .005, kProbeRadius);
    IPtr<IZelFeature> secondary =
        probe("HardProbePointCreator", {noisy(origin + u * .01 + normal * (other - kProbeRadius))}, {},
              kProbeRadius);
    ASSERT_TRUE(primary && secondary) << pose;
    IPtr<IZelFeature> feature =
        compose("HardProbeParallelPlanesCreator", {primary.get(), secondary.get()}, kProbeRadius);
    auto* planes = queryPart<IZelParallelPlanes>(feature.get());
    ASSERT_TRUE(planes) << pose;
    EXPECT_EQ(planes->solidity(), slot ? 2 : 1) << pose;
    Vector3 midPoint, fittedNormal, reference, low, high;
    double distance = 0;
    planes->planes(midPoint, fittedNormal, reference, distance, low, high);
    EXPECT_NEAR(distance, width, kTolerance) << (slot ? "slot " : "rib ") << pose;
    const Points points = compensated(feature.get());
    ASSERT_EQ(points.size(), tips.size() + 1);
    for (size_t i = 0; i < tips.size(); ++i)
      EXPECT_NEAR((points[i] - origin).dot(normal), 0, kTolerance) << pose;
    EXPECT_NEAR((points.back() - origin).dot(normal), other, kTolerance) << pose;
  }
}

TEST_F(RandomPose, AnOvalSlotSpansItsProbedEnds) {
  for (int pose = 0; pose < kPoses; ++pose) {
    const Vector3 centre = randomPoint(), normal = randomDirection();
    const auto [u, v] = across(normal);
    IPtr<IZelFeature> workPlane = planeFeature(centre, normal);
    // Half circles of radius .005 at either end of a slot .03 long, probed from inside along their outer
    // arcs.
    IPtr<IZelFeature> ends[2];
    for (int end = 0; end < 2; ++end) {
      const Vector3 endCentre = centre + u * (end ? .01 : -.01);
      Points tips;
      for (const Vector3& p :
           ring(endCentre + normal * .003, normal, .005 - kProbeRadius, 7, end ? -M_PI / 2 : M_PI / 2, M_PI))
        tips.push_back(noisy(p));
      ends[end] =
          probe("HardProbeCircleCreator", tips, endCentre + normal * .01, kProbeRadius, workPlane.get());
      ASSERT_TRUE(ends[end]) << pose;
    }
    IPtr<IZelFeature> feature =
        compose("HardProbeOvalSlotCreator", {ends[0].get(), ends[1].get()}, std::nullopt, workPlane.get());
    auto* slot = queryPart<IZelOvalSlot>(feature.get());
    ASSERT_TRUE(slot) << pose;
    EXPECT_NEAR(slot->width(), .01, kTolerance) << pose;
    EXPECT_NEAR(slot->length(), .03, kTolerance) << pose;
    EXPECT_LT((slot->center() - centre).length(), kTolerance) << pose;
    EXPECT_GT(slot->axis().dot(u), 1 - 1e-4) << pose;
  }
}

}  // namespace
