#include "host/fitting/geometry/axis_ambiguity.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "host/fitting/geometry/multi_start.h"

namespace fitting::detail {
namespace {

// Sums of squares that differ by less than this many standard deviations of a point, squared, are no
// evidence for either shape: three make a chance tie as unlikely as about three in a thousand.
constexpr double kResolvedDeviations = 3.0;
// Two minima whose RMS distances to the points differ by less than this, in normalized units, are tied to
// rounding: six touches on two stacked rings of three lie exactly on the bore and on cylinders across it.
constexpr double kTiedResidual = 1e-9;
// A valley whose sample lies further from the points than the bound allows by this factor is not refined
// on all of them: the sample's share of the sum of squares only estimates the whole's.
constexpr double kSampleSlack = 16.0;

struct Candidate {
  AxialSurface surface;
  double sumOfSquares;
};

double sumOfSquares(const Points<3>& points, const AxialSurface& surface) {
  Eigen::VectorXd distances;
  axialDistances(points, surface, distances);
  return distances.squaredNorm();
}

// Whether a descent reached a curved surface: a settled minimum whose radius the points resolve, or, where
// the descent did not settle in a flat valley, a place short of the flat limit.
bool isCurved(const Descent<AxialSurface>& descent) {
  const AxialSurface& surface = descent.lowest.state;
  if (!(std::abs(surface.slope) < std::numbers::pi / 2.0)) return false;
  if (descent.failure)
    return std::isfinite(descent.lowest.sumOfSquares) && surface.radius < multistart::kFlatRadius;
  return descent.lowest.resolvesRadius(AxialSurfaceModel::kRadiusParameter);
}

// The valleys near enough the lowest on the sample and along another axis than fitted's, each refined on all
// the points as far as it goes, when that ends in a curved surface. fitted's own valley adds nothing fitted
// does not hold.
std::vector<Candidate> refinedValleys(const Points<3>& points, AxialFreedom freedom,
                                      const AxialSearch& search, const std::optional<AxialSurface>& fitted,
                                      double tie) {
  const AxialSurfaceModel model(points, freedom);
  const double sampleShare = static_cast<double>(search.sampleSize) / static_cast<double>(points.cols());
  std::vector<Candidate> refined;
  for (const Minimum<AxialSurface>& valley : search.valleys) {
    if (valley.sumOfSquares - search.valleys.front().sumOfSquares > kSampleSlack * sampleShare * tie) break;
    if (fitted && !distinctAxes(valley.state, *fitted)) continue;
    const Descent<AxialSurface> descent = minimizeSumOfSquares(model, valley.state);
    if (isCurved(descent)) refined.push_back({descent.lowest.state, descent.lowest.sumOfSquares});
  }
  return refined;
}

// The surface half way between a and b, their axes turned to one sense first (the slope turns with its axis).
AxialSurface midway(const AxialSurface& a, AxialSurface b) {
  if (a.axis.dot(b.axis) < 0.0) {
    b.axis = -b.axis;
    b.slope = -b.slope;
  }
  return {(a.point + b.point) / 2.0, (a.axis + b.axis).normalized(), (a.radius + b.radius) / 2.0,
          (a.slope + b.slope) / 2.0};
}

// Whether a and b, fitting the points as well as each other, are two answers rather than two places on one
// valley's floor: their axes lie further apart than distinctAxes allows, or the best surface along the axis
// half way between them fits the points clearly worse than both, beyond the tie and the rounding of their
// sums, so a ridge parts them.
bool rivals(const Points<3>& points, AxialFreedom freedom, const Candidate& a, const Candidate& b,
            double tie) {
  if (distinctAxes(a.surface, b.surface)) return true;
  const AxialSurfaceModel heldAxis(points, {false, freedom.slope});
  const double pass = minimizeSumOfSquares(heldAxis, midway(a.surface, b.surface)).lowest.sumOfSquares;
  return pass > (1.0 + multistart::kSameMinimum) * std::max(a.sumOfSquares, b.sumOfSquares) + tie;
}

}  // namespace

AxisChoice chooseAxis(const Points<3>& points, AxialFreedom freedom,
                      const std::optional<AxialSurface>& fitted, const AxialSearch& search, double scatter) {
  const double resolved = kResolvedDeviations * scatter;
  const double tie = resolved * resolved + static_cast<double>(points.cols()) * kTiedResidual * kTiedResidual;
  std::vector<Candidate> candidates = refinedValleys(points, freedom, search, fitted, tie);
  if (fitted) candidates.push_back({*fitted, sumOfSquares(points, *fitted)});
  if (candidates.empty()) return {};
  const auto lowestPlace =
      std::min_element(candidates.begin(), candidates.end(),
                       [](const auto& a, const auto& b) { return a.sumOfSquares < b.sumOfSquares; });
  const bool fittedIsLowest = fitted && lowestPlace == candidates.end() - 1;
  const Candidate lowest = *lowestPlace;
  std::erase_if(candidates, [&](const Candidate& c) { return c.sumOfSquares - lowest.sumOfSquares > tie; });
  bool rivalled = false;
  for (auto a = candidates.begin(); a != candidates.end() && !rivalled; ++a) {
    rivalled = std::any_of(a + 1, candidates.end(),
                           [&](const Candidate& b) { return rivals(points, freedom, *a, b, tie); });
  }
  return {lowest.surface, rivalled, fittedIsLowest};
}

}  // namespace fitting::detail
