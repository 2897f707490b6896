#pragma once

// Fits from several starts, for shapes whose sum of squares has more than one valley: short arcs and patches
// let a circle, a sphere or an axial surface settle on a worse minimum from one start and on the best from
// another, and their best may be the flat limit of unbounded radius.

#include <cmath>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "host/fitting/geometry/levenberg_marquardt.h"
#include "host/fitting/geometry/point_set.h"

namespace fitting::detail {

namespace multistart {

// Enough points to rank starts reliably, few enough that trying several costs little.
inline constexpr Eigen::Index kSampleSize = 256;
// 1 / golden ratio: stepping by it never lines up with a periodic order of the points, such as rings.
inline constexpr double kSampleStride = 0.6180339887498949;
// A descent from a start in the right valley settles within a dozen iterations or so; one still going after
// this many is crossing a flat valley towards a worse minimum or the flat limit, and is cut short, refused.
inline constexpr int kSampleIterations = 30;
// Two descents whose sums of squares differ by less than this fraction reached the same minimum.
inline constexpr double kSameMinimum = 1e-6;
// A radius this many times the points' spread bends the shape across them by a few thousandths of their
// spread at most: a descent that was refused out there was chasing the flat limit.
inline constexpr double kFlatRadius = 1e3;
// So was a refused descent that came within this fraction of the flat limit's sum of squares (a cone may
// flatten by its slope as well as by its radius).
inline constexpr double kNearlyFlat = 1e-2;

inline std::string flatReason(int dimensions, std::string_view shape) {
  return std::string("the points lie as close to a ") + (dimensions == 2 ? "line" : "plane") + " as to any " +
         std::string(shape) + ", whose curvature their scatter hides";
}

// The sum of squared distances to the best line (2-D) or plane (3-D): the limit of the family's shapes as
// their radius grows without end.
template <int Dim>
double flatSumOfSquares(const Points<Dim>& points) {
  const Points<Dim> centred = points.colwise() - points.rowwise().mean();
  const double spread = principalAxes<Dim>(centred).spreads(0);
  return static_cast<double>(points.cols()) * spread * spread;
}

// Whether refused went clearly lower than accepted: then accepted is not the lowest minimum.
template <class State>
bool goesBelow(const Descent<State>& refused, const Descent<State>& accepted) {
  return refused.lowest.sumOfSquares < (1.0 - kSameMinimum) * accepted.lowest.sumOfSquares;
}

// Why refused was refused, naming flatness when that is what it chased; flatSum is the flat limit's sum of
// squares over the same points.
// Whether descent went out where the shapes flatten, flatSum being the flat limit's sum of squares.
template <class State>
bool chasesFlatLimit(const Descent<State>& descent, double flatSum) {
  return std::abs(descent.lowest.state.radius) > kFlatRadius ||
         descent.lowest.sumOfSquares > (1.0 - kNearlyFlat) * flatSum;
}

template <class State>
FitFailure refusal(const Descent<State>& refused, double flatSum, int dimensions, std::string_view shape) {
  if (chasesFlatLimit(refused, flatSum)) return FitFailure{flatReason(dimensions, shape)};
  return *refused.failure;
}

}  // namespace multistart

// Up to size of the points, spread evenly over their order.
template <int Dim>
Points<Dim> spreadSample(const Points<Dim>& points, Eigen::Index size = multistart::kSampleSize) {
  const Eigen::Index count = points.cols();
  if (count <= size) return points;
  Points<Dim> sample(Dim, size);
  for (Eigen::Index i = 0; i < size; ++i) {
    const double position = std::fmod(static_cast<double>(i) * multistart::kSampleStride, 1.0);
    sample.col(i) = points.col(static_cast<Eigen::Index>(position * static_cast<double>(count)));
  }
  return sample;
}

// The lowest minimum over the starts: each is run on a sample of the points, then the lowest accepted one on
// all of them. A descent refused for stalling where another reached the same minimum cleanly does not count;
// one that went clearly lower than every accepted minimum does, since a higher minimum would be a wrong
// answer, and so does a minimum no lower than the flat limit. modelFor(points) makes the model of a set of
// points, and the state has a radius; shape names the family in a refusal.
template <int Dim, class ModelFor, class State>
FitResult<Minimum<State>> lowestMinimum(const Points<Dim>& points, const ModelFor& modelFor,
                                        std::span<const State> starts, std::string_view shape) {
  const Points<Dim> sample = spreadSample<Dim>(points);
  const auto sampleModel = modelFor(sample);
  std::optional<Descent<State>> accepted, refused;
  for (const State& start : starts) {
    Descent<State> descent = minimizeSumOfSquares(sampleModel, start, multistart::kSampleIterations);
    if (!std::isfinite(descent.lowest.sumOfSquares)) continue;
    std::optional<Descent<State>>& kept = descent.failure ? refused : accepted;
    if (!kept || descent.lowest.sumOfSquares < kept->lowest.sumOfSquares) kept = std::move(descent);
  }
  if (refused && (!accepted || multistart::goesBelow(*refused, *accepted))) {
    // A descent cut short on the sample may only be slow down a long valley: it is taken on over all the
    // points, and refused only if it still does not settle.
    if (!isUnsettled(*refused->failure)) {
      return multistart::refusal(*refused, multistart::flatSumOfSquares<Dim>(sample), Dim, shape);
    }
    accepted = std::move(refused);
  }
  if (!accepted) return FitFailure{"no start for the fit gives finite distances"};
  const auto model = modelFor(points);
  Descent<State> descent = minimizeSumOfSquares(model, std::move(accepted->lowest.state));
  const double flatSum = multistart::flatSumOfSquares<Dim>(points);
  // A descent heading for the flat limit never arrives, however near the scatter lets it come.
  if (!multistart::chasesFlatLimit(descent, flatSum))
    descent = settledWithinScatter(model, std::move(descent));
  if (descent.failure) return multistart::refusal(descent, flatSum, Dim, shape);
  if (!(descent.lowest.sumOfSquares < flatSum)) {
    return FitFailure{multistart::flatReason(Dim, shape)};
  }
  return std::move(descent.lowest);
}

}  // namespace fitting::detail
