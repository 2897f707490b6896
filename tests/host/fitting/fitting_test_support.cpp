#include "tests/host/fitting/fitting_test_support.h"

#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>
#include <Eigen/Geometry>

namespace fitting::test {
namespace {

Eigen::Vector3d radial(double angle) {
  return {std::cos(angle), std::sin(angle), 0.0};
}

// Moves along each coordinate in turn while that lowers the cost, halving the move when none does.
Eigen::VectorXd compassSearch(const std::function<double(const Eigen::VectorXd&)>& cost, Eigen::VectorXd x,
                              double step) {
  double lowest = cost(x);
  while (step > 1e-13) {
    bool moved = false;
    for (Eigen::Index i = 0; i < x.size(); ++i) {
      for (const double move : {step, -step}) {
        Eigen::VectorXd trial = x;
        trial(i) += move;
        if (const double value = cost(trial); value < lowest) {
          x = trial;
          lowest = value;
          moved = true;
        }
      }
    }
    if (!moved) step /= 2.0;
  }
  return x;
}

}  // namespace

Pose randomPose(Rng& rng, double distanceFromOrigin) {
  std::normal_distribution<double> gaussian;
  const Eigen::Quaterniond rotation(gaussian(rng), gaussian(rng), gaussian(rng), gaussian(rng));
  const Eigen::Vector3d offset(gaussian(rng), gaussian(rng), gaussian(rng));
  return {rotation.normalized().toRotationMatrix(), distanceFromOrigin * offset.normalized()};
}

Surface planePatch(double size) {
  return [=](double u, double v) {
    return std::pair{Eigen::Vector3d(size * (2 * u - 1), size * (v - 0.5), 0.0), Eigen::Vector3d::UnitZ()};
  };
}

Surface lineSegment(double length) {
  return [=](double u, double v) {
    return std::pair{Eigen::Vector3d(0, 0, length * (u - 0.5)), radial(kFullTurn * v)};
  };
}

Surface sphereCap(double radius, double polarAngle) {
  return [=](double u, double v) {
    const double z = 1.0 - u * (1.0 - std::cos(polarAngle));
    const Eigen::Vector3d out = std::sqrt(1.0 - z * z) * radial(kFullTurn * v) + z * Eigen::Vector3d::UnitZ();
    return std::pair{Eigen::Vector3d(radius * out), out};
  };
}

Surface coneBand(double radius0, double halfAngle, double zLow, double zHigh, double arc) {
  return [=](double u, double v) {
    const double z = zLow + u * (zHigh - zLow);
    const Eigen::Vector3d out = radial(arc * v);
    const Eigen::Vector3d normal = std::cos(halfAngle) * out - std::sin(halfAngle) * Eigen::Vector3d::UnitZ();
    return std::pair{
        Eigen::Vector3d((radius0 + z * std::tan(halfAngle)) * out + z * Eigen::Vector3d::UnitZ()), normal};
  };
}

PointList sample(Rng& rng, const Surface& surface, const Pose& pose, std::size_t count, double noise) {
  std::uniform_real_distribution<double> uniform;
  std::normal_distribution<double> gaussian(0.0, 1.0);
  PointList points;
  for (std::size_t i = 0; i < count; ++i) {
    const auto [point, normal] = surface(uniform(rng), uniform(rng));
    points.push_back(pose.origin + pose.rotation * (point + noise * gaussian(rng) * normal));
  }
  return points;
}

double angleBetweenLines(const Eigen::Vector3d& a, const Eigen::Vector3d& b) {
  return std::atan2(a.cross(b).norm(), std::abs(a.dot(b)));
}

double distanceToLine(const Eigen::Vector3d& point, const Eigen::Vector3d& onLine,
                      const Eigen::Vector3d& unit) {
  return (point - onLine).cross(unit).norm();
}

std::pair<double, double> spanAlong(const PointList& points, const Eigen::Vector3d& origin,
                                    const Eigen::Vector3d& direction) {
  std::vector<double> along;
  for (const Eigen::Vector3d& p : points) along.push_back(direction.dot(p - origin));
  const auto [low, high] = std::minmax_element(along.begin(), along.end());
  return {*low, *high};
}

double sumOfSquares(const PointList& points, const std::function<double(const Eigen::Vector3d&)>& distance) {
  double sum = 0.0;
  for (const Eigen::Vector3d& p : points) sum += std::pow(distance(p), 2);
  return sum;
}

bool isCanonical(const Eigen::Vector3d& direction) {
  Eigen::Index largest = 0;
  direction.cwiseAbs().maxCoeff(&largest);
  return direction(largest) > 0.0;
}

void expectSameOptimum(const std::function<double(const Eigen::VectorXd&)>& cost,
                       const Eigen::VectorXd& optimum, double step, double tolerance) {
  const Eigen::VectorXd independent = compassSearch(cost, optimum.array() + step, step);
  EXPECT_LE(cost(optimum), cost(independent) * (1.0 + 1e-12));
  EXPECT_LT((independent - optimum).cwiseAbs().maxCoeff(), tolerance);
}

}  // namespace fitting::test
