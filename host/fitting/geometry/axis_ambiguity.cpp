#include "host/fitting/geometry/axis_ambiguity.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include <Eigen/Geometry>

#include "host/fitting/geometry/axial_uncertainty.h"
#include "host/fitting/geometry/multi_start.h"

namespace fitting::detail {
namespace {

// Sums of squares that differ by less than this many standard deviations of a point, squared, are no
// evidence for either shape: three make a chance tie as unlikely as about three in a thousand.
constexpr double kResolvedDeviations = 3.0;
// Against the touches' own word on the axis, only a minimum this many deviations better counts: the best of
// several exact rivals absorbs the touches' scatter better than the minimum along the word, and a probe may
// scatter twice what is stated; at six, one run in a few hundred of two rings of three on a bolt hole would
// still be refused.
constexpr double kToldDeviations = 8.0;
// Two minima whose RMS distances to the points differ by less than this, in normalized units, are tied to
// rounding: six touches on two stacked rings of three lie exactly on the bore and on cylinders across it.
constexpr double kTiedResidual = 1e-9;
// A valley whose sample lies further from the points than the bound allows by this factor is not refined
// on all of them: the sample's share of the sum of squares only estimates the whole's.
constexpr double kSampleSlack = 16.0;
// Axes closer than this many standard deviations of the fitted tilt are one minimum seen through the
// touches' scatter, not two answers.
constexpr double kSameAxisDeviations = 3.0;
// The touches' own word on the axis picks one of minima that fit as well only when that one lies within this
// angle of it (cosine) and every other lies further: about 5 degrees for a seed or rings; about 10 for
// travels, which lean a few degrees off their normals and are off by as much, while the minima they tell
// apart (bolt-hole touches at six heights fit a cylinder some twenty degrees off) lie further.
constexpr double kToldAxisCosine = 0.996, kTravelAxisCosine = 0.985;

// Sums of squares closer than this are tied: deviations resolved apart, squared, and rounding.
double tieAt(double resolved, Eigen::Index count) {
  return resolved * resolved + static_cast<double>(count) * kTiedResidual * kTiedResidual;
}

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

// Whether the axes of a and b lie within the noise of both one's and the other's tilt at the points' scatter.
bool withinTheNoise(const Points<3>& points, AxialFreedom freedom, const AxialSurface& a,
                    const AxialSurface& b, double scatter) {
  const auto ofA = axialUncertainty(points, freedom, a, scatter);
  const auto ofB = axialUncertainty(points, freedom, b, scatter);
  if (!ofA || !ofB) return false;
  const double angle = std::atan2(a.axis.cross(b.axis).norm(), std::abs(a.axis.dot(b.axis)));
  // Each within the other's noise: a minimum the points hardly determine does not swallow a sharp one.
  return angle <= kSameAxisDeviations * std::min(ofA->axis, ofB->axis);
}

// Whether a and b, fitting the points as well as each other, are two answers rather than one minimum seen
// twice: their axes lie further apart than the scatter moves an axis, and further than the search itself
// tells valleys apart.
bool rivals(const Points<3>& points, AxialFreedom freedom, const Candidate& a, const Candidate& b,
            double scatter) {
  return !withinTheNoise(points, freedom, a.surface, b.surface, scatter) &&
         distinctAxes(a.surface, b.surface);
}

// Whether any two of candidates are rivals.
bool anyRivals(const Points<3>& points, AxialFreedom freedom, const std::vector<Candidate>& candidates,
               double scatter) {
  for (auto a = candidates.begin(); a != candidates.end(); ++a) {
    if (std::any_of(a + 1, candidates.end(),
                    [&](const Candidate& b) { return rivals(points, freedom, *a, b, scatter); })) {
      return true;
    }
  }
  return false;
}

double axialSpan(const Points<3>& points, const AxialSurface& surface) {
  const auto [low, high] = extentAlong(points, surface.point, surface.axis);
  return high - low;
}

// Whether the surface's axis lies along the word (its sense aside).
bool along(const AxialSurface& surface, const ToldAxis& told) {
  return std::abs(surface.axis.dot(told.direction)) > (told.byTravels ? kTravelAxisCosine : kToldAxisCosine);
}

// The one of rivals that the touches' own word on the axis picks: the only one along told, when the others
// lie clearly off it and are not rivals of it in turn.
std::optional<Candidate> toldApart(const Points<3>& points, AxialFreedom freedom,
                                   const std::vector<Candidate>& rivalling, const ToldAxis& told,
                                   double scatter) {
  std::vector<Candidate> alongTold;
  for (const Candidate& c : rivalling) {
    if (along(c.surface, told)) alongTold.push_back(c);
  }
  if (alongTold.empty() || alongTold.size() == rivalling.size() ||
      anyRivals(points, freedom, alongTold, scatter)) {
    return std::nullopt;
  }
  const Candidate picked =
      *std::min_element(alongTold.begin(), alongTold.end(),
                        [](const auto& a, const auto& b) { return a.sumOfSquares < b.sumOfSquares; });
  if (told.byTravels) return picked;
  const bool leastSpread = std::all_of(rivalling.begin(), rivalling.end(), [&](const Candidate& c) {
    return axialSpan(points, picked.surface) <= axialSpan(points, c.surface);
  });
  if (!leastSpread) return std::nullopt;
  return picked;
}

}  // namespace

AxisChoice chooseAxis(const Points<3>& points, AxialFreedom freedom,
                      const std::optional<AxialSurface>& fitted, const AxialSearch& search, double scatter,
                      const std::optional<ToldAxis>& toldAxis) {
  const double tie = tieAt(kResolvedDeviations * scatter, points.cols());
  const double toldTie = toldAxis ? tieAt(kToldDeviations * scatter, points.cols()) : tie;
  std::vector<Candidate> candidates = refinedValleys(points, freedom, search, fitted, toldTie);
  if (fitted) candidates.push_back({*fitted, sumOfSquares(points, *fitted)});
  if (candidates.empty()) return {};
  const auto lowestPlace =
      std::min_element(candidates.begin(), candidates.end(),
                       [](const auto& a, const auto& b) { return a.sumOfSquares < b.sumOfSquares; });
  const bool fittedIsLowest = fitted && lowestPlace == candidates.end() - 1;
  const Candidate lowest = *lowestPlace;
  const auto within = [&](double bound) {
    std::vector<Candidate> kept;
    for (const Candidate& c : candidates) {
      if (c.sumOfSquares - lowest.sumOfSquares <= bound) kept.push_back(c);
    }
    return kept;
  };
  const std::vector<Candidate> tied = within(tie);
  const bool rivalled = anyRivals(points, freedom, tied, scatter);
  // The touches' word picks among minima that fit as well as it allows, where they are rivals or where the
  // lowest lies off it.
  if (toldAxis && (rivalled || !along(lowest.surface, *toldAxis))) {
    if (const auto told = toldApart(points, freedom, within(toldTie), *toldAxis, scatter)) {
      const bool toldIsFitted =
          fitted && told->surface.axis == fitted->axis && told->surface.point == fitted->point;
      return {told->surface, false, toldIsFitted};
    }
  }
  if (rivalled) return {lowest.surface, true, fittedIsLowest};
  // Without rivals every survivor lies in the fitted minimum's valley: the fitted minimum is then kept, as a
  // valley's place that reaches lower only by the scatter may lie where no descent settles.
  const bool fittedSurvives = fitted && tied.back().surface.axis == fitted->axis;
  return fittedSurvives ? AxisChoice{*fitted, false, true}
                        : AxisChoice{lowest.surface, false, fittedIsLowest};
}

}  // namespace fitting::detail
