// The least-squares fits against the number of points. Points carry probe-like noise so that the minimisers
// iterate as on measured data rather than stopping at an exact fit. The plane, line, circle and sphere are
// shown beside a closed-form fit of the same points written directly with Eigen: the centroid and a singular
// value decomposition for the plane and the line, algebraic (linear least-squares) fits for the circle and
// the sphere; the line and circle in a given plane beside the free closed-form fits of the same points. The
// other shapes have no closed form.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>
#include <Eigen/Geometry>
#include <Eigen/SVD>

#include "host/fitting/geometry/fitting.h"
#include "peer_ratio.h"

namespace {

using PointList = std::vector<Eigen::Vector3d>;

constexpr double kNoise = 0.001;
constexpr double kTwoPi = 6.283185307179586;

// A part placed off the axes, so that no fit benefits from an aligned frame.
Eigen::Vector3d placed(const Eigen::Vector3d& local) {
  static const Eigen::Matrix3d rotation =
      Eigen::AngleAxisd(0.7, Eigen::Vector3d(1, 2, 3).normalized()).toRotationMatrix();
  return Eigen::Vector3d(120, -40, 75) + rotation * local;
}

// count points from a surface given by angle and height in its own frame, with a fixed seed.
template <class Surface>
PointList sampled(std::size_t count, Surface surface) {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::normal_distribution<double> noise(0.0, kNoise);
  PointList points;
  for (std::size_t i = 0; i < count; ++i) {
    const Eigen::Vector3d jitter(noise(rng), noise(rng), noise(rng));
    points.push_back(placed(surface(kTwoPi * unit(rng), unit(rng) - 0.5) + jitter));
  }
  return points;
}

Eigen::Vector3d onCone(double angle, double height, double radius, double slope, double length) {
  const double z = length * height;
  return {(radius + slope * z) * std::cos(angle), (radius + slope * z) * std::sin(angle), z};
}

PointList planePoints(std::size_t n, double z) {
  return sampled(n, [z](double a, double h) { return Eigen::Vector3d(30 * h, 3 * a, z); });
}
PointList linePoints(std::size_t n) {
  return sampled(n, [](double, double h) { return Eigen::Vector3d(0, 0, 50 * h); });
}
PointList circlePoints(std::size_t n) {
  return sampled(n, [](double a, double) { return onCone(a, 0.0, 12.0, 0.0, 0.0); });
}
PointList spherePoints(std::size_t n) {
  return sampled(n, [](double a, double h) {
    const double z = 2.0 * h, ring = std::sqrt(1.0 - z * z);
    return Eigen::Vector3d(9 * ring * std::cos(a), 9 * ring * std::sin(a), 9 * z);
  });
}
PointList cylinderPoints(std::size_t n) {
  return sampled(n, [](double a, double h) { return onCone(a, h, 10.0, 0.0, 40.0); });
}
PointList conePoints(std::size_t n) {
  return sampled(n, [](double a, double h) { return onCone(a, h, 10.0, 0.3, 20.0); });
}

// The few touches an operator takes on two rings, angles in degrees: a bore's three and three at uneven
// angles, a cone's four and four with the second ring turned.
PointList twoRings(std::initializer_list<double> low, std::initializer_list<double> high, double slope,
                   double length) {
  std::mt19937_64 rng(7);
  std::normal_distribution<double> noise(0.0, kNoise);
  PointList points;
  for (const auto& [height, ring] : {std::pair{-0.5, low}, std::pair{0.5, high}}) {
    for (const double degrees : ring) {
      const Eigen::Vector3d jitter(noise(rng), noise(rng), noise(rng));
      points.push_back(placed(onCone(degrees * kTwoPi / 360.0, height, 10.0, slope, length) + jitter));
    }
  }
  return points;
}

const Eigen::Vector3d kAxis = placed(Eigen::Vector3d::UnitZ()) - placed(Eigen::Vector3d::Zero());
const fitting::Plane kCirclePlane{placed(Eigen::Vector3d::Zero()), kAxis};

template <class Fit>
void measure(benchmark::State& state, const PointList& points, Fit fit) {
  for (auto _ : state) {
    auto result = fit(points);
    if (!result) {
      state.SkipWithError(result.failure().reason.c_str());
      break;
    }
    benchmark::DoNotOptimize(result);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(points.size()));
}

using PointMatrix = Eigen::Map<const Eigen::Matrix<double, 3, Eigen::Dynamic>>;

PointMatrix asMatrix(const PointList& points) {
  return PointMatrix(points.front().data(), 3, static_cast<Eigen::Index>(points.size()));
}

// The points less their centroid, one a row, and the centroid.
std::pair<Eigen::MatrixX3d, Eigen::Vector3d> centred(const PointList& points) {
  const Eigen::Vector3d centroid = asMatrix(points).rowwise().mean();
  return {(asMatrix(points).colwise() - centroid).transpose(), centroid};
}

// The directions of most (first) to least (last) spread of the points about their centroid.
Eigen::Matrix3d principalAxes(const Eigen::MatrixX3d& centredRows) {
  return Eigen::JacobiSVD<Eigen::MatrixX3d>(centredRows, Eigen::ComputeFullV).matrixV();
}

// The least-squares solution of rows x = right through the normal equations.
Eigen::VectorXd solveLeastSquares(const Eigen::MatrixXd& rows, const Eigen::VectorXd& right) {
  return (rows.transpose() * rows).ldlt().solve(rows.transpose() * right);
}

// Point and normal.
std::pair<Eigen::Vector3d, Eigen::Vector3d> closedFormPlane(const PointList& points) {
  const auto [rows, centroid] = centred(points);
  return {centroid, principalAxes(rows).col(2)};
}

// Point and direction.
std::pair<Eigen::Vector3d, Eigen::Vector3d> closedFormLine(const PointList& points) {
  const auto [rows, centroid] = centred(points);
  return {centroid, principalAxes(rows).col(0)};
}

// The circle in the points' plane: x^2 + y^2 = 2 a x + 2 b y + c in plane coordinates gives the centre (a, b)
// and the radius sqrt(c + a^2 + b^2). Centre and radius.
std::pair<Eigen::Vector3d, double> closedFormCircle(const PointList& points) {
  const auto [rows, centroid] = centred(points);
  const Eigen::Matrix<double, 3, 2> plane = principalAxes(rows).leftCols<2>();
  const Eigen::MatrixX2d flat = rows * plane;
  Eigen::MatrixXd design(flat.rows(), 3);
  design << 2 * flat, Eigen::VectorXd::Ones(flat.rows());
  const Eigen::VectorXd solution = solveLeastSquares(design, flat.rowwise().squaredNorm());
  const Eigen::Vector2d centre = solution.head<2>();
  return {centroid + plane * centre, std::sqrt(solution(2) + centre.squaredNorm())};
}

// The same in three dimensions: |p|^2 = 2 c.p + d. Centre and radius.
std::pair<Eigen::Vector3d, double> closedFormSphere(const PointList& points) {
  const auto [rows, centroid] = centred(points);
  Eigen::MatrixXd design(rows.rows(), 4);
  design << 2 * rows, Eigen::VectorXd::Ones(rows.rows());
  const Eigen::VectorXd solution = solveLeastSquares(design, rows.rowwise().squaredNorm());
  const Eigen::Vector3d centre = solution.head<3>();
  return {centroid + centre, std::sqrt(solution(3) + centre.squaredNorm())};
}

template <class Fit>
void measureClosedForm(benchmark::State& state, const PointList& points, Fit fit) {
  for (auto _ : state) benchmark::DoNotOptimize(fit(points));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(points.size()));
}

