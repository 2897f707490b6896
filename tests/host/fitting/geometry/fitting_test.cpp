#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <limits>
#include <numbers>
#include <optional>
#include <ostream>
#include <random>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <Eigen/Core>
#include <Eigen/Geometry>

#include "host/fitting/geometry/axial_uncertainty.h"
#include "host/fitting/geometry/axis_ambiguity.h"
#include "host/fitting/geometry/fitting.h"

namespace fitting::test {
namespace {

// Known shapes in random poses, sampled with or without noise, and checks sharing no code with the library.
using Vector = Eigen::Vector3d;
using Params = Eigen::VectorXd;
using PointList = std::vector<Vector>;
using Rng = std::mt19937_64;

// Noise-free data must give the shape back to this, relative for lengths and in radians for directions.
constexpr double kExact = 1e-9;
constexpr double kFullTurn = 2.0 * std::numbers::pi;

struct Pose {
  Eigen::Matrix3d rotation;
  Vector origin;
  Vector axis() const { return rotation.col(2); }
  // A point and a direction of the world in the pose's own frame.
  Vector local(const Vector& point) const { return rotation.transpose() * (point - origin); }
  Vector localDirection(const Vector& direction) const { return rotation.transpose() * direction; }
};
// A surface in its own frame, around its z axis: the point for two parameters in [0, 1), and the outward unit
// normal there.
using Surface = std::function<std::pair<Vector, Vector>(double, double)>;
using Distance = std::function<double(const Vector&, const Params&)>;

Vector radial(double angle) {
  return {std::cos(angle), std::sin(angle), 0.0};
}

Pose randomPose(Rng& rng, double distanceFromOrigin) {
  std::normal_distribution<double> gaussian;
  const Eigen::Quaterniond rotation(gaussian(rng), gaussian(rng), gaussian(rng), gaussian(rng));
  const Vector offset(gaussian(rng), gaussian(rng), gaussian(rng));
  return {rotation.normalized().toRotationMatrix(), distanceFromOrigin * offset.normalized()};
}

Surface planePatch(double size) {
  return [=](double u, double v) {
    return std::pair{Vector(size * (2 * u - 1), size * (v - 0.5), 0.0), Vector::UnitZ()};
  };
}

Surface lineSegment(double length) {
  return [=](double u, double v) {
    return std::pair{Vector(0, 0, length * (u - 0.5)), radial(kFullTurn * v)};
  };
}

Surface sphereCap(double radius, double polarAngle) {
  return [=](double u, double v) {
    const double z = 1.0 - u * (1.0 - std::cos(polarAngle));
    const Vector out = std::sqrt(1.0 - z * z) * radial(kFullTurn * v) + z * Vector::UnitZ();
    return std::pair{Vector(radius * out), out};
  };
}

// The radius is radius0 + z tan(halfAngle), for z in [zLow, zHigh]; arc is the angle covered around z.
Surface coneBand(double radius0, double halfAngle, double zLow, double zHigh, double arc = kFullTurn) {
  return [=](double u, double v) {
    const double z = zLow + u * (zHigh - zLow);
    const Vector out = radial(arc * v);
    const Vector normal = std::cos(halfAngle) * out - std::sin(halfAngle) * Vector::UnitZ();
    return std::pair{Vector((radius0 + z * std::tan(halfAngle)) * out + z * Vector::UnitZ()), normal};
  };
}

Surface cylinderPatch(double radius, double length, double arc = kFullTurn) {
  return coneBand(radius, 0.0, -length / 2, length / 2, arc);
}
Surface circleArc(double radius, double arc = kFullTurn) {
  return coneBand(radius, 0.0, 0.0, 0.0, arc);
}

// count points of surface placed by pose, each moved along its normal by Gaussian noise of deviation noise.
PointList sample(Rng& rng, const Surface& surface, const Pose& pose, std::size_t count, double noise = 0.0) {
  std::uniform_real_distribution<double> uniform;
  std::normal_distribution<double> gaussian(0.0, 1.0);
  PointList points;
  for (std::size_t i = 0; i < count; ++i) {
    const auto [point, normal] = surface(uniform(rng), uniform(rng));
    points.push_back(pose.origin + pose.rotation * (point + noise * gaussian(rng) * normal));
  }
  return points;
}

// Whether the component of largest magnitude is positive.
bool isCanonical(const Vector& direction) {
  Eigen::Index largest = 0;
  direction.cwiseAbs().maxCoeff(&largest);
  return direction(largest) > 0.0;
}

// Moves along each coordinate in turn while that lowers the cost, halving the move when none does, until the
// move is finest or the moves run out (on a valley that falls without end).
Params compassSearch(const std::function<double(const Params&)>& cost, Params x, double step,
                     double finest = 1e-13) {
  double lowest = cost(x);
  for (int moves = 0; step > finest && moves < 2000; ++moves) {
    bool moved = false;
    for (Eigen::Index i = 0; i < x.size(); ++i) {
      for (const double move : {step, -step}) {
        const Params trial = x + move * Params::Unit(x.size(), i);
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

// Checks the library's optimum, written in the distance's own parameters, with a compass search on the sum of
// squared distances: started a step away, it must come back to within tolerance, and find nothing lower.
void expectSameOptimum(const PointList& points, const Distance& distance, const Params& optimum, double step,
                       double tolerance) {
  const auto cost = [&](const Params& x) {
    double sum = 0.0;
    for (const Vector& p : points) sum += std::pow(distance(p, x), 2);
    return sum;
  };
  const Params independent = compassSearch(cost, optimum.array() + step, step);
  EXPECT_LE(cost(optimum), cost(independent) * (1.0 + 1e-12));
  EXPECT_LT((independent - optimum).cwiseAbs().maxCoeff(), tolerance);
}

// The sum of squared distances of points from the shape of parameters x.
double sumOfSquares(const PointList& points, const Distance& distance, const Params& x) {
  double sum = 0.0;
  for (const Vector& p : points) sum += std::pow(distance(p, x), 2);
  return sum;
}

// The minimum of that sum reached from start by damped Gauss-Newton steps with forward-difference
// derivatives: independent of the library's minimiser, and converged where a compass search crawls along the
// curved valley of a short arc. On a valley that falls without end towards a straight line it stops after its
// iterations.
Params minimumFrom(const PointList& points, const Distance& distance, Params x) {
  const auto residuals = [&](const Params& at) {
    Params r(static_cast<Eigen::Index>(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i) r(static_cast<Eigen::Index>(i)) = distance(points[i], at);
    return r;
  };
  Params r = residuals(x);
  Eigen::MatrixXd jacobian(r.size(), x.size());
  for (double damping = 1e-3; damping < 1e12;) {
    for (Eigen::Index j = 0; j < x.size(); ++j) {
      const double h = 1e-7 * std::max(1.0, std::abs(x(j)));
      jacobian.col(j) = (residuals(x + h * Params::Unit(x.size(), j)) - r) / h;
    }
    Eigen::MatrixXd normal = jacobian.transpose() * jacobian;
    normal.diagonal() *= 1.0 + damping;
    const Params trial = x - normal.ldlt().solve(jacobian.transpose() * r);
    const Params trialResiduals = residuals(trial);
    if (!(trialResiduals.squaredNorm() < r.squaredNorm())) {
      damping *= 10.0;
      continue;
    }
    const bool settled = r.squaredNorm() - trialResiduals.squaredNorm() <= 1e-15 * r.squaredNorm();
    x = trial;
    r = trialResiduals;
    damping /= 10.0;
    if (settled) break;
  }
  return x;
}

// Every fit is judged in the frame of the pose that placed its truth, where the truth lies around the z axis
// through the origin. A fitted shape becomes parameters there: a direction (a, b, 1) as its tilt (a, b), a
// line or axis by where it crosses z = 0, then its sizes. Most parameters of a truth are zeros.
Params values(std::initializer_list<double> list) {
  return Eigen::Map<const Params>(list.begin(), static_cast<Eigen::Index>(list.size()));
}
Vector unit(double a, double b) {
  return Vector(a, b, 1.0).normalized();
}
Eigen::Vector2d tilt(const Vector& direction) {
  return direction.head<2>() / direction.z();
}
Vector crossing(const Vector& point, const Vector& direction) {
  return point - point.z() / direction.z() * direction;
}

// start and end lie on the line through point along direction, level with the lowest and highest point.
void expectExtent(const PointList& points, const Vector& point, const Vector& direction, const Vector& start,
                  const Vector& end) {
  std::vector<double> along;
  for (const Vector& p : points) along.push_back(direction.dot(p - point));
  const auto [low, high] = std::minmax_element(along.begin(), along.end());
  EXPECT_LT((start - point - *low * direction).norm(), kExact * (*high - *low));
  EXPECT_LT((end - point - *high * direction).norm(), kExact * (*high - *low));
}

// Each fit with its result as parameters, after the checks of what the shape promises besides.
FitResult<Params> planeFit(const PointList& points, const Pose& pose) {
  const auto fit = fitPlane(points);
  if (!fit) return fit.failure();
  EXPECT_TRUE(isCanonical(fit->normal));
  const Eigen::Vector2d normal = tilt(pose.localDirection(fit->normal));
  return values({normal.x(), normal.y(), unit(normal.x(), normal.y()).dot(pose.local(fit->point))});
}
FitResult<Params> line(const FitResult<Line>& fit, const Pose& pose, const PointList& points) {
  if (!fit) return fit.failure();
  expectExtent(points, fit->point, fit->direction, fit->start, fit->end);
  const Vector direction = pose.localDirection(fit->direction);
  const Vector through = crossing(pose.local(fit->point), direction);
  return values({tilt(direction).x(), tilt(direction).y(), through.x(), through.y()});
}
FitResult<Params> lineFit(const PointList& points, const Pose& pose) {
  const auto fit = fitLine(points);
  EXPECT_TRUE(!fit || isCanonical(fit->direction));
  return line(fit, pose, points);
}
// The points lie off the plane given for the line, which holds the pose's z axis two above the pose's origin.
FitResult<Params> lineInPlaneFit(PointList points, const Pose& pose) {
  const Vector normal = pose.rotation.col(0);
  for (std::size_t i = 0; i < points.size(); ++i) points[i] += (i % 5 - 2.0) * normal;
  const auto fit = fitLineInPlane(points, Plane{pose.origin + 2.0 * normal, -3.0 * normal});
  EXPECT_TRUE(!fit || *fit->planeNormal == (-3.0 * normal).normalized());
  return line(fit, pose, points);
}
FitResult<Params> circleFit(const PointList& points, const Pose& pose) {
  const auto fit = fitCircle(points);
  if (!fit) return fit.failure();
  EXPECT_TRUE(isCanonical(fit->normal));
  EXPECT_TRUE(fit->frame.origin == fit->centre && fit->frame.axes.col(2) == fit->normal);
  EXPECT_TRUE(fit->frame.axes.isUnitary(1e-14));
  const Vector centre = pose.local(fit->centre);
  const Eigen::Vector2d normal = tilt(pose.localDirection(fit->normal));
  return values({centre.x(), centre.y(), centre.z(), normal.x(), normal.y(), fit->radius});
}
// The points lie off the plane given for the circle, which lies one above the pose's, facing down.
FitResult<Params> circleInPlaneFit(PointList points, const Pose& pose) {
  for (std::size_t i = 0; i < points.size(); ++i) points[i] += (i % 7 - 3.0) * pose.axis();
  const auto fit = fitCircleInPlane(points, Plane{pose.origin + pose.axis(), -2.0 * pose.axis()});
  if (!fit) return fit.failure();
  EXPECT_EQ(fit->normal, -pose.axis().normalized()) << "the caller's sense";
  const Vector centre = pose.local(fit->centre);
  EXPECT_NEAR(centre.z(), 1.0, 1e-12);
  return values({centre.x(), centre.y(), fit->radius});
}
FitResult<Params> sphereFit(const PointList& points, const Pose& pose) {
  const auto fit = fitSphere(points);
  if (!fit) return fit.failure();
  const Vector centre = pose.local(fit->centre);
  return values({centre.x(), centre.y(), centre.z(), fit->radius});
}
FitResult<Params> cylinder(const FitResult<Cylinder>& fit, const Pose& pose, const PointList& points) {
  if (!fit) return fit.failure();
  EXPECT_TRUE(fit->frame.origin == fit->pointOnAxis && fit->frame.axes.col(2) == fit->axis);
  expectExtent(points, fit->pointOnAxis, fit->axis, fit->start, fit->end);
  const Vector axis = pose.localDirection(fit->axis);
  const Vector through = crossing(pose.local(fit->pointOnAxis), axis);
  return values({tilt(axis).x(), tilt(axis).y(), through.x(), through.y(), fit->radius});
}
FitResult<Params> cylinderFit(const PointList& points, const Pose& pose) {
  const auto fit = fitCylinder(points);
  EXPECT_TRUE(!fit || isCanonical(fit->axis));
  return cylinder(fit, pose, points);
}
// The radius where the axis crosses z = 0 stands for the cone's size, so that a cylinder is a cone too.
FitResult<Params> cone(const FitResult<Cone>& fit, const Pose& pose, const PointList& points) {
  if (!fit) return fit.failure();
  const double slope = std::tan(fit->halfAngle);
  EXPECT_LE(fit->radiusA, fit->radiusB) << "A is the narrow end";
  EXPECT_NEAR(fit->radiusB, fit->radiusA + (fit->endB - fit->endA).norm() * slope, kExact * fit->radiusB);
  expectExtent(points, fit->endA, fit->axis, fit->endA, fit->endB);
  const Vector axis = pose.localDirection(fit->axis), endA = pose.local(fit->endA);
  const Vector through = crossing(endA, axis);
  return values({tilt(axis).x(), tilt(axis).y(), through.x(), through.y(),
                 fit->radiusA + (through - endA).dot(axis) * slope, fit->halfAngle});
}
FitResult<Params> coneFit(const PointList& points, const Pose& pose) {
  return cone(fitCone(points), pose, points);
}
// Two faces kGap apart along z, the first at z = 0; the points are told apart by their side of the middle.
constexpr double kGap = 3.0;
Surface facePair(double size) {
  return [=](double u, double v) {
    auto [point, normal] = planePatch(size)(std::fmod(2.0 * u, 1.0), v);
    if (u >= 0.5) point.z() += kGap;
    return std::pair{point, normal};
  };
}
FitResult<Params> parallelPlanesFit(const PointList& points, const Pose& pose) {
  PointList first, second;
  for (const Vector& p : points) (pose.local(p).z() < kGap / 2 ? first : second).push_back(p);
  const auto fit = fitParallelPlanes(first, second), swapped = fitParallelPlanes(second, first);
  if (!fit) return fit.failure();
  EXPECT_LT((swapped->normal + fit->normal).norm(), kExact) << "from the first group to the second";
  const Vector normal = pose.localDirection(fit->normal);
  EXPECT_GT(normal.z(), 0.0);
  const double middle = normal.dot(pose.local(fit->midPoint));
  return values({tilt(normal).x(), tilt(normal).y(), middle - fit->distance / 2, middle + fit->distance / 2});
}

// The distances of a point in the pose's frame to a shape of given parameters, independently of the library.
double toAxis(const Vector& p, const Params& x) {
  return (p - Vector(x(2), x(3), 0.0)).cross(unit(x(0), x(1))).norm();
}
double toPlane(const Vector& p, const Params& x) {
  return unit(x(0), x(1)).dot(p) - x(2);
}
double toCircle(const Vector& p, const Params& x) {
  const Vector fromCentre = p - x.head<3>(), normal = unit(x(3), x(4));
  const double height = fromCentre.dot(normal);
  return std::hypot(height, (fromCentre - height * normal).norm() - x(5));
}
double toCone(const Vector& p, const Params& x) {
  const double along = (p - Vector(x(2), x(3), 0.0)).dot(unit(x(0), x(1)));
  return (toAxis(p, x) - x(4) - along * std::tan(x(5))) * std::cos(x(5));
}
double toFaces(const Vector& p, const Params& x) {
  const double height = unit(x(0), x(1)).dot(p);
  return std::min(std::abs(height - x(2)), std::abs(height - x(3)));
}

struct Fitter {
  std::function<FitResult<Params>(const PointList&, const Pose&)> fit;
  Distance distance;
};
const Fitter kPlane{planeFit, toPlane}, kLine{lineFit, toAxis}, kLineInPlane{lineInPlaneFit, toAxis},
    kCircle{circleFit, toCircle}, kCone{coneFit, toCone}, kParallelPlanes{parallelPlanesFit, toFaces};
const Fitter kCircleInPlane{circleInPlaneFit, [](const Vector& p, const Params& x) {
                              return (p.head<2>() - x.head<2>()).norm() - x(2);
                            }};
const Fitter kSphere{sphereFit,
                     [](const Vector& p, const Params& x) { return (p - x.head<3>()).norm() - x(3); }};
const Fitter kCylinder{cylinderFit, [](const Vector& p, const Params& x) { return toAxis(p, x) - x(4); }};

void expectTruth(const FitResult<Params>& x, const Params& truth) {
  ASSERT_TRUE(x) << x.failure().reason;
  EXPECT_LT((*x - truth).cwiseAbs().maxCoeff(), kExact * std::max(1.0, truth.norm())) << x->transpose();
}

struct Case {
  const char* what;
  const Fitter& fitter;
  Surface surface;
  Params truth;
  std::size_t count = 60;
  double distance = 300.0;  // of the pose's origin from the world's
};

TEST(Fitting, NoiseFreePointsGiveEveryShapeBackInAnyPoseBitForBitAgain) {
  const double pi = std::numbers::pi;
  // Partial circles cover 30 degrees, and partial spheres a cap of that angle. A cylinder sqrt(6) radii long
  // spreads equally in all directions, which hides its axis from the principal axes.
  const Case cases[] = {
      {"plane", kPlane, planePatch(20.0), values({0, 0, 0}), 40, 2000.0},
      {"line", kLine, lineSegment(30.0), values({0, 0, 0, 0}), 25, 2000.0},
      {"line in a plane", kLineInPlane, lineSegment(30.0), values({0, 0, 2, 0}), 20, 50.0},
      {"circle", kCircle, circleArc(30), values({0, 0, 0, 0, 0, 30}), 30},
      {"circle arc", kCircle, circleArc(30, pi / 6), values({0, 0, 0, 0, 0, 30}), 30},
      {"far small arc", kCircle, circleArc(5, 1.0), values({0, 0, 0, 0, 0, 5}), 30, 2000.0},
      {"circle in a plane", kCircleInPlane, circleArc(10, pi / 3), values({0, 0, 10})},
      {"sphere", kSphere, sphereCap(30, pi), values({0, 0, 0, 30}), 5000},
      {"sphere cap", kSphere, sphereCap(30, pi / 12), values({0, 0, 0, 30}), 5000},
      {"far small cap", kSphere, sphereCap(5, 0.5), values({0, 0, 0, 5}), 5000, 2000.0},
      {"long cylinder", kCylinder, cylinderPatch(5, 50), values({0, 0, 0, 0, 5})},
      {"ring", kCylinder, cylinderPatch(20, 2), values({0, 0, 0, 0, 20})},
      {"squat cylinder", kCylinder, cylinderPatch(10, 10 * std::sqrt(6.0)), values({0, 0, 0, 0, 10})},
      {"partial cylinder", kCylinder, cylinderPatch(10, 10, pi / 6), values({0, 0, 0, 0, 10})},
      {"far small cylinder", kCylinder, cylinderPatch(5, 20), values({0, 0, 0, 0, 5}), 10000, 2000.0},
      {"cone", kCone, coneBand(10, 0.3, -10, 10), values({0, 0, 0, 0, 10, 0.3}), 80},
      {"narrow band", kCone, coneBand(20, 0.5, -0.5, 0.5), values({0, 0, 0, 0, 20, 0.5}), 80},
      {"wide cone", kCone, coneBand(5, 1.2, 0, 3), values({0, 0, 0, 0, 5, 1.2}), 80},
      {"cylinder as cone", kCone, cylinderPatch(8, 10), values({0, 0, 0, 0, 8, 0}), 80},
      {"far small cone", kCone, coneBand(5, 0.2, -2, 2), values({0, 0, 0, 0, 5, 0.2}), 80, 2000.0},
      {"parallel planes", kParallelPlanes, facePair(20.0), values({0, 0, 0, kGap}), 35, 1000.0},
  };
  Rng rng(1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (int trial = 0; trial < 2; ++trial) {
      const Pose pose = randomPose(rng, c.distance);
      const PointList points = sample(rng, c.surface, pose, c.count);
      const FitResult<Params> x = c.fitter.fit(points, pose);
      expectTruth(x, c.truth);
      EXPECT_TRUE(!x || *x == *c.fitter.fit(points, pose)) << "the same points give the same bits";
    }
  }
}

TEST(Fitting, NoisyPointsGiveTheLeastSquaresShapeWithinNoiseOfTheTruth) {
  constexpr double kSigma = 0.01;
  constexpr std::size_t kCount = 400;
  const Case cases[] = {
      {"plane", kPlane, planePatch(20.0), values({0, 0, 0})},
      {"line", kLine, lineSegment(20.0), values({0, 0, 0, 0})},
      {"circle", kCircle, circleArc(10), values({0, 0, 0, 0, 0, 10})},
      {"circle in a plane", kCircleInPlane, circleArc(10), values({0, 0, 10})},
      {"sphere", kSphere, sphereCap(25, std::numbers::pi), values({0, 0, 0, 25})},
      {"half cylinder", kCylinder, cylinderPatch(10, 30, std::numbers::pi), values({0, 0, 0, 0, 10})},
      {"cone", kCone, coneBand(10, 0.4, -6, 6), values({0, 0, 0, 0, 10, 0.4})},
      {"parallel planes", kParallelPlanes, facePair(10.0), values({0, 0, 0, kGap})},
  };
  Rng rng(2);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Pose pose = randomPose(rng, 100.0);
    const PointList points = sample(rng, c.surface, pose, kCount, kSigma);
    const FitResult<Params> x = c.fitter.fit(points, pose);
    ASSERT_TRUE(x) << x.failure().reason;
    PointList local;
    for (const Vector& p : points) local.push_back(pose.local(p));
    // Over the points, the fitted shape keeps within a few sigma sqrt(unknowns / points) of the truth.
    double deviation = 0.0;
    for (const Vector& p : local)
      deviation = std::max(deviation, std::abs(c.fitter.distance(p, *x) - c.fitter.distance(p, c.truth)));
    EXPECT_LT(deviation, 6.0 * kSigma * std::sqrt(static_cast<double>(x->size()) / kCount));
    expectSameOptimum(local, c.fitter.distance, *x, 0.01, 1e-6);
  }
}

// Each coordinate rounded to decimals places, as a file or a probe emulator that prints them gives them.
PointList rounded(PointList points, int decimals) {
  const double unit = std::pow(10.0, decimals);
  for (Vector& p : points) p = (p * unit).array().round() / unit;
  return points;
}

TEST(AxialFit, ExactAndRoundedPointsAreNeverRefused) {
  struct Rounding {
    double size;  // of the part, in the points' unit
    int decimals;
  };
  // Rounding leaves from 1e-10 to 1e-4 of the size: all of it must converge, however little remains.
  const Rounding roundings[] = {{10.0, 12}, {10.0, 6}, {10.0, 7}, {10.0, 8}, {0.01, 6}, {0.01, 8}};
  Rng rng(6);
  for (const auto& [size, decimals] : roundings) {
    for (int trial = 0; trial < 4; ++trial) {
      SCOPED_TRACE(testing::Message() << size << " to " << decimals << " decimals, trial " << trial);
      const Pose pose = randomPose(rng, 5.0 * size);
      const Vector along = 2.0 * pose.axis();
      const PointList tube = rounded(sample(rng, cylinderPatch(size / 2, size), pose, 60), decimals);
      const PointList band =
          rounded(sample(rng, coneBand(size / 2, 0.3, -size / 2, size / 2), pose, 60), decimals);
      const double tolerance = std::max(kExact, 1e3 * std::pow(10.0, -decimals) / size);
      const auto expectTruthWithin = [&](const FitResult<Params>& x, const Params& truth) {
        ASSERT_TRUE(x) << x.failure().reason;
        EXPECT_LT((*x - truth).cwiseAbs().maxCoeff(), tolerance * std::max(1.0, truth.norm()));
      };
      const Params cylinderTruth = values({0, 0, 0, 0, size / 2}),
                   coneTruth = values({0, 0, 0, 0, size / 2, 0.3});
      expectTruthWithin(cylinder(fitCylinder(tube), pose, tube), cylinderTruth);
      expectTruthWithin(cylinder(fitCylinderParallelTo(tube, along), pose, tube), cylinderTruth);
      expectTruthWithin(cone(fitCone(band), pose, band), coneTruth);
      expectTruthWithin(cone(fitConeParallelTo(band, along), pose, band), coneTruth);
    }
  }
}

// Short arcs with noise near their sagitta: a fit is refused, or it is no worse than the minimum reached from
// the truth, which may head off towards a straight line when that is the best answer.
TEST(Fitting, ShortNoisyArcsGiveTheLowestMinimumOrARefusal) {
  struct ArcCase {
    const char* what;
    const Fitter& fitter;
    double length;  // along the axis
    int trials;
  };
  constexpr double kRadius = 10.0;
  const ArcCase cases[] = {{"circle", kCircleInPlane, 0.0, 8}, {"cylinder", kCylinder, 15.0, 16}};
  Rng rng(7);
  std::uniform_real_distribution<double> uniform;
  for (const ArcCase& c : cases) {
    int accepted = 0;
    for (int trial = 0; trial < c.trials; ++trial) {
      SCOPED_TRACE(testing::Message() << c.what << " trial " << trial);
      const double arc = (30.0 + 15.0 * uniform(rng)) * std::numbers::pi / 180.0;
      const double sagitta = kRadius * (1.0 - std::cos(arc / 2.0));
      const Pose pose = randomPose(rng, 50.0);
      const PointList points =
          sample(rng, cylinderPatch(kRadius, c.length, arc), pose,
                 20 + static_cast<std::size_t>(60 * uniform(rng)), sagitta * (0.3 + 0.9 * uniform(rng)));
      const FitResult<Params> x = c.fitter.fit(points, pose);
      if (!x) continue;
      ++accepted;
      PointList local;
      for (const Vector& p : points) local.push_back(pose.local(p));
      const Params truth = c.length == 0.0 ? values({0, 0, kRadius}) : values({0, 0, 0, 0, kRadius});
      EXPECT_LE(sumOfSquares(local, c.fitter.distance, *x),
                sumOfSquares(local, c.fitter.distance, minimumFrom(local, c.fitter.distance, truth)) *
                    (1.0 + 1e-6));
    }
    EXPECT_GT(accepted, c.trials / 4) << c.what << ": refusing every arc would be no answer either";
  }
}

// How far a set of points determines its shape.
enum class Determined {
  kWell,       // 10 um of noise moves the fit by less than 0.01 rad and 50 um
  kExactly,    // noise may make another minimum the lowest
  kNotAlways,  // another exact shape may pass through the points
};

// An operator's few touches on two rings of a bore or a cone, in degrees: given angles at the low ring and
// the high one, or as many random ones, and a turn of the high ring.
struct TwoRings {
  const char* what;
  bool cone;
  std::vector<double> lowAngles, highAngles;
  int randomCount;
  double turn;
  Determined determined;
};

std::ostream& operator<<(std::ostream& out, const TwoRings& rings) {
  return out << rings.what;
}

// Angles of a ring in radians: the given ones turned by turn degrees, or count random ones.
std::vector<double> ringAngles(Rng& rng, const std::vector<double>& degrees, int count, double turn) {
  std::uniform_real_distribution<double> uniform(0.0, kFullTurn);
  std::vector<double> angles;
  for (const double d : degrees) angles.push_back((d + turn) * std::numbers::pi / 180.0);
  for (int i = 0; degrees.empty() && i < count; ++i) angles.push_back(uniform(rng));
  return angles;
}

// A pose turned by up to 3 radians and moved by up to half a metre, as parts lie in a cell.
Pose cellPose(Rng& rng) {
  std::uniform_real_distribution<double> uniform;
  const Pose direction = randomPose(rng, 0.5 * uniform(rng));
  const Eigen::AngleAxisd turn(3.0 * uniform(rng), direction.rotation.col(0));
  return {turn.toRotationMatrix(), direction.origin};
}

// A case's name for gtest: the letters and digits of what it is.
template <typename Case>
std::string nameOf(const testing::TestParamInfo<Case>& info) {
  std::string name;
  for (const char ch : std::string(info.param.what)) {
    if (std::isalnum(static_cast<unsigned char>(ch))) name += ch;
  }
  return name;
}

class TwoRingsFit : public testing::TestWithParam<TwoRings> {};

// Exact points give the one shape through them, in every pose, to within 1e-9 of its radius over the band
// they span; with 10 um of noise the fit is the lowest minimum, within 0.01 rad and 50 um of the truth unless
// the noise made another minimum lower (four touches on one ring and two on the other fit a cylinder 4
// degrees off nearly as well). A bore of radius 10 mm touched 20 mm apart, a cone of radius 5 mm widening by
// 0.3 per unit height touched 10 mm apart.
TEST_P(TwoRingsFit, GivesTheExactShapeInEveryPoseAndTheLowestMinimumWithNoise) {
  const TwoRings& c = GetParam();
  const Fitter& fitter = c.cone ? kCone : kCylinder;
  const double radius = c.cone ? 0.005 : 0.01, halfAngle = c.cone ? std::atan(0.3) : 0.0;
  const double height = c.cone ? 0.005 : 0.01;
  const Surface surface = coneBand(radius, halfAngle, -height, height);
  const Params truth = c.cone ? values({0, 0, 0, 0, radius, halfAngle}) : values({0, 0, 0, 0, radius});
  Rng rng(10);
  std::normal_distribution<double> noise(0.0, 10e-6);
  for (int trial = 0; trial < 50; ++trial) {
    SCOPED_TRACE(testing::Message() << "pose " << trial);
    const Pose pose = cellPose(rng);
    const std::vector<double> low = ringAngles(rng, c.lowAngles, c.randomCount, 0.0),
                              high = ringAngles(rng, c.highAngles, c.randomCount, c.turn);
    PointList exact, noisy, noisyLocal;
    for (const auto& [u, angles] : {std::pair{0.0, low}, std::pair{1.0, high}}) {
      for (const double angle : angles) {
        const auto [point, normal] = surface(u, angle / kFullTurn);
        noisyLocal.push_back(point + noise(rng) * normal);
        exact.push_back(pose.origin + pose.rotation * point);
        noisy.push_back(pose.origin + pose.rotation * noisyLocal.back());
      }
    }
    const FitResult<Params> x = fitter.fit(exact, pose);
    const bool mayLieOnAnother = c.determined == Determined::kNotAlways;
    if (mayLieOnAnother && !x) {
      EXPECT_NE(x.failure().reason.find("do not determine"), std::string::npos) << x.failure().reason;
    } else {
      ASSERT_TRUE(x) << x.failure().reason;
      // Over the band the points span, where the truth lies at distance zero: another shape through the
      // points must be refused, never answered.
      PointList probes;
      for (const Vector& p : exact) probes.push_back(pose.local(p));
      for (int i = 0; i < 36; ++i) probes.push_back(surface((i % 3) / 2.0, i / 36.0).first);
      double off = 0.0;
      for (const Vector& p : probes) off = std::max(off, std::abs(fitter.distance(p, *x)));
      EXPECT_LT(off, kExact * radius) << x->transpose();
    }
    const FitResult<Params> y = fitter.fit(noisy, pose);
    ASSERT_TRUE(y) << y.failure().reason;
    const double lowest = sumOfSquares(noisyLocal, fitter.distance, *y);
    EXPECT_LE(lowest,
              sumOfSquares(noisyLocal, fitter.distance, minimumFrom(noisyLocal, fitter.distance, truth)) *
                  (1.0 + 1e-6));
    const bool nearTruth =
        (y->head<2>() - truth.head<2>()).norm() < 0.01 && std::abs((*y)(4) - radius) < 50e-6;
    EXPECT_TRUE(nearTruth || c.determined != Determined::kWell) << y->transpose();
  }
}

const std::vector<double> kRandom;
constexpr double kTurn = 0.2 * 180.0 / std::numbers::pi;  // 0.2 rad
INSTANTIATE_TEST_SUITE_P(
    AxialFit, TwoRingsFit,
    testing::Values(
        TwoRings{"cylinder 3 + 3 uneven", false, {0, 100, 220}, {40, 170, 300}, 0, 0.0, Determined::kWell},
        TwoRings{"cylinder 4 + 2", false, {0, 90, 180, 270}, {30, 200}, 0, 0.0, Determined::kExactly},
        TwoRings{"cylinder 4 + 4 random", false, kRandom, kRandom, 4, 0.0, Determined::kWell},
        TwoRings{"cylinder 3 + 3 even", false, {0, 120, 240}, {60, 180, 300}, 0, 0.0, Determined::kNotAlways},
        TwoRings{"cone 4 + 4 random", true, kRandom, kRandom, 4, 0.0, Determined::kExactly},
        TwoRings{
            "cone 4 + 4 turned", true, {0, 90, 180, 270}, {0, 90, 180, 270}, 0, kTurn, Determined::kWell}),
    nameOf<TwoRings>);

TEST(AxialFit, SeedsOnlyEverHelp) {
  Rng rng(3);
  const Pose pose = randomPose(rng, 100.0);
  const PointList arc = sample(rng, cylinderPatch(8.0, 3.0, std::numbers::pi / 3), pose, 200);
  const PointList band = sample(rng, coneBand(15.0, 0.25, -1.0, 1.0), pose, 200);
  const Vector a = pose.origin - pose.axis(), b = pose.origin + pose.axis(), across = pose.rotation.col(0);
  const double dA = 2.0 * (15.0 - std::tan(0.25)), dB = 2.0 * (15.0 + std::tan(0.25));
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const CylinderSeed& seed :
       {CylinderSeed{pose.axis(), pose.origin, 16.0}, CylinderSeed{{0, 0, 0}, pose.origin, 16.0},
        CylinderSeed{pose.axis(), {nan, 0, 0}, 16.0}, CylinderSeed{pose.axis(), pose.origin, -1.0},
        CylinderSeed{across, pose.origin + 50.0 * across, 200.0}})
    expectTruth(cylinder(fitCylinder(arc, seed), pose, arc), values({0, 0, 0, 0, 8}));
  for (const ConeSeed& seed :
       {ConeSeed{a, b, dA, dB}, ConeSeed{b, a, dB, dA}, ConeSeed{a, a, dA, dB}, ConeSeed{a, b, 0.0, 0.0},
        ConeSeed{a, b, nan, dB}, ConeSeed{a, {nan, 0, 0}, dA, dB}, ConeSeed{a, a + across, 1.0, 90.0}})
    expectTruth(cone(fitCone(band, seed), pose, band), values({0, 0, 0, 0, 15, 0.25}));
}

TEST(AxialFit, ParallelToADirectionKeepsItExactly) {
  Rng rng(4);
  const Pose pose = randomPose(rng, 100.0);
  const PointList tube = sample(rng, cylinderPatch(6.0, 10.0), pose, 100);
  const PointList band = sample(rng, coneBand(6.0, 0.35, -4.0, 4.0), pose, 100);
  const Vector reversed = -3.0 * pose.axis(), tilted = 7.0 * (pose.axis() + 0.05 * pose.rotation.col(0));
  const auto alongCylinder = fitCylinderParallelTo(tube, reversed);
  expectTruth(cylinder(alongCylinder, pose, tube), values({0, 0, 0, 0, 6}));
  EXPECT_EQ(alongCylinder->axis, reversed.normalized()) << "the caller's sense";
  EXPECT_EQ(fitCylinderParallelTo(tube, tilted)->axis, tilted.normalized());
  const auto alongCone = fitConeParallelTo(band, reversed);
  expectTruth(cone(alongCone, pose, band), values({0, 0, 0, 0, 6, 0.35}));
  EXPECT_EQ(alongCone->axis, -reversed.normalized()) << "from the narrow end";
  const Vector tiltedAxis = fitConeParallelTo(band, tilted)->axis;
  EXPECT_TRUE(tiltedAxis == tilted.normalized() || tiltedAxis == -tilted.normalized());
  const PointList four(band.begin(), band.begin() + 4);
  expectTruth(cone(fitConeParallelTo(four, pose.axis()), pose, four), values({0, 0, 0, 0, 6, 0.35}));
  // A direction of any finite length is a direction.
  expectTruth(cylinder(fitCylinderParallelTo(tube, 1e200 * pose.axis()), pose, tube),
              values({0, 0, 0, 0, 6}));
}

// Fits do not depend on the unit: scaled points give the scaled shape, up to the largest doubles, and points
// spread beyond them are refused for that reason.
TEST(Fitting, HugeCoordinatesAndLengthsGiveTheScaledShapeOrARefusal) {
  Rng rng(8);
  const Pose pose = randomPose(rng, 1.0);
  const PointList ring = sample(rng, coneBand(1.0, 0.2, -0.5, 0.5), pose, 40);
  const auto scaledBy = [&](double factor) {
    PointList points;
    for (const Vector& p : ring) points.push_back(factor * (p + Vector(1, 0, 0)));
    return points;
  };
  // Lengths of each fit's shape, or NaN for a refusal.
  const std::function<Params(const PointList&)> fits[] = {
      [](const PointList& p) {
        const auto circle = fitCircleInPlane(p, {p[0], {0, 0, 1e200}});
        return circle ? values({circle->radius}) : values({NAN});
      },
      [](const PointList& p) {
        const auto cylinder = fitCylinder(p);
        return cylinder ? values({cylinder->radius}) : values({NAN});
      },
      [](const PointList& p) {
        const auto cone = fitCone(p);
        return cone ? values({cone->radiusA, cone->radiusB}) : values({NAN});
      },
      [](const PointList& p) {
        const auto plane = fitPlane(p);
        return plane ? values({plane->normal.dot(plane->point)}) : values({NAN});
      },
      [](const PointList& p) {
        const auto planes = fitParallelPlanes(std::span(p).first(20), std::span(p).subspan(20));
        return planes ? values({planes->distance}) : values({NAN});
      },
  };
  for (const auto& lengths : fits) {
    const Params unit = lengths(scaledBy(1.0));
    ASSERT_TRUE(unit.allFinite());
    for (const double factor : {1e-150, 1e160, 1e300}) {
      EXPECT_LT((lengths(scaledBy(factor)) - factor * unit).cwiseAbs().maxCoeff(),
                1e-9 * factor * unit.norm())
          << factor << " " << unit.transpose();
    }
  }
  PointList beyond = scaledBy(1e307);
  beyond[0] = Vector(-1.75e308, 0, 0);
  beyond[1] = Vector(1.75e308, 0, 0);
  EXPECT_EQ(fitPlane(beyond).failure().reason, "the coordinates are too large to be fitted without overflow");
  EXPECT_EQ(fitParallelPlanes(beyond, beyond).failure().reason,
            "the coordinates are too large to be fitted without overflow");
}

// A million points a million times their spread from the origin: their centroid keeps its digits.
TEST(Fitting, FarMillionPointSetsKeepTheirCentroidsDigits) {
  Rng rng(9);
  std::uniform_real_distribution<double> uniform(-0.5, 0.5);
  const Vector far(1e6, -1e6, 1e6);
  PointList line, first, second;
  long double sum[3] = {0, 0, 0};
  for (int i = 0; i < 1000000; ++i) {
    line.push_back(far + Vector(uniform(rng), 0.5 * uniform(rng), 0.0));
    for (int k = 0; k < 3; ++k) sum[k] += line.back()(k);
    (i % 2 ? first : second).push_back(far + Vector(uniform(rng), uniform(rng), i % 2 ? 0.0 : 0.3));
  }
  const auto fitted = fitLine(line);
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(fitted->point(k), static_cast<double>(sum[k] / line.size()), 1e-9);
  EXPECT_NEAR(fitParallelPlanes(first, second)->distance, 0.3, 1e-9);
}

TEST(Fitting, PointsThatDoNotDetermineTheShapeAreRefusedButThinSetsFit) {
  Rng rng(5);
  const Pose pose = randomPose(rng, 100.0);
  const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
  const Plane xy{Vector::Zero(), Vector::UnitZ()};
  const PointList ring = sample(rng, circleArc(10.0), pose, 50);
  const PointList band = sample(rng, coneBand(5.0, 0.3, -2.0, 2.0), pose, 50);
  const PointList xAxis{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}};
  EXPECT_FALSE(fitPlane(PointList{{0, 0, 0}, {1, 0, 0}}));
  EXPECT_FALSE(fitPlane(PointList{{0, 0, 0}, {1, 1, 1}, {2, 2, 2 + 1e-9}, {3, 3, 3}}));
  EXPECT_FALSE(fitPlane(PointList(5, Vector(2000, -3, 7))));
  EXPECT_FALSE(fitPlane(PointList{{0, 0, 0}, {1, 0, 0}, {0, nan, 0}}));
  EXPECT_TRUE(fitPlane(PointList{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {1, 1e-4, 0}}));
  EXPECT_FALSE(fitLine(PointList(3, Vector(2000, 0, 0))));
  EXPECT_FALSE(fitLineInPlane(PointList{{1, 1, 0}, {1, 1, 5}}, xy));
  EXPECT_FALSE(fitLineInPlane(PointList{{1, 1, 0}, {2, 1, 5}}, Plane{{0, 0, 0}, {0, 0, 0}}));
  EXPECT_FALSE(fitCircle(PointList{{0, 0, 0}, {1, 0, 0}}));
  EXPECT_FALSE(fitCircle(PointList{{0, 0, 0}, {1, 1, 0}, {2, 2, 0}, {3, 3, 0}}));
  EXPECT_FALSE(fitCircleInPlane(PointList{{0, 0, 0}, {1, 0, 5}, {2, 0, -1}, {3, 0, 2}}, xy));
  EXPECT_FALSE(fitCircleInPlane(PointList{{1, 1, 0}, {1, 1, 5}, {1, 1, -1}}, xy));
  EXPECT_FALSE(fitCircleInPlane(PointList{{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}}, Plane{{0, 0, 0}, {0, 0, inf}}));
  EXPECT_FALSE(fitSphere(PointList{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));
  EXPECT_FALSE(fitSphere(ring));
  EXPECT_FALSE(fitCylinder(PointList(ring.begin(), ring.begin() + 4)));
  EXPECT_FALSE(fitCylinder(ring));
  EXPECT_FALSE(fitCylinder(sample(rng, lineSegment(10.0), pose, 50)));
  EXPECT_FALSE(fitCylinderParallelTo(band, Vector::Zero()));
  EXPECT_FALSE(fitCylinderParallelTo(sample(rng, planePatch(5.0), pose, 50), pose.rotation.col(0)));
  EXPECT_FALSE(fitCone(PointList(band.begin(), band.begin() + 5)));
  EXPECT_FALSE(fitCone(ring));
  EXPECT_FALSE(fitCone(sample(rng, coneBand(2.0, 0.5, -5.0, 6.0), pose, 300))) << "across its apex";
  EXPECT_FALSE(fitConeParallelTo(ring, pose.axis()));
  EXPECT_FALSE(fitConeParallelTo(band, {0, 0, inf}));
  // Curvature hidden in the scatter of a flat patch, and said to be.
  for (const double flatness : {1e-3, 1e-4, 1e-5}) {
    const PointList flat = sample(rng, planePatch(10.0), pose, 300, flatness);
    for (const FitFailure& failure :
         {fitSphere(flat).failure(), fitCylinder(flat).failure(), fitCone(flat).failure()}) {
      EXPECT_NE(failure.reason.find("as close to a plane as to any"), std::string::npos) << failure.reason;
    }
  }
  EXPECT_FALSE(fitParallelPlanes(PointList{}, xAxis));
  EXPECT_FALSE(fitParallelPlanes(PointList{{0, 0, 0}}, PointList{{0, 0, 1}, {1, 0, 1}}));
  EXPECT_FALSE(fitParallelPlanes(xAxis, PointList{{0, 0, 5}, {3, 0, 5}}));
  EXPECT_TRUE(fitParallelPlanes(xAxis, PointList{{0, 0, 5}, {0, 3, 5}}));
}

// Six touches around a wide shaft or cone (radius 0.127), each a centimetre above the last, lie exactly on a
// second shape 3 degrees off: in every pose the fit refuses them, never answering either one.
TEST(AxialFit, TouchesBunchedAlongTheAxisAreRefusedInEveryPose) {
  const std::string refusal =
      " along distinct axes equally well, so they do not determine its axis: spread the "
      "touches along the axis";
  for (const double taper : {0.0, 0.25}) {
    SCOPED_TRACE(taper);
    PointList touches;
    for (int i = 0; i < 6; ++i) {
      const double height = 0.01 * i;
      touches.push_back((0.127 - taper * height) * radial(i * std::numbers::pi / 3) +
                        height * Vector::UnitZ());
    }
    Rng rng(71);
    for (int trial = 0; trial < 40; ++trial) {
      const Pose pose = randomPose(rng, 1.0);
      PointList placed;
      for (const Vector& p : touches) placed.push_back(pose.rotation * p + pose.origin);
      const FitFailure failure = taper > 0 ? fitCone(placed).failure() : fitCylinder(placed).failure();
      EXPECT_EQ(failure.reason,
                std::string("the points fit ") + (taper > 0 ? "cones" : "cylinders") + refusal);
    }
  }
}

// An operator's touches on a shaft, a boss, a bore or a conical boss, in metres, as degrees around the axis
// and heights along it; the surface narrows by taper per unit height. The same touches in 20 poses must give
// one answer: the shape, or one refusal saying which spread is missing. A 60 degree arc walked along a tube
// lies on a second cylinder, as do the touches bunched along an axis; a boss's arc, two rings and 290 or 305
// degrees of a bore do not.
struct OperatorPattern {
  const char* what;
  const char* missing;   // the spread a refusal asks for, or none when the shape is determined
  double radius, taper;  // mm, and radius lost per unit height
  std::vector<std::pair<double, double>> stations;  // degrees, mm
};
const OperatorPattern kOperatorPatterns[] = {
    {"tube arc", "around", 46.482, 0, {{0, 0}, {12, 10}, {24, 20}, {36, 30}, {48, 40}, {60, 50}}},
    {"boss arc", nullptr, 46, 0, {{0, 2}, {13, 11}, {22, 19}, {35, 27}, {47, 34}, {60, 45}}},
    {"cone arc", "around", 46, .25, {{0, 0}, {10, 5}, {20, 10}, {30, 15}, {40, 20}, {50, 25}, {60, 30}}},
    {"uneven cone arc",
     "around",
     88.5,
     .212,
     {{0, 0}, {6, 9}, {11, 4}, {17, 6}, {23, 4.5}, {28, 9.8}, {34, 11.8}, {40, 13.7}}},
    {"wide cone arc",
     nullptr,
     76,
     3.28,
     {{1.7, .7}, {7, 2.2}, {13.1, 6.1}, {24.3, 8.9}, {28.8, 11.9}, {39.6, 9}, {47.3, 0}}},
    {"wide cone walk",
     nullptr,
     82.7,
     2.1,
     {{.8, 8.6}, {10.7, 3.4}, {22, 6.1}, {33.2, 14.1}, {42.5, 19.8}, {54, 25}, {64.2, 29.6}}},
    {"bunched tube", "along", 46.482, 0, {{15, 0}, {75, 2}, {135, 4}, {195, 6}, {255, 8}, {315, 10}}},
    {"bunched cone",
     "along",
     127,
     .25,
     {{-5, 24}, {68, 20}, {115, 43}, {159, 19}, {221, 17}, {257, 11}, {296, 23}}},
    {"bore rings", nullptr, 36.5, 0, {{0, 10}, {100, 10}, {220, 10}, {40, 50.6}, {170, 50.6}, {300, 50.6}}},
    {"bore 290", nullptr, 36.5, 0, {{0, 4}, {70, 44.6}, {130, 15}, {200, 32}, {250, 6}, {290, 44.6}}},
    {"bore 305", nullptr, 36.5, 0, {{0, 4}, {70, 45.9}, {130, 15}, {200, 32}, {250, 6}, {305, 45.9}}},
    {"cone rings",
     nullptr,
     46,
     .25,
     {{0, 0}, {90, 0}, {180, 0}, {270, 0}, {20, 30}, {110, 30}, {200, 30}, {290, 30}}},
};

std::ostream& operator<<(std::ostream& out, const OperatorPattern& pattern) {
  return out << pattern.what;
}

// Sanitizers slow the search some fortyfold; the pose invariance is the optimised build's to show, and a
// few poses still run every path under them.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kOperatorPoses = 3;
#elif defined(__has_feature) && (__has_feature(address_sanitizer) || __has_feature(thread_sanitizer))
constexpr int kOperatorPoses = 3;
#else
constexpr int kOperatorPoses = 20;
#endif

class OperatorPatternFit : public testing::TestWithParam<OperatorPattern> {};

TEST_P(OperatorPatternFit, GivesOneOutcomeInEveryPose) {
  const OperatorPattern& c = GetParam();
  Rng rng(78);
  const bool isCone = c.taper > 0;
  const double halfAngle = std::atan(c.taper), radius = c.radius / 1e3;
  PointList touches;
  for (const auto& [degrees, height] : c.stations) {
    const Vector point = coneBand(radius, -halfAngle, height / 1e3, height / 1e3)(0, degrees / 360).first;
    touches.push_back(point);
  }
  const Params truth = isCone ? values({0, 0, 0, 0, radius, halfAngle}) : values({0, 0, 0, 0, radius});
  for (int trial = 0; trial < kOperatorPoses; ++trial) {
    const Pose pose = randomPose(rng, 0.5);
    PointList placed;
    for (const Vector& p : touches) placed.push_back(pose.origin + pose.rotation * p);
    const FitResult<Params> x = isCone ? cone(fitCone(placed, std::nullopt, 1e-5), pose, placed)
                                       : cylinder(fitCylinder(placed, std::nullopt, 1e-5), pose, placed);
    if (c.missing) {
      const std::string shape = isCone ? "cone" : "cylinder";
      const std::string spread = std::string(": spread the touches ") + c.missing + " the axis";
      const std::string reasons[] = {
          "the points fit " + shape +
              "s along distinct axes equally well, so they do not determine its axis" + spread,
          "the touches leave the " + shape +
              "'s axis, position or size more uncertain than a measurement allows" + spread};
      const std::string said = x ? "a shape" : x.failure().reason;
      EXPECT_TRUE(said == reasons[0] || said == reasons[1]) << trial << ": " << said;
      continue;
    }
    EXPECT_TRUE(x) << trial << ": " << x.failure().reason;
    if (!x) continue;
    EXPECT_LT((*x - truth).cwiseAbs().maxCoeff(), kExact) << trial << ": " << x->transpose();
  }
}

INSTANTIATE_TEST_SUITE_P(AxialFit, OperatorPatternFit, testing::ValuesIn(kOperatorPatterns),
                         nameOf<OperatorPattern>);

// A second axis counts while the touches' sums of squares to it and to the best lie within three touch
// deviations of each other: six touches in a bore of radius 8 mm at two heights 2 mm apart fit one 21
// degrees off within 0.0162 mm. The scatter is a length in the points' own unit.
TEST(AxialFit, ASecondAxisWithinThreeTouchDeviationsIsRefusedAndOneBeyondIsNot) {
  PointList bore;
  const double degrees[] = {40, 80, 130, 225, 260, 320};
  for (int i = 0; i < 6; ++i) {
    bore.push_back(0.008 * radial(degrees[i] * std::numbers::pi / 180) +
                   (i % 2 ? 0.004 : 0.006) * Vector::UnitZ());
  }
  for (const double unit : {1.0, 1000.0}) {
    SCOPED_TRACE(unit);
    PointList scaled;
    for (const Vector& p : bore) scaled.push_back(unit * p);
    const auto told = fitCylinder(scaled, std::nullopt, unit * 5e-6);
    ASSERT_TRUE(told) << told.failure().reason;
    EXPECT_NEAR(told->radius, unit * 0.008, unit * 1e-12);
    EXPECT_NEAR(std::abs(told->axis.z()), 1.0, 1e-12);
    EXPECT_NE(fitCylinder(scaled, std::nullopt, unit * 6e-6).failure().reason.find("along distinct axes"),
              std::string::npos);
  }
  for (const double scatter : {-1e-6, std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_EQ(fitCylinder(bore, std::nullopt, scatter).failure().reason,
              "the points' scatter is not a length");
    EXPECT_EQ(fitCone(bore, std::nullopt, scatter).failure().reason, "the points' scatter is not a length");
  }
}

// A valley the fit's starts missed can lie lower than the fit's own minimum, along another axis: the lower
// one is kept, not the fit's, and no tie is claimed between them.
TEST(AxialFit, AValleyLowerThanTheFittedSurfaceIsKept) {
  detail::Points<3> wall(3, 12);
  for (int i = 0; i < 12; ++i) wall.col(i) = radial(i * 2.0) + 0.3 * (i % 4) * Vector::UnitZ();
  const detail::AxialSurface truth{Vector::Zero(), Vector::UnitZ(), 1.0, 0.0};
  const detail::AxialSurface tilted{Vector(0.2, 0, 0), Vector(0.5, 0, 1).normalized(), 1.1, 0.0};
  detail::AxialSearch search;
  search.valleys = {{truth, 0.0, {}}};
  search.sampleSize = wall.cols();
  const detail::AxisChoice choice = detail::chooseAxis(wall, {true, false}, tilted, search, 1e-6);
  ASSERT_TRUE(choice.lowest);
  EXPECT_FALSE(choice.rivalled);
  EXPECT_NEAR(std::abs(choice.lowest->axis.z()), 1.0, 1e-9);
  EXPECT_NEAR(choice.lowest->radius, 1.0, 1e-9);
}

// What the axis choice keeps of a search's valleys: never a flat surface, however well it fits; the lowest of
// the others, and no tie where none is.
TEST(AxialFit, TheAxisChoiceKeepsTheLowestCurvedValley) {
  detail::Points<3> ring(3, 8);
  for (int i = 0; i < 8; ++i) ring.col(i) = radial(i * std::numbers::pi / 4);
  const detail::AxialSurface flat{Vector::Zero(), Vector::UnitZ(), 1.0, std::numbers::pi / 2};
  const detail::AxialSurface cone{Vector::Zero(), Vector::UnitZ(), 1.0, 0.3};
  struct Case {
    const char* what;
    std::vector<detail::AxialSurface> valleys;
    std::optional<double> keptSlope;  // none: nothing kept
  };
  const Case cases[] = {
      {"a plane through a ring is no cone", {flat}, std::nullopt},
      {"the cone beside it is kept", {flat, cone}, 0.3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    detail::AxialSearch search;
    for (const detail::AxialSurface& valley : c.valleys) search.valleys.push_back({valley, 0.0, {}});
    search.sampleSize = ring.cols();
    const detail::AxisChoice choice = detail::chooseAxis(ring, {true, true}, std::nullopt, search, 1e-6);
    EXPECT_FALSE(choice.rivalled);
    ASSERT_EQ(choice.lowest.has_value(), c.keptSlope.has_value());
    if (c.keptSlope) {
      EXPECT_NEAR(std::abs(choice.lowest->slope), *c.keptSlope, 1e-9);
    }
  }
}

// Sanitizers slow the search some fortyfold: the random family keeps a few patterns there, as the operator
// patterns keep a few poses.
constexpr int kRandomPatterns = 3 * kOperatorPoses;
constexpr bool kFewRuns = kOperatorPoses < 20;

// The touches' scatter a host states: an arm's probe, one standard deviation, in metres.
constexpr double kStatedScatter = 1e-5;

// Touches at given degrees and heights (mm) on a cylinder or cone of radius mm narrowing by taper per unit
// height, each off the surface by noise (m) along its normal, in pose.
PointList touchesAt(const std::vector<std::pair<double, double>>& stations, double radius, double taper,
                    const Pose& pose, Rng& rng, double noise) {
  std::normal_distribution<double> off;
  PointList touches;
  for (const auto& [degrees, height] : stations) {
    const auto [point, normal] =
        coneBand(radius / 1e3, -std::atan(taper), height / 1e3, height / 1e3)(0, degrees / 360);
    touches.push_back(pose.origin + pose.rotation * (point + noise * off(rng) * normal));
  }
  return touches;
}

// Random operator patterns (6 to 12 touches, 30 to 360 degrees around, up to 1.5 diameters along, up to
// 20 um of noise) in three poses: one outcome in all, and each shape made is the least-squares one that a
// plain solve started from the truth reaches, or lower, and of its size.
TEST(AxialFit, RandomPatternsGiveTheIndependentSolveOrOneRefusalInEveryPose) {
  Rng rng(83);
  std::uniform_real_distribution<double> uniform;
  int made = 0;
  for (int pattern = 0; pattern < kRandomPatterns; ++pattern) {
    const double radius = 3.0 + 47.0 * uniform(rng), arc = 30.0 + 330.0 * uniform(rng);
    const double along = 3.0 * radius * uniform(rng), noise = 20e-6 * uniform(rng);
    const int count = 6 + static_cast<int>(7 * uniform(rng)) % 7;
    std::vector<std::pair<double, double>> stations;
    for (int i = 0; i < count; ++i) stations.push_back({arc * uniform(rng), along * uniform(rng)});
    SCOPED_TRACE(testing::Message() << "pattern " << pattern << ": radius " << radius << " mm, " << arc
                                    << " degrees, " << along << " mm along, " << count << " touches, noise "
                                    << noise);
    const Pose first = randomPose(rng, 0.5);
    const PointList touches = touchesAt(stations, radius, 0, first, rng, noise);
    std::optional<std::string> outcome;
    for (int poseIndex = 0; poseIndex < 3; ++poseIndex) {
      const Pose pose = poseIndex == 0 ? first : randomPose(rng, 0.5);
      PointList placed, local;
      for (const Vector& p : touches) {
        local.push_back(first.local(p));
        placed.push_back(pose.origin + pose.rotation * local.back());
      }
      const FitResult<Params> x = cylinder(fitCylinder(placed, std::nullopt, kStatedScatter), pose, placed);
      const std::string said = x ? "made" : x.failure().reason;
      if (outcome) {
        EXPECT_EQ(said, *outcome) << "pose " << poseIndex;
      }
      outcome = said;
      if (!x) continue;
      ++made;
      const Params solved = minimumFrom(local, kCylinder.distance, values({0, 0, 0, 0, radius / 1e3}));
      EXPECT_LE(sumOfSquares(local, kCylinder.distance, *x),
                sumOfSquares(local, kCylinder.distance, solved) * (1 + 1e-6) + 1e-20);
      EXPECT_NEAR((*x)(4), solved(4), 0.1 * solved(4)) << x->transpose();
    }
  }
  EXPECT_GT(made, 0) << "refusing every pattern would be no answer either";
}

// The uncertainty a probing error leaves in a fit, beside the covariance worked out by hand: eight touches
// evenly around an axis, alternately at heights h and -h, give a design whose parameters are uncorrelated, so
// that each standard deviation is the error over the root of its column's sum of squares (the position and
// the axis summed over their two components). The same touches turned give the same answer; they are centred
// on the origin, as a fit's normalized points are, where the position is taken.
TEST(AxialUncertainty, IsTheCovarianceOfTheFitsOwnJacobianInAnyPose) {
  struct Case {
    const char* what;
    double radius, height;
    bool cone;
  };
  const Case cases[] = {{"cylinder", 10, 2, false},
                        {"cylinder, short", 4, 0.05, false},
                        {"cone at zero slope", 10, 2, true},
                        {"cone, short", 25, 0.3, true}};
  const double error = 0.01, n = 8;
  Rng rng(92);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (int run = 0; run < 4; ++run) {
      const Pose pose = randomPose(rng, 0.0);
      detail::Points<3> points(3, 8);
      for (int k = 0; k < 8; ++k) {
        const double a = k * std::numbers::pi / 4, z = k % 2 ? -c.height : c.height;
        points.col(k) =
            pose.origin + pose.rotation * Vector(c.radius * std::cos(a), c.radius * std::sin(a), z);
      }
      const detail::AxialSurface surface{pose.origin, pose.axis(), c.radius, 0.0};
      const auto u = detail::axialUncertainty(points, {true, c.cone}, surface, error);
      ASSERT_TRUE(u);
      EXPECT_NEAR(u->position, 2 * error / std::sqrt(n), 1e-9);
      EXPECT_NEAR(u->radius, error / std::sqrt(n), 1e-9);
      EXPECT_NEAR(u->axis, 2 * error / (c.height * std::sqrt(n)), 1e-9 / c.height);
      EXPECT_NEAR(u->slope, c.cone ? error / (c.height * std::sqrt(n)) : 0.0, 1e-9 / c.height);
    }
  }
}

// A fit is determined at a probing error while its axis and half angle stay within 0.09 radians (about 5
// degrees) and its position and radius within 500 errors: each bound's edge, on either side.
TEST(AxialUncertainty, EachBoundHoldsToItsEdge) {
  const double error = 1e-5, gain = 500 * error;
  const struct Case {
    const char* what;
    detail::AxialUncertainty uncertainty;
    bool determined;
  } cases[] = {
      {"all within", {0.089, 0.99 * gain, 0.99 * gain, 0.089}, true},
      {"axis beyond", {0.091, 0, 0, 0}, false},
      {"axis at twice the bound", {0.17, 0, 0, 0}, false},
      {"position beyond", {0, 1.01 * gain, 0, 0}, false},
      {"position ten times over", {0, 10 * gain, 0, 0}, false},
      {"radius beyond", {0, 0, 1.01 * gain, 0}, false},
      {"half angle beyond", {0, 0, 0, 0.091}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(detail::isDetermined(c.uncertainty, error), c.determined) << c.what;
}

// Touches a search over random patterns found fitting rival cylinders or cones as well as each other, in the
// patterns' own frame (mm, up to 20 um off): where one rival is sharp and another poorly determined, the
// latter does not swallow the former, and rings of three whose planes lie some degrees from parallel give no
// word on the axis. Each is refused as ambiguous in every pose.
TEST(AxialFit, RivalsFoundBySearchAreRefusedInEveryPose) {
  const struct Case {
    const char* what;
    bool cone;
    PointList touches;
  } cases[] = {
      {"tilted rings, a sharp rival",
       false,
       {{39.395581734073538, 0, 0.2405191987482104},
        {-19.695654829086962, 34.113874852317942, -0.12025959937413122},
        {-19.692842585892066, -34.109003904221112, -0.12025959937411387},
        {19.692468038238296, 34.108355168654917, 0.62958274105175827},
        {-39.396545418671444, 0, 1.0087716048542676},
        {19.694222265401503, -34.111393579229656, 0.62958274105176693}}},
      {"cone, a sharp rival",
       true,
       {{19.772902872546386, 12.780181694159458, 20.889772461809429},
        {20.600375166720294, 20.525396926654878, 2.4328952997150575},
        {23.60154915700614, 11.81623662711446, 11.389975400494359},
        {23.184281126049754, 7.5634166569922829, 18.094293714455109},
        {20.735115510682252, 2.311458177420568, 29.82547637844414},
        {23.549588954955347, 9.5864972735878027, 14.643211484585528}}},
      {"small rings some degrees from parallel",
       false,
       {{1.6211469082112491, 0, 0.30733892405625102},
        {-0.80097562638339204, 1.3873304805203843, -0.15366946202814069},
        {-0.81102077970168385, -1.4047291964374671, -0.15366946202814669},
        {0.80647126742851905, 1.3968492100306318, 1.1554804247802561},
        {-1.6015215856873388, 0, 1.4902682866464598},
        {0.80078067986065027, -1.3869928232381896, 1.1554804247802548}}},
      {"wide rings some degrees from parallel",
       false,
       {{39.3037240497247, 0, 3.5514886633769458},
        {-19.655689483319566, 34.044652842906721, -1.7757443316884642},
        {-19.662782405847413, -34.056938145099039, -1.7757443316884676},
        {19.653292884479256, 34.040501811949923, 27.674919744491138},
        {-39.316530365804624, 0, 29.495878730768123},
        {19.659359128241693, -34.051008854357583, 27.674919744491103}}},
  };
  Rng rng(93);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (int run = 0; run < 4; ++run) {
      const Pose pose = randomPose(rng, 0.5);
      PointList placed;
      for (const Vector& p : c.touches) placed.push_back(pose.origin + pose.rotation * (p / 1e3));
      const auto said = [](const auto& fit) { return fit ? std::string("made") : fit.failure().reason; };
      const std::string reason = c.cone ? said(fitCone(placed, std::nullopt, kStatedScatter))
                                        : said(fitCylinder(placed, std::nullopt, kStatedScatter));
      EXPECT_NE(reason.find("along distinct axes equally well"), std::string::npos) << run << ": " << reason;
    }
  }
}

// A seed only breaks a tie between cylinders the touches fit as well as each other. Random patterns (6 to 16
// touches, 20 to 360 degrees around, up to two diameters along, radii 1.5 to 60 mm, noise to 30 um) in three
// poses, each fitted with no seed, with a seed as travels give it (the truth's axis 3 degrees off, its
// size) and with one leaning towards a rival (10 degrees off): whatever the seed, one outcome in every pose;
// where the touches alone make a cylinder, every seed makes it too, or one lower still; and nothing made fits
// the touches worse than the plain solve from the truth by more than four stated deviations.
TEST(AxialFit, ASeedOnlyBreaksATieAndNeverMakesAWorseCylinderInAnyPose) {
  Rng rng(91);
  std::uniform_real_distribution<double> uniform;
  const double leans[] = {-1, 3, 10};  // degrees off the truth's axis; below zero: no seed
  int made[3] = {0, 0, 0};
  for (int pattern = 0; pattern < kRandomPatterns; ++pattern) {
    const double radius = 1.5 + 58.5 * uniform(rng), arc = 20.0 + 340.0 * uniform(rng);
    const double along = 4.0 * radius * uniform(rng), noise = 30e-6 * uniform(rng);
    const int count = 6 + static_cast<int>(11 * uniform(rng)) % 11;
    std::vector<std::pair<double, double>> stations;
    for (int i = 0; i < count; ++i) stations.push_back({arc * uniform(rng), along * uniform(rng)});
    const double turn = 2.0 * std::numbers::pi * uniform(rng);
    SCOPED_TRACE(testing::Message() << "pattern " << pattern << ": radius " << radius << " mm, " << arc
                                    << " degrees, " << along << " mm along, " << count << " touches, noise "
                                    << noise);
    const Pose first = randomPose(rng, 0.5);
    const PointList touches = touchesAt(stations, radius, 0, first, rng, noise);
    PointList local;
    for (const Vector& p : touches) local.push_back(first.local(p));
    const Params solved = minimumFrom(local, kCylinder.distance, values({0, 0, 0, 0, radius / 1e3}));
    const double bound = sumOfSquares(local, kCylinder.distance, solved) + std::pow(4 * kStatedScatter, 2);
    std::optional<Params> unseeded;
    for (int seeded = 0; seeded < 3; ++seeded) {
      SCOPED_TRACE(testing::Message() << "lean " << leans[seeded]);
      const double lean = leans[seeded] * std::numbers::pi / 180;
      const Vector seedAxis(std::sin(lean) * std::cos(turn), std::sin(lean) * std::sin(turn), std::cos(lean));
      std::optional<std::string> outcome;
      for (int poseIndex = 0; poseIndex < 3; ++poseIndex) {
        const Pose pose = poseIndex == 0 ? first : randomPose(rng, 0.5);
        PointList placed;
        for (const Vector& p : local) placed.push_back(pose.origin + pose.rotation * p);
        const std::optional<CylinderSeed> seed =
            lean < 0 ? std::nullopt
                     : std::optional(CylinderSeed{pose.rotation * seedAxis, pose.origin, 2e-3 * radius});
        const FitResult<Params> x = cylinder(fitCylinder(placed, seed, kStatedScatter), pose, placed);
        const std::string said = x ? "made" : x.failure().reason;
        if (outcome) {
          EXPECT_EQ(said, *outcome) << "pose " << poseIndex;
        }
        outcome = said;
        if (!x) continue;
        made[seeded] += poseIndex == 0;
        const double fitted = sumOfSquares(local, kCylinder.distance, *x);
        EXPECT_LE(fitted, bound * (1 + 1e-9)) << x->transpose();
        if (seeded == 0 && poseIndex == 0) unseeded = *x;
        if (seeded == 0 || !unseeded) continue;
        const double unseededSum = sumOfSquares(local, kCylinder.distance, *unseeded);
        if (((*x) - *unseeded).norm() > 1e-6 * radius / 1e3) {
          EXPECT_LT(fitted, unseededSum) << x->transpose();
        }
      }
      if (unseeded) {
        EXPECT_EQ(*outcome, "made") << "the touches alone made it";
      }
    }
  }
  EXPECT_GT(made[0], 0) << "refusing every pattern would be no answer either";
  EXPECT_GE(made[1], made[0]) << "a seed along the truth breaks ties";
}

// An operator's patterns that must come right in every pose, at the scatter a host states: made with the
// truth's size (to within tolerance, mm), or refused asking for the spread that is missing; never another
// shape. Noisy ones run many times.
TEST(AxialFit, OperatorsPatternsAreMadeRightOrRefusedAlikeInEveryPose) {
  using Stations = std::vector<std::pair<double, double>>;  // degrees, mm
  struct Pattern {
    const char* what;
    double radius, noise;  // mm, m
    const char* missing;   // the spread a refusal asks for, or none when the shape must be made
    double tolerance;      // mm
    int runs;
    bool seeded;  // with the nominal as the seed, as a creator hands it on
    Stations stations;
    double seedLean = 0;  // degrees the seed's axis leans off the nominal's
  };
  const Stations bore290{{0, 0}, {58, 40}, {116, 12}, {174, 28}, {232, 8}, {290, 36}};
  const Stations boltRings{{0, .9}, {120, .9}, {240, .9}, {60, 5.1}, {180, 5.1}, {300, 5.1}};
  const Stations boltUneven{{0, .9}, {100, .9}, {220, .9}, {40, 5.1}, {170, 5.1}, {300, 5.1}};
  const Stations hubAround{{10, 0}, {80, 2}, {150, 11}, {200, 12}, {270, 5}, {330, 9}};
  const Stations hubAlternating{{0, 0}, {60, 12}, {120, 0}, {180, 12}, {240, 0}, {300, 12}};
  const Stations hubRings{{0, 0}, {120, 0}, {240, 0}, {60, 12}, {180, 12}, {300, 12}};
  const Stations stacked{{0, 10}, {120, 10}, {240, 10}, {0, 50}, {120, 50}, {240, 50}};
  const Stations staggered{{0, 10}, {120, 10}, {240, 10}, {60, 50}, {180, 50}, {300, 50}};
  const Stations shaftWalk{{0, 0}, {4, 10}, {8, 20}, {12, 30}, {16, 40}, {20, 50}};
  const Stations shaftArc{{0, 0}, {7, 12}, {11, 19}, {18, 33}, {25, 41}, {30, 50}};
  // Six touches at six heights round a bolt hole lie as exactly on a cylinder some twenty degrees off.
  // Two rings of three whose planes lean 12 degrees each way lie on the bore alone.
  const Stations tiltedRings{{0, 1.644}, {120, .528}, {240, .528}, {60, 4.728}, {180, 5.844}, {300, 4.728}};
  const Stations boltSix{{0, 2.5}, {60, 3.34}, {120, 4.18}, {180, 5.02}, {240, 5.86}, {300, 6.7}};
  const Pattern patterns[] = {
      {"bore 290 degrees, 40 mm along", 36.5, 0, nullptr, 1e-9, 12, false, bore290},
      {"bolt hole rings", 3.5, 20e-6, nullptr, 0.06, 100, false, boltRings},
      {"bolt hole uneven rings", 3.5, 20e-6, nullptr, 0.06, 100, false, boltUneven},
      {"hub all around", 31, 20e-6, nullptr, 0.06, 100, false, hubAround},
      // Four cylinders pass exactly through touches at alternate heights; only a nominal tells them apart.
      {"hub alternate heights", 31, 20e-6, "along", 0, 12, false, hubAlternating},
      {"hub alternate heights, seeded", 31, 20e-6, nullptr, 0.06, 12, true, hubAlternating},
      {"hub rings", 31, 20e-6, nullptr, 0.06, 100, false, hubRings},
      {"rings of three stacked", 36.5, 0, nullptr, 1e-9, 12, false, stacked},
      {"rings of three staggered", 36.5, 0, nullptr, 1e-9, 12, false, staggered},
      {"shaft narrow arc", 46.5, 0, "around", 0, 12, false, shaftWalk},
      {"shaft uneven arc", 46.5, 0, "around", 0, 12, false, shaftArc},
      {"shaft uneven arc, noisy", 46.5, 10e-6, "around", 0, 100, false, shaftArc},
      {"bolt hole rings leaning 12 degrees each way", 3.5, 0, nullptr, 1e-9, 12, false, tiltedRings},
      {"bolt hole six heights", 4, 0, "along", 0, 12, false, boltSix},
      {"bolt hole six heights, seeded 3 degrees off", 4, 10e-6, nullptr, 0.03, 12, true, boltSix, 3},
      // A seed points at a minimum within 5 degrees of the axes the stated scatter may leave it along, twice
      // its tilt's deviation (0.8 degrees here) beyond its own.
      {"bolt hole six heights, seeded 6 degrees off", 4, 0, nullptr, 1e-9, 12, true, boltSix, 6},
      {"bolt hole six heights, seeded 7 degrees off", 4, 0, "along", 0, 12, true, boltSix, 7},
  };
  Rng rng(84);
  for (const Pattern& c : patterns) {
    SCOPED_TRACE(c.what);
    const int runs = kFewRuns ? 2 : c.runs;
    for (int run = 0; run < runs; ++run) {
      const Pose pose = randomPose(rng, 0.5);
      const PointList touches = touchesAt(c.stations, c.radius, 0, pose, rng, c.noise);
      const double lean = c.seedLean * std::numbers::pi / 180;
      const Vector seedAxis = pose.rotation * Vector(std::sin(lean), 0, std::cos(lean));
      const std::optional<CylinderSeed> nominal =
          c.seeded ? std::optional(CylinderSeed{seedAxis, pose.origin, 2e-3 * c.radius}) : std::nullopt;
      const auto fitted = fitCylinder(touches, nominal, kStatedScatter);
      if (c.missing) {
        ASSERT_FALSE(fitted) << run << ": radius " << fitted->radius;
        EXPECT_NE(fitted.failure().reason.find(std::string("spread the touches ") + c.missing),
                  std::string::npos)
            << fitted.failure().reason;
        continue;
      }
      ASSERT_TRUE(fitted) << run << ": " << fitted.failure().reason;
      EXPECT_NEAR(fitted->radius * 1e3, c.radius, c.tolerance) << run;
      EXPECT_GT(std::abs(fitted->axis.dot(pose.axis())), 0.99) << run;
    }
  }
}

// Touches around a hub at alternate heights form rings of three about an axis across it, and a creator may
// hand that axis on as its start. Only travels into the touches, which never run across the feature, pick
// among the cylinders the touches fit exactly by its axis alone; a start from the rings is held to the
// touches' spread along it, and the touches are refused rather than made the cylinder across the hub.
TEST(AxialFit, AStartAcrossAHubIsNoWordUnlessTravelsToldIt) {
  Rng rng(87);
  const Pose pose = randomPose(rng, 0.5);
  const PointList touches =
      touchesAt({{0, 0}, {60, 12}, {120, 0}, {180, 12}, {240, 0}, {300, 12}}, 31, 0, pose, rng, 0);
  const Vector across = (touches[1] - touches[0]).cross(touches[2] - touches[0]).normalized();
  const Vector centre = (touches[0] + touches[1] + touches[2]) / 3;
  const auto fromRings = fitCylinder(touches, CylinderSeed{across, centre, 0.062}, kStatedScatter);
  ASSERT_FALSE(fromRings) << "radius " << fromRings->radius << ", axis " << fromRings->axis.transpose();
  EXPECT_NE(fromRings.failure().reason.find("spread the touches along"), std::string::npos)
      << fromRings.failure().reason;
  const auto fromTravels =
      fitCylinder(touches, CylinderSeed{pose.axis(), pose.origin, 0.062}, kStatedScatter);
  ASSERT_TRUE(fromTravels) << fromTravels.failure().reason;
  EXPECT_NEAR(fromTravels->radius, 0.031, 1e-9);
}

// Very wide cones (half angle 79 to 87 degrees) on narrow arcs of exact touches: a cone made is the true one,
// and a refusal asks for a spread rather than blaming the descent.
TEST(AxialFit, VeryWideConesOnNarrowArcsAreTheTrueConeOrRefusedForTheirSpread) {
  Rng rng(85);
  std::uniform_real_distribution<double> uniform;
  for (int trial = 0; trial < (kFewRuns ? 4 : 40); ++trial) {
    const double halfAngle = (79.0 + 8.0 * uniform(rng)) * std::numbers::pi / 180.0, radius = 0.05;
    const double arc = 20.0 + 40.0 * uniform(rng);
    SCOPED_TRACE(testing::Message() << "trial " << trial << ": half angle " << halfAngle << ", arc " << arc);
    const Pose pose = randomPose(rng, 0.5);
    PointList touches;
    for (int i = 0; i < 8; ++i) {
      const double height = 0.004 * uniform(rng);
      touches.push_back(pose.origin +
                        pose.rotation *
                            coneBand(radius, halfAngle, height, height)(0, arc * uniform(rng) / 360.0).first);
    }
    const FitResult<Params> x = cone(fitCone(touches, std::nullopt, kStatedScatter), pose, touches);
    if (!x) {
      EXPECT_EQ(x.failure().reason.find("did not converge"), std::string::npos) << x.failure().reason;
      continue;
    }
    EXPECT_NEAR((*x)(5), halfAngle, 1e-6) << x->transpose();
  }
}

// Countersinks of 60 to 120 degrees, 8 to 16 touches of a 2 or 6 mm ball in two rings or spread round and
// down them, each off the wall by up to 60 um, in any pose: what the noise cannot move is the verdict's
// honesty. A cone made fits the touches at least as well as the true one; a refusal says whether the touches
// leave it undetermined, ambiguous or scattered beyond the stated error, never how a descent ended.
TEST(AxialFit, NoisyCountersinksAreMadeAsWellAsTheTruthOrRefusedInOneOfThreeWords) {
  Rng rng(90);
  std::uniform_real_distribution<double> uniform;
  const std::string words[] = {"more uncertain than a measurement allows", "along distinct axes equally well",
                               "times the stated probing error"};
  const auto inWords = [&](const std::string& reason) {
    return std::ranges::any_of(words, [&](const std::string& w) { return reason.find(w) != reason.npos; });
  };
  // Ten touches of a 6 mm ball spread over an 82 degree countersink, 50 um noise (mm), whose descents crawl.
  const PointList crawling{{1.0006, 3.8841, 0.5796},   {-1.9599, 2.9443, -0.0893}, {0.9904, -4.5307, 1.2002},
                           {-0.4910, 4.5532, 1.3159},  {3.6452, 1.0061, 0.3888},   {3.6823, 1.5915, 0.6792},
                           {2.4529, -1.7895, -0.5288}, {-3.5546, 1.0161, 0.2631},  {4.2039, 0.2036, 0.8816},
                           {3.3650, 2.3968, 0.7531}};
  for (int trial = 0; trial < kOperatorPoses; ++trial) {
    const Pose pose = randomPose(rng, 0.5);
    PointList placed;
    for (const Vector& p : crawling) placed.push_back(pose.origin + pose.rotation * (p / 1e3));
    const FitResult<Cone> x = fitCone(placed, std::nullopt, kStatedScatter);
    EXPECT_TRUE(x || inWords(x.failure().reason)) << trial << ": " << x.failure().reason;
  }
  for (int trial = 0; trial < (kFewRuns ? 12 : 400); ++trial) {
    const double halfAngle = (30.0 + 30.0 * uniform(rng)) * std::numbers::pi / 180.0, depth = 0.004;
    const double ball = uniform(rng) < 0.5 ? 0.001 : 0.003, noise = 60e-6 * uniform(rng);
    const int count = 8 + static_cast<int>(9 * uniform(rng));
    const bool rings = uniform(rng) < 0.5;
    SCOPED_TRACE(testing::Message() << "trial " << trial << ": half angle " << halfAngle << ", " << count
                                    << (rings ? " touches in rings" : " touches spread") << ", noise "
                                    << noise);
    const double wide = 0.004 + depth * std::tan(halfAngle);
    const Pose pose = randomPose(rng, 0.5);
    PointList touches;
    double truthSum = 0.0;  // each touch lies its noise off the cone its ball's centre rides on
    for (int i = 0; i < count; ++i) {
      const bool upper = i < count / 2;
      const double height = rings ? depth * (upper ? 0.25 : 0.75) : depth * (0.15 + 0.7 * uniform(rng));
      const double turn =
          rings ? (i + 0.3 * uniform(rng)) / (upper ? count / 2 : count - count / 2) : uniform(rng);
      const auto [wall, normal] = coneBand(wide, -halfAngle, height, height)(0, turn);
      const double off = noise * (2 * uniform(rng) - 1);
      truthSum += off * off;
      touches.push_back(pose.origin + pose.rotation * (wall - (ball + off) * normal));
    }
    const FitResult<Cone> x = fitCone(touches, std::nullopt, kStatedScatter);
    if (!x) {
      EXPECT_TRUE(inWords(x.failure().reason)) << x.failure().reason;
      continue;
    }
    double fitSum = 0.0;
    for (const Vector& p : touches) {
      const Vector fromA = p - x->endA;
      const double along = fromA.dot(x->axis), across = (fromA - along * x->axis).norm();
      fitSum += std::pow((across - x->radiusA - along * std::tan(x->halfAngle)) * std::cos(x->halfAngle), 2);
    }
    EXPECT_LE(fitSum, truthSum * (1 + 1e-9) + 1e-24) << x->halfAngle << " against " << halfAngle;
  }
}

// The fourteen touches over a band only 1.2 mm high (mm; ball centres, 50 um off the wall) lie in a valley
// so flat that each Gauss-Newton step closes about a hundredth of the remaining way: whether a descent
// settled hung on the micrometre the touches are rounded to. Rounded so, in any pose, one verdict: made, as
// near the minimum as their scatter tells.
TEST(AxialFit, CrawlingCountersinkTouchesRoundedToAMicrometreGetOneVerdictInEveryPose) {
  Rng rng(91);
  const PointList crawling{{2.7283, -0.0095, 9.0370},  {2.6369, -1.2791, 9.4172},  {1.5886, -2.0956, 9.0651},
                           {0.5803, -2.6094, 9.0703},  {-0.6463, -2.5207, 8.9429}, {-2.0595, -2.5128, 9.6336},
                           {-1.9912, -0.9077, 8.4648}, {-2.8466, 0.0505, 9.1754},  {-2.4696, 1.1979, 9.1602},
                           {-1.5198, 1.9180, 8.8118},  {-0.5790, 2.6053, 9.0292},  {0.6516, 2.7535, 9.1572},
                           {1.9292, 2.3577, 9.4922},   {2.4450, 1.1319, 9.0927}};
  const auto micrometres = [](const Vector& p) { return Vector((p * 1e6).array().round() / 1e6); };
  std::vector<double> halfAngles;
  for (int trial = 0; trial < (kFewRuns ? kOperatorPoses : 10 * kOperatorPoses); ++trial) {
    const Pose pose = randomPose(rng, 0.5);
    PointList placed;
    for (const Vector& p : crawling) placed.push_back(micrometres(pose.origin + pose.rotation * (p / 1e3)));
    const FitResult<Cone> x = fitCone(placed, std::nullopt, kStatedScatter);
    ASSERT_TRUE(x) << "pose " << trial << ": " << x.failure().reason;
    halfAngles.push_back(x->halfAngle);
  }
  const auto [least, most] = std::ranges::minmax(halfAngles);
  // Each pose's descent stops within half a standard error of the one minimum, some tenths of a degree
  // of half angle at this scatter; a pose-dependent verdict or a wrong valley moves it further.
  EXPECT_LT(most - least, 0.2 * std::numbers::pi / 180.0);
}

// The search's every valley is taken down as far as descents go, and a section beside one whose descent ran
// out of steps sets off again, so a slow valley still reaches its floor: exact touches of these cones lie on
// the lowest valley the search returns, though its first descent stops short.
TEST(AxialFit, TheSearchTakesASlowValleyToItsFloor) {
  struct Case {
    const char* what;
    double radius, taper;                             // mm, radius lost per unit height
    std::vector<std::pair<double, double>> stations;  // degrees, mm
  };
  const Case cases[] = {
      {"cone 86 degrees wide on a 100 degree arc",
       37.2346,
       15.0715,
       {{152.892, 23.7338},
        {52.1672, 14.6923},
        {64.6768, 26.0695},
        {84.9025, 12.6026},
        {84.4408, 14.7541},
        {79.8969, 8.58218},
        {116.982, 29.3688}}},
      {"cone touched at one height all around",
       5.23562,
       0.650157,
       {{161.673, 0.00655367},
        {221.43, 0.00207146},
        {158.05, 0.00542597},
        {245.018, 0.00108656},
        {18.7874, 0.00583686},
        {325.56, 0.00208872}}},
  };
  Rng rng(86);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const PointList touches =
        touchesAt(c.stations, c.radius, c.taper, {Eigen::Matrix3d::Identity(), Vector::Zero()}, rng, 0);
    detail::Points<3> points(3, static_cast<Eigen::Index>(touches.size()));
    for (std::size_t i = 0; i < touches.size(); ++i) points.col(static_cast<Eigen::Index>(i)) = touches[i];
    points.colwise() -= points.rowwise().mean().eval();
    points /= std::sqrt(points.squaredNorm() / static_cast<double>(points.cols()));
    const detail::AxialSearch search = detail::searchAxialStarts(points, true);
    ASSERT_FALSE(search.valleys.empty());
    EXPECT_LT(search.valleys.front().sumOfSquares, 1e-20);
    EXPECT_NEAR(std::abs(search.valleys.front().state.slope), std::atan(c.taper), 1e-6);
  }
}

TEST(SignedDistance, IsPositiveOutsideEveryShapeAndOnTheLeftOfALineInAPlane) {
  const Vector x = Vector::UnitX(), z = Vector::UnitZ(), origin = Vector::Zero();
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
  // Measured in the plane, positive on the side of normal x direction; a line in space has no sides.
  const Line inPlane{origin, x, origin, x, z};
  EXPECT_DOUBLE_EQ(signedDistance(inPlane, {3, 0.5, 9}), 0.5);
  EXPECT_DOUBLE_EQ(signedDistance(inPlane, {3, -0.5, 0}), -0.5);
  EXPECT_DOUBLE_EQ(signedDistance(Line{origin, x, origin, x, std::nullopt}, {3, -0.5, 0}), 0.5);
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
  const auto ofShape =
      residualStatistics(Plane{Vector::Zero(), Vector::UnitZ()}, PointList{{0, 0, 1}, {0, 0, -2}});
  EXPECT_TRUE(ofShape->largestNegative == -2.0 && ofShape->largestPositive == 1.0);
}

}  // namespace
}  // namespace fitting::test
