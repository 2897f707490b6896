#include <cmath>
#include <limits>
#include <numbers>

#include <gtest/gtest.h>
#include <Eigen/Geometry>

#include "host/fitting/fitting.h"
#include "tests/host/fitting/fitting_test_support.h"

namespace fitting::test {
namespace {

// A cone around the pose's z axis whose radius at the pose's origin is radius0, widening along z.
struct TrueCone {
  Pose pose;
  double radius0, halfAngle;
  double radiusAt(const Eigen::Vector3d& p) const {
    return radius0 + pose.axis().dot(p - pose.origin) * std::tan(halfAngle);
  }
};

void expectCone(const FitResult<Cone>& fit, const TrueCone& truth, double tolerance) {
  ASSERT_TRUE(fit) << fit.failure().reason;
  EXPECT_NEAR(fit->halfAngle, truth.halfAngle, tolerance);
  EXPECT_LT(angleBetweenLines(fit->axis, truth.pose.axis()), tolerance);
  EXPECT_LT(distanceToLine(fit->endA, truth.pose.origin, truth.pose.axis()), tolerance * truth.radius0);
  EXPECT_NEAR(fit->radiusA, truth.radiusAt(fit->endA), tolerance * truth.radius0);
  EXPECT_NEAR(fit->radiusB, truth.radiusAt(fit->endB), tolerance * truth.radius0);
  EXPECT_LE(fit->radiusA, fit->radiusB);
  EXPECT_NEAR(fit->axis.dot(fit->endB - fit->endA), (fit->endB - fit->endA).norm(),
              tolerance * truth.radius0);
}

TEST(ConeFit, RecoversConesNarrowBandsWideOnesAndCylindersNarrowEndFirst) {
  Rng rng(41);
  struct Case {
    double distance, radius0, halfAngle, zLow, zHigh;
  };
  for (const Case c : {Case{100, 10, 0.3, -10, 10}, Case{100, 20, 0.5, -0.5, 0.5}, Case{100, 5, 1.2, 0, 3},
                       Case{100, 8, 0.0, -5, 5}, Case{2000, 5, 0.2, -2, 2}}) {
    for (int trial = 0; trial < 2; ++trial) {
      const TrueCone truth{randomPose(rng, c.distance), c.radius0, c.halfAngle};
      expectCone(fitCone(sample(rng, coneBand(c.radius0, c.halfAngle, c.zLow, c.zHigh), truth.pose, 80)),
                 truth, kExact);
    }
  }
}

TEST(ConeFit, NoisyFitMatchesTruthAndAnIndependentMinimum) {
  Rng rng(42);
  const double sigma = 0.01;
  const std::size_t count = 400;
  const TrueCone truth{randomPose(rng, 100.0), 10.0, 0.4};
  const PointList points = sample(rng, coneBand(10.0, 0.4, -6.0, 6.0), truth.pose, count, sigma);
  const auto fit = fitCone(points);
  // A few sigma / sqrt(n), over the band's RMS half-height of about 3.5 for the angles.
  expectCone(fit, truth, 20.0 * sigma / std::sqrt(static_cast<double>(count)) / 3.5);
  // Independently: the apex (3), the axis as a tilt of the pose's (2), and the half-angle.
  const auto cost = [&](const Eigen::VectorXd& x) {
    const Eigen::Vector3d axis = truth.pose.tilted(x(3), x(4));
    return sumOfSquares(points, [&](const Eigen::Vector3d& p) {
      const Eigen::Vector3d fromApex = p - truth.pose.origin - x.head<3>();
      return fromApex.cross(axis).norm() * std::cos(x(5)) - fromApex.dot(axis) * std::sin(x(5));
    });
  };
  const Eigen::Vector3d apex =
      fit->endA - fit->axis * fit->radiusA / std::tan(fit->halfAngle) - truth.pose.origin;
  Eigen::VectorXd optimum(6);
  optimum << apex, truth.pose.tiltOf(fit->axis), fit->halfAngle;
  expectSameOptimum(cost, optimum, 0.01, 1e-6);
}

TEST(ConeFit, SeedsOnlyEverHelpAndTheSamePointsGiveTheSameBits) {
  Rng rng(43);
  const TrueCone truth{randomPose(rng, 100.0), 15.0, 0.25};
  const PointList points = sample(rng, coneBand(15.0, 0.25, -1.0, 1.0), truth.pose, 200);
  const Eigen::Vector3d a = truth.pose.origin - truth.pose.axis(), b = truth.pose.origin + truth.pose.axis();
  const double dA = 2.0 * truth.radiusAt(a), dB = 2.0 * truth.radiusAt(b);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const ConeSeed& seed :
       {ConeSeed{a, b, dA, dB}, ConeSeed{b, a, dB, dA}, ConeSeed{a, a, dA, dB}, ConeSeed{a, b, 0.0, 0.0},
        ConeSeed{a, b, nan, dB}, ConeSeed{a, {nan, 0, 0}, dA, dB},
        ConeSeed{a, a + truth.pose.rotation.col(0), 1.0, 90.0}}) {
    expectCone(fitCone(points, seed), truth, kExact);
  }
  const auto once = fitCone(points), again = fitCone(points);
  EXPECT_TRUE(once->endA == again->endA && once->axis == again->axis && once->halfAngle == again->halfAngle);
}

TEST(ConeFit, ParallelToADirectionKeepsItExactly) {
  Rng rng(44);
  const TrueCone truth{randomPose(rng, 100.0), 6.0, 0.35};
  const PointList points = sample(rng, coneBand(6.0, 0.35, -4.0, 4.0), truth.pose, 100);
  const Eigen::Vector3d reversed = -2.0 * truth.pose.axis();
  const Eigen::Vector3d tilted = 3.0 * (truth.pose.axis() + 0.05 * truth.pose.rotation.col(1));
  const auto fit = fitConeParallelTo(points, reversed);
  expectCone(fit, truth, kExact);
  EXPECT_EQ(fit->axis, -reversed.normalized());
  const auto tiltedFit = fitConeParallelTo(points, tilted);
  ASSERT_TRUE(tiltedFit);
  EXPECT_TRUE(tiltedFit->axis == tilted.normalized() || tiltedFit->axis == -tilted.normalized());
  EXPECT_FALSE(fitConeParallelTo(sample(rng, circleArc(5.0, kFullTurn), truth.pose, 30), truth.pose.axis()));
  EXPECT_FALSE(fitConeParallelTo(points, {0, 0, std::numeric_limits<double>::infinity()}));
}

TEST(ConeFit, RefusesSetsThatDoNotDetermineAConeOrCrossItsApex) {
  Rng rng(45);
  const Pose pose = randomPose(rng, 100.0);
  const PointList band = sample(rng, coneBand(5.0, 0.3, -2.0, 2.0), pose, 50);
  EXPECT_FALSE(fitCone(PointList(band.begin(), band.begin() + 5)));
  EXPECT_FALSE(fitCone(sample(rng, circleArc(10.0, kFullTurn), pose, 50)));
  EXPECT_FALSE(fitCone(sample(rng, planePatch(10.0), pose, 300, 0.001)));
  EXPECT_FALSE(fitCone(sample(rng, coneBand(2.0, 0.5, -5.0, 6.0), pose, 300)));
}

}  // namespace
}  // namespace fitting::test
