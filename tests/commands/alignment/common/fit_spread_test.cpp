// How well the points of a rigid fit fix it across the part it carries.

#include "commands/alignment/common/fit_spread.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double kError = 0.035e-3;

std::vector<FitPoint> pairs(const std::vector<Vector3>& points) {
  std::vector<FitPoint> fit;
  for (const Vector3& p : points) fit.push_back({p, {}});
  return fit;
}

// Closed forms: four pairs on a square of half side a about the origin fix the shift to 1/4 of a touch's
// variance and the turn about each in-plane axis to 1/(4 a^2), about the normal to 1/(8 a^2); a point at R
// along x moves worst along the normal: 2 error sqrt(1/4 + R^2 / (4 a^2)). Points that fix no turn about a
// line, or no shift along the one normal they share, fix nothing.
TEST(FitSpread, MatchesTheClosedFormsAndKnowsWhatIsUnfixed) {
  const double a = 0.01, inf = std::numeric_limits<double>::infinity();
  const std::vector<FitPoint> square = pairs({{a, a, 0}, {-a, a, 0}, {a, -a, 0}, {-a, -a, 0}});
  const struct {
    const char* what;
    std::vector<FitPoint> points;
    std::vector<Vector3> far;
    double expected;
  } cases[] = {
      {"the square's centre", square, {{0, 0, 0}}, 2 * kError * std::sqrt(0.25)},
      {"0.1 along x", square, {{0.1, 0, 0}}, 2 * kError * std::sqrt(0.25 + 0.01 / (4 * a * a))},
      {"0.1 along z", square, {{0, 0, 0.1}}, 2 * kError * std::sqrt(0.25 + 0.01 / (4 * a * a))},
      {"the furthest of two",
       square,
       {{0, 0, 0}, {0.1, 0, 0}},
       2 * kError * std::sqrt(0.25 + 0.01 / (4 * a * a))},
      {"pairs on one line", pairs({{0, 0, 0}, {0.05, 0, 0}, {0.1, 0, 0}}), {{0, 0, 0}}, inf},
      {"points on one plane's normal",
       {{{0, 0, 0}, {0, 0, 1}},
        {{0.1, 0, 0}, {0, 0, 1}},
        {{0, 0.1, 0}, {0, 0, 1}},
        {{0.1, 0.1, 0}, {0, 0, 1}},
        {{0.05, 0.02, 0}, {0, 0, 1}},
        {{0.02, 0.07, 0}, {0, 0, 1}}},
       {{0, 0, 0}},
       inf},
      {"no points", {}, {{0, 0, 0}}, inf},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(each.what);
    const double spread = fitSpreadAt(each.points, each.far, kError);
    if (std::isinf(each.expected))
      EXPECT_TRUE(std::isinf(spread)) << spread;
    else
      EXPECT_NEAR(spread, each.expected, 1e-7 * each.expected);
  }
}

}  // namespace