std::size_t count(const benchmark::State& state) {
  return static_cast<std::size_t>(state.range(0));
}

void BM_EigenPlane(benchmark::State& s) {
  measureClosedForm(s, planePoints(count(s), 0.0), closedFormPlane);
}
void BM_EigenLine(benchmark::State& s) {
  measureClosedForm(s, linePoints(count(s)), closedFormLine);
}
void BM_EigenCircle(benchmark::State& s) {
  measureClosedForm(s, circlePoints(count(s)), closedFormCircle);
}
void BM_EigenSphere(benchmark::State& s) {
  measureClosedForm(s, spherePoints(count(s)), closedFormSphere);
}
void BM_Plane(benchmark::State& s) {
  measure(s, planePoints(count(s), 0.0), fitting::fitPlane);
}
void BM_Line(benchmark::State& s) {
  measure(s, linePoints(count(s)), fitting::fitLine);
}
void BM_LineInPlane(benchmark::State& s) {
  measure(s, linePoints(count(s)),
          [](const PointList& p) { return fitting::fitLineInPlane(p, kCirclePlane); });
}
void BM_Circle(benchmark::State& s) {
  measure(s, circlePoints(count(s)), fitting::fitCircle);
}
void BM_CircleInPlane(benchmark::State& s) {
  measure(s, circlePoints(count(s)),
          [](const PointList& p) { return fitting::fitCircleInPlane(p, kCirclePlane); });
}
void BM_Sphere(benchmark::State& s) {
  measure(s, spherePoints(count(s)), fitting::fitSphere);
}
void BM_Cylinder(benchmark::State& s) {
  measure(s, cylinderPoints(count(s)), [](const PointList& p) { return fitting::fitCylinder(p); });
}
void BM_CylinderSeeded(benchmark::State& s) {
  const fitting::CylinderSeed seed{kAxis, placed(Eigen::Vector3d::Zero()), 20.0};
  measure(s, cylinderPoints(count(s)), [&](const PointList& p) { return fitting::fitCylinder(p, seed); });
}
void BM_CylinderParallel(benchmark::State& s) {
  measure(s, cylinderPoints(count(s)),
          [](const PointList& p) { return fitting::fitCylinderParallelTo(p, kAxis); });
}
void BM_Cone(benchmark::State& s) {
  measure(s, conePoints(count(s)), [](const PointList& p) { return fitting::fitCone(p); });
}
void BM_ConeSeeded(benchmark::State& s) {
  const fitting::ConeSeed seed{placed(onCone(0, -0.5, 0, 0, 20)), placed(onCone(0, 0.5, 0, 0, 20)), 14.0,
                               26.0};
  measure(s, conePoints(count(s)), [&](const PointList& p) { return fitting::fitCone(p, seed); });
}
void BM_ConeParallel(benchmark::State& s) {
  measure(s, conePoints(count(s)), [](const PointList& p) { return fitting::fitConeParallelTo(p, kAxis); });
}
void BM_ParallelPlanes(benchmark::State& s) {
  const PointList far = planePoints(count(s) / 2, 8.0);
  measure(s, planePoints(count(s) / 2, 0.0),
          [&](const PointList& p) { return fitting::fitParallelPlanes(p, far); });
}
void BM_CylinderOnTwoRings(benchmark::State& s) {
  measure(s, twoRings({0, 100, 220}, {40, 170, 300}, 0.0, 20.0),
          [](const PointList& p) { return fitting::fitCylinder(p); });
}
void BM_ConeOnTwoRings(benchmark::State& s) {
  measure(s, twoRings({0, 90, 180, 270}, {11, 101, 191, 281}, 0.3, 10.0),
          [](const PointList& p) { return fitting::fitCone(p); });
}
void BM_CylinderResiduals(benchmark::State& s) {
  const PointList points = cylinderPoints(count(s));
  const fitting::Cylinder cylinder = *fitting::fitCylinder(points);
  measure(s, points, [&](const PointList& p) { return fitting::residualStatistics(cylinder, p); });
}

