#include "host/fitting/host_planar_curve_fitter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "host/document/host_real_parray.h"
#include "host/fitting/host_curve_fit_data.h"

namespace {

constexpr double kZ0[4] = {0, 0, 1, 0};  // the plane z = 0

IPtr<RealPArray> arrayOf(const std::vector<Vector3>& points) {
  IPtr<RealPArray> array(new HostRealPArray(3, 16));
  for (const Vector3& p : points) {
    const double xyz[3] = {p.x, p.y, p.z};
    array->append(xyz);
  }
  return array;
}

// Points along x in z = 0, 0.01 apart, from x = from, count of them; z off the plane by lift.
std::vector<Vector3> run(double from, int count, double lift = 0) {
  std::vector<Vector3> points;
  for (int i = 0; i < count; ++i) points.push_back({from + 0.01 * i, 0, lift});
  return points;
}

std::vector<Vector3> circle(int count, double radius) {
  std::vector<Vector3> points;
  for (int i = 0; i < count; ++i) {
    const double a = 2 * M_PI * i / count;
    points.push_back({radius * std::cos(a), radius * std::sin(a), 0});
  }
  return points;
}

IPtr<ICurveSet> fit(HostPlanarCurveFitter& fitter, ICurveFitData* data, double offset) {
  IPtr<ICurveSet> curves;
  curves.takeOwnership(fitter.fit(data, offset));
  return curves;
}

TEST(PlanarCurveFitter, BreaksTheSectionAtGapsWiderThanTheFactorTimesTheMedianStep) {
  std::vector<Vector3> points = run(0, 5);
  for (const Vector3& p : run(0.1, 4)) points.push_back(p);  // a gap of 0.06, six median steps
  std::vector<Vector3> shuffled{points[3], points[7], points[0], points[5], points[8],
                                points[1], points[4], points[6], points[2]};
  struct Case {
    double factor;
    int32_t polylines;
  };
  for (const Case& c : {Case{-1, 2}, Case{5, 2}, Case{7, 1}}) {
    SCOPED_TRACE(c.factor);
    IPtr<HostPlanarCurveFitter> fitter(new HostPlanarCurveFitter);
    ASSERT_TRUE(fitter->setup(kZ0, arrayOf(shuffled).get(), IPlanarCurveFitter::kOpen, c.factor));
    ASSERT_EQ(fitter->polylineCount(), c.polylines);
    RealPArray* first = fitter->polyline(1);
    for (int32_t i = 2; i <= first->count(); ++i)
      EXPECT_GT(first->at(i)[0], first->at(i - 1)[0]) << "in order";
  }
}

TEST(PlanarCurveFitter, ClosesLoopsAsTheConnectivitySaysAndAutoByTheirEnds) {
  struct Case {
    const char* name;
    std::vector<Vector3> points;
    int32_t connectivity;
    bool closed;
  };
  const std::vector<Case> cases = {
      {"a ring, auto", circle(24, 0.05), IPlanarCurveFitter::kAuto, true},
      {"a ring, open", circle(24, 0.05), IPlanarCurveFitter::kOpen, false},
      {"a short straight run, auto", run(0, 4), IPlanarCurveFitter::kAuto, false},
      {"a straight run, closed", run(0, 4), IPlanarCurveFitter::kClosed, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IPtr<HostPlanarCurveFitter> fitter(new HostPlanarCurveFitter);
    ASSERT_TRUE(fitter->setup(kZ0, arrayOf(c.points).get(), c.connectivity, -1));
    IPtr<ICurveSet> curves = fit(*fitter, nullptr, 0);
    ASSERT_TRUE(curves);
    ASSERT_EQ(curves->curveCount(), 1);
    EXPECT_EQ(curves->isClosed(1), c.closed);
  }
}

TEST(PlanarCurveFitter, ProjectsIntoThePlaneAndOffsetsToTheLeftOfTheRun) {
  IPtr<HostPlanarCurveFitter> fitter(new HostPlanarCurveFitter);
  ASSERT_TRUE(fitter->setup(kZ0, arrayOf(run(0, 6, 0.002)).get(), IPlanarCurveFitter::kOpen, -1));
  EXPECT_EQ(fitter->polyline(1)->at(3)[2], 0.0);
  IPtr<ICurveSet> curves = fit(*fitter, nullptr, 0.003);  // the run goes along +x: its left is +y
  RealPArray* points = curves->curvePoints(1);
  for (int32_t i = 1; i <= points->count(); ++i) {
    EXPECT_NEAR(points->at(i)[1], 0.003, 1e-12);
    EXPECT_NEAR(points->at(i)[2], 0.0, 1e-12);
  }
  // A ring runs counter-clockwise about the normal: a positive offset shrinks it.
  ASSERT_TRUE(fitter->setup(kZ0, arrayOf(circle(36, 0.05)).get(), IPlanarCurveFitter::kClosed, -1));
  IPtr<ICurveSet> ring = fit(*fitter, nullptr, 0.01);
  points = ring->curvePoints(1);
  for (int32_t i = 1; i <= points->count(); ++i)
    EXPECT_NEAR(std::hypot(points->at(i)[0], points->at(i)[1]), 0.04, 1e-3) << i;
}

TEST(PlanarCurveFitter, FitsLinesAndArcsWithinTheTolerance) {
  // An L: along x, then along y; and a half ring.
  std::vector<Vector3> corner = run(0, 6);
  for (int i = 1; i < 6; ++i) corner.push_back({0.05, 0.01 * i, 0});
  std::vector<Vector3> half;
  for (int i = 0; i <= 18; ++i)
    half.push_back({0.05 * std::cos(M_PI * i / 18), 0.05 * std::sin(M_PI * i / 18), 0});
  struct Case {
    const char* name;
    std::vector<Vector3> points;
    std::vector<int32_t> pieces;
  };
  for (const Case& c : {Case{"corner", corner, {ICurveSet::kLine, ICurveSet::kLine}},
                        Case{"half ring", half, {ICurveSet::kArc}}}) {
    SCOPED_TRACE(c.name);
    IPtr<HostCurveFitData> data(new HostCurveFitData);
    data->setTolerance(1e-4);
    data->setMode(ICurveFitDataV2::kLineArcLocal);
    IPtr<HostPlanarCurveFitter> fitter(new HostPlanarCurveFitter);
    ASSERT_TRUE(fitter->setup(kZ0, arrayOf(c.points).get(), IPlanarCurveFitter::kOpen, -1));
    IPtr<ICurveSet> curves = fit(*fitter, data.get(), 0);
    ASSERT_TRUE(curves);
    EXPECT_EQ(curves->curveKind(1), ICurveSet::kLineArc);
    std::vector<int32_t> pieces;
    for (int32_t k = 1; curves->pieceKind(1, k) >= 0; ++k) pieces.push_back(curves->pieceKind(1, k));
    EXPECT_EQ(pieces, c.pieces);
  }
}

TEST(PlanarCurveFitter, PlacesSplineControlPointsAsTheRecordAsks) {
  struct Case {
    const char* name;
    int32_t mode;
    int32_t controlPoints;
  };
  for (const Case& c : {Case{"by distance 0.02", ICurveFitDataV2::kSplineByDistance, 6},
                        Case{"four control points", ICurveFitDataV2::kSplineByControlPoints, 4},
                        Case{"a straight run within a tolerance", ICurveFitDataV2::kSplineByTolerance, 2}}) {
    SCOPED_TRACE(c.name);
    IPtr<HostCurveFitData> data(new HostCurveFitData);
    data->setSpacing(0.02, -1);
    data->setControlPoints(4);
    data->setTolerance(1e-6);
    data->setMode(c.mode);
    IPtr<HostPlanarCurveFitter> fitter(new HostPlanarCurveFitter);
    ASSERT_TRUE(fitter->setup(kZ0, arrayOf(run(0, 11)).get(), IPlanarCurveFitter::kOpen, -1));
    IPtr<ICurveSet> curves = fit(*fitter, data.get(), 0);
    ASSERT_TRUE(curves);
    EXPECT_EQ(curves->curvePoints(1)->count(), c.controlPoints);
    EXPECT_NEAR(curves->curvePoints(1)->at(c.controlPoints)[0], 0.1, 1e-12);
  }
}

TEST(PlanarCurveFitter, NothingToFitGivesNoCurves) {
  IPtr<HostPlanarCurveFitter> fitter(new HostPlanarCurveFitter);
  ASSERT_TRUE(fitter->setup(kZ0, arrayOf({{1, 2, 0}}).get(), IPlanarCurveFitter::kAuto, -1));
  EXPECT_FALSE(fit(*fitter, nullptr, 0));
  const double noNormal[4] = {0, 0, 0, 1};
  EXPECT_FALSE(fitter->setup(noNormal, arrayOf(run(0, 3)).get(), IPlanarCurveFitter::kAuto, -1));
  EXPECT_EQ(fitter->polylineCount(), 0);
}

}  // namespace
