// The least-squares fits against the number of points. Points carry probe-like noise so that the minimisers
// iterate as on measured data rather than stopping at an exact fit. The plane, line, circle and sphere are
// shown beside the same fit written directly with Eigen (`vs_eigen`): the centroid and a singular value
// decomposition for the plane and the line; for the circle (in the points' best plane) and the sphere,
// Gauss-Newton on the orthogonal distances from an algebraic start, checked to find the same shape before the
// timing. The algebraic fits alone (linear least squares on |p|^2 = 2 c.p + d) are shown too, as the lower
// bound they are (`vs_algebraic_bound`): they minimise another sum and give another shape, off from the
// geometric one by `gap_to_geometric` (centre or radius, over the radius). The line and circle in a given
// plane are shown beside the free fits of the same points. The other shapes have no closed form.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>
#include <Eigen/Geometry>
#include <Eigen/SVD>

#include "host/fitting/geometry/axial_fit.h"
#include "host/fitting/geometry/axial_uncertainty.h"
#include "host/fitting/geometry/axis_ambiguity.h"
#include "host/fitting/geometry/axis_search.h"
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

// The points' offsets from the centroid, one a row, in the coordinates of the points' best plane, the plane's
// first two axes and the centroid.
struct FlatPoints {
  Eigen::MatrixX2d rows;
  Eigen::Matrix<double, 3, 2> axes;
  Eigen::Vector3d centroid;
};

FlatPoints flattened(const PointList& points) {
  const auto [rows, centroid] = centred(points);
  const Eigen::Matrix<double, 3, 2> axes = principalAxes(rows).leftCols<2>();
  return {rows * axes, axes, centroid};
}

template <int Dim>
using Rows = Eigen::Matrix<double, Eigen::Dynamic, Dim>;
template <int Dim>
using Ball = std::pair<Eigen::Matrix<double, Dim, 1>, double>;  // centre and radius

// The circle (Dim 2) or sphere (Dim 3) through the rows in the algebraic sense: |p|^2 = 2 c.p + d, a linear
// least-squares problem, gives the centre c and the radius sqrt(d + |c|^2).
template <int Dim>
Ball<Dim> algebraicBall(const Rows<Dim>& rows) {
  Eigen::MatrixXd design(rows.rows(), Dim + 1);
  design << 2 * rows, Eigen::VectorXd::Ones(rows.rows());
  const Eigen::VectorXd solution = solveLeastSquares(design, rows.rowwise().squaredNorm());
  const Eigen::Matrix<double, Dim, 1> centre = solution.template head<Dim>();
  return {centre, std::sqrt(solution(Dim) + centre.squaredNorm())};
}

// The same shape minimising the squared orthogonal distances |p - c| - r: Gauss-Newton from the algebraic
// shape, the normal equations summed in one pass over the points, until a step moves nothing a double holds.
template <int Dim>
Ball<Dim> geometricBall(const Rows<Dim>& rows) {
  using Vector = Eigen::Matrix<double, Dim + 1, 1>;
  auto [centre, radius] = algebraicBall<Dim>(rows);
  for (int iteration = 0; iteration < 100; ++iteration) {
    Eigen::Matrix<double, Dim + 1, Dim + 1> normal = Eigen::Matrix<double, Dim + 1, Dim + 1>::Zero();
    Vector gradient = Vector::Zero();
    for (Eigen::Index i = 0; i < rows.rows(); ++i) {
      const Eigen::Matrix<double, Dim, 1> offset = rows.row(i).transpose() - centre;
      const double distance = offset.norm();
      Vector jacobian;
      jacobian << -offset / distance, -1.0;
      normal.noalias() += jacobian * jacobian.transpose();
      gradient += jacobian * (distance - radius);
    }
    const Vector step = normal.ldlt().solve(-gradient);
    centre += step.template head<Dim>();
    radius += step(Dim);
    if (step.norm() <= 1e-13 * radius) break;
  }
  return {centre, radius};
}

// Centre and radius in space.
template <Ball<2> (*Fit)(const Rows<2>&)>
std::pair<Eigen::Vector3d, double> eigenCircle(const PointList& points) {
  const FlatPoints flat = flattened(points);
  const auto [centre, radius] = Fit(flat.rows);
  return {flat.centroid + flat.axes * centre, radius};
}

