#include "host/fitting/geometry/cubic_spline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using fitting::CubicSpline;
using Points = std::vector<Eigen::Vector3d>;

TEST(CubicSpline, PassesThroughItsPointsAndJoinsAClosedOneSmoothlyAtItsSeam) {
  Points ring;
  for (double degrees : {0.0, 50.0, 110.0, 180.0, 260.0, 300.0})
    ring.emplace_back(std::cos(degrees * M_PI / 180), std::sin(degrees * M_PI / 180), 0.5);
  for (bool closed : {false, true}) {
    SCOPED_TRACE(closed);
    const std::optional<CubicSpline> spline = CubicSpline::through(ring, closed);
    ASSERT_TRUE(spline);
    for (size_t i = 0; i < ring.size(); ++i)
      EXPECT_NEAR((spline->at(spline->knot(i)) - ring[i]).norm(), 0, 1e-14);
    EXPECT_NEAR(spline->at(spline->length() / 3).z(), 0.5, 1e-14) << "in the points' plane";
  }
  const std::optional<CubicSpline> closed = CubicSpline::through(ring, true);
  EXPECT_NEAR((closed->at(closed->length()) - ring.front()).norm(), 0, 1e-14);
  EXPECT_NEAR((closed->derivative(closed->length()) - closed->derivative(0)).norm(), 0, 1e-12);
}

TEST(CubicSpline, AnOpenOneThroughPointsOnALineIsThatLine) {
  const Points line{{0, 0, 0}, {0.1, 0.2, 0}, {0.35, 0.7, 0}, {0.4, 0.8, 0}};
  const std::optional<CubicSpline> spline = CubicSpline::through(line, false);
  ASSERT_TRUE(spline);
  for (double t = 0; t <= spline->length(); t += spline->length() / 50)
    EXPECT_NEAR(spline->at(t).x() * 2 - spline->at(t).y(), 0, 1e-14) << t;
}

TEST(CubicSpline, RefusesTooFewPointsAndNeighboursThatCoincide) {
  const Eigen::Vector3d a{0, 0, 0}, b{1, 0, 0}, c{1, 1, 0};
  EXPECT_FALSE(CubicSpline::through(Points{a}, false));
  EXPECT_FALSE(CubicSpline::through(Points{a, b}, true));
  EXPECT_FALSE(CubicSpline::through(Points{a, b, b, c}, false));
  EXPECT_FALSE(CubicSpline::through(Points{a, b, c, a}, true)) << "the last meets the first";
  EXPECT_TRUE(CubicSpline::through(Points{a, b}, false));
}

}  // namespace
