#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "host/fitting/fitting.h"
#include "tests/host/fitting/fitting_test_support.h"

namespace fitting::test {
namespace {

TEST(CircleAndSphereFit, RecoverFullShapesPartialOnesAndFarSmallOnes) {
  Rng rng(21);
  struct Case {
    double distance, radius, arc;
  };
  // Each partial circle is a 30 degree arc, and each sphere a cap spanning the same angle of a great circle.
  for (const Case c : {Case{100, 30, kFullTurn}, Case{100, 30, std::numbers::pi / 6}, Case{2000, 5, 1.0}}) {
    const Pose pose = randomPose(rng, c.distance);
    const auto circle = fitCircle(sample(rng, circleArc(c.radius, c.arc), pose, 30));
    ASSERT_TRUE(circle) << circle.failure().reason;
    EXPECT_LT((circle->centre - pose.origin).norm(), kExact * c.radius);
    EXPECT_NEAR(circle->radius, c.radius, kExact * c.radius);
    EXPECT_LT(angleBetweenLines(circle->normal, pose.axis()), kExact);
    EXPECT_TRUE(circle->frame.origin == circle->centre && circle->frame.axes.col(2) == circle->normal);
    EXPECT_TRUE(circle->frame.axes.isUnitary(1e-14));
    const auto sphere = fitSphere(sample(rng, sphereCap(c.radius, c.arc / 2), pose, 5000));
    ASSERT_TRUE(sphere) << sphere.failure().reason;
    EXPECT_LT((sphere->centre - pose.origin).norm(), kExact * c.radius);
    EXPECT_NEAR(sphere->radius, c.radius, kExact * c.radius);
  }
}

TEST(CircleFit, InAGivenPlaneMatchesTruthAndAnIndependentMinimum) {
  Rng rng(22);
  const double sigma = 0.01, radius = 10.0;
  const Pose pose = randomPose(rng, 300.0);
  PointList points = sample(rng, circleArc(radius, kFullTurn), pose, 400, sigma);
  for (std::size_t i = 0; i < points.size(); ++i) points[i] += (i % 7 - 3.0) * pose.axis();
  const auto circle = fitCircleInPlane(points, Plane{pose.origin + pose.axis(), -2.0 * pose.axis()});
  ASSERT_TRUE(circle) << circle.failure().reason;
  EXPECT_EQ(circle->normal, -pose.axis().normalized());
  EXPECT_NEAR(pose.axis().dot(circle->centre - pose.origin), 1.0, 1e-12);
  EXPECT_NEAR(circle->radius, radius, 5.0 * sigma / std::sqrt(400.0));
  // Independently: the centre in the pose's own plane coordinates, and the radius.
  const auto cost = [&](const Eigen::VectorXd& x) {
    return sumOfSquares(points, [&](const Eigen::Vector3d& p) {
      return ((pose.rotation.transpose() * (p - pose.origin)).head<2>() - x.head<2>()).norm() - x(2);
    });
  };
  const Eigen::Vector3d centre = pose.rotation.transpose() * (circle->centre - pose.origin);
  expectSameOptimum(cost, Eigen::Vector3d(centre.x(), centre.y(), circle->radius), 0.1, 1e-7);
}

TEST(SphereFit, NoisyFitMatchesTruthAndAnIndependentMinimum) {
  Rng rng(23);
  const double sigma = 0.01, radius = 25.0;
  const Pose pose = randomPose(rng, 100.0);
  const PointList points = sample(rng, sphereCap(radius, std::numbers::pi), pose, 400, sigma);
  const auto sphere = fitSphere(points);
  ASSERT_TRUE(sphere);
  EXPECT_NEAR(sphere->radius, radius, 5.0 * sigma / std::sqrt(400.0));
  const auto cost = [&](const Eigen::VectorXd& x) {
    return sumOfSquares(
        points, [&](const Eigen::Vector3d& p) { return (p - pose.origin - x.head<3>()).norm() - x(3); });
  };
  const Eigen::Vector3d centre = sphere->centre - pose.origin;
  expectSameOptimum(cost, Eigen::Vector4d(centre.x(), centre.y(), centre.z(), sphere->radius), 0.1, 1e-7);
}

TEST(CircleAndSphereFit, RefuseSetsThatDoNotDetermineThem) {
  Rng rng(24);
  const Pose pose = randomPose(rng, 100.0);
  const Plane xy{Eigen::Vector3d::Zero(), Eigen::Vector3d::UnitZ()};
  EXPECT_FALSE(fitCircle(PointList{{0, 0, 0}, {1, 0, 0}}));
  EXPECT_FALSE(fitCircle(PointList{{0, 0, 0}, {1, 1, 0}, {2, 2, 0}, {3, 3, 0}}));
  EXPECT_FALSE(fitCircleInPlane(PointList{{0, 0, 0}, {1, 0, 5}, {2, 0, -1}, {3, 0, 2}}, xy));
  EXPECT_FALSE(fitCircleInPlane(PointList{{1, 1, 0}, {1, 1, 5}, {1, 1, -1}}, xy));
  EXPECT_FALSE(
      fitCircleInPlane(PointList{{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}}, Plane{{0, 0, 0}, {0, 0, INFINITY}}));
  EXPECT_FALSE(fitSphere(PointList{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));
  EXPECT_FALSE(fitSphere(sample(rng, circleArc(10.0, kFullTurn), pose, 50)));
  for (const double flatness : {1e-3, 1e-4, 1e-5}) {
    EXPECT_FALSE(fitSphere(sample(rng, planePatch(10.0), pose, 300, flatness)));
  }
}

}  // namespace
}  // namespace fitting::test