template <Ball<3> (*Fit)(const Rows<3>&)>
std::pair<Eigen::Vector3d, double> eigenSphere(const PointList& points) {
  const auto [rows, centroid] = centred(points);
  const auto [centre, radius] = Fit(rows);
  return {centroid + centre, radius};
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
// How far a peer's shape lies from the library's fit of the same points: the larger of the distance between
// the centres and the difference of the radii, over the radius.
template <class Fit, class Peer>
double gapToLibrary(const PointList& points, Fit fit, Peer peer) {
  const auto [centre, radius] = peer(points);
  const auto ours = fit(points);
  if (!ours) return std::numeric_limits<double>::infinity();
  return std::max((ours->centre - centre).norm(), std::abs(ours->radius - radius)) / ours->radius;
}

template <class Fit, class Peer>
void measureAlgebraic(benchmark::State& state, const PointList& points, Fit fit, Peer peer) {
  measureClosedForm(state, points, peer);
  state.counters["gap_to_geometric"] = gapToLibrary(points, fit, peer);
}

template <class Fit, class Peer>
void measureGeometric(benchmark::State& state, const PointList& points, Fit fit, Peer peer) {
  if (gapToLibrary(points, fit, peer) > 1e-9) {
    state.SkipWithError("the peer's shape differs from the library's");
    return;
  }
  measureClosedForm(state, points, peer);
}

void BM_EigenCircleAlgebraic(benchmark::State& s) {
  measureAlgebraic(s, circlePoints(count(s)), fitting::fitCircle, eigenCircle<algebraicBall<2>>);
}
void BM_EigenSphereAlgebraic(benchmark::State& s) {
  measureAlgebraic(s, spherePoints(count(s)), fitting::fitSphere, eigenSphere<algebraicBall<3>>);
}
void BM_EigenCircle(benchmark::State& s) {
  measureGeometric(s, circlePoints(count(s)), fitting::fitCircle, eigenCircle<geometricBall<2>>);
}
void BM_EigenSphere(benchmark::State& s) {
  measureGeometric(s, spherePoints(count(s)), fitting::fitSphere, eigenSphere<geometricBall<3>>);
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
// Fourteen touches 50 um off an 82 degree countersink over a band 1.2 mm high (ball centres, mm): the
// descents crawl and run out of steps, and the fit takes where they stopped as the minimum, since the
// touches' scatter hides what is left (`vs_two_rings`: beside eight touches whose descents settle).
void BM_ConeOnCrawlingTouches(benchmark::State& s) {
  const PointList touches{{2.7283, -0.0095, 9.0370},  {2.6369, -1.2791, 9.4172},  {1.5886, -2.0956, 9.0651},
                          {0.5803, -2.6094, 9.0703},  {-0.6463, -2.5207, 8.9429}, {-2.0595, -2.5128, 9.6336},
                          {-1.9912, -0.9077, 8.4648}, {-2.8466, 0.0505, 9.1754},  {-2.4696, 1.1979, 9.1602},
                          {-1.5198, 1.9180, 8.8118},  {-0.5790, 2.6053, 9.0292},  {0.6516, 2.7535, 9.1572},
                          {1.9292, 2.3577, 9.4922},   {2.4450, 1.1319, 9.0927}};
  PointList points;
  for (const Eigen::Vector3d& t : touches) points.push_back(placed(t));
  measure(s, points, [](const PointList& p) { return fitting::fitCone(p, std::nullopt, 0.01); });
}
// Six or seven touches walked along a 60 degree arc, 10 mm apart around a radius of 10: they lie on more than
// one surface, and the search goes on until it has found the others: the fits refuse them, timed all the
// same.
PointList narrowArc(int count, double slope) {
  PointList points;
  for (int i = 0; i < count; ++i)
    points.push_back(placed(onCone(i * kTwoPi / 6.0 / (count - 1), i, 10.0, slope, 1.0)));
  return points;
}
void BM_CylinderOnNarrowArc(benchmark::State& s) {
  measureClosedForm(s, narrowArc(6, 0.0),
                    [](const PointList& p) { return fitting::fitCylinder(p, std::nullopt, 1e-3); });
}
void BM_ConeOnNarrowArc(benchmark::State& s) {
  measureClosedForm(s, narrowArc(7, -0.25),
                    [](const PointList& p) { return fitting::fitCone(p, std::nullopt, 1e-3); });
}
// Six touches at six heights round a bolt hole lie as exactly on a cylinder some twenty degrees off: without
// a seed the fit finds both and refuses them; a seed along the hole, as the travels into the touches give it,
// breaks the tie (`vs_unseeded`: the tie broken beside the same search refusing).
PointList sixHeights() {
  PointList points;
  for (int i = 0; i < 6; ++i)
    points.push_back(placed(onCone(i * kTwoPi / 6.0, 2.5 + 0.84 * i, 4.0, 0.0, 1.0)));
  return points;
}
void BM_CylinderTieRefused(benchmark::State& s) {
  measureClosedForm(s, sixHeights(),
                    [](const PointList& p) { return fitting::fitCylinder(p, std::nullopt, 1e-3); });
}
void BM_CylinderTieBrokenBySeed(benchmark::State& s) {
  const fitting::CylinderSeed seed{kAxis, placed(Eigen::Vector3d::Zero()), 8.0};
  measure(s, sixHeights(), [&](const PointList& p) { return fitting::fitCylinder(p, seed, 1e-3); });
}
void BM_CylinderResiduals(benchmark::State& s) {
  const PointList points = cylinderPoints(count(s));
  const fitting::Cylinder cylinder = *fitting::fitCylinder(points);
  measure(s, points, [&](const PointList& p) { return fitting::residualStatistics(cylinder, p); });
}

// What judges whether six touches on two rings determine the bore, once the fit has its minimum: the
// uncertainty that the touches' spread leaves at the probing error (`vs_axis_choice`), beside the search for
// every distinct minimum and their comparison, which the fit makes as well.
struct AxialJudgement {
  AxialJudgement()
      : fit(*fitting::detail::fitAxialSurface(twoRings({0, 100, 220}, {40, 170, 300}, 0.0, 20.0), false,
                                              std::nullopt, kNoise)) {}
  fitting::detail::AxialFit fit;
  double scatter() const { return kNoise / fit.points.scale; }
};
void BM_AxisChoice(benchmark::State& s) {
  const AxialJudgement judged;
  const auto& points = judged.fit.points.coordinates;
  for (auto _ : s) {
    const auto search = fitting::detail::searchAxialStarts(points, false);
    benchmark::DoNotOptimize(
        fitting::detail::chooseAxis(points, {true, false}, judged.fit.surface, search, judged.scatter()));
  }
}
void BM_AxialUncertainty(benchmark::State& s) {
  const AxialJudgement judged;
  for (auto _ : s) {
    const auto uncertainty = fitting::detail::axialUncertainty(judged.fit.points.coordinates, {true, false},
                                                               judged.fit.surface, judged.scatter());
    benchmark::DoNotOptimize(uncertainty && fitting::detail::isDetermined(*uncertainty, judged.scatter()));
  }
}

#define FITTING_BENCHMARK(name) \
  BENCHMARK(name)->ArgName("points")->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond)

FITTING_BENCHMARK(BM_EigenPlane);
FITTING_BENCHMARK(BM_EigenLine);
FITTING_BENCHMARK(BM_EigenCircleAlgebraic);
FITTING_BENCHMARK(BM_EigenSphereAlgebraic);
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
BENCHMARK(BM_ConeOnCrawlingTouches)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CylinderOnNarrowArc)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ConeOnNarrowArc)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CylinderTieRefused)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CylinderTieBrokenBySeed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AxisChoice)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AxialUncertainty)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  return runWithPeerRatios(argc, argv,
                           {{"BM_Plane", "BM_EigenPlane", "vs_eigen"},
                            {"BM_Line", "BM_EigenLine", "vs_eigen"},
                            {"BM_LineInPlane", "BM_EigenLine", "vs_eigen"},
                            {"BM_Circle", "BM_EigenCircle", "vs_eigen"},
                            {"BM_Circle", "BM_EigenCircleAlgebraic", "vs_algebraic_bound"},
                            {"BM_CircleInPlane", "BM_EigenCircle", "vs_eigen"},
                            {"BM_CircleInPlane", "BM_EigenCircleAlgebraic", "vs_algebraic_bound"},
                            {"BM_Sphere", "BM_EigenSphere", "vs_eigen"},
                            {"BM_Sphere", "BM_EigenSphereAlgebraic", "vs_algebraic_bound"},
                            {"BM_CylinderTieBrokenBySeed", "BM_CylinderTieRefused", "vs_unseeded"},
                            {"BM_AxialUncertainty", "BM_AxisChoice", "vs_axis_choice"},
                            {"BM_ConeOnCrawlingTouches", "BM_ConeOnTwoRings", "vs_two_rings"}});
}