#define FITTING_BENCHMARK(name) \
  BENCHMARK(name)->ArgName("points")->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond)

FITTING_BENCHMARK(BM_EigenPlane);
FITTING_BENCHMARK(BM_EigenLine);
FITTING_BENCHMARK(BM_EigenCircle);
FITTING_BENCHMARK(BM_EigenSphere);
FITTING_BENCHMARK(BM_Plane);
FITTING_BENCHMARK(BM_Line);
FITTING_BENCHMARK(BM_LineInPlane);
FITTING_BENCHMARK(BM_Circle);
FITTING_BENCHMARK(BM_CircleInPlane);
FITTING_BENCHMARK(BM_Sphere);
FITTING_BENCHMARK(BM_Cylinder);
FITTING_BENCHMARK(BM_CylinderSeeded);
FITTING_BENCHMARK(BM_CylinderParallel);
FITTING_BENCHMARK(BM_Cone);
FITTING_BENCHMARK(BM_ConeSeeded);
FITTING_BENCHMARK(BM_ConeParallel);
FITTING_BENCHMARK(BM_ParallelPlanes);
FITTING_BENCHMARK(BM_CylinderResiduals);
BENCHMARK(BM_CylinderOnTwoRings)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ConeOnTwoRings)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  return runWithPeerRatios(argc, argv,
                           {{"BM_Plane", "BM_EigenPlane", "vs_eigen"},
                            {"BM_Line", "BM_EigenLine", "vs_eigen"},
                            {"BM_LineInPlane", "BM_EigenLine", "vs_eigen"},
                            {"BM_Circle", "BM_EigenCircle", "vs_eigen"},
                            {"BM_CircleInPlane", "BM_EigenCircle", "vs_eigen"},
                            {"BM_Sphere", "BM_EigenSphere", "vs_eigen"}});
}
