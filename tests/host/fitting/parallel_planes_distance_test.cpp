#include <cmath>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

#include "host/fitting/fitting.h"
#include "tests/host/fitting/fitting_test_support.h"

namespace fitting::test {
namespace {

TEST(ParallelPlanesFit, RecoversTwoFacesWithTheNormalFromFirstToSecond) {
  Rng rng(51);
  const Pose pose = randomPose(rng, 1000.0);
  const Pose far{pose.rotation, pose.origin + 12.0 * pose.axis()};
  const PointList first = sample(rng, planePatch(20.0), pose, 30),
                  second = sample(rng, planePatch(5.0), far, 5);
  const auto planes = fitParallelPlanes(first, second), swapped = fitParallelPlanes(second, first);
  ASSERT_TRUE(planes && swapped) << planes.failure().reason;
  EXPECT_LT((planes->normal - pose.axis()).norm(), kExact);
  EXPECT_LT((swapped->normal + pose.axis()).norm(), kExact);
  EXPECT_NEAR(planes->distance, 12.0, kExact * 12.0);
  EXPECT_NEAR(pose.axis().dot(planes->midPoint - pose.origin), 6.0, kExact * 12.0);
}

TEST(ParallelPlanesFit, NoisyFitMatchesTruthAndAnIndependentMinimum) {
  Rng rng(52);
  const Pose pose = randomPose(rng, 100.0);
  const Pose far{pose.rotation, pose.origin + 3.0 * pose.axis()};
  const std::vector<PointList> groups{sample(rng, planePatch(10.0), pose, 100, 0.01),
                                      sample(rng, planePatch(10.0), far, 50, 0.01)};
  const auto planes = fitParallelPlanes(groups[0], groups[1]);
  ASSERT_TRUE(planes);
  EXPECT_NEAR(planes->distance, 3.0, 5.0 * 0.01 * std::sqrt(1.0 / 100 + 1.0 / 50));
  // Independently: the normal as a tilt of the pose's axis, each plane through its own group's centroid.
  const auto cost = [&](const Eigen::VectorXd& x) {
    double sum = 0.0;
    for (const PointList& group : groups) {
      Eigen::Vector3d centroid = Eigen::Vector3d::Zero();
      for (const Eigen::Vector3d& p : group) centroid += p / static_cast<double>(group.size());
      sum += sumOfSquares(
          group, [&](const Eigen::Vector3d& p) { return pose.tilted(x(0), x(1)).dot(p - centroid); });
    }
    return sum;
  };
  expectSameOptimum(cost, pose.tiltOf(planes->normal), 0.01, 1e-8);
}

TEST(ParallelPlanesFit, RefusesGroupsThatDoNotDetermineANormal) {
  const PointList xAxis{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}};
  EXPECT_FALSE(fitParallelPlanes(PointList{}, xAxis));
  EXPECT_FALSE(fitParallelPlanes(PointList{{0, 0, 0}}, PointList{{0, 0, 1}, {1, 0, 1}}));
  EXPECT_FALSE(fitParallelPlanes(xAxis, PointList{{0, 0, 5}, {3, 0, 5}}));
  EXPECT_TRUE(fitParallelPlanes(xAxis, PointList{{0, 0, 5}, {0, 3, 5}}));
}

TEST(SignedDistance, IsPositiveOutsideEveryShape) {
  const Eigen::Vector3d z = Eigen::Vector3d::UnitZ(), origin = Eigen::Vector3d::Zero();
  const Frame frame{origin, Eigen::Matrix3d::Identity()};
  EXPECT_DOUBLE_EQ(signedDistance(Plane{origin, z}, {4, 1, -1}), -1.0);
  EXPECT_DOUBLE_EQ(signedDistance(Circle{origin, z, 2.0, frame}, {3, 0, 5}), 1.0);
  EXPECT_DOUBLE_EQ(signedDistance(Circle{origin, z, 2.0, frame}, {0, 1, -5}), -1.0);
  EXPECT_DOUBLE_EQ(signedDistance(Sphere{origin, 2.0}, {0, 0, -3}), 1.0);
  EXPECT_DOUBLE_EQ(signedDistance(Cylinder{z, origin, 2.0, origin, z, frame}, {0, 1, 40}), -1.0);
  const Cone cone{origin, z, 1.0, 2.0, z, std::numbers::pi / 4};
  EXPECT_NEAR(signedDistance(cone, {3, 0, 1}), std::sqrt(0.5), 1e-15);
  EXPECT_NEAR(signedDistance(cone, {0, 1.5, 0.5}), 0.0, 1e-15);
  EXPECT_NEAR(signedDistance(cone, {0, 0, 0}), -std::sqrt(0.5), 1e-15);
  EXPECT_DOUBLE_EQ(signedDistance(ParallelPlanes{z, origin, 4.0}, {7, 0, -3}), 1.0);
  EXPECT_DOUBLE_EQ(signedDistance(ParallelPlanes{z, origin, 4.0}, {0, 7, 1}), -1.0);
}

TEST(ResidualStatistics, SumUpSignedDistances) {
  const auto stats = residualStatistics(std::vector<double>{-0.3, 0.1, 0.2});
  ASSERT_TRUE(stats);
  EXPECT_DOUBLE_EQ(stats->largestNegative, -0.3);
  EXPECT_DOUBLE_EQ(stats->largestPositive, 0.2);
  EXPECT_DOUBLE_EQ(stats->standardDeviation, std::sqrt(0.14 / 2.0));
  const auto single = residualStatistics(std::vector<double>{1.0});
  EXPECT_TRUE(single->largestNegative == 0.0 && single->standardDeviation == 0.0);
  EXPECT_FALSE(residualStatistics(std::vector<double>{}));
  EXPECT_FALSE(residualStatistics(std::vector<double>{1.0, NAN}));
  const auto ofShape = residualStatistics(Plane{Eigen::Vector3d::Zero(), Eigen::Vector3d::UnitZ()},
                                          PointList{{0, 0, 1}, {0, 0, -2}});
  EXPECT_TRUE(ofShape->largestNegative == -2.0 && ofShape->largestPositive == 1.0);
}

}  // namespace
}  // namespace fitting::test
