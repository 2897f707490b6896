#include <cmath>
#include <limits>

#include <gtest/gtest.h>
#include <Eigen/Geometry>
#include <Eigen/SVD>

#include "host/fitting/fitting.h"
#include "tests/host/fitting/fitting_test_support.h"

namespace fitting::test {
namespace {

TEST(PlaneAndLineFit, RecoverTheirShapesInRandomPoses) {
  Rng rng(11);
  for (int trial = 0; trial < 4; ++trial) {
    const Pose pose = randomPose(rng, 2000.0);
    const auto plane = fitPlane(sample(rng, planePatch(20.0), pose, 40));
    ASSERT_TRUE(plane) << plane.failure().reason;
    EXPECT_LT(angleBetweenLines(plane->normal, pose.axis()), kExact);
    EXPECT_NEAR(pose.axis().dot(plane->point - pose.origin), 0.0, kExact * 20.0);
    EXPECT_TRUE(isCanonical(plane->normal));
    const PointList onLine = sample(rng, lineSegment(30.0), pose, 25);
    const auto line = fitLine(onLine);
    ASSERT_TRUE(line) << line.failure().reason;
    EXPECT_LT(angleBetweenLines(line->direction, pose.axis()), kExact);
    EXPECT_LT(distanceToLine(line->point, pose.origin, pose.axis()), kExact * 30.0);
    EXPECT_TRUE(isCanonical(line->direction));
    const auto [low, high] = spanAlong(onLine, line->point, line->direction);
    EXPECT_LT((line->start - line->point - low * line->direction).norm(), kExact * 30.0);
    EXPECT_LT((line->end - line->point - high * line->direction).norm(), kExact * 30.0);
  }
}

// The principal axes of the centred points, from a singular value decomposition: smallest spread first.
Eigen::Matrix3d singularAxes(const PointList& points, const Eigen::Vector3d& centre) {
  Eigen::MatrixXd centred(points.size(), 3);
  for (std::size_t i = 0; i < points.size(); ++i) centred.row(i) = (points[i] - centre).transpose();
  return Eigen::JacobiSVD<Eigen::MatrixXd>(centred, Eigen::ComputeThinV).matrixV().rowwise().reverse();
}

TEST(PlaneAndLineFit, NoisyFitsMatchSingularValueDecompositionAndTruth) {
  Rng rng(12);
  const double sigma = 0.01, length = 20.0, rootN = std::sqrt(2000.0);
  const Pose pose = randomPose(rng, 100.0);
  const PointList onPlane = sample(rng, planePatch(length), pose, 2000, sigma);
  const PointList onLine = sample(rng, lineSegment(length), pose, 2000, sigma);
  const auto plane = fitPlane(onPlane);
  const auto line = fitLine(onLine);
  ASSERT_TRUE(plane && line);
  EXPECT_LT(angleBetweenLines(plane->normal, singularAxes(onPlane, plane->point).col(0)), 1e-12);
  EXPECT_LT(angleBetweenLines(line->direction, singularAxes(onLine, line->point).col(2)), 1e-12);
  // Tilts to a few sigma / sqrt(n) over the RMS extent, length / sqrt(12) (the plane's narrow side).
  EXPECT_LT(angleBetweenLines(plane->normal, pose.axis()), 5.0 * sigma / rootN / (length / std::sqrt(12.0)));
  EXPECT_LT(angleBetweenLines(line->direction, pose.axis()),
            5.0 * sigma / rootN / (length / std::sqrt(12.0)));
  EXPECT_LT(distanceToLine(pose.origin, line->point, line->direction), 5.0 * sigma / rootN);
}

TEST(LineFit, InAPlaneIgnoresHeightAndSignsDistancesBySide) {
  Rng rng(13);
  const Pose pose = randomPose(rng, 50.0);
  const Eigen::Vector3d normal = pose.rotation.col(0);
  PointList points = sample(rng, lineSegment(30.0), pose, 20);
  for (std::size_t i = 0; i < points.size(); ++i) points[i] += (i % 5 - 2.0) * normal;
  const auto line = fitLineInPlane(points, Plane{pose.origin + 2.0 * normal, -3.0 * normal});
  ASSERT_TRUE(line) << line.failure().reason;
  EXPECT_LT(angleBetweenLines(line->direction, pose.axis()), kExact);
  EXPECT_NEAR(normal.dot(line->point - pose.origin), 2.0, kExact);
  EXPECT_EQ(*line->planeNormal, (-3.0 * normal).normalized());
  const Eigen::Vector3d side = line->planeNormal->cross(line->direction);
  EXPECT_NEAR(signedDistance(*line, line->point + 0.5 * side + 9.0 * normal), 0.5, 1e-12);
  EXPECT_NEAR(signedDistance(*line, line->point - 0.5 * side), -0.5, 1e-12);
  const Line inSpace{line->point, line->direction, line->start, line->end, std::nullopt};
  EXPECT_NEAR(signedDistance(inSpace, line->point - 0.5 * side), 0.5, 1e-12);
}

TEST(PlaneAndLineFit, RefuseWhatDoesNotDetermineThemButFitThinSets) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Eigen::Vector3d z = Eigen::Vector3d::UnitZ();
  EXPECT_FALSE(fitPlane(PointList{{0, 0, 0}, {1, 0, 0}}));
  EXPECT_FALSE(fitPlane(PointList{{0, 0, 0}, {1, 1, 1}, {2, 2, 2 + 1e-9}, {3, 3, 3}}));
  EXPECT_FALSE(fitPlane(PointList(5, Eigen::Vector3d(2000, -3, 7))));
  EXPECT_FALSE(fitPlane(PointList{{0, 0, 0}, {1, 0, 0}, {0, nan, 0}}));
  EXPECT_TRUE(fitPlane(PointList{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {1, 1e-4, 0}}));
  EXPECT_FALSE(fitLine(PointList(3, Eigen::Vector3d(2000, 0, 0))));
  EXPECT_FALSE(fitLineInPlane(PointList{{1, 1, 0}, {1, 1, 5}}, Plane{{0, 0, 0}, z}));
  EXPECT_FALSE(fitLineInPlane(PointList{{1, 1, 0}, {2, 1, 5}}, Plane{{0, 0, 0}, {0, 0, 0}}));
}

}  // namespace
}  // namespace fitting::test
