#include <cmath>
#include <limits>
#include <numbers>

#include <gtest/gtest.h>
#include <Eigen/Geometry>

#include "host/fitting/fitting.h"
#include "tests/host/fitting/fitting_test_support.h"

namespace fitting::test {
namespace {

void expectCylinder(const FitResult<Cylinder>& fit, const Pose& pose, double radius, double tolerance) {
  ASSERT_TRUE(fit) << fit.failure().reason;
  EXPECT_LT(angleBetweenLines(fit->axis, pose.axis()), tolerance);
  EXPECT_NEAR(fit->radius, radius, tolerance * radius);
  EXPECT_LT(distanceToLine(pose.origin, fit->pointOnAxis, fit->axis), tolerance * radius);
  EXPECT_TRUE(fit->frame.origin == fit->pointOnAxis && fit->frame.axes.col(2) == fit->axis);
}

TEST(CylinderFit, RecoversLongRingSquatPartialAndFarSmallCylinders) {
  Rng rng(31);
  struct Case {
    double distance, radius, length, arc;
    std::size_t count;
  };
  // A length of sqrt(6) radii spreads a full cylinder equally in all directions, hiding its axis from the
  // principal axes; a 30 degree arc is the least the host probes.
  for (const Case c : {Case{300, 5, 50, kFullTurn, 60}, Case{300, 20, 2, kFullTurn, 60},
                       Case{300, 10, 10 * std::sqrt(6.0), kFullTurn, 60},
                       Case{300, 10, 10, std::numbers::pi / 6, 60}, Case{2000, 5, 20, kFullTurn, 10000}}) {
    const Pose pose = randomPose(rng, c.distance);
    const PointList points = sample(rng, cylinderPatch(c.radius, c.length, c.arc), pose, c.count);
    const auto fit = fitCylinder(points);
    expectCylinder(fit, pose, c.radius, kExact);
    EXPECT_TRUE(isCanonical(fit->axis));
    const auto [low, high] = spanAlong(points, fit->start, fit->axis);
    EXPECT_NEAR(low, 0.0, kExact * c.length);
    EXPECT_NEAR(high, (fit->end - fit->start).norm(), kExact * c.length);
  }
}

TEST(CylinderFit, NoisyPartialFitMatchesTruthAndAnIndependentMinimum) {
  Rng rng(32);
  const double sigma = 0.01, radius = 10.0, length = 30.0;
  const std::size_t count = 400;
  const Pose pose = randomPose(rng, 100.0);
  const PointList points = sample(rng, cylinderPatch(radius, length, std::numbers::pi), pose, count, sigma);
  const auto fit = fitCylinder(points);
  // Lengths to a few sigma / sqrt(n) (doubled for the half turn); the tilt to that over the axial RMS extent.
  const double bound = 10.0 * sigma / std::sqrt(static_cast<double>(count));
  expectCylinder(fit, pose, radius, bound / radius);
  EXPECT_LT(angleBetweenLines(fit->axis, pose.axis()), bound * std::sqrt(12.0) / length);
  // Independently: the axis as a tilt of the pose's, through the point (c, d) of the pose's xy plane.
  const auto cost = [&](const Eigen::VectorXd& x) {
    const Eigen::Vector3d through = pose.origin + pose.rotation.leftCols<2>() * x.segment<2>(2);
    return sumOfSquares(points, [&](const Eigen::Vector3d& p) {
      return distanceToLine(p, through, pose.tilted(x(0), x(1))) - x(4);
    });
  };
  const Eigen::Vector3d point = pose.rotation.transpose() * (fit->pointOnAxis - pose.origin);
  const Eigen::Vector3d axis = pose.rotation.transpose() * fit->axis;
  Eigen::VectorXd optimum(5);
  optimum << pose.tiltOf(fit->axis), (point - point.z() / axis.z() * axis).head<2>(), fit->radius;
  expectSameOptimum(cost, optimum, 0.01, 1e-7);
}

TEST(CylinderFit, SeedsOnlyEverHelpAndTheSamePointsGiveTheSameBits) {
  Rng rng(33);
  const Pose pose = randomPose(rng, 100.0);
  const PointList points = sample(rng, cylinderPatch(8.0, 3.0, std::numbers::pi / 3), pose, 200);
  const Eigen::Vector3d across = pose.rotation.col(0);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const CylinderSeed& seed :
       {CylinderSeed{pose.axis(), pose.origin, 16.0}, CylinderSeed{{0, 0, 0}, pose.origin, 16.0},
        CylinderSeed{pose.axis(), {nan, 0, 0}, 16.0}, CylinderSeed{pose.axis(), pose.origin, -1.0},
        CylinderSeed{across, pose.origin + 50.0 * across, 200.0}}) {
    expectCylinder(fitCylinder(points, seed), pose, 8.0, kExact);
  }
  const auto once = fitCylinder(points), again = fitCylinder(points);
  EXPECT_TRUE(once->pointOnAxis == again->pointOnAxis && once->axis == again->axis &&
              once->radius == again->radius);
}

TEST(CylinderFit, ParallelToADirectionKeepsItExactly) {
  Rng rng(34);
  const Pose pose = randomPose(rng, 100.0);
  const PointList points = sample(rng, cylinderPatch(6.0, 10.0, kFullTurn), pose, 100);
  const Eigen::Vector3d reversed = -3.0 * pose.axis(),
                        tilted = 7.0 * (pose.axis() + 0.05 * pose.rotation.col(0));
  const auto fit = fitCylinderParallelTo(points, reversed);
  expectCylinder(fit, pose, 6.0, kExact);
  EXPECT_EQ(fit->axis, reversed.normalized());
  const auto tiltedFit = fitCylinderParallelTo(points, tilted);
  ASSERT_TRUE(tiltedFit);
  EXPECT_EQ(tiltedFit->axis, tilted.normalized());
  EXPECT_FALSE(fitCylinderParallelTo(points, Eigen::Vector3d::Zero()));
  EXPECT_FALSE(fitCylinderParallelTo(sample(rng, planePatch(5.0), pose, 50), pose.rotation.col(0)));
}

TEST(CylinderFit, RefusesSetsThatDoNotDetermineACylinder) {
  Rng rng(35);
  const Pose pose = randomPose(rng, 100.0);
  const PointList ring = sample(rng, circleArc(10.0, kFullTurn), pose, 50);
  EXPECT_FALSE(fitCylinder(PointList(ring.begin(), ring.begin() + 4)));
  EXPECT_FALSE(fitCylinder(ring));
  EXPECT_FALSE(fitCylinder(sample(rng, lineSegment(10.0), pose, 50)));
  for (const double flatness : {1e-3, 1e-5}) {
    EXPECT_FALSE(fitCylinder(sample(rng, planePatch(10.0), pose, 300, flatness)));
  }
}

}  // namespace
}  // namespace fitting::test
