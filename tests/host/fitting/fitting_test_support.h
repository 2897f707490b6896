#pragma once

// Known shapes in random poses, sampled with or without noise, and checks sharing no code with the library.

#include <cstddef>
#include <functional>
#include <numbers>
#include <random>
#include <utility>
#include <vector>

#include <Eigen/Core>

namespace fitting::test {

using PointList = std::vector<Eigen::Vector3d>;
using Rng = std::mt19937_64;

// Noise-free data must give the shape back to this, relative for lengths and in radians for directions.
inline constexpr double kExact = 1e-9;
inline constexpr double kFullTurn = 2.0 * std::numbers::pi;

struct Pose {
  Eigen::Matrix3d rotation;
  Eigen::Vector3d origin;
  Eigen::Vector3d axis() const { return rotation.col(2); }
  // A direction near axis(): axis() + a x + b y in the pose's frame, normalized; and back.
  Eigen::Vector3d tilted(double a, double b) const {
    return rotation * Eigen::Vector3d(a, b, 1.0).normalized();
  }
  Eigen::Vector2d tiltOf(const Eigen::Vector3d& direction) const {
    const Eigen::Vector3d local = rotation.transpose() * direction;
    return local.head<2>() / local.z();
  }
};
Pose randomPose(Rng& rng, double distanceFromOrigin);

// A surface in its own frame, around its z axis: the point for two parameters in [0, 1), and the outward unit
// normal there.
using Surface = std::function<std::pair<Eigen::Vector3d, Eigen::Vector3d>(double, double)>;
Surface planePatch(double size);
Surface lineSegment(double length);
Surface sphereCap(double radius, double polarAngle);
// The radius is radius0 + z tan(halfAngle), for z in [zLow, zHigh]; arc is the angle covered around z.
Surface coneBand(double radius0, double halfAngle, double zLow, double zHigh, double arc = kFullTurn);
inline Surface cylinderPatch(double radius, double length, double arc) {
  return coneBand(radius, 0.0, -length / 2, length / 2, arc);
}
inline Surface circleArc(double radius, double arc) {
  return coneBand(radius, 0.0, 0.0, 0.0, arc);
}

// count points of surface placed by pose, each moved along its normal by Gaussian noise of deviation noise.
PointList sample(Rng& rng, const Surface& surface, const Pose& pose, std::size_t count, double noise = 0.0);

// The angle between two lines, whatever the senses of their directions.
double angleBetweenLines(const Eigen::Vector3d& a, const Eigen::Vector3d& b);
double distanceToLine(const Eigen::Vector3d& point, const Eigen::Vector3d& onLine,
                      const Eigen::Vector3d& unit);
// The lowest and highest of (p - origin).direction over the points.
std::pair<double, double> spanAlong(const PointList& points, const Eigen::Vector3d& origin,
                                    const Eigen::Vector3d& direction);
double sumOfSquares(const PointList& points, const std::function<double(const Eigen::Vector3d&)>& distance);
// Whether the component of largest magnitude is positive.
bool isCanonical(const Eigen::Vector3d& direction);

// Checks the library's optimum, written in the cost's own parametrisation, with a compass search: started a
// step away, it must come back to within tolerance, and find nothing lower.
void expectSameOptimum(const std::function<double(const Eigen::VectorXd&)>& cost,
                       const Eigen::VectorXd& optimum, double step, double tolerance);

}  // namespace fitting::test
