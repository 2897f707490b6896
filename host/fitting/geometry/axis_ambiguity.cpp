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
// Where rivals tie, a seed may pick a minimum up to this many deviations worse than the lowest: the best of
// several rivals through the same touches absorbs more of their scatter than any one minimum does, while a
// touch five deviations off an exact cylinder is no tie.
constexpr double kSeedDeviations = 4.0;
// The rings the touches were taken in are the touches' own word, and may pick one up to this many: two rings
// of three on a bolt hole, at twice the stated scatter, leave the hole's own cylinder beyond four deviations
// in one run of a hundred, the rivals across it passing exactly through all six.
constexpr double kRingsDeviations = 8.0;
// Two minima whose RMS distances to the points differ by less than this, in normalized units, are tied to
// rounding: six touches on two stacked rings of three lie exactly on the bore and on cylinders across it.
constexpr double kTiedResidual = 1e-9;
// A valley whose sample lies further from the points than the bound allows by this factor is not refined
// on all of them: the sample's share of the sum of squares only estimates the whole's.
constexpr double kSampleSlack = 16.0;
// Axes closer than this many standard deviations of the fitted tilt are one minimum seen through the
// touches' scatter, not two answers.
constexpr double kSameAxisDeviations = 3.0;
// The touches' own word on the axis picks one of minima that fit as well only when it lies clearly nearer
// that one's axis than any rival's: within kWordWindow of it, and every rival at least kWordMargin further
// off. Travels into a wall lean a few degrees off its normal, and their axis is off by about as much; rivals
// nearer each other than the margin are refused rather than picked by a few degrees of an operator's hand.
constexpr double kWordWindow = 5.0 * std::numbers::pi / 180.0;
constexpr double kWordMargin = 5.0 * std::numbers::pi / 180.0;
// The window reaches this many standard deviations of a minimum's tilt beyond its axis: a tilt in two
// directions passes twice its deviation in about one fit of fifty.
constexpr double kWordReachDeviations = 2.0;
// A seed's radius within this fraction of a minimum's: a start from the travels takes its size from where
// they meet, to a fraction of a per cent; rivals through the same touches differ by some per cent.
constexpr double kSeedSize = 0.04;

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

// The angle between the surface's axis and the word's, their senses aside.
double angleOff(const AxialSurface& surface, const ToldAxis& told) {
  return std::atan2(surface.axis.cross(told.direction).norm(), std::abs(surface.axis.dot(told.direction)));
}

// Whether the word says as much of the candidate as of its axis: a seed is a whole cylinder, and names the
// one within kSeedSize of its radius; the rings' word holds where the touches spread along it no wider
// than along any other (rings of three about an axis across a hub tell that axis as clearly as the hub's).
bool wordFits(const Points<3>& points, const Candidate& picked, const std::vector<Candidate>& tied,
              const ToldAxis& told) {
  if (told.seed) {
    // The seed's radius level with the candidate's point, as a cone's changes along its axis.
    const AxialSurface& seed = *told.seed;
    const double radius =
        seed.radius + (picked.surface.point - seed.point).dot(seed.axis) * std::tan(seed.slope);
    return std::abs(picked.surface.radius - radius) <= kSeedSize * std::abs(radius);
  }
  return std::all_of(tied.begin(), tied.end(), [&](const Candidate& c) {
    return axialSpan(points, picked.surface) <= axialSpan(points, c.surface);
  });
}

// How far off a minimum's axis the word may lie and still point at it: kWordWindow beyond the axes the
// touches' scatter may leave the minimum along (kWordReachDeviations of its tilt). A few noisy touches leave
// their minimum a degree or more off the wall's own axis, and the travels' axis lies some degrees off that.
double wordReach(const Points<3>& points, AxialFreedom freedom, const Candidate& candidate, double scatter) {
  const auto uncertainty = axialUncertainty(points, freedom, candidate.surface, scatter);
  return kWordWindow + (uncertainty ? kWordReachDeviations * uncertainty->axis : 0.0);
}

// The one of tied minima that the touches' own word on the axis picks: the nearest it, within its reach
// (wordReach), when every rival of it lies kWordMargin further off and the word fits it (wordFits).
std::optional<Candidate> toldApart(const Points<3>& points, AxialFreedom freedom,
                                   const std::vector<Candidate>& tied, const ToldAxis& told, double scatter) {
  const Candidate& picked = *std::min_element(tied.begin(), tied.end(), [&](const auto& a, const auto& b) {
    return angleOff(a.surface, told) < angleOff(b.surface, told);
  });
  const double off = angleOff(picked.surface, told);
  if (!(off <= wordReach(points, freedom, picked, scatter))) return std::nullopt;
  const bool clearlyNearest = std::all_of(tied.begin(), tied.end(), [&](const Candidate& c) {
    return !rivals(points, freedom, picked, c, scatter) || angleOff(c.surface, told) >= off + kWordMargin;
  });
  if (!clearlyNearest || !wordFits(points, picked, tied, told)) return std::nullopt;
  return picked;
}

}  // namespace

AxisChoice chooseAxis(const Points<3>& points, AxialFreedom freedom,
                      const std::optional<AxialSurface>& fitted, const AxialSearch& search, double scatter,
                      const std::optional<ToldAxis>& toldAxis) {
  const double tie = tieAt(kResolvedDeviations * scatter, points.cols());
  const double wordTie =
      toldAxis ? tieAt((toldAxis->seed ? kSeedDeviations : kRingsDeviations) * scatter, points.cols()) : tie;
  std::vector<Candidate> candidates = refinedValleys(points, freedom, search, fitted, wordTie);
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
  // The touches' word only breaks a tie between rivals: where the touches tell one minimum from the others,
  // theirs is the answer, wherever the word points.
  if (toldAxis && rivalled) {
    if (const auto told = toldApart(points, freedom, within(wordTie), *toldAxis, scatter)) {
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
