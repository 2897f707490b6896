// How well the points of a rigid fit fix it across the part it carries.

#include "commands/alignment/common/fit_spread.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "tests/host/tool/random_pose.h"

namespace {

constexpr double kError = 0.035e-3;

std::vector<Vector3> plateCorners() {
  std::vector<Vector3> corners;
  for (int corner = 0; corner < 8; ++corner)
    corners.push_back({corner & 1 ? 0.1 : 0, corner & 2 ? 0.08 : 0, corner & 4 ? 0.01 : 0});
  return corners;
}

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

// Neither the part's pose nor the order of the points changes the answer; three references in a triangle a
// few millimetres across, anywhere on a 100 mm plate, leave its far corners beyond a millimetre at the arm's
// probing error on both touches of each pair, and three spread over the plate, none near the line through the others, keep them well
// within it; six surface points on three faces square to each other fix it as pairs would.
TEST(FitSpread, CompactPointsAreLooseAcrossThePartAndSpreadOnesTightInEveryPose) {
  std::mt19937 random(8940);
  std::uniform_real_distribution<double> unit(0, 1);
  for (int run = 0; run < 200; ++run) {
    SCOPED_TRACE(run);
    const Matrix4x4 pose = randomPose(random);
    const auto posed = [&](std::vector<FitPoint> points) {
      for (FitPoint& p : points)
        p = {Matrix4x4::transformPoint(pose, p.point), Matrix4x4::transformVector(pose, p.normal)};
      return points;
    };
    std::vector<Vector3> corners = plateCorners(), posedCorners;
    for (const Vector3& c : corners) posedCorners.push_back(Matrix4x4::transformPoint(pose, c));
    const double size = 0.003 + 0.004 * unit(random), x = 0.01 + 0.08 * unit(random),
                 y = 0.01 + 0.06 * unit(random);
    const std::vector<FitPoint> compact =
        pairs({{x, y, 0.01}, {x + size, y, 0.01}, {x + size / 2, y + size * 0.9, 0.01}});
    const std::vector<FitPoint> spread =
        pairs({{0.01 + 0.02 * unit(random), 0.01 + 0.02 * unit(random), 0.01},
               {0.07 + 0.02 * unit(random), 0.01 + 0.02 * unit(random), 0.01},
               {0.03 + 0.04 * unit(random), 0.05 + 0.02 * unit(random), 0.01}});
    const std::vector<FitPoint> faces = {{{0.02, 0.02, 0.01}, {0, 0, 1}}, {{0.08, 0.02, 0.01}, {0, 0, 1}},
                                         {{0.05, 0.07, 0.01}, {0, 0, 1}}, {{0.03, 0, 0.005}, {0, -1, 0}},
                                         {{0.07, 0, 0.005}, {0, -1, 0}},  {{0, 0.04, 0.005}, {-1, 0, 0}}};
    for (const auto& points : {compact, spread, faces}) {
      const double here = fitSpreadAt(points, corners, kError);
      EXPECT_NEAR(fitSpreadAt(posed(points), posedCorners, kError), here, 1e-9 * here);
      std::vector<FitPoint> reversed(points.rbegin(), points.rend());
      EXPECT_NEAR(fitSpreadAt(reversed, corners, kError), here, 1e-9 * here);
    }
    const double pairError = std::sqrt(2.0) * kError;
    EXPECT_GT(fitSpreadAt(compact, corners, pairError), 0.001);
    EXPECT_LT(fitSpreadAt(spread, corners, pairError), 0.0005);
    EXPECT_LT(fitSpreadAt(faces, corners, kError), 0.0005);
  }
}

}  // namespace
